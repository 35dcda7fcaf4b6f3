// tarnwick-cli unused --bins PATH... [--] INDEX...: the media of the databases that no bin references. Every bin
// must be read whole before anything is printed, so that a bin that cannot be read never makes used media look
// unused.
#include "catalog/media_catalog.h"
#include "cli/bin_walk.h"
#include "cli/catalog_table.h"
#include "cli/commands.h"
#include "platform/platform.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tw::cli {

int UnusedCommand(const CommandLine& line) {
    const OutputFormat format = line.format;
    // With "--", every path before it is a bin or a folder of bins; without, the bins end at the first path that
    // is neither a folder nor named as a bin.
    std::vector<std::wstring> binPaths;
    std::vector<std::wstring> indexes = line.operands;
    bool takingBins = true;
    for (const std::wstring& a : line.Values(L"--bins")) {
        takingBins = takingBins && (line.separated || platform::IsFolder(a) || IsBinName(a));
        (takingBins ? binPaths : indexes).push_back(a);
    }
    if (binPaths.empty() || indexes.empty()) {
        return kExitUsage;
    }

    StderrConsole console;
    ReferencedIds referenced;
    std::vector<std::wstring> binsRead;
    const bool allRead = ReadBins(L"unused", binPaths, console, referenced, binsRead);
    if (!allRead) {
        WriteLine(stderr, L"tarnwick-cli unused: nothing is listed while a bin is not read");
        return kExitFailed;
    }

    BentoContainer container(&console);
    MediaCatalog catalog(&console);
    catalog.SetContainer(&container);
    catalog.Clear();
    bool indexesRead = true;
    for (const std::wstring& index : indexes) {
        indexesRead = IsIndexPath(L"unused", index) && catalog.LoadDatabase(index, false, nullptr) == 1 && indexesRead;
    }
    const ProjectFilter filter(line.Values(L"--project"));
    // A file the index does not name has no fileMobId, and no bin can reference it.
    uint64_t unusedCount = 0;
    uint64_t unusedBytes = 0;
    const std::vector<const MediaRecord*> records = SortedRecords(catalog);
    filter.NameUnknown(L"unused", records);
    {
        TableWriter table(stdout, format, RecordColumns());
        for (const MediaRecord* record : records) {
            if (!filter.Accepts(*record)) {
                continue;
            }
            const auto low = static_cast<uint32_t>(record->fileMobId & 0xFFFFFFFFu);
            const auto high = static_cast<uint32_t>(record->fileMobId >> 32);
            if (record->fileMobId != 0 && referenced.count({low, high}) != 0) {
                continue;
            }
            table.Row(RecordCells(*record));
            ++unusedCount;
            unusedBytes += record->size;
        }
    }
    WriteLine(stderr, L"Bins read:\t" + std::to_wstring(binsRead.size()));
    WriteLine(stderr, L"Unused files count:\t" + std::to_wstring(unusedCount));
    WriteLine(stderr, L"Unused size\t" + ByteCountText(unusedBytes));
    return indexesRead ? kExitOk : kExitFailed;
}

} // namespace tw::cli
