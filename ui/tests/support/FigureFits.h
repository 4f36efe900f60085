#pragma once

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTableWidget>
#include <QTest>
#include <algorithm>

// Whether a number box or a grid cell shows a text whole, measured in the widget's font against
// the room the widget draws the text in.

namespace chokusho::test {

/** The rows of a test of widths, by "pixelSize": the program's font (0), and large text. */
inline void FontSizeRows()
{
    QTest::addColumn<int>("pixelSize");
    QTest::newRow("the program's font") << 0;
    QTest::newRow("large text") << 24;
}

/** A font of `pixelSize` pixels (0: as it is) for the whole program while it lives. */
class ApplicationFont {
public:
    explicit ApplicationFont(int pixelSize) : saved_(QApplication::font())
    {
        QFont font = saved_;
        if (pixelSize > 0)
            font.setPixelSize(pixelSize);
        QApplication::setFont(font);
    }
    ~ApplicationFont() { QApplication::setFont(saved_); }
    ApplicationFont(const ApplicationFont&) = delete;
    ApplicationFont& operator=(const ApplicationFont&) = delete;

private:
    QFont saved_;
};

/**
 * How many pixels `box` lacks to show `text` whole; 0 or less when it shows it. A line edit
 * draws its text inside its frame (the style's contents rect), less its text margins and two
 * pixels on either side, and scrolls it when the text with the cursor's pixel is wider.
 */
inline int PixelsShort(const QLineEdit& box, const QString& text)
{
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.rect = box.rect();
    option.lineWidth = box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box) : 0;
    const QRect contents = box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box);
    const int room = contents.marginsRemoved(box.textMargins()).width() - 2 * 2;
    return QFontMetrics(box.font()).horizontalAdvance(text) + 1 - room;
}

/**
 * How many pixels column `col` of `grid` lacks to show `text` whole in a cell; 0 or less when it
 * shows it. A cell draws its text between the style's margins, and the grid never scrolls
 * sideways, so the column must also end within the grid's viewport.
 */
inline int PixelsShort(const QTableWidget& grid, int col, const QString& text)
{
    const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
    const int cell = grid.columnWidth(col) - (grid.showGrid() ? 1 : 0);
    const int beyond = grid.columnViewportPosition(col) + grid.columnWidth(col) - grid.viewport()->width();
    return std::max(QFontMetrics(grid.font()).horizontalAdvance(text) + 2 * margin - cell, beyond);
}

}  // namespace chokusho::test
