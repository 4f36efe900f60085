// Print and export from the window: the File menu's new items beside the old ones, the export's
// file and options dialogs, the offer to fit a section that does not fit, a failed write, a long
// export's progress and its cancel, and the print preview's choices.

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <utility>

#include "Cp932.h"
#include "DrawingCommands.h"
#include "DrawingDialogs.h"
#include "ModalDialogs.h"
#include "QtText.h"
#include "SampleBlocks.h"
#include "Widgets.h"
#include "WindowFixture.h"
#include "frmMain.h"

using namespace chokusho;
using test::Child;

namespace {

/** Answers the export's file dialog with `name` of the type `filter`. */
void ChooseFile(const QString& name, const QString& filter)
{
    test::WhenModal<QFileDialog>([name, filter](QFileDialog* dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("ExportDialog"));
        dialog->selectNameFilter(filter);
        emit dialog->filterSelected(filter);
        auto* edit = Child<QLineEdit>(*dialog, "fileNameEdit");
        QVERIFY(edit);
        edit->setText(name);
        static_cast<QDialog*>(dialog)->accept();
    });
}

/** Answers the export's options with the scale `scale` (a denominator, or kFitToPaper). */
void ChooseScale(int scale, int* dpi = nullptr)
{
    test::WhenModal<ExportOptionsDialog>([scale, dpi](ExportOptionsDialog* dialog) {
        auto* box = Child<QComboBox>(*dialog, "Scale");
        QVERIFY(box);
        box->setCurrentIndex(box->findData(scale));
        if (dpi != nullptr) {
            auto* spin = Child<QSpinBox>(*dialog, "Dpi");
            QVERIFY(spin);
            *dpi = spin->value();
        }
        dialog->accept();
    });
}

QString Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class PrintExportTest : public QObject {
    Q_OBJECT

private slots:
    void theFileMenuOffersPrintAndExportBeforeTheEnd()
    {
        test::WindowFixture f;
        frmMain& window = f.make();
        QAction* file = test::Item(window, "mnuFile");
        QVERIFY(file && file->menu());
        QStringList items;
        for (QAction* action : file->menu()->actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(items,
                 (QStringList{QStringLiteral("新規(&N)"), QStringLiteral("開く(&O)..."),
                              QStringLiteral("上書き保存(&W)"), QStringLiteral("保存(&S)..."), QStringLiteral("-"),
                              QStringLiteral("DXF 読み込み(&I)..."), QStringLiteral("印刷(&P)..."), QStringLiteral("エクスポート(&E)..."), QStringLiteral("-"),
                              QStringLiteral("最近使ったファイル(&R)"), QStringLiteral("-"), QStringLiteral("終了(&X)")}));
        QAction* print = test::Item(window, "mnuFilePrint");
        QVERIFY(print);
        QCOMPARE(print->shortcut(), QKeySequence(QKeySequence::Print));
    }

    void exportWritesTheChosenTypeWithTheExtensionAdded()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        f.state.CurData = test::LayeredBlock();
        ChooseFile(QStringLiteral("図面"), QStringLiteral("SVG 画像 (*.svg)"));
        ChooseScale(50);
        QVERIFY(test::Trigger(window, "mnuFileExport"));

        const QString svg = Read(QDir(f.data.path()).filePath(QStringLiteral("図面.svg")));
        QVERIFY(svg.contains(QStringLiteral("<svg")));
        QVERIFY(svg.contains(QStringLiteral("1:50")));
        QVERIFY(svg.contains(QStringLiteral("消波A")));
    }

    void exportProposesTheBlocksNameAsTheWindowShowsIt()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        // A file named on a Japanese Windows machine: its name's bytes are cp932.
        f.state.BlkName = EncodeCp932("北側");
        QString proposed;
        test::WhenModal<QFileDialog>([&proposed](QFileDialog* dialog) {
            auto* edit = Child<QLineEdit>(*dialog, "fileNameEdit");
            QVERIFY(edit);
            proposed = edit->text();
            dialog->reject();
        });
        QVERIFY(test::Trigger(window, "mnuFileExport"));
        QCOMPARE(proposed, QStringLiteral("北側.pdf"));
    }

    void aSectionThatDoesNotFitIsOfferedTheFittedScale()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        f.state.CurData = test::RectangleBlock(40, 1);
        int dpi = 0;
        QString question;
        ChooseFile(QStringLiteral("wide.png"), QStringLiteral("PNG 画像 (*.png)"));
        ChooseScale(10, &dpi);
        test::WhenModal<QMessageBox>([&question](QMessageBox* box) {
            question = box->text();
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == QStringLiteral("用紙に合わせる"))
                    button->click();
            }
        });
        QVERIFY(test::Trigger(window, "mnuFileExport"));

        QCOMPARE(dpi, kDefaultPngDpi);
        QVERIFY2(question.startsWith(QStringLiteral("この縮尺では図が用紙に収まりません。")), qPrintable(question));
        QVERIFY(QFile::exists(QDir(f.data.path()).filePath(QStringLiteral("wide.png"))));

        // Cancelled, nothing is written.
        ChooseFile(QStringLiteral("wide2.png"), QStringLiteral("PNG 画像 (*.png)"));
        ChooseScale(10);
        test::WhenModal<QMessageBox>([](QMessageBox* box) {
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == QStringLiteral("キャンセル"))
                    button->click();
            }
        });
        QVERIFY(test::Trigger(window, "mnuFileExport"));
        QVERIFY(!QFile::exists(QDir(f.data.path()).filePath(QStringLiteral("wide2.png"))));
    }

    void aFailedExportSaysWhyAndLeavesTheOldFile()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        f.state.CurData = test::LayeredBlock();
        const QString path = QDir(f.data.path()).filePath(QStringLiteral("old.dxf"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        QString message;
        ChooseFile(QStringLiteral("old"), QStringLiteral("DXF 図面 (*.dxf)"));
        test::WhenModal<QMessageBox>([](QMessageBox* box) {
            QCOMPARE(box->objectName(), QStringLiteral("OverwriteQuestion"));
            box->button(QMessageBox::Yes)->click();
        });
        ChooseScale(50);
        QString title;
        test::WhenModal<QMessageBox>([&message, &title](QMessageBox* box) {
            title = box->windowTitle();
            message = box->text();
            box->accept();
        });
        QVERIFY(test::Trigger(window, "mnuFileExport"));

        // The same message as a failed save: its caption and the file's full path.
        QCOMPARE(title, QStringLiteral("Error"));
        QVERIFY2(message.startsWith(
                     QStringLiteral("ファイル「%1」に保存できませんでした。\n").arg(QDir::toNativeSeparators(path))),
                 qPrintable(message));
        QCOMPARE(Read(path), QStringLiteral("old"));
    }

    void aLongExportShowsItsProgressOffTheWindowsThreadAndACancelLeavesTheOldFile()
    {
        test::WindowFixture f;
        frmMain& window = f.make();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.png"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        const Drawing drawing = BuildDrawing(test::LayeredBlock(), {.paper = PaperSize::A3}, "a.csv", "2026/12/07");
        QSemaphore answered;
        bool shown = false;
        test::WhenModal<QProgressDialog>([&](QProgressDialog* dialog) {
            const auto release = qScopeGuard([&answered] { answered.release(); });
            shown = true;
            auto* cancel = dialog->findChild<QPushButton*>();
            QVERIFY(cancel);
            cancel->click();
        });
        bool offTheWindowsThread = false;
        bool first = true;
        const bool written = RunWithProgress(&window, [&](const ExportProgress& progress) {
            offTheWindowsThread = QThread::currentThread() != window.thread();
            return ExportDrawing(drawing, ToUtf8(path), ExportFormat::Png, kMaxPngDpi, [&](double done) {
                // Long on any machine: its first word waits for the dialog to come up and be answered.
                if (std::exchange(first, false))
                    answered.tryAcquire(1, 60000);
                return progress(done);
            });
        });

        QVERIFY(shown);
        QVERIFY(offTheWindowsThread);
        QVERIFY(!written);
        QCOMPARE(Read(path), QStringLiteral("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.png")});
    }

    void thePreviewOffersTheDrawingsChoicesAndTheFit()
    {
        test::WindowFixture f;
        frmMain& window = f.make();
        f.state.CurData = test::RectangleBlock(40, 1);
        bool warned = false, warnedAfterFit = true;
        QString scaleAfterFit;
        test::WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* preview) {
            auto* scale = Child<QComboBox>(*preview, "Scale");
            auto* warning = Child<QLabel>(*preview, "FitWarning");
            auto* fit = Child<QPushButton>(*preview, "FitButton");
            QVERIFY(scale && warning && fit);
            scale->setCurrentIndex(scale->findData(10));
            QTRY_VERIFY(warning->isVisibleTo(preview));
            warned = true;
            fit->click();
            QTRY_VERIFY(!warning->isVisibleTo(preview));
            warnedAfterFit = false;
            scaleAfterFit = scale->currentText();
            preview->reject();
        });
        QVERIFY(test::Trigger(window, "mnuFilePrint"));
        QVERIFY(warned);
        QVERIFY(!warnedAfterFit);
        QCOMPARE(scaleAfterFit, QStringLiteral("用紙に合わせる"));
    }

    void theWordAboutTheScaleNeverWidensThePreview()
    {
        test::WindowFixture f;
        frmMain& window = f.make();
        f.state.CurData = test::RectangleBlock(4, 3);  // fits A4 at 1:50, not at 1:10
        QSize before, after;
        test::WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* preview) {
            auto* scale = Child<QComboBox>(*preview, "Scale");
            auto* warning = Child<QLabel>(*preview, "FitWarning");
            auto* fit = Child<QPushButton>(*preview, "FitButton");
            QVERIFY(scale && warning && fit);
            QTRY_VERIFY(preview->isVisible());
            QVERIFY(!warning->isVisibleTo(preview));
            before = preview->size();
            scale->setCurrentIndex(scale->findData(10));
            QTRY_VERIFY(warning->isVisibleTo(preview));
            QCoreApplication::processEvents();
            after = preview->size();
            // The word and the button within the dialog.
            for (QWidget* shown : {static_cast<QWidget*>(warning), static_cast<QWidget*>(fit)})
                QVERIFY(preview->rect().contains(QRect(shown->mapTo(preview, QPoint(0, 0)), shown->size())));
            preview->reject();
        });
        QVERIFY(test::Trigger(window, "mnuFilePrint"));
        QVERIFY(before.isValid());
        QCOMPARE(after, before);
    }
};

QTEST_MAIN(PrintExportTest)
#include "PrintExportTest.moc"
