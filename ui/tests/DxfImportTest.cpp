// DXF 読み込み through the window: the file dialog, the preview whose layer boxes assemble the
// block again, and the import as one undo step; a file that is no DXF changes nothing.

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "DxfImportDialog.h"
#include "ModalDialogs.h"
#include "QtText.h"
#include "Widgets.h"
#include "WindowFixture.h"
#include "frmMain.h"

using namespace chokusho;
using test::Child;

namespace {

/** LINE entities on two layers: a 3 m × 2 m rectangle on OUTLINE, one line on NOTES. */
QByteArray TwoLayerDxf()
{
    QByteArray dxf = "0\nSECTION\n2\nENTITIES\n";
    const auto line = [&](const char* layer, int x1, int y1, int x2, int y2) {
        dxf += QByteArray("0\nLINE\n8\n") + layer + "\n10\n" + QByteArray::number(x1) + "\n20\n" +
               QByteArray::number(y1) + "\n11\n" + QByteArray::number(x2) + "\n21\n" + QByteArray::number(y2) + "\n";
    };
    line("OUTLINE", 0, 0, 3000, 0);
    line("OUTLINE", 3000, 0, 3000, 2000);
    line("OUTLINE", 3000, 2000, 0, 2000);
    line("OUTLINE", 0, 2000, 0, 0);
    line("NOTES", 5000, 5000, 6000, 5000);
    return dxf + "0\nENDSEC\n0\nEOF\n";
}

/** Chooses `path` in the file dialog that opens next. */
void ChooseFile(const QString& path)
{
    test::WhenModal<QFileDialog>([path](QFileDialog* dialog) {
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

}  // namespace

class DxfImportTest : public QObject {
    Q_OBJECT

private slots:
    void theChosenLayersReplaceTheSectionInOneStep()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("断面.dxf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(TwoLayerDxf());
        file.close();

        test::WindowFixture f;
        frmMain& window = f.make();
        f.state.CurData.B = 3;
        ChooseFile(file.fileName());
        int pointsWithNotes = -1, pointsWithout = -1;
        bool offWithNothing = true;
        test::WhenModal<DxfImportDialog>([&](DxfImportDialog* preview) {
            auto* layers = Child<QListWidget>(*preview, "ImportLayers");
            auto* buttons = preview->findChild<QDialogButtonBox*>();
            QVERIFY(layers && buttons);
            QCOMPARE(layers->count(), 2);
            pointsWithNotes = preview->import().counts.points;
            // Unticking a layer assembles again; with none ticked there is nothing to take.
            for (int row = 0; row < 2; ++row)
                layers->item(row)->setCheckState(Qt::Unchecked);
            offWithNothing = !buttons->button(QDialogButtonBox::Ok)->isEnabled();
            for (int row = 0; row < 2; ++row)
                if (layers->item(row)->text().startsWith(QStringLiteral("OUTLINE")))
                    layers->item(row)->setCheckState(Qt::Checked);
            pointsWithout = preview->import().counts.points;
            buttons->button(QDialogButtonBox::Ok)->click();
        });
        test::Item(window, "mnuFileImport")->trigger();

        QCOMPARE(pointsWithNotes, 6);
        QVERIFY(offWithNothing);
        QCOMPARE(pointsWithout, 4);
        QCOMPARE(f.state.CurData.PointCount, 4);
        QCOMPARE(f.state.CurData.LineCount, 4);
        QCOMPARE(f.state.CurData.B, 3.0);
        QCOMPARE(f.state.Undo.UndoCount(), 1);
        QCOMPARE(f.state.Undo.UndoText(0), std::string("DXF読込"));
    }

    void aFileThatIsNoDxfIsSaidAndChangesNothing()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("memo.dxf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("これは図面ではありません\n");
        file.close();

        test::WindowFixture f;
        frmMain& window = f.make();
        const BlockData before = f.state.CurData;
        ChooseFile(file.fileName());
        bool told = false;
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
            told = true;
            box->accept();
        });
        test::Item(window, "mnuFileImport")->trigger();
        QVERIFY(told);
        QVERIFY(f.state.CurData == before);
        QCOMPARE(f.state.Undo.UndoCount(), 0);
    }
};

QTEST_MAIN(DxfImportTest)
#include "DxfImportTest.moc"
