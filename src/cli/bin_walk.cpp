#include "cli/bin_walk.h"

#include "cli/cli_output.h"
#include "container/qrb_file.h"
#include "discovery/bin_scan.h"
#include "discovery/folder_walk.h"
#include "platform/platform.h"

namespace tw::cli {

namespace {

// The bins below folder at any depth, linked folders included, each folder once. Anything the walk would pass over
// unseen, a folder that cannot be listed or a path too long for the search, is a fault: a bin may be there.
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
    WalkFolderTree(
        folder,
        [&bins](const platform::FolderEntry& entry, const std::wstring& path) {
            if ((entry.attributes & platform::kAttributeDirectory) == 0 && IsBinName(entry.name)) {
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

bool IsBinName(const std::wstring& path) {
    return platform::EqualIgnoringCase(platform::FindExtension(path), L".avb");
}

bool ReadBins(const std::wstring& command, const std::vector<std::wstring>& paths, Console& console,
              ReferencedIds& referenced, std::vector<std::wstring>& binsRead) {
    bool allRead = true;
    const auto fail = [&](const std::wstring& text) {
        WriteLine(stderr, L"tarnwick-cli " + command + L": " + text);
        allRead = false;
    };
    for (const std::wstring& path : paths) {
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
            binsRead.push_back(bin);
        }
    }
    return allRead;
}

} // namespace tw::cli
