// A save that is cut off at any moment, by a crash or a kill, must leave the block file either as
// it was or as it was being saved, whole; a save that fails must say so and leave it as it was.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "BlockFile.h"
#include "FileSystem.h"
#include "TestBlocks.h"
#include "TestFiles.h"

namespace chokusho {
namespace {

using test::FullRecord;
using test::NamesIn;
using test::SaveFailure;
using test::TempFolder;
using test::TemporaryOwner;

/**
 * A fresh folder in memory (/dev/shm) where there is one, else in the temporary folder. A kill
 * does not lose what the page cache holds, so memory serves as well as a disk for this, and
 * spares each save its waits for the disk.
 */
class KillFolder {
public:
    KillFolder()
    {
        std::error_code error;
        const std::filesystem::path shm = "/dev/shm";
        if (std::filesystem::is_directory(shm, error) && ::access(shm.c_str(), W_OK) == 0) {
            std::string pattern = (shm / "chokusho-test-XXXXXX").string();
            if (::mkdtemp(pattern.data()) != nullptr)
                path_ = pattern;
        }
        if (path_.empty()) {
            fallback_.emplace();
            path_ = fallback_->path();
        }
    }
    ~KillFolder()
    {
        std::error_code ignored;
        if (!fallback_)
            std::filesystem::remove_all(path_, ignored);
    }
    KillFolder(const KillFolder&) = delete;
    KillFolder& operator=(const KillFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string read(const std::string& name) const
    {
        std::ifstream in(path_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::optional<TempFolder> fallback_;
    std::filesystem::path path_;
};

/** Runs `body` in a child process and returns its exit code; -1 when it did not exit normally. */
int RunInChild(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0)
        std::_Exit(body());
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

TEST(SaveDurability, ASaveKilledAtAnyMomentLeavesTheOldFileOrTheNewOneWhole)
{
    KillFolder folder;
    const std::string target = (folder.path() / "block.csv").string();
    // Records at every capacity, with the longest name: a save takes long enough to be cut off inside.
    const BlockData first = FullRecord(1);
    const BlockData second = FullRecord(2);
    const std::string firstBytes = FormatBlockFile(first);
    const std::string secondBytes = FormatBlockFile(second);

    // Kills are spread over about one save's duration, measured here, so they land in every step.
    const auto start = std::chrono::steady_clock::now();
    WriteBlockFile(first, target);
    const auto saveMicros =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    std::mt19937 random(20240607);
    std::uniform_int_distribution<long> delay(0, std::clamp<long>(saveMicros * 3 / 2, 200, 20'000));

    constexpr int kKills = 100;
    std::map<pid_t, int> leftoversByWriter;
    int killedMidSave = 0;
    for (int round = 0; round < kKills; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            // Saves the two records by turns until killed; says so once the first save is complete,
            // so that every kill falls on a save in progress from an old file that is whole.
            ::close(ready[0]);
            try {
                for (bool told = false;; told = true) {
                    WriteBlockFile(second, target);
                    if (!told && ::write(ready[1], "s", 1) != 1)
                        std::_Exit(3);
                    WriteBlockFile(first, target);
                }
            } catch (...) {
                std::_Exit(2);
            }
        }
        ::close(ready[1]);
        char said = 0;
        const bool started = ::read(ready[0], &said, 1) == 1;
        ::close(ready[0]);
        if (started)
            std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(started) << "the writer failed before its first save";
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer stopped by itself";

        const std::string content = folder.read("block.csv");
        ASSERT_TRUE(content == firstBytes || content == secondBytes)
            << "after kill " << round << " the file is neither save whole (" << content.size() << " bytes)";

        // Only the killed writer may have left a temporary, and only the one of the save it was in.
        for (const std::string& name : NamesIn(folder.path(), "block.csv")) {
            const auto owner = static_cast<pid_t>(TemporaryOwner(name));
            ASSERT_NE(owner, 0) << "unexpected file " << name;
            ASSERT_TRUE(owner == writer || leftoversByWriter.count(owner)) << name << " is no killed writer's";
            if (owner == writer) {
                ++leftoversByWriter[owner];
                ++killedMidSave;
            }
        }
        for (const auto& [owner, count] : leftoversByWriter)
            ASSERT_LE(count, 1) << "writer " << owner << " left more than its last temporary";
    }

    // A save after all that still works, and clears away what the killed writers left behind.
    WriteBlockFile(second, target);
    EXPECT_EQ(folder.read("block.csv"), secondBytes);
    EXPECT_TRUE(NamesIn(folder.path(), "block.csv").empty()) << "abandoned temporaries pile up";
    BlockData read;
    ASSERT_TRUE(ReadBlockFile(read, folder.path().string() + "/", "block"));
    EXPECT_EQ(read, second);
    RecordProperty("kills_leaving_a_temporary", killedMidSave);
}

TEST(SaveDurability, AFailedSaveThrowsAndKeepsTheOldFileByteForByte)
{
    const BlockData record = FullRecord();
    const std::string oldBytes = "old content, not even a block file\r\n\x82\xa0\r\n";

    {  // The target's folder is missing: nothing is made anywhere.
        TempFolder folder;
        EXPECT_EQ(SaveFailure([&] { WriteBlockFile(record, (folder.path() / "missing" / "block.csv").string()); }),
                  "保存先のフォルダーが見つかりません。");
        EXPECT_TRUE(NamesIn(folder.path()).empty());
    }
    if (std::filesystem::is_directory("/proc/self")) {
        // A folder that is there but takes no new file (Linux's /proc): the system's own reason, not "missing".
        const auto reason = SaveFailure([&] { WriteBlockFile(record, "/proc/block.csv"); });
        ASSERT_TRUE(reason.has_value());
        EXPECT_EQ(reason->rfind("フォルダーはありますが、その中にファイルを作れません（", 0), 0u) << *reason;
        EXPECT_NE(reason->find("errno 2"), std::string::npos) << *reason;
    }
    {  // The target is a folder: it stays one, with what it holds.
        TempFolder folder;
        std::filesystem::create_directory(folder.path() / "block.csv");
        folder.write("block.csv/inside", oldBytes);
        EXPECT_EQ(SaveFailure([&] { WriteBlockFile(record, (folder.path() / "block.csv").string()); }),
                  "フォルダーです。");
        EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "block.csv"));
        EXPECT_EQ(folder.read("block.csv/inside"), oldBytes);
        EXPECT_TRUE(NamesIn(folder.path(), "block.csv").empty());
    }
    {  // The folder cannot be written, tried as an ordinary user: the superuser is not bound by it.
        TempFolder folder;
        const std::string target = folder.write("block.csv", oldBytes);
        ::chmod(folder.path().c_str(), 0555);
        const int code = RunInChild([&] {
            if (::geteuid() == 0 && ::setuid(65534) != 0)
                return 3;
            const auto reason = SaveFailure([&] { WriteBlockFile(record, target); });
            return !reason ? 1 : *reason == "書き込む権限がありません。" ? 0 : 2;
        });
        EXPECT_EQ(code, 0) << "1: saved anyway, 2: another reason";
        EXPECT_EQ(folder.read("block.csv"), oldBytes);
        EXPECT_TRUE(NamesIn(folder.path(), "block.csv").empty());
    }
    {  // The disk fills up halfway through the save: a file size limit stops the writes the same way.
        TempFolder folder;
        const std::string target = folder.write("block.csv", oldBytes);
        const int code = RunInChild([&] {
            const rlim_t half = FormatBlockFile(record).size() / 2;
            const rlimit limit{half, half};
            if (::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 3;
            const auto reason = SaveFailure([&] { WriteBlockFile(record, target); });
            return !reason ? 1 : *reason == "ファイルが大きすぎます。" ? 0 : 2;
        });
        EXPECT_EQ(code, 0) << "1: saved anyway, 2: another reason";
        EXPECT_EQ(folder.read("block.csv"), oldBytes);
        EXPECT_TRUE(NamesIn(folder.path(), "block.csv").empty()) << "the failed save left its temporary";
    }
}

/** Every entry under `folder`, links not followed, as paths relative to it. */
std::set<std::string> Entries(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        names.insert(entry.path().lexically_relative(folder).string());
    return names;
}

struct stat StatOf(const std::filesystem::path& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

/** Sets the process's umask while it lives. */
class UmaskScope {
public:
    explicit UmaskScope(mode_t mask) : old_(::umask(mask)) {}
    ~UmaskScope() { ::umask(old_); }
    UmaskScope(const UmaskScope&) = delete;
    UmaskScope& operator=(const UmaskScope&) = delete;

private:
    mode_t old_;
};

TEST(SaveReplacingAFile, KeepsThePermissionBitsButNotTheSetIdBits)
{
    // 0644, the default under this mask, is in no row, so that a default does not pass.
    const UmaskScope mask(022);
    // clang-format off
    const struct {
        const char* what;
        mode_t before;
        mode_t after;
    } kept[] = {
        {"the owner's alone", 0600, 0600},
        {"readable by the group", 0640, 0640},
        {"readable by others but not the group", 0604, 0604},
        {"writable by the group", 0660, 0660},
        {"runnable", 0750, 0750},
        {"set-user-ID and set-group-ID dropped", 06755, 0755},
    };
    // clang-format on
    for (const auto& c : kept) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string target = folder.write("block.csv", "old");
        ASSERT_EQ(::chmod(target.c_str(), c.before), 0);
        WriteFileAtomically(target, "new");
        EXPECT_EQ(folder.read("block.csv"), "new");
        EXPECT_EQ(StatOf(target).st_mode & 07777, c.after);
    }
    // A file that did not exist gets the mask's default.
    // clang-format off
    const struct {
        const char* what;
        mode_t umask;
        mode_t mode;
    } fresh[] = {
        {"the usual mask", 022, 0644},
        {"a private mask", 077, 0600},
        {"a mask that lets the group write", 002, 0664},
    };
    // clang-format on
    for (const auto& c : fresh) {
        SCOPED_TRACE(c.what);
        const UmaskScope newMask(c.umask);
        TempFolder folder;
        WriteFileAtomically((folder.path() / "new.csv").string(), "new");
        EXPECT_EQ(StatOf(folder.path() / "new.csv").st_mode & 07777, c.mode);
    }
}

TEST(SaveReplacingAFile, KeepsTheGroupAndForTheSuperuserTheOwner)
{
    TempFolder folder;
    const std::string target = folder.write("block.csv", "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    // A group other than the process's own, so that a save that does not carry it over shows.
    const bool superuser = ::geteuid() == 0;
    const uid_t owner = superuser ? 65534 : ::geteuid();
    std::optional<gid_t> group;
    if (superuser)
        group = 12345;
    std::vector<gid_t> groups(64);
    groups.resize(static_cast<std::size_t>(std::max(::getgroups(64, groups.data()), 0)));
    for (gid_t g : groups)
        if (!group && g != ::getegid())
            group = g;
    if (!group || ::chown(target.c_str(), owner, *group) != 0)
        GTEST_SKIP() << "the file cannot be given a second group here";

    WriteFileAtomically(target, "new");
    const struct stat info = StatOf(target);
    EXPECT_EQ(folder.read("block.csv"), "new");
    EXPECT_EQ(info.st_gid, *group);
    EXPECT_EQ(info.st_uid, owner);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(SaveReplacingAFile, RefusesAReadOnlyFileAndLeavesEverythingAsItWas)
{
    struct Case {
        const char* name;
        mode_t mode;
        bool otherUsersFile;  // saved by an ordinary user, into a folder open to all
        const char* reason;
    };
    // The bits alone must refuse, also for the superuser, whom the system would let write.
    // clang-format off
    const Case cases[] = {
        {"readable by all", 0444, false, "読み取り専用のファイルです。"},
        {"readable by the owner", 0400, false, "読み取り専用のファイルです。"},
        {"readable and runnable", 0555, false, "読み取り専用のファイルです。"},
        {"no bits at all", 0000, false, "読み取り専用のファイルです。"},
        {"another user's, writable only by that user", 0644, true, "書き込む権限がありません。"},
    };
    // clang-format on
    const std::string oldBytes = "old\r\n\x82\xa0\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.otherUsersFile && ::geteuid() != 0)
            continue;  // only the superuser can make a file of another user
        TempFolder folder;
        const std::string target = folder.write("block.csv", oldBytes);
        ASSERT_EQ(::chmod(target.c_str(), c.mode), 0);
        ASSERT_EQ(::chmod(folder.path().c_str(), c.otherUsersFile ? 0777 : 0755), 0);

        const int code = RunInChild([&] {
            if (c.otherUsersFile && ::setuid(65534) != 0)
                return 3;
            const auto reason = SaveFailure([&] { WriteFileAtomically(target, "new"); });
            return !reason ? 1 : *reason == c.reason ? 0 : 2;
        });
        EXPECT_EQ(code, 0) << "1: saved anyway, 2: another reason";
        EXPECT_EQ(StatOf(target).st_mode & 07777, c.mode);
        EXPECT_EQ(Entries(folder.path()), std::set<std::string>{"block.csv"}) << "a temporary was left behind";
        ASSERT_EQ(::chmod(target.c_str(), 0400), 0);  // so that an ordinary user can read it back
        EXPECT_EQ(folder.read("block.csv"), oldBytes);
    }
}

TEST(SaveThroughALink, ReplacesTheFinalTargetAndTheLinkStaysALink)
{
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // name, target; "@" stands for the folder
        std::string saveAs;
        std::string finalFile;  // "" for a loop, which must fail
        bool finalExists;
    };
    // clang-format off
    const Case cases[] = {
        {"relative target", {{"link.csv", "real.csv"}}, "link.csv", "real.csv", true},
        {"absolute target", {{"link.csv", "@/real.csv"}}, "link.csv", "real.csv", true},
        {"relative to the link's own folder", {{"sub/link.csv", "../real.csv"}}, "sub/link.csv", "real.csv", true},
        {"chain of two into another folder", {{"first.csv", "second.csv"}, {"second.csv", "@/data/real.csv"}},
         "first.csv", "data/real.csv", true},
        {"dangling link", {{"link.csv", "new.csv"}}, "link.csv", "new.csv", false},
        {"dangling link into another folder", {{"link.csv", "data/new.csv"}}, "link.csv", "data/new.csv", false},
        {"a link to itself", {{"loop.csv", "loop.csv"}}, "loop.csv", "", false},
        {"a ring entered from outside", {{"in.csv", "sub/a.csv"}, {"sub/a.csv", "b.csv"}, {"sub/b.csv", "@/sub/a.csv"}},
         "in.csv", "", false},
    };
    // clang-format on
    const UmaskScope mask(022);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        auto linkTarget = [&](const std::string& t) { return t[0] == '@' ? folder.path().string() + t.substr(1) : t; };
        if (!c.finalFile.empty())
            std::filesystem::create_directories((folder.path() / c.finalFile).parent_path());
        if (c.finalExists) {
            folder.write(c.finalFile, "old");
            ASSERT_EQ(::chmod((folder.path() / c.finalFile).c_str(), 0600), 0);
        }
        for (const auto& [name, target] : c.links) {
            std::filesystem::create_directories((folder.path() / name).parent_path());
            std::filesystem::create_symlink(linkTarget(target), folder.path() / name);
        }
        std::set<std::string> expected = Entries(folder.path());

        const auto reason = SaveFailure([&] { WriteFileAtomically((folder.path() / c.saveAs).string(), "new"); });

        for (const auto& [name, target] : c.links)
            EXPECT_EQ(std::filesystem::read_symlink(folder.path() / name).string(), linkTarget(target));
        if (c.finalFile.empty()) {
            EXPECT_EQ(reason, "シンボリックリンクが循環しています。");
        } else {
            EXPECT_EQ(reason, std::nullopt);
            EXPECT_EQ(folder.read(c.finalFile), "new");
            EXPECT_EQ(StatOf(folder.path() / c.finalFile).st_mode & 07777, c.finalExists ? 0600u : 0644u);
            expected.insert(c.finalFile);
        }
        EXPECT_EQ(Entries(folder.path()), expected);
    }
}

TEST(SaveOfAHardLinkedFile, AllNamesShowTheNewContentAndStayOneFile)
{
    struct Case {
        const char* name;
        std::string oldBytes;
        std::string newBytes;
        const char* saveAs;
        bool noRoom;  // the save fails before the shared file is touched
    };
    // clang-format off
    const Case cases[] = {
        {"longer content", "old", std::string(100'000, 'L'), "a.csv", false},
        {"shorter content", std::string(100'000, 'O'), "new", "a.csv", false},
        {"saved through the second name", "old", "new", "b.csv", false},
        {"emptied", "old", "", "a.csv", false},
        {"no room on the disk", "old", std::string(64 * 1024, 'N'), "a.csv", true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string first = folder.write("a.csv", c.oldBytes);
        ASSERT_EQ(::chmod(first.c_str(), 0640), 0);
        std::filesystem::create_hard_link(first, folder.path() / "b.csv");
        const ino_t inode = StatOf(first).st_ino;

        // A file size limit stops the writes as a full disk would.
        const int code = RunInChild([&] {
            const rlimit limit{8 * 1024, 8 * 1024};
            if (c.noRoom && (::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit) != 0))
                return 3;
            const auto reason = SaveFailure(
                [&] { WriteFileAtomically((folder.path() / c.saveAs).string(), c.newBytes); });
            return reason == (c.noRoom ? std::optional<std::string>("ファイルが大きすぎます。") : std::nullopt) ? 0 : 1;
        });
        EXPECT_EQ(code, 0);
        const std::string& content = c.noRoom ? c.oldBytes : c.newBytes;
        EXPECT_EQ(folder.read("a.csv"), content);
        EXPECT_EQ(folder.read("b.csv"), content);
        const struct stat a = StatOf(folder.path() / "a.csv");
        EXPECT_EQ(a.st_ino, inode);
        EXPECT_EQ(StatOf(folder.path() / "b.csv").st_ino, inode);
        EXPECT_EQ(a.st_nlink, 2u);
        EXPECT_EQ(a.st_mode & 07777, 0640u);
        EXPECT_EQ(Entries(folder.path()), (std::set<std::string>{"a.csv", "b.csv"}));
    }
}

/** How many files the process holds open, as Linux lists them. */
std::size_t OpenFiles()
{
    const auto entries = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

TEST(FileFunctions, LeaveNoFileOpenOnAnyPath)
{
    if (!std::filesystem::is_directory("/proc/self/fd"))
        GTEST_SKIP() << "no /proc/self/fd to count the open files in";
    TempFolder folder;
    const std::string file = folder.write("a.csv", "old");
    std::filesystem::create_hard_link(file, folder.path() / "b.csv");
    ASSERT_EQ(::mkfifo((folder.path() / "pipe.csv").c_str(), 0600), 0);
    const std::size_t before = OpenFiles();

    WriteFileAtomically(file, "rewritten in place, as it has two names");
    std::filesystem::remove(folder.path() / "b.csv");
    WriteFileAtomically(file, "replaced");
    EXPECT_TRUE(SaveFailure([&] { WriteFileAtomically((folder.path() / "missing" / "c.csv").string(), "x"); }));
    EXPECT_EQ(ReadWholeFile(file, 100), "replaced");
    for (const auto& [path, limit] :
         {std::pair{folder.path() / "a.csv", std::size_t{2}}, std::pair{folder.path() / "pipe.csv", std::size_t{100}},
          std::pair{folder.path(), std::size_t{100}}})
        EXPECT_FALSE(ReadWholeFile(path, limit)) << path;
    EXPECT_EQ(OpenFiles(), before);
}

TEST(SaveErrorReasons, CommonSystemErrorsReadInJapanese)
{
    // clang-format off
    const struct {
        const char* what;
        int errorNumber;
        std::string text;
    } cases[] = {
        {"EACCES", EACCES, "書き込む権限がありません。"},
        {"EPERM", EPERM, "書き込む権限がありません。"},
        {"EROFS", EROFS, "読み取り専用のファイルシステムです。"},
        {"ENOSPC", ENOSPC, "ディスクの空き容量が足りません。"},
        {"EDQUOT", EDQUOT, "ディスクの空き容量が足りません。"},
        {"EISDIR", EISDIR, "フォルダーです。"},
        {"ENOENT", ENOENT, "保存先のフォルダーが見つかりません。"},
        {"ENOTDIR", ENOTDIR, "保存先のフォルダーが見つかりません。"},
        {"ENAMETOOLONG", ENAMETOOLONG, "名前が長すぎます。"},
        {"EIO", EIO, "入出力エラーが発生しました。"},
        {"EFBIG", EFBIG, "ファイルが大きすぎます。"},
        {"ELOOP", ELOOP, "シンボリックリンクが循環しています。"},
        {"any other: the system's own text", EBADF, std::strerror(EBADF)},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(FileErrorText(c.errorNumber), c.text) << c.what;
}

}  // namespace
}  // namespace chokusho
