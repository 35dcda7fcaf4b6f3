#include "container/qrb_file.h"
#include "fixtures/file_io.h"

#include <gtest/gtest.h>

#include <vector>

namespace tw {
namespace {

using fixtures::Bytes;

Bytes Pattern(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) {
        b[i] = static_cast<uint8_t>((i * 7 + i / 251) & 0xFF);
    }
    return b;
}

class QRBFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        data = Pattern(6000);
        path = dir / L"data.bin";
        ASSERT_TRUE(fixtures::WriteFile(path, data));
        ASSERT_NE(file.Open(path), 0);
    }

    // Reads count bytes and checks they are the file's bytes at the position before the read.
    void ExpectRead(uint32_t count, uint32_t expected) {
        const uint64_t at = file.GetPosition();
        std::vector<uint8_t> out(count, 0xCC);
        ASSERT_EQ(file.Read(out.data(), count), expected);
        for (uint32_t i = 0; i < expected; ++i) {
            ASSERT_EQ(out[i], data[at + i]) << "byte " << i << " of a read at " << at;
        }
    }

    fixtures::ScratchDir dir;
    Bytes data;
    std::wstring path;
    LineConsole console;
    QRBFile file{&console};
};

TEST_F(QRBFileTest, OpenTakesLengthAndFullPath) {
    EXPECT_EQ(file.GetLength(), 6000u);
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_EQ(file.GetFilePath(), path);
    EXPECT_FALSE(file.WindowValid());
    EXPECT_TRUE(console.lines.empty());
}

TEST_F(QRBFileTest, OpenOfMissingFileWritesTwoLinesAndLeavesReaderClosed) {
    EXPECT_EQ(file.Open(dir / L"missing.bin"), 0);
    ASSERT_EQ(console.lines.size(), 2u);
    EXPECT_EQ(console.lines[0], L"QRB File->Open error : ");
    EXPECT_FALSE(console.lines[1].empty());
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_EQ(file.GetLength(), 0u);
    uint8_t b = 0;
    EXPECT_EQ(file.Read(&b, 1), 0u);
}

TEST_F(QRBFileTest, ReadsAndSeeksAreClampedToTheFile) {
    EXPECT_EQ(file.Seek(10000, QRBFile::begin), 6000u);
    uint8_t b = 0;
    EXPECT_EQ(file.Read(&b, 1), 0u); // at the end: nothing, and no line
    EXPECT_EQ(file.Seek(-7000, QRBFile::current), 0u);
    EXPECT_EQ(file.Seek(5990, QRBFile::begin), 5990u);
    ExpectRead(100, 10); // more than remains: the rest of the file
    EXPECT_EQ(file.GetPosition(), 6000u);
    EXPECT_EQ(file.Seek(-1, QRBFile::begin), 6000u); // negative from the start: unchanged
    EXPECT_EQ(file.Seek(25, QRBFile::current), 6000u);
    ASSERT_EQ(console.lines.size(), 1u);
    EXPECT_EQ(console.lines[0], L"Bad seek");
}

TEST_F(QRBFileTest, SeekWithoutOpenFileIsBad) {
    file.Close();
    EXPECT_EQ(file.Seek(5, QRBFile::begin), 0u);
    EXPECT_EQ(file.GetPosition(), 0u);
    ASSERT_EQ(console.lines.size(), 1u);
    EXPECT_EQ(console.lines[0], L"Bad seek");
}

TEST_F(QRBFileTest, ReadEndingAtTheWindowEndInvalidatesTheWindow) {
    ExpectRead(1024, 1024);
    EXPECT_TRUE(file.WindowValid());
    EXPECT_EQ(file.PlatformSeekCount(), 1u);
    ExpectRead(1024, 1024); // served from the window, ends at its end
    EXPECT_FALSE(file.WindowValid());
    EXPECT_EQ(file.WindowStart(), 2048u);
    EXPECT_EQ(file.PlatformSeekCount(), 1u);
    ExpectRead(1, 1); // positions the platform file at 2048 and refills
    EXPECT_EQ(file.PlatformSeekCount(), 2u);
    EXPECT_TRUE(file.WindowValid());
    EXPECT_EQ(file.WindowStart(), 2048u);
}

TEST_F(QRBFileTest, FullWindowReadStaysValidAndNextReadRefillsWithoutPositioning) {
    ExpectRead(2048, 2048);
    EXPECT_TRUE(file.WindowValid());
    EXPECT_EQ(file.WindowStart(), 0u);
    EXPECT_EQ(file.GetPosition(), 2048u);
    ExpectRead(10, 10);
    EXPECT_EQ(file.PlatformSeekCount(), 1u);
    EXPECT_EQ(file.WindowStart(), 2048u);
}

TEST_F(QRBFileTest, LargeReadBypassesTheWindow) {
    ExpectRead(2049, 2049);
    EXPECT_FALSE(file.WindowValid());
    EXPECT_EQ(file.GetPosition(), 2049u);
    ExpectRead(4, 4);
}

TEST_F(QRBFileTest, ReadAcrossTheWindowEndTakesBothParts) {
    ExpectRead(4, 4);
    EXPECT_EQ(file.Seek(2038, QRBFile::begin), 2038u);
    EXPECT_TRUE(file.WindowValid());
    ExpectRead(18, 18); // 10 bytes from the window, 8 from the next refill
    EXPECT_EQ(file.PlatformSeekCount(), 1u);
    EXPECT_EQ(file.GetPosition(), 2056u);
}

TEST_F(QRBFileTest, LongReadFromInsideAValidWindowDeliversEverything) {
    ExpectRead(100, 100);
    ExpectRead(5000, 5000);
    EXPECT_EQ(file.GetPosition(), 5100u);
    ExpectRead(2000, 900);
}

TEST_F(QRBFileTest, SeekOutsideTheWindowInvalidatesIt) {
    ExpectRead(16, 16);
    file.Seek(3000, QRBFile::begin);
    EXPECT_FALSE(file.WindowValid());
    ExpectRead(16, 16);
    file.Seek(-1000, QRBFile::current);
    EXPECT_FALSE(file.WindowValid());
    ExpectRead(16, 16);
    file.Seek(8, QRBFile::current); // stays inside: no platform positioning needed
    EXPECT_TRUE(file.WindowValid());
    const uint64_t seeks = file.PlatformSeekCount();
    ExpectRead(16, 16);
    EXPECT_EQ(file.PlatformSeekCount(), seeks);
}

TEST(QRBFileEmpty, EmptyFileReadsNothing) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::WriteFile(dir / L"empty", Bytes{}));
    LineConsole console;
    QRBFile file(&console);
    ASSERT_NE(file.Open(dir / L"empty"), 0);
    uint8_t b = 0;
    EXPECT_EQ(file.Read(&b, 1), 0u);
    EXPECT_EQ(file.Seek(5, QRBFile::begin), 0u);
    EXPECT_TRUE(console.lines.empty());
}

} // namespace
} // namespace tw
