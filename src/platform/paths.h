// Paths: the separator, joining and taking apart, and what a path leads to.
#pragma once

#include <cstddef>
#include <string>

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

// On Windows the path queries here reach the system through the \\?\ form of their paths, as the file
// operations do: names are looked up as written, and paths may be longer than MAX_PATH.

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
