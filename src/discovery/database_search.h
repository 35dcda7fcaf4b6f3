// The search for media databases: the drive list, the two media folders at each drive root, and every
// msmFMID.pmr below them at any depth.
#pragma once

#include "catalog/media_files.h"
#include "discovery/database_list.h"
#include "seams/progress.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tw {

// The media folders searched at each drive root; the file system matches these names as it matches names.
inline constexpr const wchar_t* kMediaFolders[] = {L"OMFI MediaFiles", L"AVID MediaFiles"};

// Reads the drive list through a function with the contract of GetLogicalDriveStringsW: first into a
// buffer of 260 units, then, while the report grows, into a buffer of the reported length.
using DriveStringsFunction = std::function<uint32_t(uint32_t bufferLength, wchar_t* buffer)>;
[[nodiscard]] std::vector<std::wstring> ReadDriveList(const DriveStringsFunction& getDriveStrings);

class DatabaseSearch {
public:
    // progress may be null; when given, its caption shows each found index and each entered folder.
    DatabaseSearch(DatabaseList& list, Progress* progress) : list(list), progress(progress) {}

    // Adds every msmFMID.pmr found anywhere below path (the walk of folder_walk.h: no links into folders, no
    // full path of more than 1,023 characters). A folder that cannot be listed adds nothing.
    void SearchFolder(const std::wstring& path);
    // Searches the two media folders of one drive root, found in any letter case.
    void SearchDrive(const std::wstring& root);

private:
    DatabaseList& list;
    Progress* progress;
};

} // namespace tw
