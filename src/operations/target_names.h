// The names a file operation joins to a target folder come from the media database: a record's file name and,
// when storing by project, its project name. These rules keep every joined path inside the folder it was meant
// for, on every platform alike.
#pragma once

#include <string>

namespace tw {

// True when name is one plain name inside a folder: not empty, not made of dots and spaces only ("." and ".."),
// without a path separator ('/' or '\'), a drive or stream colon or a control character, and not a device name
// of Windows (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, with or without an extension).
[[nodiscard]] bool IsPlainFileName(const std::wstring& name);

// True when name is a plain file name that Windows also accepts as a folder name: none of < > " | ? * and no
// dot or space at its end. The pseudo-project names ("**UNKNOWN**" and the like) are no folder names.
[[nodiscard]] bool IsPlainFolderName(const std::wstring& name);

} // namespace tw
