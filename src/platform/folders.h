// Folders: listing one folder, one path's own entry, which folder a path leads to.
#pragma once

#include "platform/file_attributes.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tw::platform {

// On Windows the folder functions here reach the system through the \\?\ form of their paths, as the file
// operations do: names are looked up as written, and paths may be longer than MAX_PATH.

// One entry of a folder listing. On POSIX systems the attribute bits are synthesised (0x10 for a folder,
// 0x1 when the owner may not write, 0x400 for a symbolic link, 0x80 when none of these applies) and the
// creation time is the birth time, or the modification time where the file system keeps no birth time; both as
// a FILETIME. Size, time and the folder bit of a symbolic link are those of its target.
struct FolderEntry {
    std::wstring name;
    uint32_t attributes = 0;
    uint64_t creationTime = 0; // FILETIME: 100 ns intervals since 1601-01-01 UTC
    uint64_t size = 0;
};

using EntryVisitor = std::function<void(const FolderEntry&)>;

// Lists one folder, not recursively: every name, "." and ".." included, in the order the system gives.
// Calls visit for each entry; returns false (calling nothing) when the folder cannot be listed.
bool ListFolder(const std::wstring& folder, const EntryVisitor& visit);
// The same listing for a search that needs only each entry's kind: the attributes tell folder, link
// (reparse point) or file, and may leave out the rest (read-only), and size and creation time may be 0. Where
// the system's listing tells the kinds itself, no entry is looked up one by one.
bool ListFolderKinds(const std::wstring& folder, const EntryVisitor& visit);

// A path's own directory entry (FindFirstFileW on the path itself): the entry whose long or short name is the
// path's last component, never another one the lookup may also match. False when there is none.
[[nodiscard]] bool GetEntry(const std::wstring& path, FolderEntry& entry);
// Which folder a path leads to, links followed: the volume and the folder's number on it (the file index of
// GetFileInformationByHandle; device and inode on POSIX systems). Two paths that reach one folder, through a
// link or not, give equal ids.
struct FolderId {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FolderId& other) const { return volume == other.volume && index == other.index; }
};
// False when the path cannot be opened, or when the file system gives its folders no numbers.
[[nodiscard]] bool GetFolderId(const std::wstring& path, FolderId& id);
// The entries of folder whose names equal name without regard to letter case, as Windows file systems match
// names (the folder's listing, compared name by name, on either system).
// Returns whether any entry was found.
bool FindEntriesIgnoringCase(const std::wstring& folder, const std::wstring& name, const EntryVisitor& visit);

} // namespace tw::platform
