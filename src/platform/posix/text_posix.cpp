// POSIX systems have no ANSI code page: 8-bit text is read as Windows-1252, the code page of the
// Western editions of Windows on which the editing application writes its databases. Text is ordered by the
// platform's own weights (collation.cpp).
#include "platform/collation.h"
#include "platform/text.h"
#include "platform/text_core.h"

#include <array>

namespace tw::platform {

namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes map to the C1 control of the same value,
// as MultiByteToWideChar does.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

void detail::CodePageToWide(const char* text, size_t length, std::wstring& out) {
    static const auto table = [] {
        std::array<wchar_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            t[b] = (b >= 0x80 && b < 0xA0) ? static_cast<wchar_t>(kHighControls[b - 0x80]) : static_cast<wchar_t>(b);
        }
        return t;
    }();
    out.resize(length);
    for (size_t i = 0; i < length; ++i) {
        out[i] = table[static_cast<unsigned char>(text[i])];
    }
}

int CompareTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return CollateIgnoringCase(a, b);
}

} // namespace tw::platform
