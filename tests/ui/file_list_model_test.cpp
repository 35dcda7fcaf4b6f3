#include "ui/file_list_model.h"

#include <gtest/gtest.h>

#include <regex>

namespace tw {
namespace {

MediaRecord Make(const wchar_t* name, uint32_t attributes = 0x20, int32_t kind = 0) {
    MediaRecord r;
    if (name != nullptr) {
        r.SetFileName(std::wstring(name));
    }
    r.attributes = attributes;
    r.mediaKind = kind;
    return r;
}

TEST(FileListModelTest, ImagePriorityIsMissingReadOnlyPrecomputeType) {
    struct Case {
        const wchar_t* name;
        uint32_t attributes;
        int32_t kind;
        RowImage image;
    };
    const Case cases[] = {
        {L"a.omf", 0x20, 0, RowImage::media},      {L"a.MXF", 0x20, 0, RowImage::media},
        {L"a.Mxf", 0x20, 0, RowImage::other},      {L"a.wav", 0x20, 0, RowImage::audio},
        {L"a.AIF", 0x20, 0, RowImage::audio},      {L"clipomf", 0x20, 0, RowImage::media},
        {L"ab", 0x20, 0, RowImage::other},         {nullptr, 0x20, 0, RowImage::other},
        {L"a.omf", 0x20, 1, RowImage::precompute}, {L"a.omf", 0x21, 1, RowImage::readOnly},
        {L"a.omf", 0x21, 7, RowImage::readOnly},   {L"a.omf", kMissingAttributes, 1, RowImage::missing},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ImageFor(Make(c.name, c.attributes, c.kind)), c.image)
            << (c.name ? std::string(c.name, c.name + wcslen(c.name)) : "(none)") << " " << c.attributes;
    }
}

TEST(FileListModelTest, RowRefreshWritesOnlyWhatIsKnown) {
    MediaRecord missing = Make(L"gone.omf", kMissingAttributes, 1);
    missing.creationTime = 128270160000000000ull;
    missing.SetProjectName(std::wstring(L"P"));
    const auto cells = CellUpdates(missing);
    const std::vector<std::pair<FileColumn, std::wstring>> expected = {{FileColumn::project, L"P"},
                                                                       {FileColumn::type, L"Precomp"}};
    EXPECT_EQ(cells, expected); // no size, no date for a missing file

    MediaRecord full = Make(L"a.omf");
    full.SetPath(std::wstring(L"dir"));
    full.size = 1234567;
    full.compUid = 0x00ABCDEF0123ull;
    full.SetNameInBin(std::wstring(L"Clip"));
    full.mediaKind = 7;
    full.creationTime = 128270160000000000ull;
    full.SetCompression(76, std::wstring(L"2:1"));
    std::vector<FileColumn> columns;
    for (const auto& [column, text] : CellUpdates(full)) {
        columns.push_back(column);
        EXPECT_EQ(text, FileCellText(full, column));
    }
    EXPECT_EQ(columns,
              (std::vector<FileColumn>{FileColumn::path, FileColumn::size, FileColumn::compUid, FileColumn::nameInBin,
                                       FileColumn::type, FileColumn::creationDate, FileColumn::compression}));
    EXPECT_EQ(FileCellText(full, FileColumn::size), L"1.17 MB");
    EXPECT_EQ(FileCellText(full, FileColumn::compUid), L"abcdef0123");
    EXPECT_EQ(FileCellText(full, FileColumn::type), L"Source");
    const std::wstring date = FileCellText(full, FileColumn::creationDate);
    EXPECT_TRUE(std::regex_match(std::string(date.begin(), date.end()), std::regex(R"(\d\d\.06\.2007/\d\d:\d\d:00)")));
    EXPECT_EQ(FileCellText(Make(L"x"), FileColumn::size), L"");
    EXPECT_EQ(FileCellText(Make(L"x"), FileColumn::compUid), L"");
}

TEST(FileListModelTest, SortOrders) {
    MediaRecord small = Make(L"b.omf");
    small.size = 10;
    MediaRecord large = Make(L"A.omf");
    large.size = 20;
    MediaRecord unnamed = Make(nullptr);
    EXPECT_LT(CompareRecords(FileColumn::size, &large, &small), 0);   // larger first
    EXPECT_LT(CompareRecords(FileColumn::name, &large, &small), 0);   // A before b, letter case ignored
    EXPECT_LT(CompareRecords(FileColumn::name, &small, &unnamed), 0); // absent texts last
    EXPECT_EQ(CompareRecords(FileColumn::name, &unnamed, &unnamed), 0);
    MediaRecord sameName = Make(L"B.OMF");
    EXPECT_EQ(CompareRecords(FileColumn::name, &small, &sameName), 0);
    small.compressionCode = 0xA0;
    large.compressionCode = 0x4C;
    EXPECT_LT(CompareRecords(FileColumn::compression, &small, &large), 0); // by code, not by label
}

TEST(FileListModelTest, StatusLineForms) {
    EXPECT_EQ(FileStatusLine(0, 0, 0, 0), L" 0 bytes in 0 items");
    EXPECT_EQ(FileStatusLine(1, 0, 1024, 0), L" 1.00 KB in 1 item");
    EXPECT_EQ(FileStatusLine(5, 1, 99999, 100), L" 100 bytes in 1 selected item");
    EXPECT_EQ(FileStatusLine(5, 2, 99999, 2048), L" 2.00 KB in 2 selected items");
}

} // namespace
} // namespace tw
