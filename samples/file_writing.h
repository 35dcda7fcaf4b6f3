// Writing the sample files: whole files of bytes or text, and the folders they go into, with wide paths on every
// platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tw::samples {

using Bytes = std::vector<uint8_t>;

// Writes (replaces) a file; false when it cannot be written.
bool WriteFile(const std::wstring& path, const Bytes& bytes);
bool WriteFile(const std::wstring& path, const std::string& text);
// Creates a folder and its missing parents; true when it exists afterwards.
bool MakeFolders(const std::wstring& path);

} // namespace tw::samples
