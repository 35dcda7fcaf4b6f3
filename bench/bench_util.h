// Shared helpers of the benchmarks: timing a floor, reading a file through, and heap use from the
// allocator's own counters.
#pragma once

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

// Reads a file through the platform's read-only file in pieces of the given size and answers the bytes
// read: the floor of every reader that goes through a file once.
inline uint64_t ReadThrough(const std::wstring& path, uint32_t piece = 64 * 1024) {
    platform::ReadOnlyFile file;
    uint32_t code = 0;
    std::wstring text;
    uint64_t total = 0;
    if (file.Open(path, code, text)) {
        std::vector<uint8_t> buffer(piece);
        while (const uint32_t n = file.Read(buffer.data(), piece)) {
            total += n;
        }
    }
    return total;
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
