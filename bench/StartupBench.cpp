// Start-up to the first painted window, the program against a Qt Widgets program that shows one
// empty window, each run as a fresh process; with the peak memory of each.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "BenchRegistry.h"

namespace chokusho::bench {
namespace {

constexpr int kStartsPerRepetition = 5;

void StartUp(benchmark::State& state, const char* program, const char* argument = "")
{
    double peakKib = 0;
    const std::string command = std::string("'") + CHOKUSHO_LAUNCH + "' '" + program + "' " + argument;
    for (auto _ : state) {
        std::FILE* pipe = ::popen(command.c_str(), "r");
        long long nanoseconds = 0;
        long kib = 0;
        const bool read = pipe != nullptr && std::fscanf(pipe, "%lld %ld", &nanoseconds, &kib) == 2;
        const bool exited = pipe != nullptr && ::pclose(pipe) == 0;
        if (!read || !exited) {
            state.SkipWithError("the program did not start and paint");
            break;
        }
        state.SetIterationTime(static_cast<double>(nanoseconds) * 1e-9);
        peakKib += static_cast<double>(kib);
    }
    state.counters["peak_KiB"] = benchmark::Counter(peakKib, benchmark::Counter::kAvgIterations);
}

void StartProgram(benchmark::State& state) { StartUp(state, CHOKUSHO_STARTUP_PROBE); }
void StartMinimalWindow(benchmark::State& state) { StartUp(state, CHOKUSHO_MINIMAL_WINDOW); }
void StartTextWindow(benchmark::State& state) { StartUp(state, CHOKUSHO_MINIMAL_WINDOW, "--text"); }

}  // namespace

void RegisterStartupBenchmarks()
{
    Register("startup/chokusho", StartProgram)
        ->UseManualTime()
        ->Iterations(kStartsPerRepetition)
        ->Unit(benchmark::kMillisecond);
    Register("startup/minimal_window", StartMinimalWindow)
        ->UseManualTime()
        ->Iterations(kStartsPerRepetition)
        ->Unit(benchmark::kMillisecond);
    Register("startup/text_window", StartTextWindow)
        ->UseManualTime()
        ->Iterations(kStartsPerRepetition)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace chokusho::bench
