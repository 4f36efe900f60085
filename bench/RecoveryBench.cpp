// Keeping unsaved work for recovery: a full-capacity record's recovery pair (its block file and
// side file, each replaced atomically and flushed to disk) against the atomic write of the block
// file alone; and what of it the window's thread waits for, as the program writes it: the pair
// formatted there and handed to a thread of its own, which puts it on disk between edits.

#include <benchmark/benchmark.h>

#include <string>

#include "BenchData.h"
#include "BenchRegistry.h"
#include "BlockFile.h"
#include "FileSystem.h"
#include "RecoveryFolder.h"
#include "TestFiles.h"

namespace chokusho::bench {
namespace {

class Folder : public RecoveryFolder {
public:
    using RecoveryFolder::RecoveryFolder;
    bool isHeld(const std::string&) override { return false; }
};

void WritePair(benchmark::State& state)
{
    const test::TempFolder temp;
    Folder folder(temp.path());
    const BlockData record = FullCapacityBlock();
    const RecoveryInfo info{"full", "full.csv", temp.dataPath(), temp.dataPath(), 101, "2026-12-08 09:00:00", 1};
    for (auto _ : state)
        folder.write("chokusho-1-20261208090000", record, info);
}

void HandPairOver(benchmark::State& state)
{
    const test::TempFolder temp;
    Folder folder(temp.path(), RecoveryFolder::Writes::InBackground);
    const BlockData record = FullCapacityBlock();
    const RecoveryInfo info{"full", "full.csv", temp.dataPath(), temp.dataPath(), 101, "2026-12-08 09:00:00", 1};
    for (auto _ : state) {
        folder.write("chokusho-1-20261208090000", record, info);
        // The program writes at most every 30 seconds: the last write is long done by the next.
        state.PauseTiming();
        static_cast<void>(folder.finishWrite());
        state.ResumeTiming();
    }
}

void WriteBlockFileOnly(benchmark::State& state)
{
    const test::TempFolder temp;
    const std::string path = temp.dataPath() + "full.csv";
    const std::string bytes = FormatBlockFile(FullCapacityBlock());
    for (auto _ : state)
        WriteFileAtomically(path, bytes);
}

}  // namespace

void RegisterRecoveryBenchmarks()
{
    Register("recovery/write_full", WritePair)->Unit(benchmark::kMillisecond);
    Register("recovery/floor_block_file", WriteBlockFileOnly)->Unit(benchmark::kMillisecond);
    Register("recovery/window_waits", HandPairOver)->Unit(benchmark::kMillisecond);
}

}  // namespace chokusho::bench
