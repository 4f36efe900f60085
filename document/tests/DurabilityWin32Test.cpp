// On Windows, as elsewhere: a save that is cut off at any moment leaves the block file either as it
// was or as it was being saved, whole; a save that fails says so in Japanese and leaves the file
// and its folder as they were. The killed saves run in save_writer_child, built beside this test.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
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

/** A run of save_writer_child; killed, if still running, when it goes. */
class Child {
public:
    /** Starts the child with `arguments`; its standard output is readable through readByte(). */
    explicit Child(const std::wstring& arguments)
    {
        wchar_t self[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
        const auto program = std::filesystem::path(std::wstring(self, length)).parent_path() / L"save_writer_child.exe";
        std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;

        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE writeEnd = nullptr;
        if (!CreatePipe(&output_, &writeEnd, &inheritable, 0))
            return;
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                           &info)) {
            process_ = info.hProcess;
            id_ = info.dwProcessId;
            CloseHandle(info.hThread);
        }
        // Only the child holds the writing end now: a read ends when it exits.
        CloseHandle(writeEnd);
    }
    ~Child()
    {
        if (process_) {
            kill();
            CloseHandle(process_);
        }
        if (output_)
            CloseHandle(output_);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    /** Waits for one byte of the child's output; false when it exited without one. */
    bool readByte()
    {
        char byte = 0;
        DWORD got = 0;
        return ReadFile(output_, &byte, 1, &got, nullptr) && got == 1;
    }
    /** Kills the child at once and waits until it is gone; true when it was still running. */
    bool kill()
    {
        DWORD code = 0;
        const bool running = GetExitCodeProcess(process_, &code) && code == STILL_ACTIVE;
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, INFINITE);
        return running;
    }

private:
    HANDLE process_ = nullptr;
    HANDLE output_ = nullptr;
    DWORD id_ = 0;
};

/** Waits about `micros` microseconds; Sleep counts in milliseconds only. */
void WaitMicros(long micros)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(micros);
    while (std::chrono::steady_clock::now() < until)
        SwitchToThread();
}

TEST(SaveDurability, ASaveKilledAtAnyMomentLeavesTheOldFileOrTheNewOneWhole)
{
    TempFolder folder;
    const std::string target = PathToUtf8(folder.path() / "block.csv");
    const std::string firstBytes = FormatBlockFile(FullRecord(1));
    const std::string secondBytes = FormatBlockFile(FullRecord(2));

    // Kills are spread over about one save's duration, measured here, so they land in every step.
    const auto start = std::chrono::steady_clock::now();
    WriteBlockFile(FullRecord(1), target);
    const auto saveMicros =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    std::mt19937 random(20240607);
    std::uniform_int_distribution<long> delay(0, static_cast<long>(
                                                     std::clamp<long long>(saveMicros * 3 / 2, 200, 20'000)));

    // Fewer kills than elsewhere: starting a process costs much more here.
    constexpr int kKills = 40;
    std::map<DWORD, int> leftoversByWriter;
    int killedMidSave = 0;
    for (int round = 0; round < kKills; ++round) {
        Child writer(L"save \"" + PathFromUtf8(target).wstring() + L"\"");
        ASSERT_TRUE(writer.started()) << "save_writer_child did not start: " << GetLastError();
        const bool saved = writer.readByte();
        if (saved)
            WaitMicros(delay(random));
        const bool running = writer.kill();
        ASSERT_TRUE(saved) << "the writer failed before its first save";
        ASSERT_TRUE(running) << "the writer stopped by itself";

        const std::string content = folder.read("block.csv");
        ASSERT_TRUE(content == firstBytes || content == secondBytes)
            << "after kill " << round << " the file is neither save whole (" << content.size() << " bytes)";

        // Only the killed writer may have left a temporary, and only the one of the save it was in.
        for (const std::string& name : NamesIn(folder.path(), "block.csv")) {
            const auto owner = static_cast<DWORD>(TemporaryOwner(name));
            ASSERT_NE(owner, 0u) << "unexpected file " << name;
            ASSERT_TRUE(owner == writer.id() || leftoversByWriter.count(owner)) << name << " is no killed writer's";
            if (owner == writer.id()) {
                ++leftoversByWriter[owner];
                ++killedMidSave;
            }
        }
        for (const auto& [owner, count] : leftoversByWriter)
            ASSERT_LE(count, 1) << "writer " << owner << " left more than its last temporary";
    }

    // A save after all that still works, and clears away what the killed writers left behind.
    WriteBlockFile(FullRecord(2), target);
    EXPECT_EQ(folder.read("block.csv"), secondBytes);
    EXPECT_TRUE(NamesIn(folder.path(), "block.csv").empty()) << "abandoned temporaries pile up";
    BlockData read;
    ASSERT_TRUE(ReadBlockFile(read, folder.dataPath(), "block"));
    EXPECT_EQ(read, FullRecord(2));
    RecordProperty("kills_leaving_a_temporary", killedMidSave);
}

TEST(SaveDurability, ASaveRemovesOnlyTheTemporariesOfWritersThatAreGone)
{
    TempFolder folder;
    const std::string target = PathToUtf8(folder.path() / "block.csv");
    DWORD gone = 0;
    {
        Child exited(L"wait");
        ASSERT_TRUE(exited.started());
        gone = exited.id();
    }
    Child running(L"wait");
    ASSERT_TRUE(running.started());
    const auto temporary = [](DWORD pid) { return ".chokusho-save-" + std::to_string(pid) + "-7.tmp"; };
    folder.write(temporary(gone), "killed mid-save");
    folder.write(temporary(running.id()), "another instance, saving");
    folder.write(temporary(GetCurrentProcessId()), "this instance, saving elsewhere");
    folder.write(".chokusho-save-x.tmp", "not a writer's");
    folder.write("notes.tmp", "the user's");

    WriteFileAtomically(target, "new");
    EXPECT_EQ(folder.read("block.csv"), "new");
    EXPECT_EQ(NamesIn(folder.path(), "block.csv"),
              (std::set<std::string>{temporary(running.id()), temporary(GetCurrentProcessId()), ".chokusho-save-x.tmp",
                                     "notes.tmp"}));
}

TEST(SaveDurability, AFailedSaveSaysWhyAndKeepsTheOldFileByteForByte)
{
    const BlockData record = FullRecord();
    const std::string oldBytes = "old content, not even a block file\r\n\x82\xa0\r\n";

    {  // The target's folder is missing: nothing is made anywhere.
        TempFolder folder;
        EXPECT_EQ(SaveFailure([&] { WriteBlockFile(record, PathToUtf8(folder.path() / "missing" / "block.csv")); }),
                  "保存先のフォルダーが見つかりません。");
        EXPECT_TRUE(NamesIn(folder.path()).empty());
    }
    {  // The target is a folder: it stays one, with what it holds.
        TempFolder folder;
        std::filesystem::create_directory(folder.path() / "block.csv");
        folder.write("block.csv/inside", oldBytes);
        EXPECT_EQ(SaveFailure([&] { WriteBlockFile(record, PathToUtf8(folder.path() / "block.csv")); }),
                  "フォルダーです。");
        EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "block.csv"));
        EXPECT_EQ(folder.read("block.csv/inside"), oldBytes);
        EXPECT_TRUE(NamesIn(folder.path(), "block.csv").empty());
    }
    {  // The file has the read-only attribute, which a rename would not heed.
        TempFolder folder;
        const std::string target = folder.write("block.csv", oldBytes);
        const auto path = PathFromUtf8(target);
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
        EXPECT_EQ(SaveFailure([&] { WriteBlockFile(record, target); }), "読み取り専用のファイルです。");
        EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
        EXPECT_EQ(folder.read("block.csv"), oldBytes);
        EXPECT_TRUE(NamesIn(folder.path(), "block.csv").empty());
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    {  // Another program holds the file open and shares it with nobody, as spreadsheets do.
        TempFolder folder;
        const std::string target = folder.write("block.csv", oldBytes);
        HANDLE held = CreateFileW(PathFromUtf8(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_EQ(SaveFailure([&] { WriteBlockFile(record, target); }), "ほかのプログラムが使用中です。");
        CloseHandle(held);
        EXPECT_EQ(folder.read("block.csv"), oldBytes);
        EXPECT_TRUE(NamesIn(folder.path(), "block.csv").empty()) << "the failed save left its temporary";
    }
}

}  // namespace
}  // namespace chokusho
