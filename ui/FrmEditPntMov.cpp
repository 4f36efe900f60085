#include "FrmEditPntMov.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstddef>

#include "FigureWidth.h"
#include "MessageBox.h"
#include "QtText.h"
#include "ScreenFit.h"
#include "ZoomScroll.h"

namespace chokusho {

namespace {

// The client area, the boxes' left edge and width, and the margin the buttons keep to the
// right edge; twips.
constexpr int kClientWidth = 3975, kClientHeight = 1755;
constexpr int kBoxLeft = 1620, kBoxWidth = 1155;
constexpr int kRightMargin = 180;

/** Places a control where the form was drawn up in twips. */
void PlaceByTwips(QWidget* control, int left, int top, int width, int height)
{
    const int h = TwipsToPixels(height);
    // A font taller than the drawn-up box would be cut; the box grows about its own middle.
    const int needed = std::max(h, control->minimumSizeHint().height());
    control->setGeometry(TwipsToPixels(left), TwipsToPixels(top) - (needed - h) / 2, TwipsToPixels(width), needed);
}

}  // namespace

FrmEditPntMov::FrmEditPntMov(DocumentState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      logic_(state)
{
    setObjectName(QStringLiteral("FrmEditPntMov"));
    setWindowTitle(QStringLiteral("構成点移動量指定"));
    setModal(true);
    const QString captions[2] = {QStringLiteral("移動量 X  (m)"), QStringLiteral("移動量 Y  (m)")};
    for (int i = 0; i < 2; ++i) {
        const auto at = static_cast<std::size_t>(i);
        label1_[at] = new QLabel(captions[i], this);
        label1_[at]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        text1_[at] = new QLineEdit(this);
        text1_[at]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        text1_[at]->installEventFilter(this);
        connect(text1_[at], &QLineEdit::textChanged, this,
                [this, i](const QString& text) { logic_.setText(i, ToUtf8(text)); });
    }
    // The boxes grow to the right when the font needs more room than they were drawn with to
    // show every figure whole; the dialog follows when they would come too near its edge.
    const int widen = std::max(0, LineEditWidthFor(*text1_[0], WidestFigure()) - TwipsToPixels(kBoxWidth)) *
                      kTwipsPerPixel;
    for (int i = 0; i < 2; ++i) {
        const auto at = static_cast<std::size_t>(i);
        PlaceByTwips(label1_[at], 360, 360 + 360 * i, 1155, 195);
        PlaceByTwips(text1_[at], kBoxLeft, 300 + 360 * i, kBoxWidth + widen, 270);
    }
    const QString buttons[2] = {QStringLiteral("OK"), QStringLiteral("キャンセル")};
    for (int i = 0; i < 2; ++i) {
        const auto at = static_cast<std::size_t>(i);
        command1_[at] = new QPushButton(buttons[i], this);
        command1_[at]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        connect(command1_[at], &QPushButton::clicked, this, [this, i] { buttonClicked(i); });
        PlaceByTwips(command1_[at], 1500 + 1200 * i, 1140, 1095, 435);
    }
    command1_[0]->setDefault(true);
    FixSizeOnScreen(*this, QSize(TwipsToPixels(std::max(kClientWidth, kBoxLeft + kBoxWidth + widen + kRightMargin)),
                                 TwipsToPixels(kClientHeight)));

    setTabOrder(text1_[0], text1_[1]);
    setTabOrder(text1_[1], command1_[0]);
    setTabOrder(command1_[0], command1_[1]);

    logic_.Form_Load();
    for (int i = 0; i < 2; ++i)
        text1_[i]->setText(Utf8(logic_.text(i)));
    text1_[0]->setFocus();
}

bool FrmEditPntMov::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 2; ++i) {
        QLineEdit* field = text1_[i];
        if (watched != field)
            continue;
        if (event->type() == QEvent::FocusIn) {
            // A click moves the cursor after focus arrives and would undo a selection made now.
            QTimer::singleShot(0, field, [field] {
                if (field->hasFocus())
                    field->selectAll();
            });
        } else if (event->type() == QEvent::FocusOut) {
            // Switching to another window or opening the field's own menu is not leaving it.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                logic_.Text1_LostFocus(i);
                const QString shown = Utf8(logic_.text(i));
                if (field->text() != shown)
                    field->setText(shown);
            }
        }
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void FrmEditPntMov::buttonClicked(int index)
{
    logic_.Command1_Click(index);
    if (const auto& problem = logic_.problem()) {
        ShowMessageBox(this, ErrorMessage(problem->message));
        QLineEdit* field = text1_[problem->field == 1 ? 1 : 0];
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
        return;
    }
    if (!logic_.closing())
        return;
    if (index == 0)
        accept();
    else
        reject();
}

}  // namespace chokusho
