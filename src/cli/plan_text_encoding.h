// The encodings a plan's text may come in: UTF-8, checked, and UTF-16 with a byte order mark, made UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw::cli {

// Appends one code point (at most U+10FFFF) to out as UTF-8.
void AppendCodePoint(uint32_t code, std::string& out);
// UTF-16 text after its byte order mark (text starts with the mark), as UTF-8; a lone surrogate becomes U+FFFD.
[[nodiscard]] std::string Utf16ToUtf8(const std::string& text, bool bigEndian);
// Where text stops being UTF-8 (overlong forms, surrogates and values past U+10FFFF included), or npos.
[[nodiscard]] size_t FirstNonUtf8(const std::string& text);

} // namespace tw::cli
