#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#define dup _dup
#define dup2 _dup2
#define open _open
#define close _close
constexpr const char* kNullDevice = "NUL";
#else
#include <unistd.h>
constexpr const char* kNullDevice = "/dev/null";
#endif

namespace tw::platform {
namespace {

// The same table holds for the shell's StrFormatByteSizeW (under Wine) and for the POSIX backend.
TEST(SystemTest, ByteSizeTextMatchesTheShell) {
    struct Case {
        uint64_t bytes;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, L"0 bytes"},
        {1, L"1 bytes"},
        {1023, L"1023 bytes"},
        {1024, L"1.00 KB"},
        {1536, L"1.50 KB"},
        {10239, L"9.99 KB"},
        {10240, L"10.0 KB"},
        {102400, L"100 KB"},
        {1023999, L"999 KB"},
        {1024000, L"0.97 MB"},
        {1234567, L"1.17 MB"},
        {10485760, L"10.0 MB"},
        {1073741824, L"1.00 GB"},
        {500000000000ull, L"465 GB"},
        {1099511627776ull, L"1.00 TB"},
        {10000000000000ull, L"9.09 TB"},
        {1125899906842624ull, L"1.00 PB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatByteSize(c.bytes), c.text) << c.bytes;
    }
}

TEST(SystemTest, ErrorTextsAndClock) {
    EXPECT_FALSE(SystemErrorText(2).empty()); // file not found (ENOENT on POSIX)
    const uint64_t a = TickCountMs();
    const uint64_t b = TickCountMs();
    EXPECT_LE(a, b);
}

// Progress and questions go to a person only: a stream sent to the null device is no terminal, though the C
// runtime's own test on Windows takes that device for one.
TEST(SystemTest, TheNullDeviceIsNoTerminal) {
    std::fflush(stderr);
    const int saved = dup(2);
    const int null = open(kNullDevice, O_WRONLY);
    ASSERT_GE(saved, 0);
    ASSERT_GE(null, 0);
    ASSERT_NE(dup2(null, 2), -1);
    const bool terminal = IsTerminal(2);
    dup2(saved, 2);
    close(saved);
    close(null);
    EXPECT_FALSE(terminal);
    EXPECT_FALSE(IsTerminal(-1));
    EXPECT_FALSE(IsTerminal(3));
}

TEST(SystemTest, FileTimeToLocalTime) {
    LocalTime t;
    // 2007-06-23 12:00:00 UTC; any time zone keeps the date within a day and the minutes.
    ASSERT_TRUE(FileTimeToLocal(128270160000000000ull, t));
    EXPECT_EQ(t.year, 2007);
    EXPECT_EQ(t.month, 6);
    EXPECT_GE(t.day, 22);
    EXPECT_LE(t.day, 24);
    EXPECT_EQ(t.second, 0);
}

} // namespace
} // namespace tw::platform
