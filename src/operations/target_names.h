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

namespace tw {

// The ending of the name under which a copy is written in its target folder until it is complete and on the disk:
// a file so named is a copy cut short (by a crash or a power cut), never a whole media file. No media file's name
// ends so, and no rule that lists media files by their endings takes it for one.
inline constexpr wchar_t kPartialCopyEnding[] = L".tarnwick-partial";

// The name of the partial copy of name: name with kPartialCopyEnding, and before it ".2", ".3" and so on for
// attempt 2, 3 and on (attempt 1 has none); the part taken from name is shortened so that the whole stays within
// 255 characters.
[[nodiscard]] std::wstring PartialCopyName(const std::wstring& name, int attempt);

} // namespace tw
