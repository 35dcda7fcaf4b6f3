#include "container/toc_dump.h"

#include "fixtures/bento_writer.h"
#include "seams/hex_dump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tw {
namespace {

using fixtures::BentoWriter;
using fixtures::Bytes;

class TocDumpTest : public ::testing::Test {
protected:
    int Open(const BentoWriter& writer) {
        const std::wstring path = dir / L"toc.omf";
        EXPECT_TRUE(writer.Save(path));
        return container.Open(path);
    }

    fixtures::ScratchDir dir{L"tw-toc"};
    BentoContainer container;
    LineConsole console;
};

TEST_F(TocDumpTest, WritesOneLinePerEntryWithNamesFlagsAndValues) {
    BentoWriter w;
    w.TypeName(0x10081, "omfi:String");                     // 0
    w.PropertyName(0x1029D, "OMFI:MOBJ:Name");              // 1
    w.Text(0x2001A, 0x1029D, "Interview");                  // 2
    w.Text(0x2001A, 0x1029E, "", 0x10090);                  // 3: empty text
    w.Immediate(0x2001A, 0x1033D, 0x10003, 7);              // 4: neither name known
    w.Entry({0x2001B, 0x1029D, 0x10081, 0x10, 3, 0x20000}); // 5: unreadable text: zero bytes
    w.Text(0x2001B, 0x10300, "x\xE9y", 22);                 // 6: 8-bit text type
    ASSERT_EQ(Open(w), 1);
    DumpToc(container, &console);
    const std::vector<std::wstring> expected = {
        L"[ID =0x10081]CM_StdObjID_GlobalTypeName  [CM_StdObjID_7BitASCII]:=\"omfi:String\"",
        L"[ID =0x1029D]CM_StdObjID_GlobalPropName  [CM_StdObjID_7BitASCII]:=\"OMFI:MOBJ:Name\"",
        L"[ID =0x2001A]OMFI:MOBJ:Name  [omfi:String]:=\"Interview\"",
        L"[ID =0x2001A]:",
        L"[ID =0x2001A] =[ 0x7 : 0x4 ]",
        L"[ID =0x2001B]OMFI:MOBJ:Name  [omfi:String]=\"\"",
        L"[ID =0x2001B][CM_StdObjID_8BitASCII]:=\"x\u00E9y\"",
    };
    EXPECT_EQ(console.lines, expected);
}

TEST_F(TocDumpTest, CutsLongLinesAndWritesNothingForAContainerThatCannotAnswer) {
    BentoWriter w;
    w.Text(1, 0x10100, std::string(3000, 'n'));
    ASSERT_EQ(Open(w), 1);
    DumpToc(container, &console);
    ASSERT_EQ(console.lines.size(), 1u);
    EXPECT_EQ(console.lines[0].size(), kTocLineCapacity);
    EXPECT_EQ(console.lines[0].substr(0, 16), L"[ID =0x1]:=\"nnnn");

    console.lines.clear();
    container.Close();
    DumpToc(container, &console);
    BentoWriter refused(false, 2);
    refused.Text(1, 0x10100, "x");
    ASSERT_EQ(Open(refused), 1);
    DumpToc(container, &console);
    EXPECT_TRUE(console.lines.empty());
}

TEST_F(TocDumpTest, DumpsEveryEntryOfARealContainer) {
    ASSERT_EQ(container.Open(L"data/LogicPro-omfv1.OMF"), 1);
    DumpToc(container, &console);
    ASSERT_EQ(console.lines.size(), 369u);
    // Entry 2 is the TOC object's own record of where the TOC lies.
    EXPECT_EQ(console.lines[2], L"[ID =0x1]CM_StdObjID_TOC_Object  [CM_StdObjID_TOC_Type] =[ 0xEE2A8 : 0x2298 ]");
    for (const std::wstring& line : console.lines) {
        EXPECT_EQ(line.rfind(L"[ID =0x", 0), 0u);
    }
}

// The hex row of bytes as the console writes it, with the value's file offset as second address when given.
std::wstring Row(const Bytes& bytes, uint64_t first, const uint64_t* second = nullptr) {
    return HexDumpRow(bytes.data(), bytes.size(), first, true, second != nullptr, second != nullptr ? *second : 0);
}

Bytes EntryBytes(const TocEntry& e) {
    Bytes out;
    for (const uint32_t w : {e.objectId, e.propertyId, e.typeId, e.valueOffset, e.valueLength, e.valueFlags}) {
        for (int b = 0; b < 4; ++b) {
            out.push_back(static_cast<uint8_t>(w >> (8 * b)));
        }
    }
    return out;
}

TEST_F(TocDumpTest, DumpsAnEntryInTwoRowsAndItsStoredValueWithItsFileOffset) {
    BentoWriter w;
    w.Immediate(0x2001A, 0x1033D, 0x10003, 7); // 1
    w.Text(0x2001A, 0x1029D,
           "Interview\x0A\xE9"
           "A"); // 2, stored at offset 0
    ASSERT_EQ(Open(w), 1);
    const TocEntry text = *container.Entry(1);
    const Bytes entry = EntryBytes(text);
    const uint64_t offset = text.valueOffset;
    for (int click = 0; click < 2; ++click) { // the same again on a second double click
        console.lines.clear();
        DumpTocEntry(container, 2, &console);
        const Bytes value = {'I', 'n', 't', 'e', 'r', 'v', 'i', 'e', 'w', 0x0A, 0xE9, 'A'};
        const std::vector<std::wstring> expected = {
            kTocDumpLine,
            Row(Bytes(entry.begin(), entry.begin() + 16), 0),
            Row(Bytes(entry.begin() + 16, entry.end()), 16),
            kBeginDumpLine,
            Row(value, 0, &offset),
            kEndDumpLine,
        };
        EXPECT_EQ(console.lines, expected);
    }
    // The 8-byte row's bar stands where the full row's does.
    EXPECT_EQ(console.lines[2].find(L"  |  "), console.lines[1].find(L"  |  "));
    EXPECT_EQ(console.lines[4].substr(0, 18), L"00000000:00000000:");
    EXPECT_NE(console.lines[4].find(L"  |  Inte  rvie  w.\u00E9A"), std::wstring::npos);

    // An immediate value is in the entry: no value dump.
    console.lines.clear();
    DumpTocEntry(container, 1, &console);
    ASSERT_EQ(console.lines.size(), 4u);
    EXPECT_EQ(console.lines.front(), kTocDumpLine);
    EXPECT_EQ(console.lines.back(), kEndDumpLine);
}

TEST_F(TocDumpTest, AValueDumpIsBoundedByTheFileWhateverLengthTheEntryClaims) {
    BentoWriter w;
    Bytes payload(70000);
    for (size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<uint8_t>(i * 7);
    }
    w.Stored(0x20001, 0x10966, 0x100C5, payload);                // 1: larger than one read piece
    w.Entry({0x20001, 0x10967, 0x100C5, 69990, 0xFFFFFFF0u, 1}); // 2: claims almost 4 GB
    w.Entry({0x20001, 0x10968, 0x100C5, 0xFFFFFF00u, 0x100, 1}); // 3: lies beyond the file
    ASSERT_EQ(Open(w), 1);
    const uint64_t fileLength = container.FileLength();

    DumpTocEntry(container, 1, &console);
    ASSERT_EQ(console.lines.size(), 3u + 1 + payload.size() / 16 + 1);
    for (size_t row = 0; row < payload.size() / 16; ++row) {
        const uint64_t at = row * 16;
        ASSERT_EQ(console.lines[4 + row], Row(Bytes(payload.begin() + static_cast<std::ptrdiff_t>(at),
                                                    payload.begin() + static_cast<std::ptrdiff_t>(at + 16)),
                                              at, &at));
    }

    console.lines.clear();
    DumpTocEntry(container, 2, &console);
    const uint64_t held = fileLength - 69990;
    ASSERT_EQ(console.lines.size(), 3u + 1 + (held + 15) / 16 + 1);
    EXPECT_EQ(console.lines[4].substr(0, 18), L"00000000:00011166:");
    wchar_t last[19];
    std::swprintf(last, 19, L"%08x:%08x:", static_cast<unsigned>((held - 1) / 16 * 16),
                  static_cast<unsigned>(69990 + (held - 1) / 16 * 16));
    EXPECT_EQ(console.lines[console.lines.size() - 2].substr(0, 18), last);

    console.lines.clear();
    DumpTocEntry(container, 3, &console);
    EXPECT_EQ(console.lines.size(), 5u); // the entry, then an empty value between the begin and end lines
    EXPECT_EQ(console.lines[3], kBeginDumpLine);
}

TEST_F(TocDumpTest, DumpsNothingWithoutAnEntryAConsoleOrAContainerThatCanAnswer) {
    BentoWriter w;
    w.Text(0x2001A, 0x1029D, "Interview");
    ASSERT_EQ(Open(w), 1);
    DumpTocEntry(container, 0, &console);
    DumpTocEntry(container, 2, &console);
    DumpTocEntry(container, 1, nullptr);
    container.Close();
    DumpTocEntry(container, 1, &console);
    BentoWriter refused(false, 2);
    refused.Text(1, 0x10100, "x");
    ASSERT_EQ(Open(refused), 1);
    DumpTocEntry(container, 1, &console);
    EXPECT_TRUE(console.lines.empty());
}

} // namespace
} // namespace tw
