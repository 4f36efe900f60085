// The point table and the block parameters in a taller Japanese font than they were laid out for:
// the installed Japanese font with the tallest lines, at 100 % and 150 %. The point table's hint
// keeps both its lines above the buttons, and every grid's header holds a line of its text.

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "DocumentState.h"
#include "FrmEditInf.h"
#include "FrmEditPnt.h"
#include "QelGrid.h"
#include "SampleBlocks.h"
#include "Widgets.h"

using namespace chokusho;
using test::Child;

namespace {

/** The application's font in the installed Japanese family whose lines are tallest. */
QFont TallestJapaneseFont(double scale)
{
    QFont tallest = QApplication::font();
    int tallestHeight = 0;
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
        QFont font = QApplication::font();
        font.setFamily(family);
        if (const int height = QFontMetrics(font).height(); height > tallestHeight) {
            tallest = font;
            tallestHeight = height;
        }
    }
    tallest.setPointSizeF(tallest.pointSizeF() * scale);
    return tallest;
}

/** The grid's header holds a line of its font. */
void CheckHeader(const QelGrid& grid)
{
    const QHeaderView& header = *grid.horizontalHeader();
    QVERIFY2(header.height() >= header.fontMetrics().height(), qPrintable(QStringLiteral("%1: %2 < %3")
                                                                              .arg(grid.objectName())
                                                                              .arg(header.height())
                                                                              .arg(header.fontMetrics().height())));
}

}  // namespace

class TallFontsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { saved_ = QApplication::font(); }
    void cleanup() { QApplication::setFont(saved_); }

    void textsAreWholeInTheTallestJapaneseFont_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("150 %") << 1.5;
    }
    void textsAreWholeInTheTallestJapaneseFont()
    {
        QFETCH(double, scale);
        QApplication::setFont(TallestJapaneseFont(scale));
        DocumentState state;
        state.CurData = test::LayeredBlock();

        FrmEditPnt points(state);
        auto* hint = Child<QLabel>(points, "Label1");
        auto* grid = Child<QelGrid>(points, "QelGP");
        QVERIFY(hint && grid);
        QVERIFY2(hint->height() >= 2 * hint->fontMetrics().lineSpacing(),
                 qPrintable(QStringLiteral("%1 px for two lines of %2 px")
                                .arg(hint->height())
                                .arg(hint->fontMetrics().lineSpacing())));
        for (const char* button : {"CmdP_0", "CmdP_1"})
            QVERIFY(hint->geometry().bottom() < Child<QPushButton>(points, button)->y());
        QVERIFY(Child<QPushButton>(points, "CmdP_0")->geometry().bottom() < points.height());
        CheckHeader(*grid);

        FrmEditInf params(state);
        for (const char* name : {"QelGV", "QelGV1"}) {
            auto* paramsGrid = Child<QelGrid>(params, name);
            QVERIFY(paramsGrid);
            CheckHeader(*paramsGrid);
        }
    }

private:
    QFont saved_;
};

QTEST_MAIN(TallFontsTest)
#include "TallFontsTest.moc"
