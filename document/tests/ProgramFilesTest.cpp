#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>

#include "Cp932.h"
#include "FileSystem.h"
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

/** Sets when the file `name` in `folder` was last written: `hoursAgo` before `now`. */
void SetWritten(const TempFolder& folder, const char* name, std::filesystem::file_time_type now, int hoursAgo)
{
    std::filesystem::last_write_time(folder.path() / name, now - std::chrono::hours(hoursAgo));
}

TEST(DataPathFile, ReadsTheFileWrittenLast)
{
    const struct {
        const char* what;
        std::optional<int> programHoursAgo;  // nullopt: no file
        std::optional<int> configHoursAgo;
        const char* configContent;
        const char* expected;  // nullptr: the program's folder
    } cases[] = {
        {"program folder's newer", 1, 2, "/config/\r\n", "/program/"},
        {"configuration folder's newer", 2, 1, "/config/\r\n", "/config/"},
        {"written at the same time", 1, 1, "/config/\r\n", "/program/"},
        {"only the program folder's", 1, std::nullopt, "", "/program/"},
        {"only the configuration folder's", std::nullopt, 1, "/config/\r\n", "/config/"},
        {"neither", std::nullopt, std::nullopt, "", nullptr},
        {"the newer one empty", 2, 1, "", "/program/"},
    };
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder program;
        TempFolder config;
        if (c.programHoursAgo) {
            program.write("CVDTPATH", "/program/\r\n");
            SetWritten(program, "CVDTPATH", now, *c.programHoursAgo);
        }
        if (c.configHoursAgo) {
            config.write("CVDTPATH", c.configContent);
            SetWritten(config, "CVDTPATH", now, *c.configHoursAgo);
        }
        EXPECT_EQ(LoadDataPath({program.path(), config.path()}), c.expected ? c.expected : program.dataPath());
    }
}

TEST(DataPathFile, AFolderChosenWhileTheProgramFolderCouldNotBeWrittenIsReadBack)
{
    TempFolder root;
    const auto programFolder = root.path() / "program";
    const ProgramFolders folders{programFolder, root.path() / "config"};
    std::filesystem::create_directory(programFolder);
    ASSERT_TRUE(SaveDataPath("/old/", folders));
    ASSERT_EQ(root.read("program/CVDTPATH"), "/old/\r\n");
    // Saved in an earlier session.
    std::filesystem::last_write_time(programFolder / "CVDTPATH",
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));

    // While a regular file stands in for the program's folder, nothing can be written there,
    // not even by the superuser.
    std::filesystem::rename(programFolder, root.path() / "program-away");
    root.write("program", "");
    ASSERT_TRUE(SaveDataPath("/new/", folders));
    EXPECT_EQ(root.read("config/CVDTPATH"), "/new/\r\n");
    std::filesystem::remove(programFolder);
    std::filesystem::rename(root.path() / "program-away", programFolder);

    EXPECT_EQ(root.read("program/CVDTPATH"), "/old/\r\n");
    EXPECT_EQ(LoadDataPath(folders), "/new/");
}

TEST(ProgramFolders, FilesBesideTheExecutableComeFirstThenTheInstalledShareFolder)
{
    TempFolder root;
    const auto bin = root.path() / "usr" / "bin";
    const auto share = root.path() / "usr" / "share" / "chokusho";
    const auto config = root.path() / "home" / ".config" / "chokusho";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(share);

    // Neither folder holds the program's files: they are looked for beside the executable.
    ProgramFolders folders = LocateProgramFolders(bin, config);
    EXPECT_EQ(folders.program, bin);
    EXPECT_EQ(folders.filesFolder(), bin);

    // Installed: the version, samples and manual come from the share folder, which is also where
    // the picker starts.
    root.write("usr/share/chokusho/SYSVER.DAT", "2.1.0\r\n");
    folders = LocateProgramFolders(bin, config);
    EXPECT_EQ(folders.filesFolder(), share);
    EXPECT_EQ(ReadVersionFile(folders.filesFolder()), "2.1.0");
    EXPECT_EQ(LoadDataPath(folders), PathToUtf8(share / ""));
    // The executable's folder belongs to the system: CVDTPATH goes to the user's configuration
    // folder even where the system folder could be written, as by the superuser.
    ASSERT_TRUE(SaveDataPath("/data/", folders));
    EXPECT_FALSE(std::filesystem::exists(bin / "CVDTPATH"));
    EXPECT_EQ(root.read("home/.config/chokusho/CVDTPATH"), "/data/\r\n");
    EXPECT_EQ(LoadDataPath(folders), "/data/");

    // A copy with its files beside the executable, as in a build folder, uses those.
    root.write("usr/bin/SYSVER.DAT", "3.0.0\r\n");
    folders = LocateProgramFolders(bin, config);
    EXPECT_EQ(folders.program, bin);
    EXPECT_EQ(folders.filesFolder(), bin);
    EXPECT_EQ(ReadVersionFile(folders.filesFolder()), "3.0.0");
}

TEST(VersionFile, ShowsTheFirstValueOrXXX)
{
    TempFolder program;
    EXPECT_EQ(ReadVersionFile(program.path()), "X.X.X");
    const struct {
        const char* what;
        const char* content;
        const char* version;
    } cases[] = {
        {"the version alone", "1.2.0\r\n", "1.2.0"},
        {"the first of several values", "1.2.0,2024/04/01,extra\r\n", "1.2.0"},
        {"a quoted value", "\"2.0.1\",build\r\n", "2.0.1"},
        {"no line end", "3.1.4", "3.1.4"},
        {"an empty file", "", "X.X.X"},
    };
    for (const auto& c : cases) {
        program.write("SYSVER.DAT", c.content);
        EXPECT_EQ(ReadVersionFile(program.path()), c.version) << c.what;
    }
}

}  // namespace
}  // namespace chokusho
