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
    setText(text);
    fit();
}

int StatusPanel::naturalWidth() const
{
    const int text = static_cast<int>(std::ceil(QFontMetricsF(normal_).horizontalAdvance(this->text())));
    return text + 2 * (frameWidth() + margin() + kIndent);
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
    const double needed = QFontMetricsF(normal_).horizontalAdvance(text());
    QFont font = normal_;
    if (needed > room && room > 0) {
        // Glyph advances round at each size, so the size that fits is found by trying: first the
        // share of the width, then smaller steps down to the smallest scale.
        double scale = std::max(kSmallestScale, room / needed);
        for (;;) {
            font.setPointSizeF(normal_.pointSizeF() * scale);
            if (QFontMetrics(font).horizontalAdvance(text()) <= room || scale <= kSmallestScale)
                break;
            scale = std::max(kSmallestScale, scale - 0.01);
        }
    }
    if (font == this->font())
        return;
    fitting_ = true;
    setFont(font);
    fitting_ = false;
}

}  // namespace chokusho
