// tarnwick-cli unused --bins PATH... [--] INDEX...: the media of the databases that no bin references. Every bin
// must be read whole before anything is printed, so that a bin that cannot be read never makes used media look
// unused.
#include "catalog/media_catalog.h"
#include "cli/catalog_table.h"
#include "cli/commands.h"
#include "container/qrb_file.h"
#include "discovery/bin_scan.h"
#include "discovery/folder_walk.h"
#include "platform/platform.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tw::cli {

namespace {

constexpr wchar_t kUsage[] = L"usage: tarnwick-cli unused [--format F] --bins PATH... [--] INDEX...";

bool IsBinName(const std::wstring& path) {
    return platform::EqualIgnoringCase(platform::FindExtension(path), L".avb");
}

// The bins below folder at any depth, linked folders included, each folder once. Anything the walk
// would pass over unseen, a folder that cannot be listed or a path too long for the search, is a fault: a bin may be
// there.
std::vector<std::wstring> FindBins(const std::wstring& folder, std::vector<std::wstring>& faults) {
    std::vector<std::wstring> bins;
    FolderSource source;
    source.list = [&faults](const std::wstring& listed, const platform::EntryVisitor& visit) {
        const bool listedWhole = platform::ListFolder(listed, [&](const platform::FolderEntry& entry) {
            const bool folderEntry = (entry.attributes & platform::kAttributeDirectory) != 0;
            if (entry.name != L"." && entry.name != L".." && (folderEntry || IsBinName(entry.name)) &&
                platform::JoinPath(listed, entry.name).size() >= kSearchPathCapacity) {
                faults.push_back(platform::JoinPath(listed, entry.name) + L": the path is too long to search");
            }
            visit(entry);
        });
        if (!listedWhole) {
            faults.push_back(listed + L": the folder cannot be listed");
        }
        return listedWhole;
    };
    // Linked folders are walked like any other, each folder once.
    WalkFolderTree(
        folder,
        [&bins](const platform::FolderEntry& entry, const std::wstring& path) {
            const bool folderEntry = (entry.attributes & platform::kAttributeDirectory) != 0;
            if (!folderEntry && IsBinName(entry.name)) {
                bins.push_back(path);
            }
        },
        nullptr, source);
    return bins;
}

// Reads every reference of the bin; false with the reason when the bin cannot be opened or read to its end.
bool ReadWholeBin(const std::wstring& path, Console& console, ReferencedIds& ids, std::wstring& reason) {
    QRBFile bin(&console);
    if (bin.Open(path, QRBFile::kOpenReadShared) == 0) {
        reason = L"the bin cannot be opened";
        return false;
    }
    ScanBin(bin, ids);
    // The scan ends at the end of the file, or early at a read that fails.
    if (bin.GetPosition() < bin.GetLength()) {
        reason = L"the bin cannot be read to its end";
        return false;
    }
    return true;
}

} // namespace

int UnusedCommand(const Args& given) {
    Args args = given;
    OutputFormat format = OutputFormat::tsv;
    if (!TakeFormatOption(args, format)) {
        return kExitUsage;
    }
    // With "--", every path before it is a bin or a folder of bins; without, the bins end at the first path that
    // is neither a folder nor named as a bin.
    std::vector<std::wstring> binPaths;
    std::vector<std::wstring> indexes;
    const bool separated = std::find(args.begin(), args.end(), L"--") != args.end();
    bool takingBins = false;
    bool takingIndexes = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        if (i == 0 && a == L"--bins") {
            takingBins = true;
        } else if (takingBins && separated && a == L"--") {
            takingBins = false;
            takingIndexes = true;
        } else if (a.empty() || a[0] == L'-' || !(takingBins || takingIndexes)) {
            WriteLine(stderr, kUsage);
            return kExitUsage;
        } else if (takingBins && (separated || platform::IsFolder(a) || IsBinName(a))) {
            binPaths.push_back(a);
        } else {
            takingBins = false;
            takingIndexes = true;
            indexes.push_back(a);
        }
    }
    if (binPaths.empty() || indexes.empty()) {
        WriteLine(stderr, kUsage);
        return kExitUsage;
    }

    StderrConsole console;
    ReferencedIds referenced;
    size_t binsRead = 0;
    bool allRead = true;
    const auto fail = [&allRead](const std::wstring& text) {
        WriteLine(stderr, L"tarnwick-cli unused: " + text);
        allRead = false;
    };
    for (const std::wstring& path : binPaths) {
        std::vector<std::wstring> bins{path};
        if (platform::IsFolder(path)) {
            std::vector<std::wstring> faults;
            bins = FindBins(path, faults);
            for (const std::wstring& fault : faults) {
                fail(fault);
            }
            if (bins.empty() && faults.empty()) {
                fail(path + L": no bins in this folder");
            }
        }
        for (const std::wstring& bin : bins) {
            std::wstring reason;
            if (!ReadWholeBin(bin, console, referenced, reason)) {
                fail(bin + L": " + reason);
                continue;
            }
            ++binsRead;
        }
    }
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
        indexesRead = catalog.LoadDatabase(index, false, nullptr) == 1 && indexesRead;
    }
    // A file the index does not name has no fileMobId, and no bin can reference it.
    uint64_t unusedCount = 0;
    uint64_t unusedBytes = 0;
    {
        TableWriter table(stdout, format, RecordColumns());
        for (const MediaRecord* record : SortedRecords(catalog)) {
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
    WriteLine(stderr, L"Bins read:\t" + std::to_wstring(binsRead));
    WriteLine(stderr, L"Unused files count:\t" + std::to_wstring(unusedCount));
    WriteLine(stderr, L"Unused size\t" + ByteCountText(unusedBytes));
    return indexesRead ? kExitOk : kExitFailed;
}

} // namespace tw::cli
