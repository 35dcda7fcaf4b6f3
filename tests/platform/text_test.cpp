#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#endif

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

#ifdef _WIN32
// The index was written in the system's ANSI code page. On Windows a thread's code page follows the user's format
// settings (the thread locale), which may name another one: the text must read the same under each of them.
TEST(TextTest, AnsiToWideReadsTheSystemsCodePageWhateverTheThreadLocale) {
    ASSERT_EQ(GetACP(), 1252u) << "the expected texts below are Windows-1252's";
    struct Case {
        LANGID language;
        UINT threadCodePage;
    };
    const Case cases[] = {
        {MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), 1251},
        {MAKELANGID(LANG_GREEK, SUBLANG_DEFAULT), 1253},
        {MAKELANGID(LANG_POLISH, SUBLANG_DEFAULT), 1250},
        {MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), 932},
    };
    const std::string bytes = "Sc\xE8ne \xE9t\xE9 \x80 01.omf";
    const std::wstring text = L"Sc\u00E8ne \u00E9t\u00E9 \u20AC 01.omf";
    const LCID before = GetThreadLocale();
    for (const Case& c : cases) {
        ASSERT_TRUE(SetThreadLocale(MAKELCID(c.language, SORT_DEFAULT)));
        // The thread's code page is another one now: what the thread's conversion would give differs.
        wchar_t threadText[64] = {};
        const int n =
            MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), threadText, 64);
        wchar_t threadPage[8] = {};
        GetLocaleInfoW(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, threadPage, 8);
        EXPECT_EQ(std::to_wstring(c.threadCodePage), threadPage);
        EXPECT_NE(std::wstring(threadText, static_cast<size_t>(std::max(n, 0))), text) << c.threadCodePage;
        EXPECT_EQ(AnsiToWide(bytes.data(), bytes.size()), text) << c.threadCodePage;
    }
    SetThreadLocale(before);
}
#endif

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
