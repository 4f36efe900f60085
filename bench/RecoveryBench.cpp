// Keeping unsaved work for recovery: a full-capacity record's recovery pair (its block file and
// side file, each replaced atomically and flushed to disk) against the atomic write of the block
// file alone. The write runs on the window's thread between edits, so it must stay short.

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
}

}  // namespace chokusho::bench
