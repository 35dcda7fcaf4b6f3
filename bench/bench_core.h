// The parts of the benchmarks' helpers that need no benchmark library, shared with the programs that time
// themselves under Wine: timing a floor and reading a file through.
#pragma once

#include "platform/platform.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
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

} // namespace tw::bench
