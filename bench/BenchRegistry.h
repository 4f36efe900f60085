#pragma once

#include <benchmark/benchmark.h>

namespace chokusho::bench {

/** Registers a benchmark under `name`, in the order of the calls. */
inline benchmark::internal::Benchmark* Register(const char* name, void (*function)(benchmark::State&))
{
    return benchmark::RegisterBenchmark(name, function);
}

void RegisterFileBenchmarks();
void RegisterPaintBenchmarks();
void RegisterUndoBenchmarks();
void RegisterStartupBenchmarks();
void RegisterExportBenchmarks();
void RegisterSectionBenchmarks();
void RegisterRecoveryBenchmarks();

}  // namespace chokusho::bench
