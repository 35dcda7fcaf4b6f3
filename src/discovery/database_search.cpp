#include "discovery/database_search.h"

#include "discovery/folder_walk.h"
#include "platform/platform.h"

#include <vector>

namespace tw {

std::vector<std::wstring> ReadDriveList(const DriveStringsFunction& getDriveStrings) {
    std::vector<wchar_t> buffer(261, L'\0');
    uint32_t announced = 260;
    uint32_t reported = getDriveStrings(announced, buffer.data());
    // The list may grow between calls (a drive mounted meanwhile): ask again while the report grows.
    while (reported > announced) {
        buffer.assign(static_cast<size_t>(reported) + 1, L'\0');
        announced = reported;
        reported = getDriveStrings(announced, buffer.data());
    }
    std::vector<std::wstring> drives;
    const size_t end = std::min<size_t>(reported, buffer.size() - 1);
    size_t i = 0;
    while (i < end && buffer[i] != L'\0') {
        std::wstring root;
        while (i < end && buffer[i] != L'\0') {
            root += buffer[i++];
        }
        drives.push_back(root);
        ++i; // the terminator of this root
    }
    return drives;
}

void DatabaseSearch::SearchFolder(const std::wstring& path) {
    // The search needs names and kinds only: a media folder of a hundred thousand files is not looked up
    // file by file.
    FolderSource kindsOnly;
    kindsOnly.list = platform::ListFolderKinds;
    WalkFolderTree(
        path,
        [&](const platform::FolderEntry& e, const std::wstring& full) {
            // The exact name: the test is case-sensitive.
            if (e.name == kIndexFileName) {
                if (progress != nullptr) {
                    progress->SetCaption(full);
                }
                list.AddNew(full);
            }
        },
        [&](const std::wstring& folder) {
            if (progress != nullptr) {
                progress->SetCaption(folder);
            }
        },
        kindsOnly);
}

void DatabaseSearch::SearchDrive(const std::wstring& root) {
    for (const wchar_t* folder : kMediaFolders) {
        std::vector<platform::FolderEntry> found;
        platform::FindEntriesIgnoringCase(root, folder, [&](const platform::FolderEntry& e) { found.push_back(e); });
        for (const platform::FolderEntry& e : found) {
            if ((e.attributes & platform::kAttributeDirectory) != 0) {
                SearchFolder(platform::JoinPath(root, e.name));
            }
        }
    }
}

} // namespace tw
