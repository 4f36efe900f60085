// Reading block files: one file with the reader against the bare reading of its bytes, and a
// folder of files as the picker lists it against reading every file's bytes.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchRegistry.h"
#include "BlockFile.h"
#include "BlockPicker.h"
#include "TestFiles.h"

namespace chokusho::bench {
namespace {

constexpr int kFolderFiles = 1000;

/** The least a program can do to get a file's bytes: open, read, close. */
std::size_t ReadBytes(const std::string& path)
{
    static char buffer[1 << 16];
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    std::size_t total = 0;
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        total += static_cast<std::size_t>(got);
    ::close(fd);
    benchmark::DoNotOptimize(buffer);
    return total;
}

const test::TempFolder& OneFile()
{
    static const test::TempFolder folder;
    static const bool written = [] {
        folder.write("full.csv", FormatBlockFile(FullCapacityBlock()));
        return true;
    }();
    (void)written;
    return folder;
}

const test::TempFolder& Folder()
{
    static const test::TempFolder folder;
    static const bool written = [] {
        for (int i = 0; i < kFolderFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "block%04d.csv", i);
            folder.write(name, FormatBlockFile(FullCapacityBlock(i)));
        }
        return true;
    }();
    (void)written;
    return folder;
}

void ReadOneFile(benchmark::State& state)
{
    const std::string dataPath = OneFile().dataPath();
    BlockData record;
    for (auto _ : state) {
        if (!ReadBlockFile(record, dataPath, "full")) {
            state.SkipWithError("the block file did not read");
            break;
        }
        benchmark::DoNotOptimize(record);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(ReadBytes(dataPath + "full.csv")));
}

void ReadOneFileBytes(benchmark::State& state)
{
    const std::string path = OneFile().dataPath() + "full.csv";
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = ReadBytes(path);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

void ListFolder(benchmark::State& state)
{
    const std::string dataPath = Folder().dataPath();
    BlockData scratch;
    for (auto _ : state) {
        const BlockFileList list = FillFileList(dataPath, scratch);
        if (list.Lines.size() != kFolderFiles) {
            state.SkipWithError("the folder did not list every file");
            break;
        }
        benchmark::DoNotOptimize(list);
    }
}

void ListFolderBytes(benchmark::State& state)
{
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(Folder().path()))
        paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    for (auto _ : state) {
        std::size_t total = 0;
        for (const std::string& path : paths)
            total += ReadBytes(path);
        benchmark::DoNotOptimize(total);
    }
}

}  // namespace

void RegisterFileBenchmarks()
{
    Register("read/block_file", ReadOneFile);
    Register("read/floor_bytes", ReadOneFileBytes);
    Register("list/folder_1000", ListFolder)->Unit(benchmark::kMillisecond);
    Register("list/floor_bytes", ListFolderBytes)->Unit(benchmark::kMillisecond);
}

}  // namespace chokusho::bench
