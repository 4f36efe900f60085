// Section properties: a full block whose segments cross each other hundreds of times, and the
// check of a folder of 1000 block files as "chokusho --check --csv" makes it, each beside its floor.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchRegistry.h"
#include "BlockFile.h"
#include "CheckReport.h"
#include "SectionProperties.h"
#include "TestFiles.h"

namespace chokusho::bench {
namespace {

constexpr int kCheckedFiles = 1000;

/**
 * 100 points on an ellipse 20 m x 10 m, joined in turn by 100 solid segments, and by 100 solid
 * chords from each point to the seventh after it: each chord crosses twelve others, some 600
 * crossings in all, cutting the block into about 700 faces.
 */
BlockData CrossedBlock()
{
    BlockData r;
    r.L = 2;
    r.PointCount = kMaxPoints;
    for (int p = 1; p <= kMaxPoints; ++p) {
        const double angle = 2 * 3.14159265358979 * (p - 1) / kMaxPoints;
        r.PointX[p] = 10 + 10 * std::cos(angle);
        r.PointY[p] = 5 + 5 * std::sin(angle);
    }
    r.LineCount = kMaxLines;
    for (int k = 1; k <= kMaxPoints; ++k) {
        r.LineStart[k] = static_cast<std::int16_t>(k);
        r.LineEnd[k] = static_cast<std::int16_t>(k % kMaxPoints + 1);
        r.LineStart[k + kMaxPoints] = static_cast<std::int16_t>(k);
        r.LineEnd[k + kMaxPoints] = static_cast<std::int16_t>((k + 6) % kMaxPoints + 1);
    }
    for (int layer = 0; layer < 10; ++layer)
        r.LayerH[layer] = layer + 1;
    r.LayerCount = 10;
    return r;
}

void SectionOfCrossedBlock(benchmark::State& state)
{
    const BlockData block = CrossedBlock();
    std::size_t faces = 0;
    for (auto _ : state) {
        const SectionResult result = ComputeSection(block);
        faces = result.region.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["faces"] = static_cast<double>(faces);
}

/** The least any arrangement does: every pair of the 200 segments tested for a crossing. */
void CrossingPairs(benchmark::State& state)
{
    const BlockData b = CrossedBlock();
    for (auto _ : state) {
        int crossings = 0;
        for (int i = 1; i <= b.LineCount; ++i) {
            for (int j = i + 1; j <= b.LineCount; ++j) {
                const auto side = [&b](int from, int to, int p) {
                    return (b.PointX[to] - b.PointX[from]) * (b.PointY[p] - b.PointY[from]) -
                           (b.PointY[to] - b.PointY[from]) * (b.PointX[p] - b.PointX[from]);
                };
                const double d1 = side(b.LineStart[j], b.LineEnd[j], b.LineStart[i]);
                const double d2 = side(b.LineStart[j], b.LineEnd[j], b.LineEnd[i]);
                const double d3 = side(b.LineStart[i], b.LineEnd[i], b.LineStart[j]);
                const double d4 = side(b.LineStart[i], b.LineEnd[i], b.LineEnd[j]);
                crossings += (d1 * d2 < 0) && (d3 * d4 < 0);
            }
        }
        benchmark::DoNotOptimize(crossings);
    }
}

/** The benchmarks' full record: 134 solid chords of two rings, crossing some 2200 times. */
void SectionOfFullBlock(benchmark::State& state)
{
    const BlockData block = FullCapacityBlock();
    for (auto _ : state) {
        const SectionResult result = ComputeSection(block);
        benchmark::DoNotOptimize(result);
    }
}

const test::TempFolder& CheckedFolder()
{
    static const test::TempFolder folder;
    static const bool written = [] {
        for (int i = 0; i < kCheckedFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "block%04d.csv", i);
            folder.write(name, FormatBlockFile(i % 2 == 0 ? FullCapacityBlock(i) : CrossedBlock()));
        }
        return true;
    }();
    (void)written;
    return folder;
}

std::vector<std::string> CheckedFiles()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(CheckedFolder().path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

/** What "--check --csv" does for each file of a folder: read it, compute its section, write its row. */
void CheckFolder(benchmark::State& state)
{
    const std::string dataPath = CheckedFolder().dataPath();
    const std::vector<std::string> names = CheckedFiles();
    for (auto _ : state) {
        std::string csv = std::string(kCheckCsvHeader) + "\n";
        for (const std::string& name : names) {
            BlockData record;
            if (!ReadBlockFileNamed(record, dataPath, name)) {
                state.SkipWithError("a block file did not read");
                return;
            }
            csv += CheckCsvRow(name, record, ComputeSection(record)) + "\n";
        }
        benchmark::DoNotOptimize(csv);
    }
}

/** Reading the same files' bytes and nothing else. */
void CheckFolderBytes(benchmark::State& state)
{
    const std::string dataPath = CheckedFolder().dataPath();
    const std::vector<std::string> names = CheckedFiles();
    static char buffer[1 << 16];
    for (auto _ : state) {
        std::size_t total = 0;
        for (const std::string& name : names) {
            const int fd = ::open((dataPath + name).c_str(), O_RDONLY | O_CLOEXEC);
            for (ssize_t got; fd >= 0 && (got = ::read(fd, buffer, sizeof buffer)) > 0;)
                total += static_cast<std::size_t>(got);
            if (fd >= 0)
                ::close(fd);
        }
        benchmark::DoNotOptimize(total);
    }
}

}  // namespace

void RegisterSectionBenchmarks()
{
    Register("section/crossed_block", SectionOfCrossedBlock)->Unit(benchmark::kMicrosecond);
    Register("section/floor_crossing_pairs", CrossingPairs)->Unit(benchmark::kMicrosecond);
    Register("section/full_block", SectionOfFullBlock)->Unit(benchmark::kMicrosecond);
    Register("section/check_1000", CheckFolder)->Unit(benchmark::kMillisecond);
    Register("section/floor_bytes_1000", CheckFolderBytes)->Unit(benchmark::kMillisecond);
}

}  // namespace chokusho::bench
