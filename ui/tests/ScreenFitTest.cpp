// Windows and dialogs on a laptop at 200 % (800 x 500 logical pixels) and on a smaller screen at
// 200 % (640 x 400): each starts within the screen it appears on, keeps the size it was drawn with
// where that fits, and keeps its controls within reach.

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
#include <memory>

#include "DrawingDialogs.h"
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

namespace {

/** The offscreen platform's screens, in logical pixels, each with its scale; the first is primary. */
constexpr const char* kScreens = R"({"screens": [
  {"name": "Laptop200", "x": 0, "y": 0, "width": 800, "height": 500, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 2},
  {"name": "Small200", "x": 800, "y": 0, "width": 640, "height": 400, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 2}
]})";

QScreen* ScreenNamed(const QString& name)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    return nullptr;
}

/** The dialog `name` over `owner`; every dialog but the print preview, which runs itself. */
std::unique_ptr<QDialog> MakeDialog(const QString& name, QWidget& owner, test::DataFolderFixture& f)
{
    f.state.CurData = test::LayeredBlock();
    f.state.DataPath = f.dataPath();
    if (name == QStringLiteral("point table"))
        return std::make_unique<FrmEditPnt>(f.state, &owner);
    if (name == QStringLiteral("block parameters"))
        return std::make_unique<FrmEditInf>(f.state, &owner);
    if (name == QStringLiteral("point move"))
        return std::make_unique<FrmEditPntMov>(f.state, &owner);
    if (name == QStringLiteral("version"))
        return std::make_unique<frmAbout>(f.folders().program, &owner);
    if (name == QStringLiteral("picker"))
        return std::make_unique<FrmBlkShoSel>(f.state, f.folders().program, &owner);
    return std::make_unique<ExportOptionsDialog>(ExportFormat::Png, QStringLiteral("護岸断面図.png"), DrawingOptions{},
                                                 kDefaultPngDpi, &owner);
}

/** What a user must be able to reach: the button that confirms the dialog, or the preview's scale. */
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
    return dialog.rect().contains(QRect(control.mapTo(&dialog, QPoint(0, 0)), control.size()));
}

}  // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT

private slots:
    void theMainWindowStartsWithinItsScreen()
    {
        // On the laptop at 200 %: as wide as it was drawn, since that fits, and no taller than the screen.
        test::WindowFixture f;
        frmMain& window = f.show();
        QCOMPARE(window.screen()->name(), QStringLiteral("Laptop200"));
        QVERIFY2(window.frameGeometry().height() <= window.screen()->availableGeometry().height(),
                 qPrintable(QString::number(window.height())));
        QCOMPARE(window.width(), 759);
    }

    void everyDialogStartsWithinItsWindowsScreen_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("dialog");
        for (const char* screen : {"Laptop200", "Small200"}) {
            for (const char* dialog : {"point table", "block parameters", "point move", "version", "picker",
                                       "export options", "print preview"})
                QTest::addRow("%s on %s", dialog, screen) << QString::fromUtf8(screen) << QString::fromUtf8(dialog);
        }
    }

    void everyDialogStartsWithinItsWindowsScreen()
    {
        QFETCH(QString, screen);
        QFETCH(QString, dialog);
        QScreen* target = ScreenNamed(screen);
        QVERIFY(target);
        QWidget owner;
        owner.setScreen(target);
        owner.setGeometry(QRect(target->availableGeometry().topLeft() + QPoint(20, 20), QSize(300, 200)));
        test::ShowAndExpose(owner);
        test::DataFolderFixture f;
        bool checked = false;
        const auto check = [&](QDialog& shown) {
            QCOMPARE(shown.screen(), target);
            const QSize room = target->availableGeometry().size();
            const QSize taken = shown.frameGeometry().size();
            QVERIFY2(taken.width() <= room.width() && taken.height() <= room.height(),
                     qPrintable(QStringLiteral("%1 x %2").arg(taken.width()).arg(taken.height())));
            QWidget* control = ControlToReach(shown);
            QVERIFY(control);
            QVERIFY(WithinReach(shown, *control));
            checked = true;
        };
        if (dialog == QStringLiteral("print preview")) {
            test::WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* preview) { check(*preview); });
            DrawingOptions options{.scale = 50};
            ShowPrintPreview(
                &owner, [](const DrawingOptions& chosen) { return BuildDrawing(test::LayeredBlock(), chosen, "", ""); },
                options);
        } else {
            const std::unique_ptr<QDialog> shown = MakeDialog(dialog, owner, f);
            test::ShowAndExpose(*shown);
            check(*shown);
        }
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
