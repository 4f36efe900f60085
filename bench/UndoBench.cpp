// An undo snapshot costs one record copy however many snapshots are held; a push onto a full
// stack (which drops the oldest) must cost no more than one onto a nearly empty stack.

#include <benchmark/benchmark.h>

#include <chrono>

#include "BenchData.h"
#include "BenchRegistry.h"
#include "DocumentState.h"
#include "EditOperations.h"

namespace chokusho::bench {
namespace {

void PushWithHeld(benchmark::State& state, int held)
{
    DocumentState document;
    document.CurData = FullCapacityBlock();
    const std::string label = "点移動";
    for (int i = 0; i < held; ++i)
        PushUndo(document, label);

    // Each push is timed alone: the stack is brought back to `held` snapshots in between.
    for (auto _ : state) {
        if (document.Undo.UndoCount() != held) {
            document.Undo.clear();
            for (int i = 0; i < held; ++i)
                PushUndo(document, label);
        }
        const auto start = std::chrono::steady_clock::now();
        PushUndo(document, label);
        const auto end = std::chrono::steady_clock::now();
        benchmark::ClobberMemory();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

void PushAtOne(benchmark::State& state) { PushWithHeld(state, 1); }
void PushAtFull(benchmark::State& state) { PushWithHeld(state, UndoStack::kCapacity); }

}  // namespace

void RegisterUndoBenchmarks()
{
    Register("undo/push_at_1", PushAtOne)->UseManualTime();
    Register("undo/push_at_101", PushAtFull)->UseManualTime();
}

}  // namespace chokusho::bench
