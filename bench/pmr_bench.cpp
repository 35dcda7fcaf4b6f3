// Reading a 100,000-entry media file index into the catalog, against the floor of reading the same
// bytes with no parsing at all. Target: at most 10 times the floor; the catalog under 60 MB.
#include "bench_util.h"
#include "catalog/media_catalog.h"
#include "catalog/media_files.h"
#include "catalog/pmr_file.h"
#include "fixtures/sample_entries.h"
#include "platform/platform.h"

#include <memory>

namespace {

constexpr size_t kEntries = 100000;

const std::wstring& IndexPath() {
    static tw::fixtures::ScratchDir dir(L"tw-bench");
    static const std::wstring path = [] {
        tw::fixtures::PmrWriter writer;
        for (const auto& e : tw::fixtures::MakeSampleEntries(kEntries, 42, 40)) {
            writer.Entry(e);
        }
        const std::wstring p = dir / tw::kIndexFileName;
        writer.Save(p);
        return p;
    }();
    return path;
}

size_t LoadIntoCatalog(tw::MediaCatalog& catalog) {
    tw::PMRFile reader;
    if (reader.OpenIndex(IndexPath()) != 1) {
        return 0;
    }
    tw::MediaRecord record;
    while (reader.ReadNextRecord(&record, nullptr) == 1) {
        catalog.AddRecord(std::move(record), true);
    }
    catalog.BuildIndex();
    return catalog.IndexedRecordCount();
}

void BM_Floor_ReadIndexBytes(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(tw::bench::ReadThrough(IndexPath(), 2048));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kEntries));
}
BENCHMARK(BM_Floor_ReadIndexBytes)->Unit(benchmark::kMillisecond);

void BM_IndexToCatalog(benchmark::State& state) {
    const double floor =
        tw::bench::BestSeconds([] { benchmark::DoNotOptimize(tw::bench::ReadThrough(IndexPath(), 2048)); });
    tw::bench::ManualTimer timer(state);
    size_t records = 0;
    double heapMB = 0;
    for (auto _ : state) {
        tw::MediaCatalog catalog;
        const size_t before = tw::bench::HeapInUse();
        timer.Iteration([&] { records = LoadIntoCatalog(catalog); });
        heapMB = static_cast<double>(tw::bench::HeapInUse() - before) / (1024.0 * 1024.0);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * records));
    state.counters["records"] = static_cast<double>(records);
    state.counters["floor_ms"] = floor * 1000.0;
    state.counters["x_floor"] = timer.Best() / floor;
    state.counters["catalog_MB"] = heapMB;
}
BENCHMARK(BM_IndexToCatalog)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

BENCHMARK_MAIN();
