#include "platform/system.h"
#include "seams/console.h"
#include "seams/hex_dump.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace tw {
namespace {

std::vector<uint8_t> Counting(size_t n, uint8_t first = 0) {
    std::vector<uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

TEST(HexDumpTest, FullRowWithBothAddressesAndGroups) {
    const std::vector<uint8_t> bytes = Counting(16, 0x3E);
    const std::wstring row = HexDumpRow(bytes.data(), 16, 0x10, true, true, 0x1234ABCD);
    EXPECT_EQ(row,
              L"00000010:1234abcd: 3E 3F 40 41   42 43 44 45   46 47 48 49   4A 4B 4C 4D  |  >?@A  BCDE  FGHI  JKLM");
    EXPECT_EQ(row.size(), 99u); // the longest row there is
    EXPECT_EQ(HexDumpRow(bytes.data(), 16, 0x10, false, false, 0),
              L"00000010: 3E 3F 40 41   42 43 44 45   46 47 48 49   4A 4B 4C 4D  |  >?@ABCDEFGHIJKLM");
}

TEST(HexDumpTest, CharactersBelowSpaceAreDotsAndHighBytesStayLatin1) {
    const uint8_t bytes[] = {0x41, 0x0A, 0xE9, 0x00, 0x20, 0xFF};
    const std::wstring row = HexDumpRow(bytes, sizeof bytes, 0, false, false, 0);
    EXPECT_NE(row.find(L" 41 0A E9 00   20 FF"), std::wstring::npos) << row;
    EXPECT_EQ(row.substr(row.find(L"|  ") + 3), L"A.\u00E9. \u00FF");
}

TEST(HexDumpTest, TocEntryGivesTwoRowsWhoseBarsLineUp) {
    LineConsole console;
    const std::vector<uint8_t> entry = Counting(24, 0x61);
    console.HexDump(entry.data(), 24, 0, true, false, 0);
    ASSERT_EQ(console.lines.size(), 2u);
    EXPECT_EQ(console.lines[1], L"00000010: 71 72 73 74   75 76 77 78                              |  qrst  uvwx  ");
    EXPECT_EQ(console.lines[0].find(L'|'), console.lines[1].find(L'|'));
    // Every short length keeps the bar in place, with and without the second address.
    const std::vector<uint8_t> bytes = Counting(16);
    for (size_t n = 1; n < 16; ++n) {
        for (bool second : {false, true}) {
            EXPECT_EQ(HexDumpRow(bytes.data(), n, 0, true, second, 0).find(L'|'),
                      HexDumpRow(bytes.data(), 16, 0, true, second, 0).find(L'|'))
                << n;
        }
    }
}

TEST(HexDumpTest, AddressesCountOnFromBothStartsAndKeepTheirLow32Bits) {
    LineConsole console;
    const std::vector<uint8_t> bytes = Counting(33);
    console.HexDump(bytes.data(), 33, 0x1FFFFFFF0ull, false, true, 0x100);
    ASSERT_EQ(console.lines.size(), 3u);
    EXPECT_EQ(console.lines[0].substr(0, 18), L"fffffff0:00000100:");
    EXPECT_EQ(console.lines[1].substr(0, 18), L"00000000:00000110:");
    EXPECT_EQ(console.lines[2].substr(0, 18), L"00000010:00000120:");
    console.lines.clear();
    console.HexDump(bytes.data(), 0, 0, true, false, 0);
    EXPECT_TRUE(console.lines.empty());
}

// The rows' offsets are 64-bit: lengths at and past 4 GB end in the right last row instead of wrapping to row 0
// (a 32-bit offset never reached a length of 0xFFFFFFF8 and went round for ever). Only offsets are counted here,
// so no 4 GB is allocated.
TEST(HexDumpTest, RowsOfAnyLengthEndAtItsLastByte) {
    struct Case {
        uint64_t length;
        uint64_t rows;
        uint64_t lastOffset;
        size_t lastCount;
    };
    const Case cases[] = {
        {0, 0, 0, 0},
        {1, 1, 0, 1},
        {16, 1, 0, 16},
        {33, 3, 32, 1},
        {0xFFFFFFF8ull, 0x10000000ull, 0xFFFFFFF0ull, 8},
        {0x100000008ull, 0x10000001ull, 0x100000000ull, 8},
    };
    for (const Case& c : cases) {
        uint64_t rows = 0;
        uint64_t next = 0;
        uint64_t lastOffset = 0;
        size_t lastCount = 0;
        bool contiguous = true;
        ForEachHexDumpRow(c.length, [&](uint64_t offset, size_t count) {
            contiguous = contiguous && offset == next && count >= 1 && count <= kHexDumpRowBytes;
            next = offset + count;
            lastOffset = offset;
            lastCount = count;
            ++rows;
        });
        EXPECT_TRUE(contiguous) << c.length;
        EXPECT_EQ(next, c.length);
        EXPECT_EQ(rows, c.rows) << c.length;
        EXPECT_EQ(lastOffset, c.lastOffset) << c.length;
        EXPECT_EQ(lastCount, c.lastCount) << c.length;
    }
}

TEST(ConsoleFormatterTest, SystemErrorLines) {
    LineConsole console;
    console.LogSystemError(0, L"QRB::Delete");
    EXPECT_TRUE(console.lines.empty());
    console.LogSystemError(2, L"QRB::Move(MoveFileEx)");
    ASSERT_EQ(console.lines.size(), 1u);
    EXPECT_EQ(console.lines[0], L"QRB::Move(MoveFileEx) : error 2: " + platform::SystemErrorText(2));
    // The code is written as a signed number; an over-long line is cut to its buffer.
    console.LogSystemError(0xFFFFFFFF, std::wstring(5000, L'c'));
    ASSERT_EQ(console.lines.size(), 2u);
    EXPECT_EQ(console.lines[1].size(), 4095u);
    console.LogSystemError(0xFFFFFFFF, L"x");
    EXPECT_EQ(console.lines[2].rfind(L"x : error -1: ", 0), 0u);
    // Without a console nothing happens.
    LogSystemError(nullptr, 2, L"none");
}

} // namespace
} // namespace tw
