// Windows and dialogs on the screens users have: a laptop at 200 % (800 x 500 logical pixels), a
// smaller one at 200 % and a desktop at 150 %. Each window starts within the screen it appears
// on, keeps the size it was drawn with where that fits, and keeps its buttons within reach.

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "DrawingDialogs.h"
#include "FileSystem.h"
#include "FrmBlkShoSel.h"
#include "FrmEditInf.h"
#include "FrmEditPnt.h"
#include "FrmEditPntMov.h"
#include "ModalDialogs.h"
#include "SampleBlocks.h"
#include "Widgets.h"
#include "WindowFixture.h"
#include "frmAbout.h"

using namespace chokusho;
using test::Child;

namespace {

/** The offscreen platform's screens: logical sizes, each with its scale. */
constexpr const char* kScreens = R"({"screens": [
  {"name": "Laptop200", "x": 0, "y": 0, "width": 800, "height": 500, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 2},
  {"name": "Small200", "x": 800, "y": 0, "width": 640, "height": 400, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 2},
  {"name": "Desk150", "x": 1440, "y": 0, "width": 1066, "height": 666, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1.5}
]})";

QScreen* ScreenNamed(const QString& name)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    return nullptr;
}

/** Shows `dialog` and hands it to `check`; a dialog that runs itself is answered while it runs. */
using Opener = std::function<void(QWidget& owner, test::DataFolderFixture& f, std::function<void(QDialog&)> check)>;

template <class Dialog>
Opener Shown(std::function<std::unique_ptr<Dialog>(QWidget&, test::DataFolderFixture&)> make)
{
    return [make](QWidget& owner, test::DataFolderFixture& f, const std::function<void(QDialog&)>& check) {
        const std::unique_ptr<Dialog> dialog = make(owner, f);
        test::ShowAndExpose(*dialog);
        check(*dialog);
    };
}

/**
 * The control of `dialog` that a user must be able to reach: the button that confirms it, or the
 * print preview's choice of scale.
 */
QWidget* ControlToReach(QDialog& dialog)
{
    for (const char* name : {"CmdP_0", "CmdPara_0", "Command1_0", "cmdOK"}) {
        if (auto* button = dialog.findChild<QPushButton*>(QString::fromUtf8(name)))
            return button;
    }
    if (auto* box = dialog.findChild<QDialogButtonBox*>())
        return box->button(QDialogButtonBox::Ok);
    return dialog.findChild<QWidget*>(QStringLiteral("Scale"));
}

/** Whether `control` lies wholly within `dialog` once a scroll area holding it has brought it into sight. */
bool WithinReach(QDialog& dialog, QWidget& control)
{
    for (QWidget* above = control.parentWidget(); above != nullptr && above != &dialog; above = above->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(above))
            area->ensureWidgetVisible(&control, 0, 0);
    }
    const QRect place(control.mapTo(&dialog, QPoint(0, 0)), control.size());
    return dialog.rect().contains(place);
}

}  // namespace

Q_DECLARE_METATYPE(Opener)

class ScreenFitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char* name : {"Laptop200", "Small200", "Desk150"})
            QVERIFY2(ScreenNamed(QString::fromUtf8(name)) != nullptr, name);
    }

    void theMainWindowStartsWithinItsScreen()
    {
        // The window comes up on the first screen, a laptop at 200 %: as wide as it was drawn,
        // since that fits, and no taller than the screen.
        test::WindowFixture f;
        frmMain& window = f.show();
        const QRect screen = window.screen()->availableGeometry();
        QCOMPARE(window.screen()->name(), QStringLiteral("Laptop200"));
        QVERIFY2(window.frameGeometry().height() <= screen.height(), qPrintable(QString::number(window.height())));
        QCOMPARE(window.width(), 759);
    }

    void everyDialogStartsWithinItsWindowsScreen_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<Opener>("open");
        const Opener openers[] = {
            Shown<FrmEditPnt>([](QWidget& owner, test::DataFolderFixture& f) {
                f.state.CurData = test::RectangleBlock(4, 3);
                return std::make_unique<FrmEditPnt>(f.state, &owner);
            }),
            Shown<FrmEditInf>([](QWidget& owner, test::DataFolderFixture& f) {
                f.state.CurData = test::LayeredBlock();
                return std::make_unique<FrmEditInf>(f.state, &owner);
            }),
            Shown<FrmEditPntMov>([](QWidget& owner, test::DataFolderFixture& f) {
                return std::make_unique<FrmEditPntMov>(f.state, &owner);
            }),
            Shown<frmAbout>([](QWidget& owner, test::DataFolderFixture& f) {
                return std::make_unique<frmAbout>(f.folders().program, &owner);
            }),
            Shown<FrmBlkShoSel>([](QWidget& owner, test::DataFolderFixture& f) {
                f.state.DataPath = f.dataPath();
                return std::make_unique<FrmBlkShoSel>(f.state, f.folders().program, &owner);
            }),
            Shown<ExportOptionsDialog>([](QWidget& owner, test::DataFolderFixture&) {
                return std::make_unique<ExportOptionsDialog>(ExportFormat::Png, QStringLiteral("護岸断面図.png"),
                                                             DrawingOptions{}, kDefaultPngDpi, &owner);
            }),
            [](QWidget& owner, test::DataFolderFixture&, const std::function<void(QDialog&)>& check) {
                test::WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* preview) { check(*preview); });
                DrawingOptions options{.scale = 50};
                const DrawingSource source = [](const DrawingOptions& chosen) {
                    return BuildDrawing(test::LayeredBlock(), chosen, "BLK1.csv", "2026/12/08");
                };
                ShowPrintPreview(&owner, source, options);
            },
        };
        const char* names[] = {"point table", "block parameters", "point move", "version",
                               "picker",      "export options",   "print preview"};
        for (const char* screen : {"Laptop200", "Small200", "Desk150"}) {
            for (std::size_t i = 0; i < std::size(openers); ++i)
                QTest::addRow("%s on %s", names[i], screen) << QString::fromUtf8(screen) << openers[i];
        }
    }

    void everyDialogStartsWithinItsWindowsScreen()
    {
        QFETCH(QString, screen);
        QFETCH(Opener, open);
        QScreen* target = ScreenNamed(screen);
        QVERIFY(target);
        // The window the dialog belongs to, on the screen under test.
        QWidget owner;
        owner.setScreen(target);
        owner.setGeometry(QRect(target->availableGeometry().topLeft() + QPoint(20, 20), QSize(300, 200)));
        test::ShowAndExpose(owner);
        test::DataFolderFixture f;
        bool checked = false;
        open(owner, f, [&](QDialog& dialog) {
            QCOMPARE(dialog.screen(), target);
            const QSize room = target->availableGeometry().size();
            const QSize taken = dialog.frameGeometry().size();
            QVERIFY2(taken.width() <= room.width() && taken.height() <= room.height(),
                     qPrintable(QStringLiteral("%1 x %2").arg(taken.width()).arg(taken.height())));
            QWidget* control = ControlToReach(dialog);
            QVERIFY(control);
            QVERIFY(WithinReach(dialog, *control));
            checked = true;
            dialog.reject();
        });
        QVERIFY(checked);
    }
};

int main(int argc, char** argv)
{
    // The platform reads its screens from a file named relative to the working folder: a
    // Windows path's drive letter would end the platform's argument at its colon.
    QTemporaryDir folder;
    QFile screens(folder.filePath(QStringLiteral("screens.json")));
    if (!folder.isValid() || !screens.open(QIODevice::WriteOnly) || screens.write(kScreens) < 0)
        return 2;
    screens.close();
    const QString working = QDir::currentPath();
    QDir::setCurrent(folder.path());
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen:configfile=screens.json"));
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    QApplication app(argc, argv);
    QDir::setCurrent(working);
    ScreenFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ScreenFitTest.moc"
