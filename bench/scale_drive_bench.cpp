// A drive at scale, timed by itself so that it runs where Google Benchmark is not built: the Windows build
// under Wine (or on Windows) as well as natively. "Scan!" of a drive that tarnwick-sample-drive wrote,
// beside the floor of listing its media folders with sizes and times and reading its databases through,
// both through the build's own platform layer, best of several runs each. Run natively and under Wine on
// the same drive, it shows how much of the Windows build's load under Wine is the floor Wine gives it.
// Usage: scale_drive_bench DRIVE [RUNS]
#include "bench_core.h"
#include "container/bento_container.h"
#include "platform/wide_main.h"
#include "scale_drive.h"

#include <cstdio>
#include <string>
#include <vector>

int WideMain(const std::vector<std::wstring>& args) {
    if (args.empty()) {
        std::fprintf(stderr, "usage: scale_drive_bench DRIVE [RUNS]\n");
        return 1;
    }
    const std::wstring& drive = args[0];
    const int runs = args.size() > 1 ? std::max(1, std::stoi(args[1])) : 3;
    const std::vector<std::wstring> indexes = tw::bench::IndexesOn(drive);
    if (indexes.empty()) {
        std::fprintf(stderr, "scale_drive_bench: no media file index on the drive\n");
        return 2;
    }
    uint64_t sink = 0;
    const double floor = tw::bench::BestSeconds([&] { sink += tw::bench::ScaleFloor(indexes); }, runs);
    uint32_t databases = 0;
    uint32_t records = 0;
    const double load = tw::bench::BestSeconds(
        [&] {
            tw::BentoContainer container;
            tw::MediaCatalog catalog;
            catalog.SetContainer(&container);
            databases = tw::bench::ScanAndLoad(drive, catalog);
            records = catalog.IndexedRecordCount();
        },
        runs);
    // The load alone, as the program's "Scan!" runs it on the databases the search found earlier.
    const double loadAlone = tw::bench::BestSeconds(
        [&] {
            tw::BentoContainer container;
            tw::MediaCatalog catalog;
            catalog.SetContainer(&container);
            sink += tw::bench::LoadAll(indexes, catalog);
        },
        runs);
    // Where the time goes: the search alone, and the floor's two halves.
    const double search = tw::bench::BestSeconds([&] { sink += tw::bench::IndexesOn(drive).size(); }, runs);
    const double listing = tw::bench::BestSeconds(
        [&] {
            for (const std::wstring& index : indexes) {
                sink += tw::bench::ListThrough(tw::platform::RemoveFileSpec(index));
            }
        },
        runs);
    const double reading = tw::bench::BestSeconds(
        [&] {
            for (const std::wstring& index : indexes) {
                sink += tw::bench::ReadThrough(index) +
                        tw::bench::ReadThrough(
                            tw::platform::JoinPath(tw::platform::RemoveFileSpec(index), tw::kDatabaseFileName));
            }
        },
        runs);
    std::printf("databases %u, records %u (floor checksum %llu)\n", databases, records,
                static_cast<unsigned long long>(sink % 1000));
    std::printf("floor: %.0f ms\n", floor * 1000.0);
    std::printf("scan and load: %.0f ms, %.2f times the floor\n", load * 1000.0, load / floor);
    std::printf("load alone: %.0f ms, %.2f times the floor\n", loadAlone * 1000.0, loadAlone / floor);
    std::printf("of which: the search %.0f ms; the floor's listing %.0f ms, its reads %.0f ms\n", search * 1000.0,
                listing * 1000.0, reading * 1000.0);
    return 0;
}
