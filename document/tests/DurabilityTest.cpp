// A save that is cut off at any moment, by a crash or a kill, must leave the block file either as
// it was or as it was being saved, whole; a save that fails must say so and leave it as it was.

#ifndef _WIN32

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "BlockFile.h"
#include "TestFiles.h"

namespace chokusho {
namespace {

using test::TempFolder;

/** A record at every capacity with a long name: saving it takes long enough to be cut off inside. */
BlockData LargeRecord(char mark)
{
    BlockData r;
    r.Name = std::string(16 * 1024, mark);
    r.Kind = "直立消波";
    r.B = mark;
    r.LayerCount = kMaxLayers;
    for (int row = 0; row < kMaxLayers; ++row)
        r.LayerH[row] = row + mark / 1000.0;
    r.PointCount = kMaxPoints;
    for (int i = 1; i <= kMaxPoints; ++i) {
        r.PointX[i] = i * 0.125;
        r.PointY[i] = mark;
    }
    r.LineCount = kMaxLines;
    for (int k = 1; k <= kMaxLines; ++k) {
        r.LineStart[k] = static_cast<std::int16_t>(1 + k % kMaxPoints);
        r.LineEnd[k] = static_cast<std::int16_t>(1 + (k + 1) % kMaxPoints);
    }
    return r;
}

/** The names of the entries of `folder`, apart from `keep`. */
std::vector<std::string> OtherNames(const std::filesystem::path& folder, const std::string& keep)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != keep)
            names.push_back(name);
    }
    return names;
}

/** The process id in a temporary's name ".chokusho-save-PID-N.tmp", or -1 for any other name. */
pid_t TemporaryOwner(const std::string& name)
{
    const std::string prefix = ".chokusho-save-";
    if (name.rfind(prefix, 0) != 0 || name.size() < prefix.size() + 5 || name.substr(name.size() - 4) != ".tmp")
        return -1;
    const std::size_t dash = name.find('-', prefix.size());
    if (dash == std::string::npos)
        return -1;
    try {
        return static_cast<pid_t>(std::stol(name.substr(prefix.size(), dash - prefix.size())));
    } catch (const std::exception&) {
        return -1;
    }
}

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
    const BlockData first = LargeRecord('A');
    const BlockData second = LargeRecord('B');
    const std::string firstBytes = FormatBlockFile(first);
    const std::string secondBytes = FormatBlockFile(second);

    // Kills are spread over about one save's duration, measured here, so they land in every step.
    const auto start = std::chrono::steady_clock::now();
    WriteBlockFile(first, target);
    const auto saveMicros = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
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
        for (const std::string& name : OtherNames(folder.path(), "block.csv")) {
            const pid_t owner = TemporaryOwner(name);
            ASSERT_NE(owner, -1) << "unexpected file " << name;
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
    EXPECT_TRUE(OtherNames(folder.path(), "block.csv").empty()) << "abandoned temporaries pile up";
    BlockData read;
    ASSERT_TRUE(ReadBlockFile(read, folder.path().string() + "/", "block"));
    EXPECT_EQ(read, second);
    RecordProperty("kills_leaving_a_temporary", killedMidSave);
}

TEST(SaveDurability, AFailedSaveThrowsAndKeepsTheOldFileByteForByte)
{
    const BlockData record = LargeRecord('N');
    const std::string oldBytes = "old content, not even a block file\r\n\x82\xa0\r\n";

    {  // The target's folder is missing: nothing is made anywhere.
        TempFolder folder;
        EXPECT_THROW(WriteBlockFile(record, (folder.path() / "missing" / "block.csv").string()), FileWriteError);
        EXPECT_TRUE(OtherNames(folder.path(), "").empty());
    }
    {  // The target is a folder: it stays one, with what it holds.
        TempFolder folder;
        std::filesystem::create_directory(folder.path() / "block.csv");
        folder.write("block.csv/inside", oldBytes);
        EXPECT_THROW(WriteBlockFile(record, (folder.path() / "block.csv").string()), FileWriteError);
        EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "block.csv"));
        EXPECT_EQ(folder.read("block.csv/inside"), oldBytes);
        EXPECT_TRUE(OtherNames(folder.path(), "block.csv").empty());
    }
    {  // The folder cannot be written, tried as an ordinary user: the superuser is not bound by it.
        TempFolder folder;
        const std::string target = folder.write("block.csv", oldBytes);
        ::chmod(folder.path().c_str(), 0555);
        const int code = RunInChild([&] {
            if (::geteuid() == 0 && ::setuid(65534) != 0)
                return 3;
            try {
                WriteBlockFile(record, target);
            } catch (const FileWriteError&) {
                return 0;
            }
            return 1;
        });
        EXPECT_EQ(code, 0);
        EXPECT_EQ(folder.read("block.csv"), oldBytes);
        EXPECT_TRUE(OtherNames(folder.path(), "block.csv").empty());
    }
    {  // The disk fills up halfway through the save: a file size limit stops the writes the same way.
        TempFolder folder;
        const std::string target = folder.write("block.csv", oldBytes);
        const int code = RunInChild([&] {
            const rlimit limit{8 * 1024, 8 * 1024};
            if (::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 3;
            try {
                WriteBlockFile(record, target);
            } catch (const FileWriteError&) {
                return 0;
            }
            return 1;
        });
        EXPECT_EQ(code, 0);
        EXPECT_EQ(folder.read("block.csv"), oldBytes);
        EXPECT_TRUE(OtherNames(folder.path(), "block.csv").empty()) << "the failed save left its temporary";
    }
}

}  // namespace
}  // namespace chokusho

#endif  // _WIN32
