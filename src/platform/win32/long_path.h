// The \\?\ form of paths, which the system hands to the file system as written: no trailing dots or spaces taken
// off a name, no limit of MAX_PATH characters. Internal to the Win32 backend.
#pragma once

#include <string>

namespace tw::platform::detail {

// The \\?\ form of a path, which reaches exactly the file the path names: \\?\C:\... for a drive path,
// \\?\UNC\server\share\... for a UNC path, a \\?\ path as it is. '/' becomes '\'; a relative path is made full
// from the current folder (only that folder is asked of the system), and "." and ".." components are taken out by
// name. Every other component is kept as written, trailing dots and spaces included. Empty when the path has no
// such form (an empty path, a device path, a server without a share): the caller then fails with
// kUnreachableName and touches nothing.
[[nodiscard]] std::wstring LongPath(const std::wstring& path);

// A \\?\ drive or UNC path in its usual spelling (C:\..., \\server\share\...); any other path as it is.
[[nodiscard]] std::wstring WithoutLongPrefix(const std::wstring& path);

// The system's code for a path without a \\?\ form (ERROR_INVALID_NAME).
inline constexpr unsigned long kUnreachableName = 123;

} // namespace tw::platform::detail
