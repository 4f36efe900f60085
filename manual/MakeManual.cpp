// Builds the operating manual: the Japanese HTML source with screenshots taken from the
// program itself, printed to PDF with Qt's own writer, so the pictures always show the
// program as it is built.

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPixmap>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>
#include <functional>
#include <map>

#include "ManualShots.h"

using namespace chokusho;

namespace {

/** The first installed Japanese font of the list, so that the PDF shows no empty boxes. */
QFont JapaneseFont()
{
    const QStringList families = QFontDatabase::families();
    for (const char* name : {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "MS PGothic", "Yu Gothic"}) {
        const QString family = QString::fromUtf8(name);
        if (families.contains(family))
            return QFont(family, 10);
    }
    return QFont();
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Qt's own reading of the command line: the PDF's Japanese name arrives whole also where the
    // system's code page could not hold it.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: make_manual SOURCE.html OUTPUT.pdf VERSION\n");
        return 2;
    }
    QFile source(arguments[1]);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_manual: cannot read %s\n", qPrintable(arguments[1]));
        return 1;
    }
    QString html = QString::fromUtf8(source.readAll());
    html.replace(QStringLiteral("@VERSION@"), arguments[3]);

    QApplication::setFont(JapaneseFont());
    QTextDocument document;
    document.setDefaultFont(JapaneseFont());
    for (const auto& [name, image] : TakeManualShots())
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    document.setHtml(html);

    // The writer says nothing when it cannot write its file: the build must hear of it.
    const QString output = arguments[2];
    QFile::remove(output);
    {
        QPdfWriter writer(output);
        writer.setTitle(QStringLiteral("直立消波ブロック設定 操作説明書"));
        writer.setCreator(QStringLiteral("直立消波ブロック設定"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
        writer.setResolution(150);
        document.print(&writer);
    }
    if (QFileInfo(output).size() == 0) {
        std::fprintf(stderr, "make_manual: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}
