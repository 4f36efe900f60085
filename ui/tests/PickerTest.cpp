// The block picker (FrmBlkShoSel) on its own: its controls and fonts, the preview, the lines it
// lists, the folder it falls back to, choosing with the keyboard and a volume that is not ready.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QTreeView>
#include <algorithm>
#include <utility>

#include "BlockFile.h"
#include "BlockPicker.h"
#include "FrmBlkShoSel.h"
#include "ImageCanvas.h"
#include "ModalDialogs.h"
#include "PickerPreview.h"
#include "QtText.h"
#include "SampleBlocks.h"
#include "Widgets.h"
#include "WindowFixture.h"

using namespace chokusho;
using test::Child;

namespace {

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

class PickerTest : public QObject {
    Q_OBJECT

private slots:
    void showsItsControlsInTwipsAndAFontThatKeepsColumns()
    {
        test::DataFolderFixture f;
        f.state.DataPath = f.dataPath();
        FrmBlkShoSel picker(f.state, f.folders().program);
        auto* list = Child<QListWidget>(picker, "List1");
        auto* preview = Child<QWidget>(picker, "Picture1");
        auto* tree = Child<QTreeView>(picker, "Dir1");
        auto* choose = Child<QPushButton>(picker, "Command1_0");
        auto* cancel = Child<QPushButton>(picker, "Command1_1");
        auto* frame = Child<QGroupBox>(picker, "Frame1");
        auto* heading = Child<QLabel>(picker, "Label1");
        QVERIFY(list);
        QVERIFY(preview);
        QVERIFY(tree);
        QVERIFY(choose);
        QVERIFY(cancel);
        QVERIFY(frame);
        QVERIFY(heading);
        QCOMPARE(picker.windowTitle(), QStringLiteral("直立消波ブロック - 形状選択"));
        QCOMPARE(picker.size(), QSize(744, 406));
        QCOMPARE(list->geometry(), QRect(188, 24, 545, 220));
        QCOMPARE(preview->geometry(), QRect(188, 252, 277, 145));
        QCOMPARE(tree->geometry(), QRect(12, 48, 161, 342));
        QCOMPARE(choose->text(), QStringLiteral("選   択"));
        QCOMPARE(cancel->text(), QStringLiteral("取   消"));
        QCOMPARE(frame->title(), QStringLiteral("選択ファイル"));
        // The lines are padded in cp932 bytes: a full-width character must be two half-width ones.
        const QFontMetrics metrics(list->font());
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("直Ｂ")), 4 * metrics.horizontalAdvance(u'B'));
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("0.000 ")), 6 * metrics.horizontalAdvance(u'B'));
        QCOMPARE(heading->font(), list->font());
        // The decimal point is plainly a point: it sits on the line as the digits do, where a
        // comma (or a point drawn with a tail) reaches below them.
        const QList<int> bottoms = InkBottoms(list->font(), QStringLiteral("0.0"));
        QCOMPARE(bottoms.size(), 3);
        QCOMPARE(bottoms[1], bottoms[0]);
    }

    void previewIsLaidOutInTwips()
    {
        // 4000 x 2000 twips for a 4 x 2 block puts its corner (0, 0) at (667, 1667) twips.
        ImageCanvas pixels;
        pixels.resize(QSize(277, 145), 1.0);
        TwipsCanvas twips(pixels);
        BlockData block = test::ListedBlock("", "", 4, 2);
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
        test::DataFolderFixture f;
        WriteBlockFile(test::ListedBlock(std::string(kMaxNameBytes, 'N').c_str(), "長い名前", 1, 1),
                       f.dataFile("LONG.csv"));
        f.state.DataPath = f.dataPath();
        FrmBlkShoSel picker(f.state, f.folders().program);
        auto* list = Child<QListWidget>(picker, "List1");
        QVERIFY(list);
        QCOMPARE(list->textElideMode(), Qt::ElideRight);
        QCOMPARE(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(list->count(), 3);
        // The long line keeps its whole text in the tooltip; the lines that fit need none.
        QCOMPARE(list->item(2)->toolTip(), list->item(2)->text());
        QVERIFY(list->item(2)->text().startsWith(QString(20, u'N')));
        QCOMPARE(list->item(0)->toolTip(), QString());
    }

    void fallsBackToTheProgramFolderAndStaysOpenWithNothingToSelect()
    {
        test::DataFolderFixture f;
        f.state.DataPath = f.data.filePath(QStringLiteral("gone/")).toStdString();
        FrmBlkShoSel picker(f.state, f.folders().program);
        picker.show();
        auto* list = Child<QListWidget>(picker, "List1");
        auto* preview = Child<PickerPreviewWidget>(picker, "Picture1");
        auto* choose = Child<QPushButton>(picker, "Command1_0");
        QVERIFY(list);
        QVERIFY(preview);
        QVERIFY(choose);
        // The empty program folder is listed, and DataPath follows it.
        QCOMPARE(Utf8(f.state.DataPath), QDir::toNativeSeparators(f.program.path()) + QDir::separator());
        QCOMPARE(test::Lines(*list), QStringList());
        QVERIFY(!HasWhite(preview->image()));
        choose->click();
        QVERIFY(picker.isVisible());
        QCOMPARE(picker.result(), int(QDialog::Rejected));
        picker.close();
        QCOMPARE(Utf8(picker.BlkNm()), QString());
    }

    void enterChoosesTheSelectedLine()
    {
        test::DataFolderFixture f;
        f.state.DataPath = f.dataPath();
        FrmBlkShoSel picker(f.state, f.folders().program);
        picker.show();
        QVERIFY(QTest::qWaitForWindowActive(&picker));
        auto* list = Child<QListWidget>(picker, "List1");
        auto* chosen = Child<QLabel>(picker, "Label3");
        auto* preview = Child<PickerPreviewWidget>(picker, "Picture1");
        QVERIFY(list);
        QVERIFY(chosen);
        QVERIFY(preview);
        QVERIFY(list->hasFocus());
        // The first line is selected and shown on opening.
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(chosen->text(), QStringLiteral("BLK1"));
        QVERIFY(HasWhite(preview->image()));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(chosen->text(), QStringLiteral("BLK2"));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(Utf8(picker.BlkNm()), QStringLiteral("BLK2"));
    }

    void growsFromTheSizeItWasDrawnWith()
    {
        test::DataFolderFixture f;
        f.state.DataPath = f.dataPath();
        FrmBlkShoSel picker(f.state, f.folders().program);
        test::ShowAndExpose(picker);
        auto* tree = Child<QTreeView>(picker, "Dir1");
        auto* list = Child<QListWidget>(picker, "List1");
        auto* preview = Child<PickerPreviewWidget>(picker, "Picture1");
        auto* choose = Child<QPushButton>(picker, "Command1_0");
        QVERIFY(tree && list && preview && choose);
        const QSize drawn(744, 406);
        QCOMPARE(picker.minimumSize(), drawn);
        const QSize treeDrawn = tree->size(), listDrawn = list->size(), previewDrawn = preview->size();
        const QPoint fromCorner = QRect(QPoint(0, 0), drawn).bottomRight() - choose->mapTo(&picker, QPoint(0, 0));

        picker.resize(drawn + QSize(200, 150));
        QTRY_COMPARE(picker.size(), drawn + QSize(200, 150));
        for (const auto& [grown, before] : {std::pair<QWidget*, QSize>{tree, treeDrawn}, {list, listDrawn},
                                            {preview, previewDrawn}}) {
            QVERIFY2(grown->width() > before.width() && grown->height() > before.height(),
                     qPrintable(grown->objectName()));
        }
        QCOMPARE(picker.rect().bottomRight() - choose->mapTo(&picker, QPoint(0, 0)), fromCorner);
        // The preview draws at its new size.
        QCOMPARE(preview->image().size(), preview->contentsRect().size() * preview->devicePixelRatioF());
    }

    void theTreeReachesALongNameSidewaysAndShowsItWhole()
    {
        test::DataFolderFixture f;
        const QString name = QStringLiteral("護岸改良工事＿直立消波ブロック断面検討資料＿第二工区");
        QVERIFY(QDir(f.data.path()).mkdir(name));
        f.state.DataPath = f.dataPath();
        FrmBlkShoSel picker(f.state, f.folders().program);
        test::ShowAndExpose(picker);
        auto* tree = Child<QTreeView>(picker, "Dir1");
        QVERIFY(tree);
        auto* model = qobject_cast<QFileSystemModel*>(tree->model());
        QVERIFY(QTest::qWaitFor([&] { return model->rowCount(model->index(f.data.path())) == 1; }));
        const QModelIndex folder = model->index(f.data.filePath(name));
        tree->scrollTo(folder);
        QTRY_VERIFY(tree->horizontalScrollBar()->maximum() > 0);

        // Pointing at the name's start, where the tree cuts it, shows it whole.
        const QRect row = tree->visualRect(folder);
        const QPoint at(std::clamp(row.left() + 8, 0, tree->viewport()->width() - 1), row.center().y());
        QHelpEvent help(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &help);
        QTRY_COMPARE(QToolTip::text(), name);
        QToolTip::hideText();
    }

    void chooseIsOfferedOnlyWhileABlockIsSelected()
    {
        test::DataFolderFixture f;
        QVERIFY(QDir(f.data.path()).mkdir(QStringLiteral("empty")));
        const QString empty = f.data.filePath(QStringLiteral("empty"));
        f.state.DataPath = (QDir::toNativeSeparators(empty) + QDir::separator()).toStdString();
        FrmBlkShoSel picker(f.state, f.folders().program);
        test::ShowAndExpose(picker);
        auto* tree = Child<QTreeView>(picker, "Dir1");
        auto* list = Child<QListWidget>(picker, "List1");
        auto* choose = Child<QPushButton>(picker, "Command1_0");
        QVERIFY(tree && list && choose);
        auto* model = qobject_cast<QFileSystemModel*>(tree->model());
        QCOMPARE(list->count(), 0);
        QVERIFY(!choose->isEnabled());

        tree->setCurrentIndex(model->index(f.data.path()));
        QCOMPARE(list->count(), 2);
        QVERIFY(choose->isEnabled());
    }

    void theStatusNamesABlockFileLeftOutOfTheList()
    {
        test::DataFolderFixture f;
        std::string content = FormatBlockFile(f.first);
        const std::size_t name = content.find("\r\n") + 2;
        content.replace(name, content.find("\r\n", name) - name, std::string(kMaxNameBytes + 1, 'n'));
        QFile file(f.data.filePath(QStringLiteral("long.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content.data(), static_cast<qint64>(content.size()));
        file.close();
        f.state.DataPath = f.dataPath();
        FrmBlkShoSel picker(f.state, f.folders().program);
        test::ShowAndExpose(picker);
        auto* status = Child<QLabel>(picker, "StatusLabel");
        QVERIFY(status);
        QVERIFY2(status->text().startsWith(QStringLiteral("long.csv: ")), qPrintable(status->text()));
        QCOMPARE(status->toolTip(), status->text());
    }

    void refusesAVolumeThatIsNotReady()
    {
        test::DataFolderFixture f;
        f.state.DataPath = f.dataPath();
        FrmBlkShoSel picker(f.state, f.folders().program);
        picker.show();
        auto* drive = Child<QComboBox>(picker, "Drive1");
        auto* list = Child<QListWidget>(picker, "List1");
        QVERIFY(drive);
        QVERIFY(list);
        const int before = drive->currentIndex();
        drive->addItem(QStringLiteral("/media/removed"), f.data.filePath(QStringLiteral("removed")));
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
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
        QCOMPARE(Utf8(f.state.DataPath), Utf8(f.dataPath()));
        QCOMPARE(test::Lines(*list).size(), 2);
    }
};

QTEST_MAIN(PickerTest)
#include "PickerTest.moc"
