// The file operations of the copy, move, delete and store runs, and what tells one file from another.
#pragma once

#include "platform/file_attributes.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tw::platform {

// File operations of the copy, move, delete and store runs. Each answers 0 on success or the system's error
// code (GetLastError on Windows, errno elsewhere, except where a code is named below).
// Each acts on exactly the file its path spells: on Windows the path reaches the system in its \\?\ form, so
// that no trailing dot or space is taken off a name and paths may be longer than MAX_PATH; a path without that
// form fails with ERROR_INVALID_NAME (123) and nothing is touched.

// The system's code for a copy stopped through its cancel flag (ERROR_REQUEST_ABORTED).
inline constexpr uint32_t kErrorRequestAborted = 1235;
// What ReadAttributes answers when a path has no attributes (INVALID_FILE_ATTRIBUTES).
inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;

// A copy's cancel flag, laid out as a Win32 BOOL: 0 lets the copy run, anything else stops it.
using CancelFlag = int32_t;
// Told, while a copy runs, how many bytes of the file are copied so far and how large the file is.
using CopyProgressRoutine = std::function<void(uint64_t copied, uint64_t size)>;

// What a copy answers when it reported success but the target does not hold the source's bytes
// (ERROR_WRITE_FAULT on Windows, EIO elsewhere).
#ifdef _WIN32
inline constexpr uint32_t kErrorCopyIncomplete = 29;
#else
inline constexpr uint32_t kErrorCopyIncomplete = 5;
#endif

// Copies source to target, replacing an existing target (CopyFileExW without flags). routine (may be empty)
// is told the progress; cancel (may be null) is looked at before and during the copy: once it is non-zero
// the copy fails with kErrorRequestAborted. The last report of a finished copy is (size, size). A copy that
// fails leaves no target it wrote: a target it created or emptied is removed, one it could not open stays as
// it was. A copy of a file onto itself, under whatever spelling, fails and changes nothing. (Wine's system
// copy looks at the cancel flag only before it starts: under Wine a copy that has started runs to its end.)
[[nodiscard]] uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                            const CopyProgressRoutine& routine, CancelFlag* cancel);
// Renames source to target on the same volume, replacing an existing target, and answers once the new name is
// on the disk (MoveFileExW with MOVEFILE_REPLACE_EXISTING and MOVEFILE_WRITE_THROUGH; rename and fsync of the
// target's folder on POSIX systems, where a failed flush is answered with its code after the name has changed).
[[nodiscard]] uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target);
// Deletes one file (DeleteFileW). A file with the read-only attribute is refused with the system's
// access-denied code (on POSIX systems EACCES, for a file whose owner may not write), as Windows refuses it.
[[nodiscard]] uint32_t RemoveFile(const std::wstring& path);
// Writes whatever the system still holds of a file's data to the disk (FlushFileBuffers; fsync of the file and
// of its folder on POSIX systems), so that a move may delete the source after a copy.
[[nodiscard]] uint32_t FlushFile(const std::wstring& path);

// What tells one file from another on the running system: the volume serial number and file index of
// GetFileInformationByHandle on Windows, st_dev and st_ino elsewhere; and the file's size in bytes.
struct FileIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;
    uint64_t size = 0;
};
// Reads the identity of the file or folder at path; false when there is none or it cannot be opened. Works on
// files that others hold open without sharing.
[[nodiscard]] bool QueryFileIdentity(const std::wstring& path, FileIdentity& identity);
// True when both paths exist and name the very same file (another spelling of the path, a link, a short name).
[[nodiscard]] inline bool IsSameFile(const std::wstring& a, const std::wstring& b) {
    FileIdentity x;
    FileIdentity y;
    return QueryFileIdentity(a, x) && QueryFileIdentity(b, y) && x.volume == y.volume && x.index == y.index;
}
// The attribute bits of a path (GetFileAttributesW; synthesised on POSIX systems as in FolderEntry), or
// kInvalidAttributes when the path cannot be read.
[[nodiscard]] uint32_t ReadAttributes(const std::wstring& path);
// Sets the attribute bits of a path (SetFileAttributesW). On POSIX systems only the read-only bit counts:
// it removes or restores the owner's write permission.
[[nodiscard]] uint32_t WriteAttributes(const std::wstring& path, uint32_t attributes);

// Results of CreateFolderWithParents, the codes of SHCreateDirectoryExW.
inline constexpr uint32_t kFolderPathNotFound = 3;
inline constexpr uint32_t kFolderFileExists = 80;
inline constexpr uint32_t kFolderBadPathName = 161;
inline constexpr uint32_t kFolderAlreadyExists = 183;
inline constexpr uint32_t kFolderNameTooLong = 206;
inline constexpr uint32_t kFolderCancelled = 1223;
// Creates a folder and every missing parent (SHCreateDirectoryExW without owner). A relative path gives
// kFolderBadPathName, an existing folder or file kFolderAlreadyExists, a file in a parent's place
// kFolderPathNotFound. On Windows the shell makes the paths it takes (up to 247 characters, no name ending in a
// dot or a space); longer paths and such names are made one CreateDirectoryW after another on the \\?\ form, with
// the same codes.
[[nodiscard]] uint32_t CreateFolderWithParents(const std::wstring& path);

} // namespace tw::platform
