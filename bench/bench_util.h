// Shared helpers of the benchmarks: those of bench_core.h (timing a floor, reading a file through), heap use
// from the allocator's own counters, and a timer that keeps the best iteration.
#pragma once

#include "bench_core.h"
#include "platform/platform.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <malloc.h>
#include <string>
#include <vector>

namespace tw::bench {

// Bytes the heap has handed out and not taken back.
inline size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// Times each iteration by hand so that the ratio to the floor can be reported beside it.
class ManualTimer {
public:
    explicit ManualTimer(benchmark::State& state) : state(state) {}
    template <typename Fn> void Iteration(Fn&& fn) {
        const auto start = std::chrono::steady_clock::now();
        fn();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        best = std::min(best, took.count());
    }
    [[nodiscard]] double Best() const { return best; }

private:
    benchmark::State& state;
    double best = 1e100;
};

} // namespace tw::bench
