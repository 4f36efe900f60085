#include <QApplication>
#include <QTest>

#include "UiTests.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("chokusho_ui_tests"));

    int failures = 0;
    for (auto make :
         {MakeCanvasTest, MakeAboutBoxTest, MakeMainWindowTest, MakeFilesTest, MakeModesTest, MakeDialogsTest}) {
        const std::unique_ptr<QObject> test = make();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
