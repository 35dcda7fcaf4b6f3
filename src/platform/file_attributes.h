// The attribute bits of files and folders, as Windows gives them and POSIX systems synthesise them.
#pragma once

#include <cstdint>

namespace tw::platform {

// Attribute bits of folder entries (the Windows FILE_ATTRIBUTE_ values).
inline constexpr uint32_t kAttributeReadOnly = 0x1;
inline constexpr uint32_t kAttributeDirectory = 0x10;
inline constexpr uint32_t kAttributeNormal = 0x80;
// A symbolic link or junction (FILE_ATTRIBUTE_REPARSE_POINT).
inline constexpr uint32_t kAttributeReparsePoint = 0x400;

} // namespace tw::platform
