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

// True when path names a media folder itself ("OMFI MediaFiles" or "AVID MediaFiles", in any letter case).
bool IsMediaFolder(const std::wstring& path) {
    const std::wstring bare = platform::RemoveTrailingSeparator(path);
    const std::wstring name = bare.substr(platform::FileNameStart(bare));
    for (const wchar_t* folder : kMediaFolders) {
        if (platform::EqualIgnoringCase(name, folder)) {
            return true;
        }
    }
    return false;
}

} // namespace

int ScanCommand(const CommandLine& line) {
    const bool given = !line.operands.empty();
    const std::vector<std::wstring> roots = given ? line.operands : ReadDriveList(platform::DriveStrings);
    DatabaseList list;
    DatabaseSearch search(list, nullptr);
    int status = kExitOk;
    for (const std::wstring& root : roots) {
        if (given && !platform::IsFolder(root)) {
            WriteLine(stderr, L"tarnwick-cli scan: " + root +
                                  (platform::PathExists(root) ? L": not a folder" : L": no such folder"));
            status = kExitFailed;
            continue;
        }
        const size_t before = list.Entries().size();
        bool searched = false;
        if (IsMediaFolder(root)) {
            search.SearchFolder(root);
            searched = true;
        } else {
            for (const wchar_t* folder : kMediaFolders) {
                platform::FindEntriesIgnoringCase(root, folder, [&searched](const platform::FolderEntry& e) {
                    searched = searched || (e.attributes & platform::kAttributeDirectory) != 0;
                });
            }
            search.SearchDrive(root);
        }
        if (given && !searched) {
            WriteLine(stderr, L"tarnwick-cli scan: " + root + L": no media folder (\"OMFI MediaFiles\" or \"AVID " +
                                  L"MediaFiles\") here");
        } else if (given && list.Entries().size() == before) {
            WriteLine(stderr, L"tarnwick-cli scan: " + root + L": no media file index in its media folders");
        }
    }
    std::vector<std::wstring> paths;
    for (const auto& entry : list.Entries()) {
        paths.push_back(entry.second);
    }
    std::sort(paths.begin(), paths.end(), TextLess);
    for (const std::wstring& path : paths) {
        WriteLine(stdout, path);
    }
    return status;
}

} // namespace tw::cli
