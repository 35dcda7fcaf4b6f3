// For the targets whose reader also asks the file system about the file (its directory entry): each input is
// written to one scratch file on disk, reused for every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw::fuzz {

// Writes the input to this process's scratch file and returns its path.
const std::wstring& WriteInputToDisk(const uint8_t* data, size_t size);

} // namespace tw::fuzz
