// The habits of a desktop editor where they meet Qt: keys reach their commands, the wheel and
// the middle button reach the view, a dropped block file opens, and the command line names the
// file to open.

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>

#include "BlockFile.h"
#include "CanvasWidget.h"
#include "CommandLine.h"
#include "EditOperations.h"
#include "QtText.h"
#include "SampleBlocks.h"
#include "Widgets.h"
#include "WindowFixture.h"
#include "frmMain.h"

using namespace chokusho;

namespace {

/** Sends a key chord to the window as a user types it. */
void Type(frmMain& window, const QKeySequence& keys)
{
    const QKeyCombination chord = keys[0];
    QTest::keyClick(&window, chord.key(), chord.keyboardModifiers());
}

QDropEvent DropOf(const QMimeData& data, const QPoint& at)
{
    return QDropEvent(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
}

}  // namespace

class EditorHabitsTest : public QObject {
    Q_OBJECT

private slots:
    void keysReachTheirCommands()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        test::ShowAndExpose(window);
        window.activateWindow();
        f.state.CurData = test::RectangleBlock(4, 3);
        window.logic().Repaint();

        // 点追加 by menu, then a click; Ctrl+Z takes it back, Ctrl+Y and Ctrl+Shift+Z bring it again.
        QVERIFY(test::Trigger(window, "mnuPointAdd"));
        window.logic().modes().Picture1_MouseDown(MouseButton::Left, 50, 50);
        QCOMPARE(f.state.CurData.PointCount, 5);
        Type(window, QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(f.state.CurData.PointCount, 4);
        Type(window, QKeySequence(QStringLiteral("Ctrl+Y")));
        QCOMPARE(f.state.CurData.PointCount, 5);
        Type(window, QKeySequence(QStringLiteral("Ctrl+Z")));
        Type(window, QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
        QCOMPARE(f.state.CurData.PointCount, 5);
        QVERIFY(!test::Item(window, "Redo")->isEnabled());

        // Escape leaves the mode as a right click does.
        QCOMPARE(window.logic().modes().mode(), DispMode::AddPoint);
        Type(window, QKeySequence(Qt::Key_Escape));
        QCOMPARE(window.logic().modes().mode(), DispMode::None);

        // Ctrl+S writes the block back to its own file, with no dialog.
        f.state.DataPath = f.dataPath();
        f.state.BlkName = "BLK1";
        f.state.BlkFile = "BLK1.csv";
        f.state.BlkFolder = f.dataPath();
        Type(window, QKeySequence(QStringLiteral("Ctrl+S")));
        BlockData written;
        QVERIFY(ReadBlockFile(written, f.dataPath(), "BLK1"));
        QCOMPARE(written.PointCount, 5);
    }

    void theWheelZoomsAndTheMiddleButtonDrags()
    {
        test::WindowFixture f;
        frmMain& window = f.make();
        test::ShowAndExpose(window);
        f.state.CurData = test::RectangleBlock(4, 3);
        window.logic().mnuDispAll_Click();
        CanvasWidget& canvas = window.canvasWidget();
        const QPoint at(120, 90);
        const ModelPoint under = window.logic().view().GzToKz(at.x(), at.y());
        const double scale = window.logic().view().Dan_scl;

        // Half a notch does nothing yet; the other half makes one step in.
        for (int i = 0; i < 2; ++i) {
            QWheelEvent wheel(QPointF(at), QPointF(canvas.mapToGlobal(at)), QPoint(), QPoint(0, 60), Qt::NoButton,
                              Qt::ControlModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(&canvas, &wheel);
            QCOMPARE(window.logic().view().Dan_scl, i == 0 ? scale : scale * 1.25);
        }
        const ModelPoint still = window.logic().view().GzToKz(at.x(), at.y());
        QVERIFY(std::abs(still.kx - under.kx) < 1e-9 && std::abs(still.ky - under.ky) < 1e-9);

        QTest::mousePress(&canvas, Qt::MiddleButton, Qt::NoModifier, at);
        QMouseEvent drag(QEvent::MouseMove, QPointF(at + QPoint(25, 10)),
                         QPointF(canvas.mapToGlobal(at + QPoint(25, 10))), Qt::NoButton, Qt::MiddleButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&canvas, &drag);
        QTest::mouseRelease(&canvas, Qt::MiddleButton, Qt::NoModifier, at + QPoint(25, 10));
        const ModelPoint dragged = window.logic().view().GzToKz(at.x() + 25, at.y() + 10);
        QVERIFY(std::abs(dragged.kx - under.kx) < 1e-9 && std::abs(dragged.ky - under.ky) < 1e-9);
        QCOMPARE(window.logic().modes().mode(), DispMode::None);  // the drag went to no mode
    }

    void aDroppedBlockFileOpensAndOtherDragsAreRefused()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        test::ShowAndExpose(window);
        QDir other(f.data.path());
        QVERIFY(other.mkdir(QStringLiteral("other")));
        const QString file = other.filePath(QStringLiteral("other/落.csv"));
        WriteBlockFile(test::RectangleBlock(6, 2), ToUtf8(file));

        QMimeData text;
        text.setUrls({QUrl::fromLocalFile(other.filePath(QStringLiteral("notes.txt")))});
        QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &refused);
        QVERIFY(!refused.isAccepted());

        QMimeData block;
        block.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &block, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop = DropOf(block, QPoint(10, 10));
        QCoreApplication::sendEvent(&window, &drop);
        QTRY_COMPARE(Utf8(f.state.BlkName), QStringLiteral("落"));
        QVERIFY(f.state.CurData == test::RectangleBlock(6, 2));
        QCOMPARE(Utf8(f.state.DataPath),
                 QDir::toNativeSeparators(other.filePath(QStringLiteral("other"))) + QDir::separator());
        QCOMPARE(window.windowTitle(), QStringLiteral("直立消波ブロック設定 - 落"));
    }

    void theCommandLineNamesTheFileToOpen_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::newRow("none") << QStringList{QStringLiteral("chokusho")} << QString();
        QTest::newRow("a file") << QStringList{QStringLiteral("chokusho"), QStringLiteral("a.csv")}
                                << QStringLiteral("a.csv");
        QTest::newRow("after an option") << QStringList{QStringLiteral("chokusho"), QStringLiteral("-style=fusion"),
                                                        QStringLiteral("b.csv")}
                                         << QStringLiteral("b.csv");
        QTest::newRow("a name with a dash")
            << QStringList{QStringLiteral("chokusho"), QStringLiteral("--"), QStringLiteral("-c.csv")}
            << QStringLiteral("-c.csv");
    }
    void theCommandLineNamesTheFileToOpen()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QCOMPARE(FileToOpen(arguments).value_or(QString()), file);
    }
};

QTEST_MAIN(EditorHabitsTest)
#include "EditorHabitsTest.moc"
