#include "catalog/omf_queries.h"

#include "fixtures/bento_writer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tw {
namespace {

using fixtures::BentoWriter;
using fixtures::Bytes;
using fixtures::MediaDescription;

TEST(CompressionNameTest, NamesEveryCodeAndHexForTheRest) {
    struct Case {
        uint32_t code;
        const wchar_t* name;
    };
    const std::vector<Case> cases = {
        {75, L"10:1"},   {76, L"2:1"},    {77, L"3:1"},   {78, L"15:1s"},        {79, L"4:1s"},
        {80, L"2:1s"},   {81, L"[0x51]"}, {82, L"20:1"},  {110, L"10:1m"},       {111, L"4:1m"},
        {140, L"411"},   {141, L"420"},   {142, L"dv50"}, {151, L"1:1"},         {160, L"mpg50"},
        {161, L"mpg40"}, {162, L"mpg30"}, {0, L"[0x0]"},  {0x1234, L"[0x1234]"}, {0xFFFFFFFF, L"[0xFFFFFFFF]"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompressionName(c.code), c.name) << c.code;
    }
}

class OmfQueriesTest : public ::testing::Test {
protected:
    int OpenBytes(const Bytes& bytes) {
        const std::wstring path = dir / L"media.omf";
        EXPECT_TRUE(fixtures::WriteFile(path, bytes));
        return container.Open(path);
    }

    fixtures::ScratchDir dir{L"tw-omf"};
    BentoContainer container;
};

TEST_F(OmfQueriesTest, DatabaseQueriesFindNameKindAndCompressionByIdentifier) {
    const std::vector<MediaDescription> media = {
        {0x0101010100000001ull, 0x060A2B3400000001ull, "Interview 01", 7, 142},
        {0x0101010100000002ull, 0x060A2B3400000002ull, std::nullopt, 1, 0x51}, // kind without a name
        {0x0101010100000003ull, 0x060A2B3400000003ull, "Titles", std::nullopt, std::nullopt},
    };
    struct Case {
        uint64_t compUid;
        uint64_t fileMobId;
        std::optional<std::wstring> nameInBin;
        int32_t mediaKind;
        uint32_t code;
        std::optional<std::wstring> compression;
    };
    const std::vector<Case> cases = {
        {media[0].compUid, media[0].fileMobId, L"Interview 01", 7, 142, L"dv50"},
        {media[1].compUid, media[1].fileMobId, std::nullopt, 1, 0x51, L"[0x51]"},
        {media[2].compUid, media[2].fileMobId, L"Titles", 0, 0, std::nullopt},
        // Identifiers the database does not hold; the halves of a known one swapped are another key.
        {0x42, 0x0000000160A2B34ull, std::nullopt, 0, 0, std::nullopt},
        {0x0000000101010101ull, 0x060A2B34ull, std::nullopt, 0, 0, std::nullopt},
    };
    for (const bool bigEndian : {false, true}) {
        ASSERT_EQ(OpenBytes(fixtures::BuildMediaDatabase(media, bigEndian)), 1);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.compUid) + (bigEndian ? " big-endian" : " little-endian"));
            MediaRecord r;
            r.compUid = c.compUid;
            r.fileMobId = c.fileMobId;
            ReadBinNameAndKind(container, &r);
            ReadCompression(container, &r);
            EXPECT_EQ(r.nameInBin, c.nameInBin);
            EXPECT_EQ(r.mediaKind, c.mediaKind);
            EXPECT_EQ(r.compressionCode, c.code);
            EXPECT_EQ(r.compressionName, c.compression);
        }
    }
}

TEST_F(OmfQueriesTest, ImmediateNumbersOfABigEndianContainerAreSwapped) {
    BentoWriter w(true);
    w.ImmediateBytes(0x20002, omf::kCompression, 0x10003, {0x00, 0x00, 0x00, 0x4C}, 4);
    w.ImmediateBytes(0x20000, omf::kMediaKind, 0x10003, {0x00, 0x00, 0x00, 0x07}, 4);
    w.Reference(0x20001, omf::kDescriptor, 0x20002);
    w.UidIndex(0x101E9, {{1, 0, 0x20000}});
    w.UidIndex(0x10216, {{2, 0, 0x20001}});
    ASSERT_EQ(OpenBytes(w.Build()), 1);
    MediaRecord r;
    r.compUid = 1;
    r.fileMobId = 2;
    ReadBinNameAndKind(container, &r);
    ReadCompression(container, &r);
    EXPECT_EQ(r.mediaKind, 7);
    EXPECT_EQ(r.compressionCode, 76u);
    EXPECT_EQ(r.compressionName, L"2:1");
}

TEST_F(OmfQueriesTest, ASingleMediaFileYieldsItsIdentifiersFieldsAndProject) {
    const MediaDescription media{0x0101010112345678ull, 0x060A2B34ABCDEF01ull, "Wide Shot", 7, 0x4C};
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        ASSERT_EQ(OpenBytes(fixtures::BuildOmfFile(media, std::string("Caf\xE9 Noir"), 3000, bigEndian)), 1);
        MediaRecord r;
        ReadFileMediaInfo(container, &r);
        ReadProjectName(container, &r);
        EXPECT_EQ(r.compUid, media.compUid);
        EXPECT_EQ(r.fileMobId, media.fileMobId);
        EXPECT_EQ(r.nameInBin, L"Wide Shot");
        EXPECT_EQ(r.mediaKind, 7);
        EXPECT_EQ(r.compressionName, L"2:1");
        EXPECT_EQ(r.projectName, L"Caf\u00E9 Noir");
    }
}

// A single media file built piece by piece, to leave out or damage one piece at a time.
struct FileShape {
    const char* what;
    bool secondComp = false;
    bool dataIndex = true;
    std::optional<Bytes> uid = Bytes{0, 0, 0, 0, 0x11, 0, 0, 0, 0x22, 0, 0, 0};
    Bytes descriptorReference = {0x02, 0x00, 0x02, 0x00};
    bool project = true;
    // What the record holds afterwards.
    uint64_t compUid = 0x00000BBB00000AAAull;
    uint64_t fileMobId = 0x0000002200000011ull;
    std::optional<std::wstring> nameInBin = L"Clip";
    uint32_t code = 0x8E;
    std::optional<std::wstring> projectName = L"Project";
};

Bytes BuildShape(const FileShape& s) {
    BentoWriter w;
    w.Text(0x20000, omf::kNameInBin, "Clip");
    w.Immediate(0x20000, omf::kMediaKind, 0x10003, 7);
    w.Stored(0x20001, omf::kDescriptor, 0x10077, s.descriptorReference);
    w.Immediate(0x20002, omf::kCompression, 0x10003, 0x8E);
    if (s.uid) {
        w.Stored(0x20003, omf::kMobUid, 0x1009F, *s.uid);
    } else {
        w.Immediate(0x20003, 0x10030, 0x10005, 0x41544144);
    }
    if (s.project) {
        w.ImmediateBytes(0x20004, 0x10030, 0x10005, {'_', 'P', 'J', ' '}, 4);
        w.Text(0x20004, omf::kProjectName, "Project");
    }
    std::vector<fixtures::IndexElement> comps = {{0xAAA, 0xBBB, 0x20000}};
    if (s.secondComp) {
        comps.push_back({0xCCC, 0xDDD, 0x20000});
    }
    w.UidIndex(0x101E9, comps);
    if (s.dataIndex) {
        w.UidIndex(0x10202, {{0x33, 0x44, 0x20003}});
    }
    w.UidIndex(0x10216, {{0x11, 0x22, 0x20001}});
    return w.Build();
}

TEST_F(OmfQueriesTest, SingleFileQueriesStopAtTheFirstMissingPiece) {
    std::vector<FileShape> shapes(7);
    shapes[0].what = "whole";
    shapes[1].what = "two compIndex entries: nothing at all";
    shapes[1].secondComp = true;
    shapes[1].compUid = 0;
    shapes[1].fileMobId = 0;
    shapes[1].nameInBin.reset();
    shapes[1].code = 0;
    shapes[2].what = "data object without a UID: the dataIndex key, no compression";
    shapes[2].uid.reset();
    shapes[2].fileMobId = 0x0000004400000033ull;
    shapes[2].code = 0;
    shapes[3].what = "UID shorter than three words: no UID";
    shapes[3].uid = Bytes{0, 0, 0, 0, 0x11, 0, 0, 0, 0x22, 0};
    shapes[3].fileMobId = 0x0000004400000033ull;
    shapes[3].code = 0;
    shapes[4].what = "descriptor reference shorter than a word: no descriptor";
    shapes[4].descriptorReference = {0x02, 0x00};
    shapes[4].code = 0;
    shapes[5].what = "no dataIndex: name and kind only";
    shapes[5].dataIndex = false;
    shapes[5].fileMobId = 0;
    shapes[5].code = 0;
    shapes[6].what = "no project object";
    shapes[6].project = false;
    shapes[6].projectName.reset();
    for (const FileShape& s : shapes) {
        SCOPED_TRACE(s.what);
        ASSERT_EQ(OpenBytes(BuildShape(s)), 1);
        MediaRecord r;
        ReadFileMediaInfo(container, &r);
        ReadProjectName(container, &r);
        EXPECT_EQ(r.compUid, s.compUid);
        EXPECT_EQ(r.fileMobId, s.fileMobId);
        EXPECT_EQ(r.nameInBin, s.nameInBin);
        EXPECT_EQ(r.mediaKind, s.nameInBin ? 7 : 0);
        EXPECT_EQ(r.compressionCode, s.code);
        EXPECT_EQ(r.projectName, s.projectName);
    }
}

TEST_F(OmfQueriesTest, QueriesOnAClosedOrRefusedContainerChangeNothing) {
    const std::wstring path = dir / L"v2.omf";
    BentoWriter refused(false, 2);
    refused.Text(0x20000, omf::kNameInBin, "Clip");
    refused.UidIndex(0x101E9, {{1, 0, 0x20000}});
    ASSERT_TRUE(refused.Save(path));
    for (const bool open : {false, true}) {
        if (open) {
            ASSERT_EQ(container.Open(path), 1);
        }
        MediaRecord r;
        r.compUid = 1;
        r.fileMobId = 2;
        r.SetProjectName(std::wstring(L"Kept"));
        ReadBinNameAndKind(container, &r);
        ReadCompression(container, &r);
        ReadFileMediaInfo(container, &r);
        ReadProjectName(container, &r);
        EXPECT_FALSE(r.nameInBin.has_value());
        EXPECT_EQ(r.compressionCode, 0u);
        EXPECT_EQ(r.projectName, L"Kept");
        ReadFileMediaInfo(container, nullptr);
    }
}

} // namespace
} // namespace tw
