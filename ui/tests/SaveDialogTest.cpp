// The save dialog, opened by the window's Save: the name it suggests and the folder it opens
// on, the extension added to a typed name, the question before any file is replaced, and the
// sizes and dates of its details view.

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>

#include "BlockFile.h"
#include "ModalDialogs.h"
#include "QtText.h"
#include "Widgets.h"
#include "WindowFixture.h"
#include "frmMain.h"

using namespace chokusho;
using test::Child;

class SaveDialogTest : public QObject {
    Q_OBJECT

private slots:
    void savesUnderATypedNameWithTheExtensionAdded()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        f.state.CurData = f.second;
        QString objectName, folder, suggested;
        test::WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            objectName = dialog->objectName();
            folder = dialog->directory().absolutePath();
            auto* edit = Child<QLineEdit>(*dialog, "fileNameEdit");
            QVERIFY(edit);
            suggested = edit->text();
            edit->setText(QStringLiteral("護岸B改"));
            static_cast<QDialog*>(dialog)->accept();  // the Save button's slot
        });
        QVERIFY(test::Trigger(window, "mnuFileSave"));

        QCOMPARE(objectName, QStringLiteral("SaveDialog"));
        QCOMPARE(folder, QDir(f.data.path()).absolutePath());
        QCOMPARE(suggested, QStringLiteral("無題"));
        QFile written(f.data.filePath(QStringLiteral("護岸B改.csv")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().toStdString(), FormatBlockFile(f.state.CurData));
        QCOMPARE(Utf8(f.state.BlkName), QStringLiteral("護岸B改"));
        QCOMPARE(window.windowTitle(), QStringLiteral("直立消波ブロック設定 - 護岸B改"));
        QVERIFY(f.state.SavedData == f.state.CurData);
    }

    void aTypedNameOfAnExistingBlockAsksBeforeOverwriting()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        f.state.CurData = f.second;
        QString question;
        test::WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            auto* edit = Child<QLineEdit>(*dialog, "fileNameEdit");
            QVERIFY(edit);
            edit->setText(QStringLiteral("BLK1"));
            test::WhenModal<QMessageBox>([&](QMessageBox* box) {
                question = box->text();
                auto* no = box->button(QMessageBox::No);
                QVERIFY(no);
                no->click();
            });
            static_cast<QDialog*>(dialog)->accept();  // the Save button's slot
            dialog->reject();
        });
        QVERIFY(test::Trigger(window, "mnuFileSave"));

        QVERIFY2(question.contains(QStringLiteral("BLK1.csv")), qPrintable(question));
        BlockData kept;
        QVERIFY(ReadBlockFile(kept, f.dataPath(), "BLK1"));
        QVERIFY(kept == f.first);
        QCOMPARE(Utf8(f.state.BlkName), QStringLiteral("無題"));
    }

    void everyNameThatWritesAnExistingFileAsksFirst_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("existing");
        QTest::newRow("a dotted name gets .csv") << QStringLiteral("No.3") << QStringLiteral("No.3.csv");
        QTest::newRow("another extension gets .csv") << QStringLiteral("a.b") << QStringLiteral("a.b.csv");
        QTest::newRow(".CSV in capitals stays") << QStringLiteral("x.CSV") << QStringLiteral("x.CSV");
        QTest::newRow(".csv typed") << QStringLiteral("y.csv") << QStringLiteral("y.csv");
        QTest::newRow("no extension") << QStringLiteral("BLK1") << QStringLiteral("BLK1.csv");
    }

    void everyNameThatWritesAnExistingFileAsksFirst()
    {
        QFETCH(QString, typed);
        QFETCH(QString, existing);
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        const std::string target = f.dataFile(existing.toUtf8().constData());
        WriteBlockFile(f.first, target);
        f.state.CurData = f.second;
        QStringList questions;
        bool stayed = false;
        test::WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            auto* edit = Child<QLineEdit>(*dialog, "fileNameEdit");
            QVERIFY(edit);
            edit->setText(typed);
            // いいえ: back to the dialog, which stays open.
            test::WhenModal<QMessageBox>([&](QMessageBox* box) {
                questions << box->text();
                auto* no = box->button(QMessageBox::No);
                QVERIFY(no);
                no->click();
            });
            static_cast<QDialog*>(dialog)->accept();  // the Save button's slot
            stayed = dialog->isVisible();
            // はい: the file is replaced.
            test::WhenModal<QMessageBox>([&](QMessageBox* box) {
                questions << box->text();
                auto* yes = box->button(QMessageBox::Yes);
                QVERIFY(yes);
                yes->click();
            });
            static_cast<QDialog*>(dialog)->accept();
        });
        QVERIFY(test::Trigger(window, "mnuFileSave"));

        const QString question = existing + QStringLiteral(" は既に存在します。\n上書きしますか?");
        QCOMPARE(questions, QStringList({question, question}));
        QVERIFY(stayed);
        BlockData written;
        QVERIFY(ReadBlockFileNamed(written, f.dataPath(), existing.toStdString()));
        QVERIFY(written == f.second);
    }

    void aFolderOrATooLongNameIsRefusedAtOnceWithTheReason()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        QVERIFY(QDir(f.data.path()).mkdir(QStringLiteral("dotted.name.csv")));
        f.state.CurData = f.second;
        QStringList boxes;
        bool problemShown = false, problemAtFirst = true;
        test::WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            auto* edit = Child<QLineEdit>(*dialog, "fileNameEdit");
            auto* problem = Child<QLabel>(*dialog, "NameProblem");
            QVERIFY(edit && problem);
            // The folder "dotted.name.csv" is what "dotted.name" writes: refused without the
            // question about replacing it.
            edit->setText(QStringLiteral("dotted.name"));
            problemAtFirst = problem->isVisibleTo(dialog);
            test::WhenModal<QMessageBox>([&](QMessageBox* box) {
                boxes << box->windowTitle() + QLatin1Char('|') + box->text();
                box->accept();
            });
            static_cast<QDialog*>(dialog)->accept();
            // Too long for any file system, counted in bytes or in characters: the dialog says
            // why it will not save.
            edit->setText(QString(300, QChar(0x5317)));
            problemShown = problem->isVisibleTo(dialog) && !problem->text().isEmpty();
            dialog->reject();
        });
        QVERIFY(test::Trigger(window, "mnuFileSave"));

        const QString folder = QDir::toNativeSeparators(f.data.filePath(QStringLiteral("dotted.name.csv")));
        QCOMPARE(boxes,
                 QStringList{
                     QStringLiteral("Error|ファイル「%1」に保存できませんでした。\nフォルダーです。").arg(folder)});
        QVERIFY(!problemAtFirst);
        QVERIFY(problemShown);
        QCOMPARE(Utf8(f.state.BlkName), QStringLiteral("無題"));
    }

    void showsSizesAndDatesAsAJapaneseUserReadsThem()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        QFile big(f.data.filePath(QStringLiteral("big.csv")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(QByteArray(1500 * 1024 + 1, 'x'));
        big.close();
        QString size, bigSize, date;
        bool typeShown = true;
        bool listed = false;
        test::WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            auto* details = Child<QTreeView>(*dialog, "treeView");
            QVERIFY(details);
            QAbstractItemModel* model = details->model();
            const auto row = [&](const QString& name) {
                const QModelIndex root = details->rootIndex();
                for (int r = 0; r < model->rowCount(root); ++r) {
                    if (model->index(r, 0, root).data().toString() == name)
                        return r;
                }
                return -1;
            };
            listed = QTest::qWaitFor(
                [&] { return row(QStringLiteral("big.csv")) >= 0 && row(QStringLiteral("BLK1.csv")) >= 0; });
            const QModelIndex root = details->rootIndex();
            size = model->index(row(QStringLiteral("BLK1.csv")), 1, root).data().toString();
            bigSize = model->index(row(QStringLiteral("big.csv")), 1, root).data().toString();
            date = model->index(row(QStringLiteral("BLK1.csv")), 3, root).data().toString();
            typeShown = !details->isColumnHidden(2);
            dialog->reject();
        });
        QVERIFY(test::Trigger(window, "mnuFileSave"));
        QVERIFY(listed);
        QCOMPARE(size, QStringLiteral("1 KB"));
        QCOMPARE(bigSize, QStringLiteral("1,501 KB"));
        QVERIFY2(QRegularExpression(QStringLiteral("^20\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d$")).match(date).hasMatch(),
                 qPrintable(date));
        QVERIFY(!typeShown);
    }
};

QTEST_MAIN(SaveDialogTest)
#include "SaveDialogTest.moc"
