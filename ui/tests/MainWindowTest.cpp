// The main window's wiring: menus, toolbar, status bar, scroll bars and canvas reach the frame
// logic, what the logic asks reaches the widgets, and the editing dialogs open over the window.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "CanvasWidget.h"
#include "DocumentState.h"
#include "FrmEditInf.h"
#include "FrmEditPnt.h"
#include "ModalDialogs.h"
#include "SampleBlocks.h"
#include "Widgets.h"
#include "WindowFixture.h"
#include "frmMain.h"

using namespace chokusho;
using test::Child;
using test::Item;
using test::ToolButton;

namespace {

using Fixture = test::WindowFixture;

/** "name=text" of each action, "-" for a separator. */
QStringList Describe(const QList<QAction*>& actions)
{
    QStringList out;
    for (const QAction* action : actions)
        out << (action->isSeparator() ? QStringLiteral("-") : action->objectName() + u'=' + action->text());
    return out;
}

QRgb CanvasPixel(frmMain& window, int x, int y)
{
    return window.canvasWidget().canvas().image().pixel(x, y) & 0xFFFFFF;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    // --- what the window shows at start

    void startsWithItsCaptionAndSize()
    {
        Fixture f;
        frmMain& window = f.show();
        QCOMPARE(window.objectName(), QStringLiteral("frmMain"));
        QCOMPARE(window.windowTitle(), QStringLiteral("直立消波ブロック設定"));
        QCOMPARE(QString::fromStdString(f.state.BlkName), QStringLiteral("無題"));
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(window.minimumSize(), QSize(400, 320));
        // Toolbar, frame area and status bar make up the first client size below the menu bar.
        QCOMPARE(window.width(), 759);
        QCOMPARE(window.height() - window.menuBar()->height(), 529);
    }

    void menuBarHasItsMenusInOrder()
    {
        Fixture f;
        frmMain& window = f.make();
        QStringList titles;
        for (const QAction* action : window.menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles,
                 QStringLiteral("ﾌｧｲﾙ(&F) 表示(&V) ブロック諸元(&B)... 点(&P) 線分(&L) ヘルプ(&H)").split(u' '));
        // ブロック諸元 is a command of the bar itself, without a drop-down.
        QAction* blockParameters = window.menuBar()->actions().at(2);
        QCOMPARE(blockParameters->objectName(), QStringLiteral("mnuBlkPara"));
        QVERIFY(blockParameters->menu() == nullptr);
        QCOMPARE(window.item(QStringLiteral("mnuBlkPara")), blockParameters);
    }

    void menusHoldTheirItemsInOrder_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("items");  // "name=caption", "-" for a separator
        QTest::newRow("file menu") << QStringLiteral("mnuFile")
                                   << QStringLiteral(
                                          "mnuFileNew=新規(&N) mnuFileOpen=開く(&O)... "
                                          "mnuFileOverwrite=上書き保存(&W) mnuFileSave=保存(&S)... - "
                                          "mnuFileImport=DXF 読み込み(&I)... mnuFilePrint=印刷(&P)... "
                                          "mnuFileExport=エクスポート(&E)... - mnuFileRecent=最近使ったファイル(&R) "
                                          "- mnuFileEnd=終了(&X)");
        QTest::newRow("view menu") << QStringLiteral("mnuDisp")
                                   << QStringLiteral(
                                          "mnuDispKaku=拡大 mnuDispShuku=縮小 mnuDispAll=全表示 "
                                          "mnuDispRedraw=再表示 - mnuDispGrid=グリッド mnuDispPntNo=点名表示 "
                                          "mnuDispShade=断面の塗り");
        QTest::newRow("point menu") << QStringLiteral("mnuPoint")
                                    << QStringLiteral(
                                           "mnuPointHen=編集... mnuPointDel=削除 mnuPointMov=移動 mnuPointAdd=点追加");
        QTest::newRow("segment menu") << QStringLiteral("mnuLine")
                                      << QStringLiteral(
                                             "mnuLineIn=結線 mnuLineDel=削除 mnuLineDelAll=一括削除 "
                                             "mnuLineKind=線種変更");
        QTest::newRow("help menu") << QStringLiteral("mnuHelp")
                                   << QStringLiteral(
                                          "mnuHelpHelp=ヘルプ（&M）... - mnuHelpVer=バージョン情報（&A）...");
    }

    void menusHoldTheirItemsInOrder()
    {
        QFETCH(QString, menu);
        QFETCH(QString, items);
        Fixture f;
        frmMain& window = f.make();
        auto* dropDown = Child<QMenu>(window, menu.toUtf8().constData());
        QVERIFY(dropDown);
        QCOMPARE(Describe(dropDown->actions()).join(u' '), items);
        QCOMPARE(window.item(menu), dropDown->menuAction());
        // The keys every desktop program has, beside the access keys; the others have none.
        const QHash<QString, QString> keys{
            {QStringLiteral("mnuFileNew"), QStringLiteral("Ctrl+N")},
            {QStringLiteral("mnuFileOpen"), QStringLiteral("Ctrl+O")},
            {QStringLiteral("mnuFileOverwrite"), QStringLiteral("Ctrl+S")},
            {QStringLiteral("mnuFileSave"), QStringLiteral("Ctrl+Shift+S")},
            {QStringLiteral("mnuFilePrint"), QKeySequence(QKeySequence::Print).toString()},
            {QStringLiteral("mnuFileEnd"), QStringLiteral("Ctrl+Q")},
            {QStringLiteral("mnuDispRedraw"), QStringLiteral("F5")},
            {QStringLiteral("mnuHelpHelp"), QStringLiteral("F1")},
        };
        for (const QAction* action : dropDown->actions())
            QCOMPARE(action->shortcut().toString(), keys.value(action->objectName()));
        auto* separator = Child<QAction>(window, "mnuFileSep");
        QVERIFY(separator);
        QCOMPARE(separator->isSeparator(), true);
    }

    void toolbarHoldsItsButtonsInOrder()
    {
        Fixture f;
        frmMain& window = f.make();
        auto* toolbar = Child<QToolBar>(window, "Toolbar1");
        QVERIFY(toolbar);
        QVERIFY(!toolbar->isMovable());
        QCOMPARE(toolbar->iconSize(), QSize(16, 16));

        QStringList keys;
        QStringList tips;
        for (const QAction* action : toolbar->actions()) {
            keys << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
            if (!action->isSeparator()) {
                tips << action->toolTip();
                QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
            }
        }
        QCOMPARE(keys, QStringLiteral("NewOpen Open Save - Kakudai Shukusho Zenhyoji Redraw Grid - Line Line_Del "
                                      "Pnt_Del Pnt_Add - Undo Redo Help")
                           .split(u' '));
        // Each tooltip names the button's key, when its command has one; a mode's says how to back out.
        const QString kEscapeTip = QStringLiteral("\nEsc：選択中のものや作業中の線を取り消す");
        const QStringList expectedTips{QStringLiteral("新規 (Ctrl+N)"),
                                       QStringLiteral("開く (Ctrl+O)"),
                                       QStringLiteral("保存 (Ctrl+Shift+S)"),
                                       QStringLiteral("拡大") + kEscapeTip,
                                       QStringLiteral("縮小") + kEscapeTip,
                                       QStringLiteral("全表示"),
                                       QStringLiteral("再表示 (F5)"),
                                       QStringLiteral("グリッド"),
                                       QStringLiteral("結線") + kEscapeTip,
                                       QStringLiteral("線削除") + kEscapeTip,
                                       QStringLiteral("点削除") + kEscapeTip,
                                       QStringLiteral("点追加") + kEscapeTip,
                                       QStringLiteral("元に戻す (Ctrl+Z)"),
                                       QStringLiteral("やり直し (Ctrl+Y)"),
                                       QStringLiteral("ヘルプ (F1)")};
        QCOMPARE(tips, expectedTips);
        // Undo and redo answer their keys on the buttons themselves.
        QCOMPARE(Item(window, "Undo")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(Item(window, "Redo")->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                      QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
        QAction* grid = Item(window, "Grid");
        QVERIFY(grid);
        QVERIFY(grid->isCheckable());
    }

    void startsWithTheEditingCommandsOfAnEmptyBlockDisabled()
    {
        Fixture f;
        frmMain& window = f.make();
        const QStringList disabled{QStringLiteral("mnuPointDel"),   QStringLiteral("mnuPointMov"),
                                   QStringLiteral("mnuLineIn"),     QStringLiteral("mnuLineDel"),
                                   QStringLiteral("mnuLineDelAll"), QStringLiteral("Line"),
                                   QStringLiteral("Line_Del"),      QStringLiteral("Pnt_Del"),
                                   QStringLiteral("Undo"),          QStringLiteral("Redo")};
        QList<QAction*> everyItem;
        for (QAction* action : window.menuBar()->actions()) {
            everyItem << action;
            if (action->menu() != nullptr)
                everyItem << action->menu()->actions();
        }
        auto* toolbar = Child<QToolBar>(window, "Toolbar1");
        QVERIFY(toolbar);
        everyItem << toolbar->actions();
        int named = 0;
        for (const QAction* action : std::as_const(everyItem)) {
            if (action->isSeparator())
                continue;
            ++named;
            QCOMPARE(window.item(action->objectName()), action);
            QVERIFY2(action->isEnabled() != disabled.contains(action->objectName()), qPrintable(action->objectName()));
        }
        QCOMPARE(named, 6 + 26 + 15);  // the bar's menus and command, the menu items, the buttons

        QAction* numbers = Item(window, "mnuDispPntNo");
        QAction* gridItem = Item(window, "mnuDispGrid");
        QAction* gridButton = Item(window, "Grid");
        QVERIFY(numbers && gridItem && gridButton);
        QVERIFY(numbers->isChecked());
        QVERIFY(!gridItem->isChecked());
        QVERIFY(!gridButton->isChecked());
    }

    void statusBarHasAPromptPanelAndACoordinatePanel()
    {
        Fixture f;
        frmMain& window = f.show();
        QCOMPARE(window.statusBar()->objectName(), QStringLiteral("StatusBar1"));
        auto* prompt = Child<QLabel>(window, "StatusBar1_Panel1");
        auto* coordinates = Child<QLabel>(window, "StatusBar1_Panel2");
        QVERIFY(prompt);
        QVERIFY(coordinates);

        // At the starting size every prompt reads whole beside an everyday read-out, and a
        // read-out of far coordinates reads whole too.
        const auto whole = [](QLabel* label) {
            const int room = label->contentsRect().width() - 2 * (label->margin() + label->indent());
            return label->fontMetrics().horizontalAdvance(label->text()) <= room;
        };
        for (const char* readout : {"X = 12.35  Y = -3.10", "X = -1.00E+308  Y = -9999999999.99"}) {
            window.port().setStatusText(StatusPane::Readout, readout);
            QCoreApplication::processEvents();
            QCOMPARE(coordinates->text(), QString::fromUtf8(readout));
            QVERIFY2(whole(coordinates), readout);
        }
        window.port().setStatusText(StatusPane::Readout, "X = -12.35  Y = -3.10");
        for (int message = 1; message <= static_cast<int>(Prompt::AddPoint); ++message) {
            window.logic().Disp_Message(static_cast<Prompt>(message));
            QCoreApplication::processEvents();
            QVERIFY2(whole(prompt), qPrintable(QStringLiteral("prompt %1: %2 pixels for %3")
                                                   .arg(message)
                                                   .arg(prompt->width())
                                                   .arg(prompt->fontMetrics().horizontalAdvance(prompt->text()))));
        }
        window.logic().Disp_Message(Prompt::ZoomIn);
        QCOMPARE(prompt->text(), QString::fromUtf8(MessageText(Prompt::ZoomIn)));
        window.logic().Disp_Message(Prompt::None);
        QCOMPARE(prompt->text(), QString());
    }

    void aPromptTooLongForItsPanelIsCutAndWholeInItsTooltip()
    {
        Fixture f;
        frmMain& window = f.show();
        auto* prompt = Child<QLabel>(window, "StatusBar1_Panel1");
        QVERIFY(prompt);
        const QFont normal = prompt->font();
        window.port().setStatusText(StatusPane::Readout, "X = -1.00E+308  Y = -9999999999.99");
        const QString whole = QString::fromUtf8(MessageText(Prompt::ZoomOut));
        window.logic().Disp_Message(Prompt::ZoomOut);

        // The narrowest window beside a long read-out: the prompt in the smallest font, cut.
        window.resize(window.minimumWidth(), window.height());
        QTRY_VERIFY(prompt->text().endsWith(u'…'));
        QVERIFY(whole.startsWith(prompt->text().chopped(1)));
        QCOMPARE(prompt->toolTip(), whole);
        QCOMPARE(prompt->font().pointSizeF(), normal.pointSizeF() * 0.8);
        const int room = prompt->contentsRect().width() - 2 * (prompt->margin() + prompt->indent());
        QVERIFY(prompt->fontMetrics().horizontalAdvance(prompt->text()) <= room);

        // Wide again: whole, in the normal font, and no tooltip to repeat it.
        window.resize(1200, window.height());
        QTRY_COMPARE(prompt->text(), whole);
        QCOMPARE(prompt->toolTip(), QString());
        QCOMPARE(prompt->font(), normal);
    }

    // --- commands reach the logic, the logic's answers reach the widgets

    void gridFromMenuAndButtonStayInStep()
    {
        Fixture f;
        frmMain& window = f.show();
        QAction* menuItem = Item(window, "mnuDispGrid");
        QToolButton* button = ToolButton(window, "Grid");
        QVERIFY(menuItem);
        QVERIFY(button);

        menuItem->trigger();
        QVERIFY(window.logic().display().grid);
        QVERIFY(menuItem->isChecked());
        QVERIFY(button->isChecked());

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!window.logic().display().grid);
        QVERIFY(!menuItem->isChecked());
        QVERIFY(!button->isChecked());

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(window.logic().display().grid);
        QVERIFY(menuItem->isChecked());
        QVERIFY(button->isChecked());

        menuItem->trigger();
        QVERIFY(!window.logic().display().grid);
        QVERIFY(!menuItem->isChecked());
        QVERIFY(!button->isChecked());

        QAction* numbers = Item(window, "mnuDispPntNo");
        QVERIFY(numbers);
        numbers->trigger();
        QVERIFY(!window.logic().display().pointNumbers);
        QVERIFY(!numbers->isChecked());
        numbers->trigger();
        QVERIFY(window.logic().display().pointNumbers);
        QVERIFY(numbers->isChecked());
    }

    void zoomCommandsSetTheModeAndTheCursor()
    {
        Fixture f;
        frmMain& window = f.show();
        CanvasWidget& canvas = window.canvasWidget();
        auto* prompt = Child<QLabel>(window, "StatusBar1_Panel1");
        QToolButton* zoomOut = ToolButton(window, "Shukusho");
        QToolButton* redraw = ToolButton(window, "Redraw");
        QToolButton* zoomIn = ToolButton(window, "Kakudai");
        QVERIFY(prompt);
        QVERIFY(zoomOut && redraw && zoomIn);

        QVERIFY(test::Trigger(window, "mnuDispKaku"));
        QCOMPARE(window.logic().modes().mode(), DispMode::ZoomIn);
        QCOMPARE(canvas.cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(prompt->text(), QString::fromUtf8(MessageText(Prompt::ZoomIn)));

        QVERIFY(test::Trigger(window, "mnuDispRedraw"));  // ends the mode
        QCOMPARE(window.logic().modes().mode(), DispMode::None);
        QCOMPARE(canvas.cursor().shape(), Qt::ArrowCursor);

        QTest::mouseClick(zoomOut, Qt::LeftButton);
        QCOMPARE(window.logic().modes().mode(), DispMode::ZoomOut);
        QCOMPARE(canvas.cursor().shape(), Qt::BitmapCursor);

        QTest::mouseClick(redraw, Qt::LeftButton);
        QCOMPARE(window.logic().modes().mode(), DispMode::None);

        QTest::mouseClick(zoomIn, Qt::LeftButton);
        QCOMPARE(window.logic().modes().mode(), DispMode::ZoomIn);
    }

    void documentChangesReachTheButtons()
    {
        Fixture f;
        frmMain& window = f.make();
        f.state.CurData = test::RectangleBlock(10, 8);
        f.state.notifyMenuEnable();
        for (const char* name : {"Line", "Line_Del", "Pnt_Del", "mnuLineIn", "mnuLineDel", "mnuLineDelAll",
                                 "mnuPointDel", "mnuPointMov"}) {
            QAction* item = Item(window, name);
            QVERIFY2(item, name);
            QVERIFY2(item->isEnabled(), name);
        }
        QAction* undo = Item(window, "Undo");
        QToolButton* undoButton = ToolButton(window, "Undo");
        QVERIFY(undo);
        QVERIFY(undoButton);
        QVERIFY(!undo->isEnabled());
        f.state.notifyUndoEnabled(true);
        QVERIFY(undo->isEnabled());
        QVERIFY(undoButton->isEnabled());
        f.state.notifyUndoEnabled(false);
        QVERIFY(!undoButton->isEnabled());
    }

    void scrollBarsReachTheLogicAndAreReset()
    {
        Fixture f;
        f.state.CurData = test::RectangleBlock(10, 8);
        frmMain& window = f.show();
        auto* hScroll = Child<QScrollBar>(window, "HScroll1");
        auto* vScroll = Child<QScrollBar>(window, "VScroll1");
        QVERIFY(hScroll);
        QVERIFY(vScroll);
        QCOMPARE(hScroll->orientation(), Qt::Horizontal);
        QCOMPARE(vScroll->orientation(), Qt::Vertical);
        QCOMPARE((QList<int>{hScroll->minimum(), hScroll->maximum(), hScroll->singleStep(), hScroll->pageStep(),
                             hScroll->value()}),
                 (QList<int>{0, 100, 2, 3, 50}));
        QCOMPARE((QList<int>{vScroll->minimum(), vScroll->maximum(), vScroll->singleStep(), vScroll->pageStep(),
                             vScroll->value()}),
                 (QList<int>{0, 100, 2, 5, 50}));
        QVERIFY(!hScroll->hasTracking());
        QVERIFY(!vScroll->hasTracking());

        const double xmin = window.logic().view().Dan_xmin;
        const double ymin = window.logic().view().Dan_ymin;
        hScroll->setValue(60);
        QCOMPARE(window.logic().scroll().HScr_old, 60);
        QVERIFY(window.logic().view().Dan_xmin > xmin);
        vScroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(window.logic().scroll().VScr_old, 55);
        QVERIFY(window.logic().view().Dan_ymin < ymin);

        // 全表示 puts both bars back to rest through the window.
        QVERIFY(test::Trigger(window, "mnuDispAll"));
        QCOMPARE(hScroll->value(), 50);
        QCOMPARE(vScroll->value(), 50);
        QCOMPARE(window.logic().scroll().HScr_old, 50);
        QCOMPARE(window.logic().view().Dan_xmin, xmin);
    }

    void resizingTheWindowRefitsTheCanvas()
    {
        Fixture f;
        f.state.CurData = test::RectangleBlock(10, 8);
        frmMain& window = f.show();
        CanvasWidget& canvas = window.canvasWidget();
        auto* hScroll = Child<QScrollBar>(window, "HScroll1");
        auto* vScroll = Child<QScrollBar>(window, "VScroll1");
        QVERIFY(hScroll);
        QVERIFY(vScroll);
        QCOMPARE(int(window.logic().view().Pic_width), canvas.width());
        QCOMPARE(int(window.logic().view().Pic_height), canvas.height());
        const int before = canvas.width();

        window.resize(1000, 700);
        QCoreApplication::processEvents();
        QCOMPARE(window.width(), 1000);
        QVERIFY(canvas.width() > before);
        QCOMPARE(int(window.logic().view().Pic_width), canvas.width());
        QCOMPARE(int(window.logic().view().Pic_height), canvas.height());
        QCOMPARE(canvas.canvas().logicalSize(), canvas.size());

        // The controls sit where the logic placed them in the frame area.
        const QWidget* area = window.centralWidget();
        const FrameLayout layout = LayoutFrame(area->width(), area->height());
        const auto rect = [](const ControlRect& r) { return QRect(r.left, r.top, r.width, r.height); };
        QCOMPARE(canvas.geometry(), rect(layout.canvas));
        QCOMPARE(hScroll->geometry(), rect(layout.hScroll));
        QCOMPARE(vScroll->geometry(), rect(layout.vScroll));
        // and the block is drawn again at the new size.
        QVERIFY(canvas.canvas().image().pixel(window.logic().view().px(5), window.logic().view().py(0)) == 0xFFFFFFFF);
    }

    // --- program files

    void theDataFolderIsReadAtStartAndWrittenAtClose()
    {
        Fixture f;
        QFile file(f.program.filePath(QStringLiteral("CVDTPATH")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("/srv/blocks/\r\n");
        file.close();
        frmMain& window = f.show();
        QCOMPARE(QString::fromStdString(f.state.DataPath), QStringLiteral("/srv/blocks/"));

        f.state.DataPath = "/home/someone/blocks/";
        QVERIFY(window.close());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("/home/someone/blocks/\r\n"));
    }

    void exitCommandClosesTheWindow()
    {
        Fixture f;
        frmMain& window = f.show();
        QVERIFY(test::Trigger(window, "mnuFileEnd"));
        QVERIFY(!window.isVisible());
        QVERIFY(QFile::exists(f.program.filePath(QStringLiteral("CVDTPATH"))));
    }

    // --- the picture

    void showAllDrawsTheBlockOnTheBlackCanvas()
    {
        Fixture f;
        f.state.CurData = test::RectangleBlock(10, 8);
        frmMain& window = f.show();
        const ViewTransform& view = window.logic().view();
        QCOMPARE(CanvasPixel(window, view.px(5), view.py(0)), QRgb(0xFFFFFF));  // drawn as soon as shown

        QVERIFY(test::Trigger(window, "mnuDispAll"));
        const QImage& image = window.canvasWidget().canvas().image();
        QCOMPARE(image.size(), window.canvasWidget().size());
        QCOMPARE(CanvasPixel(window, 1, 1), QRgb(0x000000));
        QCOMPARE(CanvasPixel(window, image.width() - 2, image.height() - 2), QRgb(0x000000));
        // The middle of the lower and of the right segment, white.
        QCOMPARE(CanvasPixel(window, view.px(5), view.py(0)), QRgb(0xFFFFFF));
        QCOMPARE(CanvasPixel(window, view.px(10), view.py(4)), QRgb(0xFFFFFF));
        // The cross of point 3, light magenta; the centroid's, light cyan.
        QCOMPARE(CanvasPixel(window, view.px(10), view.py(8)), QRgb(0xFF00FF));
        QCOMPARE(CanvasPixel(window, view.px(10) - 1, view.py(8)), QRgb(0xFF00FF));
        QCOMPARE(CanvasPixel(window, view.px(5), view.py(4)), QRgb(0x00FFFF));
        // The window shows that picture.
        const QImage shown = window.canvasWidget().grab().toImage();
        QCOMPARE(shown.pixel(view.px(5), view.py(0)) & 0xFFFFFF, QRgb(0xFFFFFF));
    }

    void sectionShadeFillsTheCanvasInsideTheOutlineWhileTicked()
    {
        Fixture f;
        f.state.CurData = test::RectangleBlock(10, 8);
        frmMain& window = f.show();
        QAction* shade = Item(window, "mnuDispShade");
        QVERIFY(shade);
        QVERIFY(shade->isCheckable() && !shade->isChecked());
        const ViewTransform& view = window.logic().view();
        const int x = view.px(2), y = view.py(2);
        QCOMPARE(CanvasPixel(window, x, y), QRgb(0x000000));
        shade->trigger();
        QVERIFY(shade->isChecked());
        QCOMPARE(CanvasPixel(window, x, y), QRgb(0x000080));
        QCOMPARE(CanvasPixel(window, view.px(12), view.py(2)), QRgb(0x000000));  // outside stays black
        QCOMPARE(CanvasPixel(window, view.px(5), view.py(0)), QRgb(0xFFFFFF));   // the segments on top
        shade->trigger();
        QCOMPARE(CanvasPixel(window, x, y), QRgb(0x000000));
        QVERIFY(f.state.CurData == test::RectangleBlock(10, 8));
    }

    // --- the dialogs that edit the block

    void theMenuCommandsOpenTheDialogsOverTheWindow()
    {
        Fixture f;
        frmMain& window = f.make();
        f.state.CurData = test::LayeredBlock();
        f.state.SavedData = f.state.CurData;
        window.logic().Repaint();

        // The table registered as it stands keeps every segment.
        test::WhenModal<FrmEditPnt>([](FrmEditPnt* dialog) {
            auto* ok = Child<QPushButton>(*dialog, "CmdP_0");
            QVERIFY(ok);
            ok->click();
        });
        QVERIFY(test::Trigger(window, "mnuPointHen"));
        QCOMPARE(f.state.CurData.LineCount, 2);
        QCOMPARE(f.state.Undo.UndoCount(), 1);

        // A cancelled table is no edit.
        test::WhenModal<FrmEditPnt>([](FrmEditPnt* dialog) {
            auto* cancel = Child<QPushButton>(*dialog, "CmdP_1");
            QVERIFY(cancel);
            cancel->click();
        });
        QVERIFY(test::Trigger(window, "mnuPointHen"));
        QCOMPARE(f.state.Undo.UndoCount(), 1);

        test::WhenModal<FrmEditInf>([](FrmEditInf* dialog) {
            auto* name = Child<QLineEdit>(*dialog, "Text1_0");
            auto* ok = Child<QPushButton>(*dialog, "CmdPara_0");
            QVERIFY(name);
            QVERIFY(ok);
            name->setText(QStringLiteral("新名称"));
            ok->click();
        });
        QVERIFY(test::Trigger(window, "mnuBlkPara"));
        QCOMPARE(QString::fromStdString(f.state.CurData.Name), QStringLiteral("新名称"));
        QCOMPARE(f.state.Undo.UndoCount(), 2);
        QCOMPARE(f.state.Undo.UndoText(0), std::string("諸条件修正"));
        QCOMPARE(f.state.Undo.UndoText(1), std::string("点編集"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
