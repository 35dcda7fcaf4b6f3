#include "cli/plan_text_encoding.h"

#include <vector>

namespace tw::cli {

void AppendCodePoint(uint32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string Utf16ToUtf8(const std::string& text, bool bigEndian) {
    std::wstring wide;
    std::vector<uint32_t> codes;
    for (size_t i = 2; i + 1 < text.size(); i += 2) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(text[i + 1]);
        codes.push_back(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    std::string out;
    for (size_t i = 0; i < codes.size(); ++i) {
        uint32_t code = codes[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < codes.size() && codes[i + 1] >= 0xDC00 &&
            codes[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (codes[++i] - 0xDC00);
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        AppendCodePoint(code, out);
    }
    return out;
}

size_t FirstNonUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t more = 0;
        uint32_t code = 0;
        uint32_t least = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c < 0xE0) {
            more = 1, code = c & 0x1F, least = 0x80;
        } else if (c >= 0xE0 && c < 0xF0) {
            more = 2, code = c & 0x0F, least = 0x800;
        } else if (c >= 0xF0 && c < 0xF5) {
            more = 3, code = c & 0x07, least = 0x10000;
        } else {
            return i;
        }
        if (i + more >= text.size()) {
            return i;
        }
        for (size_t k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return i;
            }
            code = code << 6 | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
            return i;
        }
        i += more + 1;
    }
    return std::string::npos;
}

} // namespace tw::cli
