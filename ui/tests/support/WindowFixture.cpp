#include "WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include "BlockFile.h"
#include "FileSystem.h"
#include "SampleBlocks.h"

namespace chokusho::test {

ProgramFolders WindowFixture::folders() const
{
    return {PathFromUtf8(program.path().toStdString()), PathFromUtf8(config.path().toStdString())};
}

frmMain& WindowFixture::make()
{
    window = std::make_unique<frmMain>(state, folders());
    return *window;
}

frmMain& WindowFixture::show()
{
    make();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the main window was not exposed");
    return *window;
}

DataFolderFixture::DataFolderFixture()
    : first(ListedBlock("護岸 A", "前面傾斜型", 4, 3)), second(ListedBlock("護岸 B", "スリット型", 5, 2))
{
    WriteBlockFile(first, dataFile("BLK1.csv"));
    WriteBlockFile(second, dataFile("BLK2.csv"));
    QFile stray(data.filePath(QStringLiteral("NOTES.CSV")));
    if (stray.open(QIODevice::WriteOnly))
        stray.write("date,level\r\n2024-04-01,1.25\r\n");
}

// The window goes before the data folder it may still be showing.
DataFolderFixture::~DataFolderFixture() { window.reset(); }

std::string DataFolderFixture::dataFile(const char* name) const
{
    return data.filePath(QString::fromUtf8(name)).toStdString();
}

std::string DataFolderFixture::dataPath() const
{
    return (QDir::toNativeSeparators(data.path()) + QDir::separator()).toStdString();
}

frmMain& DataFolderFixture::makeOnData()
{
    make();
    state.DataPath = dataPath();
    return *window;
}

}  // namespace chokusho::test
