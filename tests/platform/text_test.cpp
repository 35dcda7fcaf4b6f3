#include "platform/platform.h"

#include <gtest/gtest.h>

namespace tw::platform {
namespace {

// Both backends must read the Western code page alike (Windows-1252 is the ANSI code page under Wine too).
TEST(TextTest, AnsiToWideReadsWindows1252) {
    struct Case {
        std::string bytes;
        std::wstring wide;
    };
    const Case cases[] = {
        {"Clip 01.omf", L"Clip 01.omf"},
        {"\xE9\xE8\xFC\xDF", L"\u00E9\u00E8\u00FC\u00DF"},
        {"\x80\x8A\x9F", L"\u20AC\u0160\u0178"},
        {"\xA0\xFF", L"\u00A0\u00FF"},
        // Longer texts are checked for bytes above 0x7F eight at a time, then byte by byte.
        {"Interview 01A4F3C2.omf", L"Interview 01A4F3C2.omf"},
        {"Interview \x80 01.omf", L"Interview \u20AC 01.omf"},
        {"Interview 01.omf\xE9", L"Interview 01.omf\u00E9"},
        {"Interview 01.omf \xE9", L"Interview 01.omf \u00E9"},
        {std::string("ab\0cd", 5), L"ab"}, // stops at the first zero byte
        {"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnsiToWide(c.bytes.data(), c.bytes.size()), c.wide) << c.bytes;
    }
    EXPECT_EQ(AnsiToWide("abcdef", 3), L"abc");
    EXPECT_EQ(AnsiToWide(nullptr, 3), L"");
}

TEST(TextTest, Utf8RoundTrip) {
    const std::wstring samples[] = {L"", L"plain", L"caf\u00E9 \u20AC \u65E5\u672C", L"clip \U0001F3AC.omf"};
    for (const std::wstring& s : samples) {
        EXPECT_EQ(Utf8ToWide(WideToUtf8(s)), s);
    }
    EXPECT_EQ(WideToUtf8(L"\u00E9"), "\xC3\xA9");
    EXPECT_EQ(Utf8ToWide("a\xFF"
                         "b"),
              L"a\uFFFD"
              L"b");
    EXPECT_EQ(Utf8ToWide("\xE2\x82"), L"\uFFFD"); // truncated sequence
}

} // namespace
} // namespace tw::platform
