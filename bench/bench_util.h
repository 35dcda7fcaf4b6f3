// Shared helpers of the benchmarks: timing a floor, and heap use from the allocator's own counters.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <malloc.h>

namespace tw::bench {

// Best of several runs of fn, in seconds: the floor the measured work is compared with.
template <typename Fn> double BestSeconds(Fn&& fn, int runs = 5) {
    double best = 1e100;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        fn();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

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
