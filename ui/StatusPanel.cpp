#include "StatusPanel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace chokusho {

namespace {

/** Blank pixels between the frame and the text on either side. */
constexpr int kIndent = 3;

}  // namespace

StatusPanel::StatusPanel(QWidget* parent) : QLabel(parent), normal_(font())
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setIndent(kIndent);
    setTextFormat(Qt::PlainText);
}

void StatusPanel::setPanelText(const QString& text)
{
    whole_ = text;
    fit();
    updateGeometry();
}

int StatusPanel::padding() const { return 2 * (frameWidth() + margin() + kIndent); }

int StatusPanel::naturalWidth() const
{
    return static_cast<int>(std::ceil(QFontMetricsF(normal_).horizontalAdvance(whole_))) + padding();
}

int StatusPanel::smallestWidth() const
{
    QFont smallest = normal_;
    smallest.setPointSizeF(normal_.pointSizeF() * kSmallestScale);
    return QFontMetrics(smallest).horizontalAdvance(whole_) + padding();
}

QSize StatusPanel::sizeHint() const { return QSize(naturalWidth(), QLabel::sizeHint().height()); }

QSize StatusPanel::minimumSizeHint() const
{
    // Room for the cut mark alone: the panel yields all the rest.
    return QSize(QFontMetrics(normal_).horizontalAdvance(QStringLiteral("…")) + padding(),
                 QLabel::minimumSizeHint().height());
}

void StatusPanel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fit();
}

void StatusPanel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    // The style or the application may change the font; that is the new normal size.
    if (event->type() == QEvent::FontChange && !fitting_)
        normal_ = font();
}

void StatusPanel::fit()
{
    const double room = contentsRect().width() - 2.0 * (margin() + kIndent);
    const double needed = QFontMetricsF(normal_).horizontalAdvance(whole_);
    QFont font = normal_;
    if (needed > room && room > 0) {
        // Glyph advances round at each size, so the size that fits is found by trying: first the
        // share of the width, then smaller steps down to the smallest scale.
        double scale = std::max(kSmallestScale, room / needed);
        for (;;) {
            font.setPointSizeF(normal_.pointSizeF() * scale);
            if (QFontMetrics(font).horizontalAdvance(whole_) <= room || scale <= kSmallestScale)
                break;
            scale = std::max(kSmallestScale, scale - 0.01);
        }
    }
    // A panel not laid out yet has no room to speak of: it shows the whole text until it has.
    const QString shown =
        room > 0 ? QFontMetrics(font).elidedText(whole_, Qt::ElideRight, static_cast<int>(room)) : whole_;
    const QString tip = shown == whole_ ? QString() : whole_;
    if (toolTip() != tip)
        setToolTip(tip);
    fitting_ = true;
    if (font != this->font())
        setFont(font);
    if (shown != text())
        setText(shown);
    fitting_ = false;
}

}  // namespace chokusho
