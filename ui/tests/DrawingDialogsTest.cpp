// The drawing's choices as the print preview and the export options offer them: the scale box
// takes any 1:N typed into it, the dimensions reach the drawing, and a paper chosen in the
// printer's page set-up is the paper the drawing is laid out on.

#include <QComboBox>
#include <QLineEdit>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "DrawingDialogs.h"
#include "ModalDialogs.h"
#include "SampleBlocks.h"
#include "Widgets.h"

using namespace chokusho;
using test::Child;

namespace {

/** Types `text` into the scale box and leaves it as Enter does. */
void TypeScale(QComboBox& box, const QString& text)
{
    box.lineEdit()->setText(text);
    emit box.lineEdit()->editingFinished();
}

}  // namespace

class DrawingDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void theScaleBoxTakesAnyScaleTypedIntoItAndKeepsTheLastForOtherText()
    {
        DrawingOptionsPanel panel(DrawingOptionsPanel::Arrangement::Row);
        auto* scale = Child<QComboBox>(panel, "Scale");
        QVERIFY(scale);
        QSignalSpy changed(&panel, &DrawingOptionsPanel::changed);

        TypeScale(*scale, QStringLiteral("1:30"));
        QCOMPARE(panel.options().scale, 30.0);
        TypeScale(*scale, QStringLiteral("1:37.5"));
        QCOMPARE(panel.options().scale, 37.5);
        QCOMPARE(changed.count(), 2);
        // Text that names no scale brings back the last one, and changes nothing.
        TypeScale(*scale, QStringLiteral("1:0"));
        QCOMPARE(panel.options().scale, 37.5);
        QCOMPARE(scale->currentText(), QStringLiteral("1:37.5"));
        QCOMPARE(changed.count(), 2);
        // A scale of the series picked from the list.
        scale->setCurrentIndex(scale->findData(2.5));
        QCOMPARE(panel.options().scale, 2.5);
        QCOMPARE(changed.count(), 3);

        // Shown again, a typed scale stands in the box's line.
        DrawingOptions typed;
        typed.scale = 12.5;
        panel.setOptions(typed);
        QCOMPARE(scale->currentText(), QStringLiteral("1:12.5"));
        QCOMPARE(panel.options().scale, 12.5);
        QCOMPARE(changed.count(), 3);
    }

    void theDimensionsAndThePaperReachTheExportsOptions()
    {
        DrawingOptions start;
        start.paper = PaperSize::B5;
        ExportOptionsDialog dialog(ExportFormat::Pdf, QStringLiteral("a.pdf"), start, kDefaultPngDpi);
        auto* dimensions = Child<QComboBox>(dialog, "Dimensions");
        auto* paper = Child<QComboBox>(dialog, "Paper");
        QVERIFY(dimensions && paper);
        QVERIFY(dialog.options().dimensions == DimensionStyle::Overall);
        QVERIFY(dialog.options().paper == PaperSize::B5);
        dimensions->setCurrentIndex(dimensions->findData(static_cast<int>(DimensionStyle::EveryPoint)));
        paper->setCurrentIndex(paper->findData(static_cast<int>(PaperSize::B4)));
        QVERIFY(dialog.options().dimensions == DimensionStyle::EveryPoint);
        QVERIFY(dialog.options().paper == PaperSize::B4);
    }

    void aPaperChosenInThePageSetUpIsThePaperOfTheDrawing()
    {
        QWidget owner;
        DrawingOptions options;
        options.scale = 50;
        DrawingOptions built;
        const DrawingSource source = [&built](const DrawingOptions& chosen) {
            built = chosen;
            return BuildDrawing(test::RectangleBlock(4, 3), chosen, "", "");
        };
        QPageSize chosenInPanel;
        test::WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* preview) {
            auto* view = preview->findChild<QPrintPreviewWidget*>();
            auto* paper = Child<QComboBox>(*preview, "Paper");
            QVERIFY(view && paper);
            // The page set-up changes the printer's paper and asks the preview again.
            preview->printer()->setPageSize(QPageSize(QPageSize::JisB4));
            view->updatePreview();
            QTRY_VERIFY(built.paper == PaperSize::B4);
            QCOMPARE(paper->currentData().toInt(), static_cast<int>(PaperSize::B4));

            preview->printer()->setPageSize(QPageSize(QPageSize::Letter));
            view->updatePreview();
            QTRY_VERIFY(built.paper == PaperSize::Other);
            QVERIFY(std::abs(built.otherShortMm - 215.9) < 0.2 && std::abs(built.otherLongMm - 279.4) < 0.2);
            QCOMPARE(paper->currentData().toInt(), static_cast<int>(PaperSize::Other));

            // A paper chosen in the panel is the printer's.
            paper->setCurrentIndex(paper->findData(static_cast<int>(PaperSize::B5)));
            QTRY_VERIFY(built.paper == PaperSize::B5);
            chosenInPanel = preview->printer()->pageLayout().pageSize();
            preview->reject();
        });
        ShowPrintPreview(&owner, source, options);
        QCOMPARE(chosenInPanel.id(), QPageSize::JisB5);
        QVERIFY(options.paper == PaperSize::B5);
    }
};

QTEST_MAIN(DrawingDialogsTest)
#include "DrawingDialogsTest.moc"
