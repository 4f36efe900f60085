#include "MessageBox.h"

#include <QMessageBox>

#include "QtText.h"

namespace chokusho {

MsgAnswer ShowMessageBox(QWidget* parent, const MessageBoxRequest& request)
{
    QMessageBox box(parent);
    box.setWindowTitle(Utf8(request.title));
    QString text = Utf8(request.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (request.alignRight) {
        // The box has no alignment of its own; its text, set as a right-aligned paragraph, has.
        text = QStringLiteral("<p align=\"right\" style=\"white-space:pre-wrap\">") + text.toHtmlEscaped() +
               QStringLiteral("</p>");
        box.setTextFormat(Qt::RichText);
    } else {
        box.setTextFormat(Qt::PlainText);
    }
    box.setText(text);
    switch (request.icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    }
    switch (request.buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return request.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
}

}  // namespace chokusho
