// The memory backend of ReadOnlyFile: this program links tw_memory_files, so every ReadOnlyFile in it reads
// the files put with memory::PutFile.
#include "platform/memory_files.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tw::platform {
namespace {

std::string ReadString(ReadOnlyFile& file, uint32_t count) {
    std::string bytes(count, '?');
    bytes.resize(file.Read(bytes.data(), count));
    return bytes;
}

const uint8_t* Bytes(const char* text) {
    return reinterpret_cast<const uint8_t*>(text);
}

TEST(MemoryFileTest, ReadsAndSeeksLikeAFile) {
    memory::PutFile(L"/mem/index.pmr", Bytes("0123456789"), 10);
    ReadOnlyFile file;
    uint32_t code = 0;
    std::wstring text;
    ASSERT_TRUE(file.Open(L"/mem/index.pmr", code, text));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(file.FullPath(), L"/mem/index.pmr");
    EXPECT_EQ(file.Length(), 10u);
    EXPECT_EQ(ReadString(file, 4), "0123");
    EXPECT_EQ(file.Position(), 4u);
    EXPECT_EQ(file.SeekAbsolute(8), 8u);
    EXPECT_EQ(ReadString(file, 5), "89"); // the rest of the file
    EXPECT_EQ(ReadString(file, 5), "");
    EXPECT_EQ(file.SeekAbsolute(20), 20u); // past the end, as a system file allows; nothing to read there
    EXPECT_EQ(ReadString(file, 1), "");
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Length(), 0u);
    EXPECT_EQ(file.FullPath(), L"");
}

TEST(MemoryFileTest, AHoleBetweenHeadAndTailReadsAsZeros) {
    constexpr uint64_t kLength = uint64_t{1} << 30;
    memory::PutFile(L"/mem/large.omf", Bytes("HEAD"), 4, Bytes("TAIL"), 4, kLength);
    ReadOnlyFile file;
    uint32_t code = 0;
    std::wstring text;
    ASSERT_TRUE(file.Open(L"/mem/large.omf", code, text));
    EXPECT_EQ(file.Length(), kLength);
    EXPECT_EQ(ReadString(file, 6), std::string("HEAD\0\0", 6));
    file.SeekAbsolute(kLength - 6);
    EXPECT_EQ(ReadString(file, 10), std::string("\0\0TAIL", 6));
    file.SeekAbsolute(1000);
    EXPECT_EQ(ReadString(file, 3), std::string(3, '\0'));
}

TEST(MemoryFileTest, AMissingFileFailsAsTheSystemFailsAndAnOpenFileKeepsItsBytes) {
    ReadOnlyFile file;
    uint32_t code = 0;
    std::wstring text;
    EXPECT_FALSE(file.Open(L"/mem/none.mdb", code, text));
    EXPECT_EQ(code, 2u); // ENOENT and ERROR_FILE_NOT_FOUND alike
    EXPECT_NE(text.find(L"/mem/none.mdb"), std::wstring::npos);
    EXPECT_FALSE(file.IsOpen());

    memory::PutFile(L"/mem/db.mdb", Bytes("old"), 3);
    ASSERT_TRUE(file.Open(L"/mem/db.mdb", code, text));
    memory::PutFile(L"/mem/db.mdb", Bytes("newer"), 5);
    memory::RemoveFile(L"/mem/db.mdb");
    EXPECT_EQ(ReadString(file, 8), "old");
    ReadOnlyFile again;
    EXPECT_FALSE(again.Open(L"/mem/db.mdb", code, text));
}

} // namespace
} // namespace tw::platform
