// tarnwick-cli scan [ROOT...]: every media file index in the media folders of the given roots (or of
// every drive), one path per line, in the order the database tree shows them.
#include "cli/commands.h"
#include "discovery/database_search.h"
#include "platform/platform.h"

#include <algorithm>

namespace tw::cli {

namespace {

// The tree lists its items in the platform's text order without regard to letter case; paths that order
// alike keep a fixed order between them.
bool TextLess(const std::wstring& a, const std::wstring& b) {
    const int order = platform::CompareTextIgnoringCase(a, b);
    return order != 0 ? order < 0 : a < b;
}

} // namespace

int ScanCommand(const Args& args) {
    std::vector<std::wstring> roots = args;
    for (const std::wstring& root : roots) {
        if (!root.empty() && root[0] == L'-') {
            WriteLine(stderr, L"usage: tarnwick-cli scan [ROOT...]");
            return kExitUsage;
        }
    }
    if (roots.empty()) {
        roots = ReadDriveList(platform::DriveStrings);
    }
    DatabaseList list;
    DatabaseSearch search(list, nullptr);
    for (const std::wstring& root : roots) {
        search.SearchDrive(root);
    }
    std::vector<std::wstring> paths;
    for (const auto& entry : list.Entries()) {
        paths.push_back(entry.second);
    }
    std::sort(paths.begin(), paths.end(), TextLess);
    for (const std::wstring& path : paths) {
        WriteLine(stdout, path);
    }
    return kExitOk;
}

} // namespace tw::cli
