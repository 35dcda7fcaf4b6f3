// The bins of commands that must not act on a bin they could not read (unused, report): bins given as files, and the
// bins below given folders.
#pragma once

#include "catalog/media_catalog.h"
#include "seams/console.h"

#include <string>
#include <vector>

namespace tw::cli {

// True when the path's extension is ".avb", in any letter case.
[[nodiscard]] bool IsBinName(const std::wstring& path);

// Reads each bin of paths, and each bin below a folder of paths at any depth (linked folders included, each folder
// once), to its end into referenced, and lists the bins read in binsRead. Whatever is not read is named on stderr
// after "tarnwick-cli COMMAND: ": a bin that cannot be opened or read to its end, a folder that cannot be listed, a
// path too long to search, a folder with no bins. False when anything was not read: a bin not read would make used
// media look unused. The bins' reader writes its own lines to console.
[[nodiscard]] bool ReadBins(const std::wstring& command, const std::vector<std::wstring>& paths, Console& console,
                            ReferencedIds& referenced, std::vector<std::wstring>& binsRead);

} // namespace tw::cli
