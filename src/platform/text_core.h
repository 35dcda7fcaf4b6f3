// The part of the 8-bit text conversion each backend does its own way. Internal to the platform layer.
#pragma once

#include <cstddef>
#include <string>

namespace tw::platform::detail {

// Converts length bytes (no zero byte among them, at least one of 0x80 or above) from the system's ANSI code
// page into out, which is empty.
void CodePageToWide(const char* text, size_t length, std::wstring& out);

} // namespace tw::platform::detail
