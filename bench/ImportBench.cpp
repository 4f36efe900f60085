// Importing a CAD drawing: a DXF file of about 5 MB with 50,000 entities, nearly all on a layer
// that is not chosen (a hatch drawn as lines, as drawings of a breakwater have), of which a
// block's outline is taken. The figures: reading the bytes, assembling the block (what a preview
// repeats on every change of layers, unit or tolerance), and both, with the reader's peak memory
// beside the file's size.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <numbers>
#include <initializer_list>
#include <string>
#include <utility>

#include "BenchRegistry.h"
#include "DxfImport.h"
#include "DxfReader.h"

// The reader's memory: every allocation through operator new, counted while `counting` is on.
namespace {
std::atomic<bool> counting{false};
std::atomic<long long> liveBytes{0};
std::atomic<long long> peakBytes{0};

void Count(void* block, long long sign)
{
    if (block == nullptr || !counting.load(std::memory_order_relaxed))
        return;
    const long long now = liveBytes += sign * static_cast<long long>(malloc_usable_size(block));
    long long peak = peakBytes.load(std::memory_order_relaxed);
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
}
}  // namespace

void* operator new(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    Count(block, 1);
    return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept
{
    Count(block, -1);
    std::free(block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }

namespace chokusho::bench {
namespace {

constexpr int kEntities = 50'000;
constexpr int kOutlineSides = 40;

/** A number as CAD programs write them: fixed-point, here to the micrometre. */
std::string Number(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

/** A drawing as Release 12 writes one: entities with handles and in the XY plane, CR LF. */
class DxfText {
public:
    void pair(int code, const std::string& value)
    {
        char codeText[8];
        std::snprintf(codeText, sizeof codeText, "%3d\r\n", code);
        bytes += codeText;
        bytes += value;
        bytes += "\r\n";
    }
    void pairs(std::initializer_list<std::pair<int, const char*>> list)
    {
        for (const auto& [code, value] : list)
            pair(code, value);
    }
    void entity(const char* kind, const char* layer)
    {
        pair(0, kind);
        char handle[16];
        std::snprintf(handle, sizeof handle, "%X", ++handles_);
        pair(5, handle);
        pair(8, layer);
    }
    void point(int code, double x, double y)
    {
        pair(code, Number(x));
        pair(code + 10, Number(y));
    }

    std::string bytes;

private:
    int handles_ = 0x100;
};

const std::string& Drawing()
{
    static const std::string bytes = [] {
        DxfText dxf;
        dxf.pairs({{0, "SECTION"},
                   {2, "HEADER"},
                   {9, "$ACADVER"},
                   {1, "AC1009"},
                   {9, "$INSUNITS"},
                   {70, "4"},
                   {0, "ENDSEC"},
                   {0, "SECTION"},
                   {2, "TABLES"},
                   {0, "TABLE"},
                   {2, "LAYER"}});
        for (const char* layer : {"0", "OUTLINE", "HATCH"})
            dxf.pairs({{0, "LAYER"}, {2, layer}, {70, "0"}, {62, "7"}, {6, "CONTINUOUS"}});
        dxf.pairs({{0, "ENDTAB"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}});
        // The outline: a polygon of 40 sides about (5000, 3000) mm, and a circle inside it.
        for (int i = 0; i < kOutlineSides; ++i) {
            const double a = 2 * std::numbers::pi * i / kOutlineSides,
                         b = 2 * std::numbers::pi * (i + 1) / kOutlineSides;
            dxf.entity("LINE", "OUTLINE");
            dxf.point(10, 5000 + 4000 * std::cos(a), 3000 + 2500 * std::sin(a));
            dxf.point(11, 5000 + 4000 * std::cos(b), 3000 + 2500 * std::sin(b));
        }
        dxf.entity("CIRCLE", "OUTLINE");
        dxf.point(10, 5000, 3000);
        dxf.pair(40, Number(600));
        // The hatch: short lines, with an arc and a polyline now and then.
        for (int i = kOutlineSides + 1; i < kEntities; ++i) {
            const double x = (i % 223) * 41.3, y = (i / 223) * 27.9;
            if (i % 10 == 0) {
                dxf.entity("ARC", "HATCH");
                dxf.point(10, x, y);
                dxf.pair(40, Number(15.5));
                dxf.pair(50, Number(30));
                dxf.pair(51, Number(150));
            } else if (i % 10 == 5) {
                dxf.entity("POLYLINE", "HATCH");
                dxf.pair(66, "1");
                dxf.pair(70, "0");
                for (int v = 0; v < 3; ++v) {
                    dxf.pair(0, "VERTEX");
                    dxf.pair(8, "HATCH");
                    dxf.point(10, x + v * 10.25, y + (v % 2) * 7.75);
                }
                dxf.pair(0, "SEQEND");
            } else {
                dxf.entity("LINE", "HATCH");
                dxf.point(10, x, y);
                dxf.point(11, x + 30.125, y + 20.0625);
            }
        }
        dxf.pair(0, "ENDSEC");
        dxf.pair(0, "EOF");
        return dxf.bytes;
    }();
    return bytes;
}

DxfImportOptions Outline()
{
    DxfImportOptions options;
    options.layers = std::vector<std::string>{"OUTLINE"};
    return options;
}

void SetFileCounters(benchmark::State& state)
{
    state.counters["file_MB"] = static_cast<double>(Drawing().size()) / 1e6;
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Drawing().size()));
}

void Read(benchmark::State& state)
{
    for (auto _ : state) {
        DxfReadResult read = ReadDxf(Drawing());
        benchmark::DoNotOptimize(read);
    }
    SetFileCounters(state);
    // Once more, counting: the most the reader held at once, the drawing it returns included.
    liveBytes = 0;
    peakBytes = 0;
    counting = true;
    const DxfReadResult read = ReadDxf(Drawing());
    counting = false;
    state.counters["peak_per_file"] = static_cast<double>(peakBytes.load()) / static_cast<double>(Drawing().size());
    state.counters["pieces"] = static_cast<double>(read.drawing.lines.size() + read.drawing.arcs.size());
}

void Assemble(benchmark::State& state)
{
    const DxfReadResult read = ReadDxf(Drawing());
    const DxfImportOptions options = Outline();
    for (auto _ : state) {
        DxfImport import = AssembleBlock(read.drawing, options);
        benchmark::DoNotOptimize(import);
    }
    const DxfImport import = AssembleBlock(read.drawing, options);
    if (!import.ok())
        state.SkipWithError("the outline did not import");
    state.counters["points"] = import.counts.points;
    state.counters["skipped"] = import.counts.skipped.total();
}

void ReadAndAssemble(benchmark::State& state)
{
    const DxfImportOptions options = Outline();
    for (auto _ : state) {
        DxfImport import = AssembleBlock(ReadDxf(Drawing()).drawing, options);
        benchmark::DoNotOptimize(import);
    }
    SetFileCounters(state);
}

[[maybe_unused]] const bool registered = [] {
    Register("import/read_dxf_5MB", Read)->Unit(benchmark::kMillisecond);
    Register("import/assemble_outline", Assemble)->Unit(benchmark::kMicrosecond);
    Register("import/whole_dxf_5MB", ReadAndAssemble)->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
}  // namespace chokusho::bench
