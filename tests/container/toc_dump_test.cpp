#include "container/toc_dump.h"

#include "fixtures/bento_writer.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace tw
