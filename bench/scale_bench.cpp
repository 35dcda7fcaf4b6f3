// A whole drive at scale: four databases of 100,000 and of 300,000 files in all, written once as the sample
// drive generator writes them (no media payload), then loaded as "Scan!" loads them: the drive's media
// folders searched for indexes, the catalog cleared, every database loaded into it.
// The floor is the work no load can avoid: listing the four media folders with sizes and times, and reading
// the eight database files through. Targets: the load at most 2 times the floor, the peak of the heap during
// the load at most 150 MB for 300,000 files, time and memory growing linearly with the number of files.
#include "bench_util.h"
#include "catalog/media_catalog.h"
#include "fixtures/sample_drive.h"
#include "heap_counter.h"
#include "scale_drive.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Drive {
    tw::fixtures::ScratchDir dir;
    std::vector<std::wstring> indexes;

    explicit Drive(size_t entries) : dir(L"tw-scale-bench") {
        if (!tw::fixtures::WriteSampleDrive(dir.Path(), entries, 1, 0, indexes)) {
            indexes.clear();
        }
    }
};

const Drive& DriveOf(size_t entries) {
    static std::map<size_t, std::unique_ptr<Drive>> drives;
    std::unique_ptr<Drive>& drive = drives[entries];
    if (!drive) {
        drive = std::make_unique<Drive>(entries);
    }
    return *drive;
}

uint64_t Floor(const Drive& drive) {
    return tw::bench::ScaleFloor(drive.indexes);
}

uint32_t ScanAndLoad(const Drive& drive, tw::MediaCatalog& catalog) {
    return tw::bench::ScanAndLoad(drive.dir.Path(), catalog);
}

void BM_Floor_ListFoldersReadDatabases(benchmark::State& state) {
    const Drive& drive = DriveOf(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Floor(drive));
    }
}
BENCHMARK(BM_Floor_ListFoldersReadDatabases)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond);

void BM_ScanAndLoadDrive(benchmark::State& state) {
    const Drive& drive = DriveOf(static_cast<size_t>(state.range(0)));
    const double floor = tw::bench::BestSeconds([&] { benchmark::DoNotOptimize(Floor(drive)); });
    tw::bench::ManualTimer timer(state);
    uint32_t databases = 0;
    uint32_t records = 0;
    double peakMB = 0;
    double catalogMB = 0;
    for (auto _ : state) {
        tw::BentoContainer container;
        tw::MediaCatalog catalog;
        catalog.SetContainer(&container);
        const size_t before = tw::bench::HeapNow();
        tw::bench::ResetHeapPeak();
        timer.Iteration([&] { databases = ScanAndLoad(drive, catalog); });
        records = catalog.IndexedRecordCount();
        peakMB = static_cast<double>(tw::bench::HeapPeak() - before) / (1024.0 * 1024.0);
        catalogMB = static_cast<double>(tw::bench::HeapNow() - before) / (1024.0 * 1024.0);
    }
    state.counters["databases"] = databases;
    state.counters["records"] = records;
    state.counters["floor_ms"] = floor * 1000.0;
    state.counters["x_floor"] = timer.Best() / floor;
    state.counters["peak_heap_MB"] = peakMB;
    state.counters["catalog_MB"] = catalogMB;
    state.counters["bytes_per_record"] = records != 0 ? catalogMB * 1024.0 * 1024.0 / records : 0;
}
BENCHMARK(BM_ScanAndLoadDrive)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
