// The readers take paths: each input becomes a memory-backed file (platform/memory_files.h), so that the
// readers take its bytes from memory instead of a file written and read back for every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw::fuzz {

// Puts the input at the scratch path and returns the path.
const std::wstring& WriteInput(const uint8_t* data, size_t size);
// Puts a file of fileLength bytes at the scratch path: the input's last tailSize bytes at its end, the
// others at its start, a hole of zeros between that takes no memory. Returns its path.
const std::wstring& WriteInputSpread(const uint8_t* data, size_t size, size_t tailSize, uint64_t fileLength);

} // namespace tw::fuzz
