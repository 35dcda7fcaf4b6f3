// Scanning a bin of 64 MB that holds 100,000 media references at odd offsets, against the floor of reading the
// same file's bytes through in the reader's window size, with no scanning at all. Target: at most 3 times the
// floor. The floor of reading it in 64 KB pieces is reported beside, for scale.
#include "bench_util.h"
#include "container/qrb_file.h"
#include "discovery/bin_scan.h"
#include "fixtures/byte_append.h"
#include "fixtures/file_io.h"
#include "platform/platform.h"

#include <random>

namespace {

constexpr size_t kBinBytes = 64u * 1024 * 1024;
constexpr size_t kReferences = 100000;

const std::wstring& BinPath() {
    static tw::fixtures::ScratchDir dir(L"tw-bin-bench");
    static const std::wstring path = [] {
        // Other records of a bin are bytes of every value; a reference starts at an odd offset every 671 bytes or
        // so.
        std::mt19937 random(5);
        tw::fixtures::Bytes bytes(kBinBytes);
        for (uint8_t& b : bytes) {
            b = static_cast<uint8_t>(random());
        }
        const size_t spacing = kBinBytes / kReferences;
        for (size_t i = 0; i < kReferences; ++i) {
            const size_t at = i * spacing + 1 + 2 * (i % 5);
            tw::fixtures::Bytes record;
            tw::fixtures::PutTag(record, "LMSM");
            tw::fixtures::PutLe32(record, 0x00010002);
            tw::fixtures::PutLe16(record, 0x0202);
            tw::fixtures::PutLe32(record, static_cast<uint32_t>(i));
            tw::fixtures::PutLe32(record, 0x060A2B34);
            std::copy(record.begin(), record.end(), bytes.begin() + static_cast<ptrdiff_t>(at));
        }
        const std::wstring p = dir / L"Big.avb";
        tw::fixtures::WriteFile(p, bytes);
        return p;
    }();
    return path;
}

size_t Scan() {
    tw::ReferencedIds ids;
    tw::ReadBinReferences(BinPath(), nullptr, ids);
    return ids.size();
}

void BM_Floor_ReadBinBytes(benchmark::State& state) {
    BinPath();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tw::bench::ReadThrough(BinPath(), tw::QRBFile::kWindowSize));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBinBytes));
}
BENCHMARK(BM_Floor_ReadBinBytes)->Unit(benchmark::kMillisecond);

void BM_ScanBin(benchmark::State& state) {
    BinPath();
    const double floor = tw::bench::BestSeconds(
        [] { benchmark::DoNotOptimize(tw::bench::ReadThrough(BinPath(), tw::QRBFile::kWindowSize)); });
    const double floor64k =
        tw::bench::BestSeconds([] { benchmark::DoNotOptimize(tw::bench::ReadThrough(BinPath(), 64 * 1024)); });
    tw::bench::ManualTimer timer(state);
    size_t references = 0;
    for (auto _ : state) {
        timer.Iteration([&] { references = Scan(); });
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBinBytes));
    state.counters["references"] = static_cast<double>(references);
    state.counters["floor_ms"] = floor * 1000.0;
    state.counters["x_floor"] = timer.Best() / floor;
    state.counters["floor64k_ms"] = floor64k * 1000.0;
    state.counters["x_floor64k"] = timer.Best() / floor64k;
}
BENCHMARK(BM_ScanBin)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);

} // namespace

BENCHMARK_MAIN();
