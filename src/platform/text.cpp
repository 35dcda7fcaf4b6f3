// Unicode conversions shared by both backends; wchar_t is UTF-16 on Windows and UTF-32 elsewhere.
#include "platform/text.h"
#include "platform/text_core.h"

#include <cstdint>
#include <cstring>

namespace tw::platform {

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendWide(std::wstring& out, uint32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

// True when no byte has its top bit set, eight at a time.
bool IsAscii(const char* text, size_t length) {
    constexpr uint64_t kTopBits = 0x8080808080808080ull;
    uint64_t seen = 0;
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, text + i, 8);
        seen |= chunk;
    }
    for (; i < length; ++i) {
        seen |= static_cast<unsigned char>(text[i]);
    }
    return (seen & kTopBits) == 0; // the bytes after the last eight fell into the low byte
}

} // namespace

std::wstring AnsiToWide(const char* text, size_t length) {
    std::wstring out;
    AnsiToWide(text, length, out);
    return out;
}

void AnsiToWide(const char* text, size_t length, std::wstring& out) {
    out.clear();
    if (text == nullptr || length == 0) {
        return;
    }
    if (const void* zero = std::memchr(text, 0, length)) {
        length = static_cast<size_t>(static_cast<const char*>(zero) - text);
    }
    // Every ANSI code page keeps the 128 ASCII characters where they are: such text is only widened.
    if (IsAscii(text, length)) {
        out.resize(length);
        wchar_t* wide = out.data();
        for (size_t i = 0; i < length; ++i) {
            wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
        }
        return;
    }
    detail::CodePageToWide(text, length, out);
}

std::string WideToUtf8(const std::wstring& text) {
    std::string out;
    AppendAsUtf8(text, out);
    return out;
}

void AppendAsUtf8(std::wstring_view text, std::string& out) {
    // Text that is ASCII throughout, as most names and paths are, is copied unit by unit.
    size_t ascii = 0;
    while (ascii < text.size() && static_cast<uint32_t>(text[ascii]) < 0x80) {
        ++ascii;
    }
    const size_t start = out.size();
    out.resize(start + ascii);
    char* bytes = out.data() + start;
    for (size_t i = 0; i < ascii; ++i) {
        bytes[i] = static_cast<char>(text[i]);
    }
    if (ascii == text.size()) {
        return;
    }
    out.reserve(out.size() + (text.size() - ascii) + 8);
    for (size_t i = ascii; i < text.size(); ++i) {
        uint32_t cp = static_cast<uint32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size()) {
                uint32_t low = static_cast<uint32_t>(text[i + 1]);
                if (low >= 0xDC00 && low < 0xE000) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if ((cp >= 0xD800 && cp < 0xE000) || cp > 0x10FFFF) {
            cp = 0xFFFD; // lone surrogate or out of range
        }
        AppendUtf8(out, cp);
    }
}

std::wstring Utf8ToWide(const std::string& text) {
    const size_t n = text.size();
    // An ASCII prefix, the whole text for most names, is copied byte by byte.
    size_t i = 0;
    while (i < n && static_cast<unsigned char>(text[i]) < 0x80) {
        ++i;
    }
    std::wstring out(i, L'\0');
    for (size_t k = 0; k < i; ++k) {
        out[k] = static_cast<wchar_t>(text[k]);
    }
    if (i == n) {
        return out;
    }
    out.reserve(n);
    while (i < n) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        uint32_t cp = 0xFFFD;
        size_t extra = 0;
        uint32_t minimum = 0;
        if (b0 < 0x80) {
            cp = b0;
        } else if ((b0 & 0xE0) == 0xC0) {
            cp = b0 & 0x1F;
            extra = 1;
            minimum = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            cp = b0 & 0x0F;
            extra = 2;
            minimum = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            cp = b0 & 0x07;
            extra = 3;
            minimum = 0x10000;
        } else {
            AppendWide(out, 0xFFFD);
            ++i;
            continue;
        }
        size_t k = 1;
        for (; k <= extra; ++k) {
            if (i + k >= n || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (k <= extra || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
            AppendWide(out, 0xFFFD);
            i += k; // skip the malformed sequence as far as it was read
            continue;
        }
        AppendWide(out, cp);
        i += extra + 1;
    }
    return out;
}

} // namespace tw::platform
