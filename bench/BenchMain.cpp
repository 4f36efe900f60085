// Runs every benchmark, then sets each figure beside its floor, measured in the same run:
// the floor is the least work that produces the same result, so the ratio says how much the
// program adds to what cannot be avoided.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "BenchData.h"
#include "BenchRegistry.h"

namespace chokusho::bench {
namespace {

struct Comparison {
    const char* what;
    const char* figure;
    const char* floor;
    double target;        // the ratio the figure should stay within; 0 when none is set
    const char* counter;  // the counter compared instead of the time, or null
};

// clang-format off
constexpr Comparison kComparisons[] = {
    {"read a full block file", "read/block_file", "read/floor_bytes", 3.0, nullptr},
    {"list a folder of 1000 block files", "list/folder_1000", "list/floor_bytes", 3.0, nullptr},
    {"full repaint at capacity, 1920x1080", "paint/full_repaint", "paint/floor_qpainter", 2.0, nullptr},
    {"full repaint with the section shaded", "paint/full_repaint_shaded", "paint/full_repaint", 0.0, nullptr},
    {"pointer move with a rubber band", "mouse/rubber_band_move", "mouse/floor_xor_boxes", 0.0, nullptr},
    {"undo push, 101 held against 1", "undo/push_at_101", "undo/push_at_1", 1.5, nullptr},
    {"start-up to the first paint", "startup/chokusho", "startup/minimal_window", 1.5, nullptr},
    {"peak memory at start-up", "startup/chokusho", "startup/minimal_window", 1.5, "peak_KiB"},
    {"export a full block to PDF", "export/pdf", "export/floor_pdf", 2.0, nullptr},
    {"export a full block to SVG", "export/svg", "export/floor_svg", 0.0, nullptr},
    {"export a full block to PNG, 300 dpi", "export/png", "export/floor_png", 2.0, nullptr},
    {"export a full block to DXF", "export/dxf", "export/floor_dxf", 0.0, nullptr},
    {"section of a block with 600 crossings", "section/crossed_block", "section/floor_crossing_pairs", 0.0, nullptr},
    {"section of the full-capacity block", "section/full_block", "section/floor_crossing_pairs", 0.0, nullptr},
    {"check 1000 block files, CSV", "section/check_1000", "section/floor_bytes_1000", 0.0, nullptr},
    // Two files flushed to disk against one: the pair costs about two atomic writes.
    {"recovery write of a full block", "recovery/write_full", "recovery/floor_block_file", 2.5, nullptr},
    {"… of it, what the window waits for", "recovery/window_waits", "recovery/floor_block_file", 0.0, nullptr},
    // For reading the two above: a window whose one line of text brings up the font system.
    {"start-up, against a window with text", "startup/chokusho", "startup/text_window", 0.0, nullptr},
    {"peak memory, against a window with text", "startup/chokusho", "startup/text_window", 0.0, "peak_KiB"},
};
// clang-format on

struct Result {
    double seconds = 0;
    std::map<std::string, double> counters;
};

/** Prints as usual and keeps each benchmark's median (or its only run). */
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!median && run.run_type != Run::RT_Iteration)
                continue;
            Result result;
            result.seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            for (const auto& [name, counter] : run.counters)
                result.counters[name] = counter.value;
            auto& slot = median ? medians_ : singles_;
            slot[run.run_name.function_name] = result;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    const Result* find(const std::string& name) const
    {
        if (const auto it = medians_.find(name); it != medians_.end())
            return &it->second;
        if (const auto it = singles_.find(name); it != singles_.end())
            return &it->second;
        return nullptr;
    }

private:
    std::map<std::string, Result> medians_;
    std::map<std::string, Result> singles_;
};

std::string FormatSeconds(double seconds)
{
    char text[32];
    if (seconds < 1e-6)
        std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
    else if (seconds < 1e-3)
        std::snprintf(text, sizeof text, "%.2f us", seconds * 1e6);
    else if (seconds < 1)
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}

std::string FormatKib(double kib)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", kib / 1024.0);
    return text;
}

void PrintTable(const CollectingReporter& results)
{
    std::printf("\nCPU: %s, %u threads\n\n", CpuModelName().c_str(), std::thread::hardware_concurrency());
    std::printf("%-40s | %12s | %12s | %7s | %s\n", "figure", "time", "floor", "ratio", "target");
    std::printf("%.40s-+-%.12s-+-%.12s-+-%.7s-+-%s\n", std::string(40, '-').c_str(), std::string(12, '-').c_str(),
                std::string(12, '-').c_str(), std::string(7, '-').c_str(), "----------");
    for (const Comparison& c : kComparisons) {
        const Result* figure = results.find(c.figure);
        const Result* floor = results.find(c.floor);
        if (figure == nullptr || floor == nullptr) {
            std::printf("%-40s | %12s | %12s | %7s |\n", c.what, "not run", "", "");
            continue;
        }
        double a = figure->seconds;
        double b = floor->seconds;
        std::string shownA = FormatSeconds(a);
        std::string shownB = FormatSeconds(b);
        if (c.counter != nullptr) {
            a = figure->counters.count(c.counter) ? figure->counters.at(c.counter) : 0;
            b = floor->counters.count(c.counter) ? floor->counters.at(c.counter) : 0;
            shownA = FormatKib(a);
            shownB = FormatKib(b);
        }
        const double ratio = b > 0 ? a / b : 0;
        std::string target = "-";
        if (c.target > 0) {
            char text[32];
            std::snprintf(text, sizeof text, "<= %.1fx %s", c.target, ratio <= c.target ? "met" : "NOT MET");
            target = text;
        }
        std::printf("%-40s | %12s | %12s | %6.2fx | %s\n", c.what, shownA.c_str(), shownB.c_str(), ratio,
                    target.c_str());
    }
}

}  // namespace
}  // namespace chokusho::bench

int main(int argc, char* argv[])
{
    using namespace chokusho::bench;
    // The canvas draws its texts with the system's fonts, which need a GUI application; no
    // screen is needed, and the started programs inherit the setting.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Without a session there is no runtime folder, and every started program would warn of it.
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        const std::string runtime = "/tmp/chokusho-bench-runtime-" + std::to_string(::getuid());
        ::mkdir(runtime.c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 0);
    }
    static int qtArgc = 1;
    QApplication app(qtArgc, argv);

    // Medians of five repetitions unless the command line says otherwise (later flags win). The
    // repetitions of all benchmarks run in a shuffled order, so that a figure and its floor meet
    // the same load from the rest of the machine.
    std::string defaults[] = {"--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true",
                              "--benchmark_enable_random_interleaving=true"};
    std::vector<char*> args{argv[0]};
    for (std::string& flag : defaults)
        args.push_back(flag.data());
    args.insert(args.end(), argv + 1, argv + argc);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 2;

    RegisterFileBenchmarks();
    RegisterPaintBenchmarks();
    RegisterUndoBenchmarks();
    RegisterStartupBenchmarks();
    RegisterExportBenchmarks();
    RegisterSectionBenchmarks();
    RegisterRecoveryBenchmarks();

    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintTable(reporter);
    return 0;
}
