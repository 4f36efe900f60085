#include <gtest/gtest.h>

#include "Cp932.h"
#include "ProgramFiles.h"
#include "TestFiles.h"

namespace chokusho {
namespace {

using test::TempFolder;

TEST(DataPathFile, FirstRunFallsBackToTheProgramFolderAndExitRemembersIt)
{
    TempFolder program;
    TempFolder config;
    const ProgramFolders folders{program.path(), config.path() / "chokusho"};
    const std::string fallback = program.dataPath();
    EXPECT_EQ(LoadDataPath(folders), fallback);

    ASSERT_TRUE(SaveDataPath(fallback, folders));
    EXPECT_EQ(program.read("CVDTPATH"), fallback + "\r\n");
    EXPECT_EQ(LoadDataPath(folders), fallback);
}

TEST(DataPathFile, ReadsOnlyTheFirstLineInCp932)
{
    TempFolder program;
    const ProgramFolders folders{program.path(), {}};
    program.write("CVDTPATH", EncodeCp932("/データ/表ソ/") + "\r\n/other/\r\n");
    EXPECT_EQ(LoadDataPath(folders), "/データ/表ソ/");

    // An empty file counts as no file.
    program.write("CVDTPATH", "");
    EXPECT_EQ(LoadDataPath(folders), program.dataPath());

    ASSERT_TRUE(SaveDataPath("/データ/表ソ/", folders));
    EXPECT_EQ(program.read("CVDTPATH"), EncodeCp932("/データ/表ソ/") + "\r\n");
}

TEST(DataPathFile, KeepsFolderNamesThatCp932CannotHold)
{
    TempFolder program;
    const ProgramFolders folders{program.path(), {}};
    ASSERT_TRUE(SaveDataPath("/home/zoé/ブロック/", folders));
    EXPECT_EQ(LoadDataPath(folders), "/home/zoé/ブロック/");
}

TEST(DataPathFile, UsesTheConfigurationFolderWhereTheProgramFolderCannotBeWritten)
{
    TempFolder program;
    TempFolder config;
    // A file where the program's folder should be: nothing can be created inside it, not even by root.
    const auto notAFolder = program.path() / "blocked";
    program.write("blocked", "");
    const ProgramFolders folders{notAFolder, config.path() / "sub"};

    ASSERT_TRUE(SaveDataPath("/blocks/", folders));
    EXPECT_EQ(config.read("sub/CVDTPATH"), "/blocks/\r\n");
    EXPECT_EQ(LoadDataPath(folders), "/blocks/");

    const ProgramFolders nowhere{notAFolder, notAFolder / "config"};
    EXPECT_FALSE(SaveDataPath("/blocks/", nowhere));
}

TEST(VersionFile, ShowsTheFirstValueOrXXX)
{
    TempFolder program;
    EXPECT_EQ(ReadVersionFile(program.path()), "X.X.X");
    const struct {
        const char* content;
        const char* version;
    } cases[] = {
        {"1.2.0\r\n", "1.2.0"},
        {"1.2.0,2024/04/01,extra\r\n", "1.2.0"},
        {"\"2.0.1\",build\r\n", "2.0.1"},
        {"3.1.4", "3.1.4"},
        {"", "X.X.X"},
    };
    for (const auto& c : cases) {
        program.write("SYSVER.DAT", c.content);
        EXPECT_EQ(ReadVersionFile(program.path()), c.version) << c.content;
    }
}

}  // namespace
}  // namespace chokusho
