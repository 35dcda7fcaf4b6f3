// Text: 8-bit and UTF-8 text to wide text and back, the platform's order of text, byte-size texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw::platform {

// Converts 8-bit text in the system's ANSI code page to wide text (Windows-1252 on POSIX systems).
// Stops at the first zero byte or after length bytes, whichever comes first.
[[nodiscard]] std::wstring AnsiToWide(const char* text, size_t length);
// The same into out, whose storage is reused: for readers that convert one text after another.
void AnsiToWide(const char* text, size_t length, std::wstring& out);

// The platform's order of text without regard to letter case, as the tree and list controls sort
// (CompareStringW with NORM_IGNORECASE; elsewhere the same order from the platform's own weights): below 0,
// 0 or above 0 as a sorts before, with or after b. "Clip1" sorts before "Clip-9", "A_2" before "A1",
// "\u00C9mission" before "Film", and "\u00E9" equals "\u00C9".
[[nodiscard]] int CompareTextIgnoringCase(std::wstring_view a, std::wstring_view b);
// True when the two compare equal in that order.
[[nodiscard]] inline bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return CompareTextIgnoringCase(a, b) == 0;
}

// Wide text to UTF-8 (for file names crossing the POSIX boundary and for terminal output).
[[nodiscard]] std::string WideToUtf8(const std::wstring& text);
// The same, appended to out.
void AppendAsUtf8(std::wstring_view text, std::string& out);
// UTF-8 to wide text; invalid sequences become U+FFFD.
[[nodiscard]] std::wstring Utf8ToWide(const std::string& text);

// The platform's byte-size text (StrFormatByteSizeW): "0 bytes", "1023 bytes", "1.17 MB", "117 GB".
// Three significant digits, truncated, with the units KB, MB, GB, TB, PB and EB of 1024.
[[nodiscard]] std::wstring FormatByteSize(uint64_t bytes);

} // namespace tw::platform
