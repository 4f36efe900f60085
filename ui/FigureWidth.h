#pragma once

#include <QFontMetrics>
#include <QLineEdit>
#include <QString>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTableView>
#include <algorithm>

namespace chokusho {

/**
 * The widest figure that the dialogs' number boxes and value columns show whole, whatever the
 * font: a sign, five digits and three decimals.
 */
inline QString WidestFigure() { return QStringLiteral("-12345.678"); }

/**
 * The width in pixels at which `box` shows `text` whole in its font, without scrolling it: the
 * text with the cursor after it, the two pixels a line edit keeps on either side of its text,
 * its text margins and the style's frame.
 */
inline int LineEditWidthFor(const QLineEdit& box, const QString& text)
{
    constexpr int kProbeWidth = 1000;
    constexpr int kSideMargin = 2;
    constexpr int kCursor = 2;  // the cursor's pixel after the text, and one for rounding
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.rect = QRect(0, 0, kProbeWidth, std::max(box.height(), 1));
    option.lineWidth = box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box) : 0;
    option.midLineWidth = 0;
    const int frame = kProbeWidth - box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box).width();
    const QMargins margins = box.textMargins();
    return QFontMetrics(box.font()).horizontalAdvance(text) + kCursor + 2 * kSideMargin + margins.left() +
           margins.right() + frame;
}

/**
 * The width in pixels at which a column of `grid` shows `text` whole in its cells: the text, the
 * margin the style keeps on either side of a cell's text, and the grid line.
 */
inline int GridColumnWidthFor(const QTableView& grid, const QString& text)
{
    const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
    const int rounding = 1;
    const int line = grid.showGrid() ? 1 : 0;
    return QFontMetrics(grid.font()).horizontalAdvance(text) + 2 * margin + rounding + line;
}

}  // namespace chokusho
