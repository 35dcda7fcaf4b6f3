// The readers take paths, so each input is written to one scratch file that is reused for every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw::fuzz {

// Writes the input to this process's scratch file and returns its path.
const std::wstring& WriteInput(const uint8_t* data, size_t size);

} // namespace tw::fuzz
