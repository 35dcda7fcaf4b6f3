#include "discovery/bin_scan.h"
#include "fixtures/byte_append.h"
#include "fixtures/file_io.h"
#include "fixtures/media_folder_writer.h"

#include <gtest/gtest.h>

#include <random>

namespace tw {
namespace {

using fixtures::Bytes;

// A media reference record: the tag, four bytes not examined, the value and the two halves.
Bytes Record(uint32_t first, uint32_t second, uint16_t value = 0x0202) {
    Bytes out;
    fixtures::PutTag(out, "LMSM");
    fixtures::PutLe32(out, 0xA5A5A5A5);
    fixtures::PutLe16(out, value);
    fixtures::PutLe32(out, first);
    fixtures::PutLe32(out, second);
    return out;
}

// Writes record into bytes at offset, growing them as needed.
void Put(Bytes& bytes, size_t offset, const Bytes& record) {
    if (bytes.size() < offset + record.size()) {
        bytes.resize(offset + record.size(), 0x20);
    }
    std::copy(record.begin(), record.end(), bytes.begin() + static_cast<ptrdiff_t>(offset));
}

// Every offset read as the records are defined, one offset at a time: what the scan must find.
ReferencedIds Expected(const Bytes& bytes) {
    ReferencedIds ids;
    for (size_t p = 0; p + kBinRecordSize <= bytes.size(); ++p) {
        const uint8_t* r = bytes.data() + p;
        if (r[0] == 'L' && r[1] == 'M' && r[2] == 'S' && r[3] == 'M' && r[8] == 0x02 && r[9] == 0x02) {
            auto word = [&](size_t at) {
                return static_cast<uint32_t>(r[at]) | static_cast<uint32_t>(r[at + 1]) << 8 |
                       static_cast<uint32_t>(r[at + 2]) << 16 | static_cast<uint32_t>(r[at + 3]) << 24;
            };
            ids.insert({word(10), word(14)});
        }
    }
    return ids;
}

class BinScanTest : public ::testing::Test {
protected:
    // Scans the bytes as a bin file through the reader.
    ReferencedIds Scan(const Bytes& bytes) {
        const std::wstring path = dir / L"scan.avb";
        EXPECT_TRUE(fixtures::WriteFile(path, bytes));
        QRBFile reader(&console);
        EXPECT_NE(reader.Open(path), 0);
        ReferencedIds ids;
        ScanBin(reader, ids);
        platformSeeks = reader.PlatformSeekCount();
        return ids;
    }

    fixtures::ScratchDir dir;
    LineConsole console;
    uint64_t platformSeeks = 0;
};

TEST_F(BinScanTest, RecordsAreFoundAtAnyOffsetAndOnlyWithTheirValue) {
    struct Case {
        const char* what;
        Bytes bytes;
        ReferencedIds expected;
    };
    Bytes odd(7, 'x');
    Put(odd, 7, Record(0x11111111, 0x22222222));
    // The second record starts inside the first: its tag is the first record's "first", its unexamined bytes the
    // first record's "second".
    Bytes overlapping;
    Put(overlapping, 3, Record(0x4D534D4C, 0xA5A5A5A5));
    Put(overlapping, 13, Record(0x33333333, 0x44444444));
    Bytes otherValue = Record(5, 6, 0x0203);
    Bytes bigEndianValue = Record(5, 6, 0x0302);
    Bytes twice = Record(9, 10);
    Put(twice, 40, Record(9, 10));
    Bytes atTheEnd(31, 'y');
    Put(atTheEnd, 31, Record(7, 8));
    Bytes cutShort = Record(7, 8);
    cutShort.pop_back();
    const std::vector<Case> cases = {
        {"an odd offset", odd, {{0x11111111, 0x22222222}}},
        {"overlapping records", overlapping, {{0x4D534D4C, 0xA5A5A5A5}, {0x33333333, 0x44444444}}},
        {"another value at offset 8", otherValue, {}},
        {"the value's bytes swapped", bigEndianValue, {}},
        {"one reference twice", twice, {{9, 10}}},
        {"a record that ends the file", atTheEnd, {{7, 8}}},
        {"seventeen bytes of a record", cutShort, {}},
        {"an empty bin", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(Expected(c.bytes), c.expected);
        EXPECT_EQ(Scan(c.bytes), c.expected);
        ReferencedIds inMemory;
        ScanBinBytes(ByteView(c.bytes), c.bytes.size(), inMemory);
        EXPECT_EQ(inMemory, c.expected);
    }
    EXPECT_TRUE(console.lines.empty());
}

TEST_F(BinScanTest, RecordsAcrossTheReadersWindowsAreFoundWithOneReadPerWindow) {
    // Random bytes of 22 windows. Around the k-th seam between windows a record starts k bytes after the seam's
    // 17 bytes, so that one seam or another splits a record after each of its first 17 bytes; at the last seam two
    // records overlap; more records lie inside the windows at odd offsets.
    constexpr size_t kWindow = QRBFile::kWindowSize;
    std::mt19937 random(11);
    Bytes bytes(22 * kWindow + 100);
    for (uint8_t& b : bytes) {
        b = static_cast<uint8_t>(random());
    }
    uint32_t n = 1;
    for (size_t k = 0; k <= kBinRecordSize; ++k, ++n) {
        Put(bytes, (k + 1) * kWindow - (kBinRecordSize - 1) + k, Record(n, n + 1000));
    }
    const size_t overlap = 21 * kWindow - 12;
    Put(bytes, overlap, Record(0x4D534D4C, 0xA5A5A5A5));
    Put(bytes, overlap + 10, Record(0x33333333, 0x44444444));
    for (size_t at = 333; at + kBinRecordSize < bytes.size(); at += 1777, ++n) {
        if (at % kWindow < kWindow - 2 * kBinRecordSize && at % kWindow > kBinRecordSize) {
            Put(bytes, at, Record(n, ~n));
        }
    }
    Put(bytes, bytes.size() - kBinRecordSize, Record(777, 778));
    const ReferencedIds expected = Expected(bytes);
    ASSERT_GT(expected.size(), 40u);
    ASSERT_EQ(expected.count({0x33333333, 0x44444444}), 1u);
    EXPECT_EQ(Scan(bytes), expected);
    EXPECT_EQ(platformSeeks, 1u); // the reader is positioned once; every later window continues where it ended
}

TEST_F(BinScanTest, ShortBinsAndFailedOpensAddNothing) {
    EXPECT_TRUE(Scan(Bytes{'L', 'M', 'S', 'M', 0, 0, 0, 0, 2, 2, 1, 2, 3, 4, 5, 6, 7}).empty());
    ReferencedIds ids;
    EXPECT_FALSE(ReadBinReferences(dir / L"none.avb", &console, ids));
    EXPECT_TRUE(ids.empty());
    ASSERT_EQ(console.lines.size(), 2u);
    EXPECT_EQ(console.lines[0], L"QRB File->Open error : ");
}

TEST_F(BinScanTest, ReferencesOfWrittenBinsAndOfABinOfTheEditingApplication) {
    const std::vector<uint64_t> ids = {0x060A2B3400000001ull, 0x060A2B3400000002ull, 0x0102030405060708ull};
    ASSERT_TRUE(fixtures::WriteFile(dir / L"written.avb", fixtures::BuildBin(ids)));
    ReferencedIds written;
    ASSERT_TRUE(ReadBinReferences(dir / L"written.avb", &console, written));
    ReferencedIds expected;
    for (uint64_t id : ids) {
        expected.insert({static_cast<uint32_t>(id), static_cast<uint32_t>(id >> 32)});
    }
    EXPECT_EQ(written, expected);

    ReferencedIds real;
    ASSERT_TRUE(ReadBinReferences(L"data/linear01.avb", &console, real));
    EXPECT_EQ(real, (ReferencedIds{{0x48c9f1f4u, 0x01842abbu}}));
}

} // namespace
} // namespace tw
