// Saving a whole file so that what was there is never lost: the bytes go to a temporary file beside the target,
// which is flushed to the disk and only then renamed over the target in one step.
#pragma once

#include "operations/file_system.h"

#include <cstdint>
#include <string>

namespace tw {

// The temporary file of a save: the target's name with ".tarnwick-partial" at the end, as a copy in progress is
// named.
[[nodiscard]] std::wstring PartialFileOf(const std::wstring& path);

// Writes bytes to path, replacing a file that is there only once they are all on the disk; a read-only file there is
// refused with the system's access-denied code, on every system. 0 on success; otherwise the system's error code of
// the step that failed, the target is as it was and the temporary file is removed. files reads attributes, renames,
// flushes and removes (tests make those steps fail).
[[nodiscard]] uint32_t WriteFileReplacing(const std::wstring& path, const std::string& bytes, FileSystem& files);

} // namespace tw
