// The one interface between the portable core and the operating system.
// Every service here has a Win32 backend (win32/) and a POSIX backend (posix/) with the same observable behaviour.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tw::platform {

// Read-only file opened so that other processes may keep reading and writing it.
// Positions are absolute 64-bit offsets from the start of the file.
class ReadOnlyFile {
public:
    ReadOnlyFile();
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Opens an existing file. On failure returns false and fills errorCode and errorText
    // (the platform's own description of the cause).
    [[nodiscard]] bool Open(const std::wstring& path, uint32_t& errorCode, std::wstring& errorText);
    void Close();
    [[nodiscard]] bool IsOpen() const;

    // The file's current length; 0 when no file is open.
    [[nodiscard]] uint64_t Length() const;
    // Sets the position to an absolute offset; returns the position the platform reports afterwards.
    uint64_t SeekAbsolute(uint64_t offset);
    // Reads up to count bytes at the current position; returns the number of bytes read (0 on failure).
    [[nodiscard]] uint32_t Read(void* destination, uint32_t count);
    [[nodiscard]] uint64_t Position() const;
    // The full path of the open file as given at open time, made absolute as MakeFullPath makes it (on Windows
    // without the \\?\ prefix it was opened through); empty when closed.
    [[nodiscard]] const std::wstring& FullPath() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

// Converts 8-bit text in the system's ANSI code page to wide text (Windows-1252 on POSIX systems).
// Stops at the first zero byte or after length bytes, whichever comes first.
[[nodiscard]] std::wstring AnsiToWide(const char* text, size_t length);
// The same into out, whose storage is reused: for readers that convert one text after another.
void AnsiToWide(const char* text, size_t length, std::wstring& out);

// The platform's order of text without regard to letter case, as the tree and list controls sort
// (CompareStringW with NORM_IGNORECASE; elsewhere the same order from the platform's own weights): below 0,
// 0 or above 0 as a sorts before, with or after b. "Clip1" sorts before "Clip-9", "A_2" before "A1",
// "\u00C9mission" before "Film", and "\u00E9" equals "\u00C9".
[[nodiscard]] int CompareTextIgnoringCase(std::wstring_view a, std::wstring_view b);
// True when the two compare equal in that order.
[[nodiscard]] inline bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return CompareTextIgnoringCase(a, b) == 0;
}

// Wide text to UTF-8 (for file names crossing the POSIX boundary and for terminal output).
[[nodiscard]] std::string WideToUtf8(const std::wstring& text);
// The same, appended to out.
void AppendAsUtf8(std::wstring_view text, std::string& out);
// UTF-8 to wide text; invalid sequences become U+FFFD.
[[nodiscard]] std::wstring Utf8ToWide(const std::string& text);

} // namespace tw::platform

namespace tw::platform {

// The separator of path components: '\\' on Windows, '/' elsewhere.
#ifdef _WIN32
inline constexpr wchar_t kPathSeparator = L'\\';
#else
inline constexpr wchar_t kPathSeparator = L'/';
#endif

// Where the last component of a path starts (the rule of PathFindFileNameW): after the last separator,
// except that a trailing separator belongs to the last component. 0 when there is no folder part.
[[nodiscard]] size_t FileNameStart(const std::wstring& path);
// Joins folder and name with exactly one separator between them (the rule of PathAppendW).
[[nodiscard]] std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

} // namespace tw::platform

namespace tw::platform {

// Attribute bits of folder entries (the Windows FILE_ATTRIBUTE_ values).
inline constexpr uint32_t kAttributeReadOnly = 0x1;
inline constexpr uint32_t kAttributeDirectory = 0x10;
inline constexpr uint32_t kAttributeNormal = 0x80;
// A symbolic link or junction (FILE_ATTRIBUTE_REPARSE_POINT).
inline constexpr uint32_t kAttributeReparsePoint = 0x400;

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

// On Windows the folder functions and path queries below reach the system through the \\?\ form of their
// paths, as the file operations do: names are looked up as written, and paths may be longer than MAX_PATH.

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

// Path helpers with the rules of the shell's Path*W functions.
// The folder part of a path without its trailing separator (PathRemoveFileSpecW); a root stays a root.
[[nodiscard]] std::wstring RemoveFileSpec(const std::wstring& path);
// The extension of the last component, from its last dot, or empty (PathFindExtensionW).
[[nodiscard]] std::wstring FindExtension(const std::wstring& path);
// The full path of a path: a relative path is taken from the current folder (GetFullPathNameW), and "." and ".."
// components are taken out lexically; every other name stays as written, trailing dots and spaces included. The
// path itself when it cannot be made full.
[[nodiscard]] std::wstring MakeFullPath(const std::wstring& path);
// True when the path is relative (PathIsRelativeW).
[[nodiscard]] bool IsRelativePath(const std::wstring& path);
// The path without one trailing separator, unless it is a root (PathRemoveBackslashW).
[[nodiscard]] std::wstring RemoveTrailingSeparator(const std::wstring& path);
// True when both paths lie on the same drive or share (PathIsSameRootW); on POSIX, on the same device.
[[nodiscard]] bool IsSameRoot(const std::wstring& a, const std::wstring& b);
// True when something exists at the path (PathFileExistsW).
[[nodiscard]] bool PathExists(const std::wstring& path);
// True when the path names a folder (PathIsDirectoryW).
[[nodiscard]] bool IsFolder(const std::wstring& path);

} // namespace tw::platform

namespace tw::platform {

// The platform's byte-size text (StrFormatByteSizeW): "0 bytes", "1023 bytes", "1.17 MB", "117 GB".
// Three significant digits, truncated, with the units KB, MB, GB, TB, PB and EB of 1024.
[[nodiscard]] std::wstring FormatByteSize(uint64_t bytes);

// The system's message text for an error code (FormatMessageW on Windows, strerror elsewhere), as the
// platform delivers it; empty when the system has none.
[[nodiscard]] std::wstring SystemErrorText(uint32_t code);

// True when the standard stream numbered stream (0 input, 1 output, 2 errors) is a terminal that a person
// reads and types at: a console on Windows (never the NUL device or another character device, which the C
// runtime's _isatty also takes for one), a tty elsewhere.
[[nodiscard]] bool IsTerminal(int stream);
// Where the C runtime writes a standard stream in text mode, turning each line feed into CR LF itself and
// handing the file its bytes in pieces of about 2 KB (Windows), puts stream (1 output, 2 errors) in binary
// mode and returns true: the caller then writes each line feed as CR LF itself. False where a line ends in a
// line feed and nothing is translated. Called before anything is written to the stream.
[[nodiscard]] bool TakeOverLineEnds(int stream);

// Milliseconds of a monotonic process clock (GetTickCount64).
[[nodiscard]] uint64_t TickCountMs();

// A FILETIME converted to the local time zone.
struct LocalTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};
[[nodiscard]] bool FileTimeToLocal(uint64_t fileTime, LocalTime& local);

} // namespace tw::platform

namespace tw::platform {

// The drive list in the form of GetLogicalDriveStringsW: drive roots ("C:\", or on POSIX systems the mount
// points of real file systems, "/" first, each ending with a separator), each followed by a zero, the list
// ended by one more zero. With a buffer of bufferLength units (terminators included) that is large enough,
// fills it and returns the length without the final zero; otherwise returns the length needed, terminators
// included, and writes nothing. Returns 0 on failure.
uint32_t DriveStrings(uint32_t bufferLength, wchar_t* buffer);

// Drive types (the DRIVE_ values of GetDriveTypeW).
inline constexpr uint32_t kDriveUnknown = 0;
inline constexpr uint32_t kDriveNoRootDir = 1;
inline constexpr uint32_t kDriveRemovable = 2;
inline constexpr uint32_t kDriveFixed = 3;
inline constexpr uint32_t kDriveRemote = 4;
inline constexpr uint32_t kDriveOptical = 5;
inline constexpr uint32_t kDriveRamDisk = 6;

// The type of the drive at a root of the drive list (GetDriveTypeW). On POSIX systems from the mount table:
// network file systems are remote, iso9660 and udf optical, tmpfs and ramfs RAM disks, file systems on a
// device the system marks removable removable, others fixed; a path where nothing is mounted has no root.
[[nodiscard]] uint32_t DriveType(const std::wstring& root);
// The drive's size and its free bytes, the free space of the whole drive and not only what the caller may
// use (GetDiskFreeSpaceExW; statvfs on POSIX systems). False when the drive does not answer (no medium, no
// such drive); the outputs are then unchanged.
[[nodiscard]] bool DriveSpace(const std::wstring& root, uint64_t& totalBytes, uint64_t& totalFreeBytes);
// The drive's volume label (GetVolumeInformationW into 260 units: at most 259 characters). On POSIX systems the label
// the system gives the mounted device, or empty. False when the drive does not answer; the label is then unchanged.
[[nodiscard]] bool VolumeLabel(const std::wstring& root, std::wstring& label);

} // namespace tw::platform

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
