// The walk of the recursive folder searches (the databases below a media folder, the media files of a dropped
// folder): every entry at every depth, entered depth first in the order the system lists them, without ever
// walking into the same folder twice.
#pragma once

#include "platform/platform.h"

#include <cstddef>
#include <functional>
#include <string>

namespace tw {

// The characters a full path found by a folder search may take, terminator included.
inline constexpr size_t kSearchPathCapacity = 1024;

// What the walk asks of the file system: by default the platform's listing and folder ids.
struct FolderSource {
    std::function<bool(const std::wstring& folder, const platform::EntryVisitor& visit)> list = platform::ListFolder;
    std::function<bool(const std::wstring& path, platform::FolderId& id)> folderId = platform::GetFolderId;
};

// Calls onEntry(entry, fullPath) for every entry below folder except "." and "..", at every depth, and
// onEnter(fullPath) (may be empty) before walking into a subfolder. Passed over entirely: entries whose full
// path does not fit kSearchPathCapacity. Folders reached through symbolic links, junctions and mount points are
// walked like any other, wherever they lead, but every folder is walked into at most once in the whole walk: by its
// folder id where the file system gives one (a tree that links back into itself is walked once, two links into one
// folder cost one visit), else by its full path. A folder that cannot be listed yields nothing.
void WalkFolderTree(
    const std::wstring& folder,
    const std::function<void(const platform::FolderEntry& entry, const std::wstring& fullPath)>& onEntry,
    const std::function<void(const std::wstring& fullPath)>& onEnter, const FolderSource& source = FolderSource());

} // namespace tw
