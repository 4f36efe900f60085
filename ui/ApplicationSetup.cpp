#include "ApplicationSetup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "Icons.h"

namespace chokusho {

void SetUpApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("chokusho"));
    QApplication::setWindowIcon(ProgramIcon());

    // Every text of the program is Japanese, so Qt's own buttons and dialogs are too,
    // whatever the desktop's language.
    // Sizes, dates and numbers that Qt's widgets show read as a Japanese user expects.
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    auto* qtTexts = new QTranslator(&app);
    if (qtTexts->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTexts);
}

}  // namespace chokusho
