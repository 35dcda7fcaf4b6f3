// The readers take paths, so each input is written to one scratch file that is reused for every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw::fuzz {

// Writes the input to this process's scratch file and returns its path.
const std::wstring& WriteInput(const uint8_t* data, size_t size);
// Writes a file of fileLength bytes: the input's last tailSize bytes at its end, the others at its start,
// zeros between (a sparse hole where the file system allows). Returns its path.
const std::wstring& WriteInputSpread(const uint8_t* data, size_t size, size_t tailSize, uint64_t fileLength);

} // namespace tw::fuzz
