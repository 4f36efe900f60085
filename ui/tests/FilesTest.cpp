// Blocks reach the window and leave it through real dialogs: the picker opens a file of a
// folder, the save dialog writes one, and unsaved changes are asked about first.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QListView>
#include <QRegularExpression>
#include <QSignalSpy>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "BlockFile.h"
#include "BlockPicker.h"
#include "DocumentState.h"
#include "FileSystem.h"
#include "FrmBlkShoSel.h"
#include "PickerPreview.h"
#include "UiTests.h"
#include "frmMain.h"

using namespace chokusho;

namespace {

/** A closed outline of `b` x `h` with a dotted diagonal, named and sized as the picker lists it. */
BlockData Block(const char* name, const char* kind, double b, double h)
{
    BlockData r;
    r.Name = name;
    r.Kind = kind;
    r.B = b;
    r.H = h;
    r.L = 2;
    r.V = b * h * 2;
    r.Gx = b / 2;
    r.Gy = h / 2;
    const double xs[] = {0, 0, b, b};
    const double ys[] = {0, h, h, 0};
    r.PointCount = 4;
    for (int n = 1; n <= 4; ++n) {
        r.PointX[n] = xs[n - 1];
        r.PointY[n] = ys[n - 1];
    }
    r.LineCount = 5;
    for (int k = 1; k <= 4; ++k) {
        r.LineStart[k] = static_cast<std::int16_t>(k);
        r.LineEnd[k] = static_cast<std::int16_t>(k % 4 + 1);
    }
    r.LineStart[5] = 1;
    r.LineEnd[5] = 3;
    r.LineKind[5] = kDottedLine;
    return r;
}

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

/** Program, configuration and data folders; the data folder holds two blocks and a stray .CSV. */
struct Fixture {
    QTemporaryDir program;
    QTemporaryDir config;
    QTemporaryDir data;
    DocumentState state;
    std::unique_ptr<frmMain> window;
    QObject scope;  // the test's waits for dialogs
    BlockData first = Block("護岸 A", "前面傾斜型", 4, 3);
    BlockData second = Block("護岸 B", "スリット型", 5, 2);

    Fixture()
    {
        WriteBlockFile(first, dataFile("BLK1.csv"));
        WriteBlockFile(second, dataFile("BLK2.csv"));
        QFile stray(data.filePath(QStringLiteral("NOTES.CSV")));
        if (stray.open(QIODevice::WriteOnly))
            stray.write("date,level\r\n2024-04-01,1.25\r\n");
    }
    std::string dataFile(const char* name) const { return data.filePath(QString::fromUtf8(name)).toStdString(); }
    std::string dataPath() const { return (QDir::toNativeSeparators(data.path()) + QDir::separator()).toStdString(); }
    frmMain& make()
    {
        window = std::make_unique<frmMain>(state, ProgramFolders{PathFromUtf8(program.path().toStdString()),
                                                                 PathFromUtf8(config.path().toStdString())});
        state.DataPath = dataPath();
        return *window;
    }
};

/**
 * Acts on the next modal dialog of type `Dialog` once it is up. Another modal dialog in its
 * place is rejected, so that a wrong turn fails the test instead of hanging it; a wait that
 * never found its dialog ends with `scope`, so that it cannot reach into the next test.
 */
template <class Dialog>
void WhenModal(QObject* scope, std::function<void(Dialog*)> act, int attempts = 200)
{
    QTimer::singleShot(attempts == 200 ? 0 : 20, scope, [scope, act = std::move(act), attempts]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<Dialog*>(modal)) {
            act(dialog);
            return;
        }
        if (auto* other = qobject_cast<QDialog*>(modal)) {
            qWarning("unexpected modal dialog %s", other->metaObject()->className());
            other->reject();
            return;
        }
        if (attempts > 0)
            WhenModal<Dialog>(scope, std::move(act), attempts - 1);
    });
}

template <class T>
T* Child(QWidget* parent, const char* name)
{
    T* child = parent->findChild<T*>(QString::fromUtf8(name));
    if (child == nullptr)
        qWarning("no child %s", name);
    return child;
}

QStringList ListLines(QWidget* picker)
{
    QStringList lines;
    auto* list = Child<QListWidget>(picker, "List1");
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    return lines;
}

/**
 * The lowest row of each mark of `text` drawn as the line of a list in `font`, as the picker
 * draws its lines: a mark is a run of columns with ink, from left to right.
 */
QList<int> InkBottoms(const QFont& font, const QString& text)
{
    QListWidget list;
    list.setFont(font);
    list.resize(120, 60);
    list.addItem(text);
    list.show();
    const QImage image = list.viewport()->grab().toImage();
    QList<int> bottoms;
    bool inMark = false;
    for (int x = 0; x < image.width(); ++x) {
        int bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 160)
                bottom = y;
        if (bottom >= 0 && !inMark)
            bottoms << bottom;
        else if (bottom >= 0)
            bottoms.last() = std::max(bottoms.last(), bottom);
        inMark = bottom >= 0;
    }
    return bottoms;
}

bool HasWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                return true;
    return false;
}

}  // namespace

class FilesTest : public QObject {
    Q_OBJECT

private slots:
    // --- the picker on its own

    void pickerShowsItsControlsInTwipsAndAFontThatKeepsColumns()
    {
        Fixture f;
        f.state.DataPath = f.dataPath();
        FrmBlkShoSel picker(f.state, PathFromUtf8(f.program.path().toStdString()));
        QCOMPARE(picker.windowTitle(), QStringLiteral("直立消波ブロック - 形状選択"));
        QCOMPARE(picker.size(), QSize(744, 406));
        QCOMPARE(Child<QListWidget>(&picker, "List1")->geometry(), QRect(188, 24, 545, 220));
        QCOMPARE(Child<QWidget>(&picker, "Picture1")->geometry(), QRect(188, 252, 277, 145));
        QCOMPARE(Child<QTreeView>(&picker, "Dir1")->geometry(), QRect(12, 48, 161, 342));
        QCOMPARE(Child<QPushButton>(&picker, "Command1_0")->text(), QStringLiteral("選   択"));
        QCOMPARE(Child<QPushButton>(&picker, "Command1_1")->text(), QStringLiteral("取   消"));
        QCOMPARE(Child<QGroupBox>(&picker, "Frame1")->title(), QStringLiteral("選択ファイル"));
        // The lines are padded in cp932 bytes: a full-width character must be two half-width ones.
        const QFontMetrics metrics(Child<QListWidget>(&picker, "List1")->font());
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("直Ｂ")), 4 * metrics.horizontalAdvance(u'B'));
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("0.000 ")), 6 * metrics.horizontalAdvance(u'B'));
        QCOMPARE(Child<QLabel>(&picker, "Label1")->font(), Child<QListWidget>(&picker, "List1")->font());
        // The decimal point is plainly a point: it sits on the line as the digits do, where a
        // comma (or a point drawn with a tail) reaches below them.
        const QList<int> bottoms = InkBottoms(Child<QListWidget>(&picker, "List1")->font(), QStringLiteral("0.0"));
        QCOMPARE(bottoms.size(), 3);
        QCOMPARE(bottoms[1], bottoms[0]);
    }

    void previewIsLaidOutInTwips()
    {
        // 4000 x 2000 twips for a 4 x 2 block puts its corner (0, 0) at (667, 1667) twips.
        ImageCanvas pixels;
        pixels.resize(QSize(277, 145), 1.0);
        TwipsCanvas twips(pixels);
        BlockData block = Block("", "", 4, 2);
        DrawPickerPreview(twips, block, 4000, 2000);
        const QImage& image = pixels.image();
        QCOMPARE(image.pixel(44, 111) & 0xFFFFFF, QRgb(0xFFFFFF));
        QCOMPARE(image.pixel(50, 100) & 0xFFFFFF, QRgb(0x000000));
        // Ｂ = 4 m is 2667 twips wide: the lower right corner at (3333, 1667).
        QCOMPARE(image.pixel(222, 111) & 0xFFFFFF, QRgb(0xFFFFFF));
        QCOMPARE(image.pixel(224, 111) & 0xFFFFFF, QRgb(0x000000));
    }

    void aListLineIsDrawnOnlyAsFarAsTheListIsWide()
    {
        Fixture f;
        WriteBlockFile(Block(std::string(kMaxNameBytes, 'N').c_str(), "長い名前", 1, 1), f.dataFile("LONG.csv"));
        f.state.DataPath = f.dataPath();
        FrmBlkShoSel picker(f.state, PathFromUtf8(f.program.path().toStdString()));
        auto* list = Child<QListWidget>(&picker, "List1");
        QVERIFY(list);
        QCOMPARE(list->textElideMode(), Qt::ElideRight);
        QCOMPARE(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(list->count(), 3);
        // The long line keeps its whole text in the tooltip; the lines that fit need none.
        QCOMPARE(list->item(2)->toolTip(), list->item(2)->text());
        QVERIFY(list->item(2)->text().startsWith(QString(20, u'N')));
        QCOMPARE(list->item(0)->toolTip(), QString());
    }

    void pickerFallsBackToTheProgramFolderAndStaysOpenWithNothingToSelect()
    {
        Fixture f;
        f.state.DataPath = f.data.filePath(QStringLiteral("gone/")).toStdString();
        FrmBlkShoSel picker(f.state, PathFromUtf8(f.program.path().toStdString()));
        picker.show();
        // The empty program folder is listed, and DataPath follows it.
        QCOMPARE(Text(f.state.DataPath), QDir::toNativeSeparators(f.program.path()) + QDir::separator());
        QCOMPARE(ListLines(&picker), QStringList());
        QVERIFY(!HasWhite(Child<PickerPreviewWidget>(&picker, "Picture1")->image()));
        Child<QPushButton>(&picker, "Command1_0")->click();
        QVERIFY(picker.isVisible());
        QCOMPARE(picker.result(), int(QDialog::Rejected));
        picker.close();
        QCOMPARE(Text(picker.BlkNm()), QString());
    }

    void pickerEnterChoosesTheSelectedLine()
    {
        Fixture f;
        f.state.DataPath = f.dataPath();
        FrmBlkShoSel picker(f.state, PathFromUtf8(f.program.path().toStdString()));
        picker.show();
        QVERIFY(QTest::qWaitForWindowActive(&picker));
        auto* list = Child<QListWidget>(&picker, "List1");
        QVERIFY(list->hasFocus());
        // The first line is selected and shown on opening.
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(Child<QLabel>(&picker, "Label3")->text(), QStringLiteral("BLK1"));
        QVERIFY(HasWhite(Child<PickerPreviewWidget>(&picker, "Picture1")->image()));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(Child<QLabel>(&picker, "Label3")->text(), QStringLiteral("BLK2"));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(Text(picker.BlkNm()), QStringLiteral("BLK2"));
    }

    void pickerRefusesAVolumeThatIsNotReady()
    {
        Fixture f;
        f.state.DataPath = f.dataPath();
        FrmBlkShoSel picker(f.state, PathFromUtf8(f.program.path().toStdString()));
        picker.show();
        auto* drive = Child<QComboBox>(&picker, "Drive1");
        const int before = drive->currentIndex();
        drive->addItem(QStringLiteral("/media/removed"), f.data.filePath(QStringLiteral("removed")));
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        WhenModal<QMessageBox>(&f.scope, [&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->accept();
        });
        drive->setCurrentIndex(drive->count() - 1);
        QCOMPARE(title, QStringLiteral("Error"));
        QCOMPARE(text, QStringLiteral("デバイスが準備されていません。"));
        QCOMPARE(icon, QMessageBox::Warning);
        // Nothing moved: the box shows the volume of the folder still listed.
        QCOMPARE(drive->currentIndex(), before);
        QCOMPARE(Text(f.state.DataPath), Text(f.dataPath()));
        QCOMPARE(ListLines(&picker).size(), 2);
    }

    // --- through the main window

    void opensTheSecondBlockThroughThePicker()
    {
        Fixture f;
        frmMain& window = f.make();
        window.show();
        QString caption, heading, chosen;
        QStringList lines;
        bool filled = false;
        WhenModal<FrmBlkShoSel>(&f.scope, [&](FrmBlkShoSel* picker) {
            auto* list = Child<QListWidget>(picker, "List1");
            filled = QTest::qWaitFor([list] { return list->count() == 2; });
            caption = picker->windowTitle();
            heading = Child<QLabel>(picker, "Label1")->text();
            lines = ListLines(picker);
            if (list->count() == 2) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
                chosen = Child<QLabel>(picker, "Label3")->text();
            }
            QTest::mouseClick(Child<QPushButton>(picker, "Command1_0"), Qt::LeftButton);
            if (picker->isVisible())
                picker->reject();
        });
        window.item(QStringLiteral("mnuFileOpen"))->trigger();

        QVERIFY(filled);
        QCOMPARE(caption, QStringLiteral("直立消波ブロック - 形状選択"));
        QCOMPARE(heading, QString::fromUtf8(kPickerHeading));
        // NOTES.CSV is no block file and is left out; the others in name order.
        QCOMPARE(lines, QStringList({Text(BlockListLine(f.first)), Text(BlockListLine(f.second))}));
        QCOMPARE(chosen, QStringLiteral("BLK2"));
        QCOMPARE(Text(f.state.BlkName), QStringLiteral("BLK2"));
        QVERIFY(f.state.CurData == f.second);
        QVERIFY(f.state.SavedData == f.second);
        QCOMPARE(window.windowTitle(), QStringLiteral("直立消波ブロック設定 - BLK2"));
    }

    void savesUnderATypedNameWithTheExtensionAdded()
    {
        Fixture f;
        frmMain& window = f.make();
        f.state.CurData = f.second;
        QString objectName, folder, suggested;
        WhenModal<QFileDialog>(&f.scope, [&](QFileDialog* dialog) {
            objectName = dialog->objectName();
            folder = dialog->directory().absolutePath();
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (edit != nullptr) {
                suggested = edit->text();
                edit->setText(QStringLiteral("護岸B改"));
            }
            static_cast<QDialog*>(dialog)->accept();  // the Save button's slot
            if (dialog->isVisible())
                dialog->reject();
        });
        window.item(QStringLiteral("mnuFileSave"))->trigger();

        QCOMPARE(objectName, QStringLiteral("SaveDialog"));
        QCOMPARE(folder, QDir(f.data.path()).absolutePath());
        QCOMPARE(suggested, QStringLiteral("無題"));
        QFile written(f.data.filePath(QStringLiteral("護岸B改.csv")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().toStdString(), FormatBlockFile(f.state.CurData));
        QCOMPARE(Text(f.state.BlkName), QStringLiteral("護岸B改"));
        QCOMPARE(window.windowTitle(), QStringLiteral("直立消波ブロック設定 - 護岸B改"));
        QVERIFY(f.state.SavedData == f.state.CurData);
    }

    void aTypedNameOfAnExistingBlockAsksBeforeOverwriting()
    {
        Fixture f;
        frmMain& window = f.make();
        f.state.CurData = f.second;
        QString question;
        WhenModal<QFileDialog>(&f.scope, [&](QFileDialog* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (edit != nullptr)
                edit->setText(QStringLiteral("BLK1"));
            WhenModal<QMessageBox>(&f.scope, [&](QMessageBox* box) {
                question = box->text();
                box->button(QMessageBox::No)->click();
            });
            static_cast<QDialog*>(dialog)->accept();  // the Save button's slot
            dialog->reject();
        });
        window.item(QStringLiteral("mnuFileSave"))->trigger();

        QVERIFY2(question.contains(QStringLiteral("BLK1.csv")), qPrintable(question));
        BlockData kept;
        QVERIFY(ReadBlockFile(kept, f.dataPath(), "BLK1"));
        QVERIFY(kept == f.first);
        QCOMPARE(Text(f.state.BlkName), QStringLiteral("無題"));
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
        Fixture f;
        frmMain& window = f.make();
        const std::string target = f.dataFile(existing.toUtf8().constData());
        WriteBlockFile(f.first, target);
        f.state.CurData = f.second;
        QStringList questions;
        bool stayed = false;
        WhenModal<QFileDialog>(&f.scope, [&](QFileDialog* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (edit == nullptr) {
                dialog->reject();
                return;
            }
            edit->setText(typed);
            // いいえ: back to the dialog, which stays open.
            WhenModal<QMessageBox>(&f.scope, [&](QMessageBox* box) {
                questions << box->text();
                box->button(QMessageBox::No)->click();
            });
            static_cast<QDialog*>(dialog)->accept();  // the Save button's slot
            stayed = dialog->isVisible();
            // はい: the file is replaced.
            WhenModal<QMessageBox>(&f.scope, [&](QMessageBox* box) {
                questions << box->text();
                box->button(QMessageBox::Yes)->click();
            });
            static_cast<QDialog*>(dialog)->accept();
            if (dialog->isVisible())
                dialog->reject();
        });
        window.item(QStringLiteral("mnuFileSave"))->trigger();

        const QString question = existing + QStringLiteral(" は既に存在します。\n上書きしますか?");
        QCOMPARE(questions, QStringList({question, question}));
        QVERIFY(stayed);
        BlockData written;
        QVERIFY(ReadBlockFileNamed(written, f.dataPath(), existing.toStdString()));
        QVERIFY(written == f.second);
    }

    void theSaveDialogShowsSizesAndDatesAsAJapaneseUserReadsThem()
    {
        Fixture f;
        frmMain& window = f.make();
        QFile big(f.data.filePath(QStringLiteral("big.csv")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(QByteArray(1500 * 1024 + 1, 'x'));
        big.close();
        QString size, bigSize, date;
        bool typeShown = true;
        bool listed = false;
        WhenModal<QFileDialog>(&f.scope, [&](QFileDialog* dialog) {
            auto* details = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            if (details == nullptr) {
                dialog->reject();
                return;
            }
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
        window.item(QStringLiteral("mnuFileSave"))->trigger();
        QVERIFY(listed);
        QCOMPARE(size, QStringLiteral("1 KB"));
        QCOMPARE(bigSize, QStringLiteral("1,501 KB"));
        QVERIFY2(QRegularExpression(QStringLiteral("^20\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d$")).match(date).hasMatch(),
                 qPrintable(date));
        QVERIFY(!typeShown);
    }

    void folderViewsNeverOpenTheFilesTheyList()
    {
#ifdef Q_OS_LINUX
        // A file of /proc such as kmsg blocks the reader for ever, and a pipe blocks its opener:
        // the views must tell what an entry is from its name and kind alone. The kernel reports
        // every opening of these two, whoever opens them.
        Fixture f;
        const QString plain = f.data.filePath(QStringLiteral("kmsg"));
        QFile stand(plain);
        QVERIFY(stand.open(QIODevice::WriteOnly));
        stand.write("<6>a kernel message with no name of its type\n");
        stand.close();
        const QByteArray fifo = QFile::encodeName(f.data.filePath(QStringLiteral("x.csv")));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), f.data.filePath(QStringLiteral("zero"))));
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(::inotify_add_watch(watch, QFile::encodeName(plain).constData(), IN_OPEN) >= 0);
        QVERIFY(::inotify_add_watch(watch, fifo.constData(), IN_OPEN) >= 0);
        // Should a view open the pipe after all, a writer lets it go so that the test ends.
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            while (!stop) {
                const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });

        frmMain& window = f.make();
        window.show();
        bool pickerListed = false;
        WhenModal<FrmBlkShoSel>(&f.scope, [&](FrmBlkShoSel* picker) {
            auto* tree = Child<QTreeView>(picker, "Dir1");
            auto* model = qobject_cast<QFileSystemModel*>(tree->model());
            QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
            tree->expand(model->index(f.data.path()));
            pickerListed = QTest::qWaitFor([&] {
                return std::any_of(loaded.begin(), loaded.end(),
                                   [&](const QList<QVariant>& args) { return args.at(0).toString() == f.data.path(); });
            });
            picker->grab();
            picker->reject();
        });
        window.item(QStringLiteral("mnuFileOpen"))->trigger();

        bool dialogListed = false;
        WhenModal<QFileDialog>(&f.scope, [&](QFileDialog* dialog) {
            dialog->setNameFilter(QStringLiteral("*"));
            auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
            dialogListed = list && QTest::qWaitFor([list] {
                               const QModelIndex root = list->rootIndex();
                               for (int row = 0; row < list->model()->rowCount(root); ++row) {
                                   if (list->model()->index(row, 0, root).data().toString() == QStringLiteral("kmsg"))
                                       return true;
                               }
                               return false;
                           });
            dialog->grab();
            dialog->reject();
        });
        window.item(QStringLiteral("mnuFileSave"))->trigger();

        stop = true;
        writer.join();
        char events[4096];
        const auto got = ::read(watch, events, sizeof events);
        ::close(watch);
        QVERIFY(pickerListed);
        QVERIFY(dialogListed);
        QVERIFY2(got <= 0, "a folder view opened a file it listed");
#else
        QSKIP("the kernel's report of openings is Linux's");
#endif
    }

    void aCancelledPickerLeavesDataPathWhereTheTreeWent()
    {
        Fixture f;
        QVERIFY(QDir(f.data.path()).mkdir(QStringLiteral("sub")));
        const QString sub = f.data.filePath(QStringLiteral("sub"));
        WriteBlockFile(f.first, (sub + QStringLiteral("/ONLY.csv")).toStdString());
        frmMain& window = f.make();
        window.show();
        f.state.CurData = f.second;
        f.state.SavedData = f.second;
        QStringList lines;
        bool loaded = false;
        WhenModal<FrmBlkShoSel>(&f.scope, [&](FrmBlkShoSel* picker) {
            auto* tree = Child<QTreeView>(picker, "Dir1");
            auto* model = qobject_cast<QFileSystemModel*>(tree->model());
            const QModelIndex folder = model->index(f.data.path());
            // The tree's rows come from a loader thread; the click waits for them.
            loaded = QTest::qWaitFor([&] { return model->rowCount(folder) == 1; });
            const QModelIndex subIndex = model->index(sub);
            tree->scrollTo(subIndex);
            // On the name's start: a deep folder's row runs on beyond the viewport.
            const QRect row = tree->visualRect(subIndex);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(row.left() + 8, row.center().y()));
            lines = ListLines(picker);
            QTest::mouseClick(Child<QPushButton>(picker, "Command1_1"), Qt::LeftButton);
            if (picker->isVisible())
                picker->reject();
        });
        window.item(QStringLiteral("mnuFileOpen"))->trigger();

        QVERIFY(loaded);
        QCOMPARE(lines, QStringList({Text(BlockListLine(f.first))}));
        QCOMPARE(Text(f.state.DataPath), QDir::toNativeSeparators(sub) + QDir::separator());
        QCOMPARE(Text(f.state.BlkName), QStringLiteral("無題"));
        QVERIFY(f.state.CurData == f.second);
    }

    void newAsksAboutUnsavedChangesFirst()
    {
        Fixture f;
        frmMain& window = f.make();
        f.state.CurData = f.second;
        // Yes leads to the save dialog; cancelling it keeps the block.
        WhenModal<QMessageBox>(&f.scope, [&f](QMessageBox* box) {
            WhenModal<QFileDialog>(&f.scope, [](QFileDialog* dialog) { dialog->reject(); });
            box->button(QMessageBox::Yes)->click();
        });
        window.item(QStringLiteral("mnuFileNew"))->trigger();
        QVERIFY(f.state.CurData == f.second);

        QString title, text;
        WhenModal<QMessageBox>(&f.scope, [&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::No)->click();
        });
        window.item(QStringLiteral("mnuFileNew"))->trigger();
        QCOMPARE(title, QStringLiteral("保存確認"));
        QCOMPARE(text, QStringLiteral("データが更新されています。保存しますか?"));
        QVERIFY(f.state.CurData == BlockData());
        QCOMPARE(Text(f.state.BlkName), QStringLiteral("無題"));
        QCOMPARE(window.windowTitle(), QStringLiteral("直立消波ブロック設定"));
    }
};

std::unique_ptr<QObject> MakeFilesTest() { return std::make_unique<FilesTest>(); }

#include "FilesTest.moc"
