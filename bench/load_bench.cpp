// Loading a database folder of 100,000 media files (index, media database with 100,000 media objects, the
// files), against the floor of listing the folder and reading both database files through with no parsing.
// Target: the load costs at most 5 times the floor. The peak of the heap during the load is reported beside.
#include "bench_util.h"
#include "catalog/media_catalog.h"
#include "catalog/media_files.h"
#include "container/bento_container.h"
#include "fixtures/media_folder_writer.h"
#include "heap_counter.h"
#include "platform/platform.h"

#include <memory>

namespace {

constexpr size_t kEntries = 100000;

struct Folder {
    tw::fixtures::ScratchDir dir{L"tw-load-bench"};
    std::wstring path = dir / L"OMFI MediaFiles";
    std::wstring index = tw::platform::JoinPath(path, tw::kIndexFileName);
    std::wstring database = tw::platform::JoinPath(path, tw::kDatabaseFileName);

    Folder() {
        tw::fixtures::SampleMediaOptions options;
        options.projects = {"Harbour Lights", "Night Shift", "Promo 2026",   "Documentary",
                            "Episode 104",    "Trailer Cut", "Archive Reel", "Caf\xE9 Noir"};
        options.extensions = {"omf", "omf", "omf", "mxf", "mxf", "wav", "aif", "OMF"};
        options.unreferencedPercent = 2;
        options.missingPercent = 1;
        tw::fixtures::MediaFolder folder;
        folder.files = tw::fixtures::MakeSampleMedia(kEntries, 42, options);
        folder.subfolders = {"Creating"};
        tw::fixtures::WriteMediaFolder(path, folder);
    }
};

const Folder& TheFolder() {
    static const Folder folder;
    return folder;
}

// The work no load can avoid: the folder's listing and the bytes of both database files.
uint64_t Floor() {
    const Folder& f = TheFolder();
    uint64_t entries = 0;
    tw::platform::ListFolder(f.path, [&](const tw::platform::FolderEntry& e) { entries += e.size != 0 ? 1 : 0; });
    return entries + tw::bench::ReadThrough(f.index) + tw::bench::ReadThrough(f.database);
}

void BM_Floor_ListFolderReadDatabases(benchmark::State& state) {
    TheFolder();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Floor());
    }
}
BENCHMARK(BM_Floor_ListFolderReadDatabases)->Unit(benchmark::kMillisecond);

void BM_OpenMediaDatabase(benchmark::State& state) {
    tw::BentoContainer container;
    TheFolder();
    double openMB = 0;
    uint32_t entries = 0;
    for (auto _ : state) {
        const size_t before = tw::bench::HeapNow();
        benchmark::DoNotOptimize(container.Open(TheFolder().database));
        openMB = static_cast<double>(tw::bench::HeapNow() - before) / (1024.0 * 1024.0);
        entries = container.EntryCount();
        container.Close();
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["open_MB"] = openMB;
}
BENCHMARK(BM_OpenMediaDatabase)->Unit(benchmark::kMillisecond);

void BM_LoadDatabase(benchmark::State& state) {
    const double floor = tw::bench::BestSeconds([] { benchmark::DoNotOptimize(Floor()); });
    tw::bench::ManualTimer timer(state);
    uint32_t records = 0;
    double peakMB = 0;
    double catalogMB = 0;
    for (auto _ : state) {
        tw::MediaCatalog catalog;
        const size_t before = tw::bench::HeapNow();
        tw::bench::ResetHeapPeak();
        timer.Iteration([&] { catalog.LoadDatabase(TheFolder().index, false, nullptr); });
        records = catalog.IndexedRecordCount();
        peakMB = static_cast<double>(tw::bench::HeapPeak() - before) / (1024.0 * 1024.0);
        catalogMB = static_cast<double>(tw::bench::HeapNow() - before) / (1024.0 * 1024.0);
    }
    state.counters["records"] = static_cast<double>(records);
    state.counters["floor_ms"] = floor * 1000.0;
    state.counters["x_floor"] = timer.Best() / floor;
    state.counters["peak_MB"] = peakMB;
    state.counters["catalog_MB"] = catalogMB;
}
BENCHMARK(BM_LoadDatabase)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);

} // namespace

BENCHMARK_MAIN();
