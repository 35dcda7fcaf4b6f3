#include "ui/file_cells.h"

#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

namespace tw {
namespace {

TEST(FileCellsTest, CellTextsOfARecord) {
    MediaRecord r;
    r.SetFileName(std::wstring(L"Interview.omf"));
    r.SetNameInBin(std::wstring(L"Interview"));
    r.SetPath(std::wstring(L"media"));
    r.SetProjectName(std::wstring(L"Harbour"));
    r.SetCompression(0x8E, std::wstring(L"dv50"));
    r.size = 1234567;
    r.compUid = 0x0000ABCD00012345ull;
    r.mediaKind = 7;
    struct Case {
        FileColumn column;
        std::wstring text;
    };
    const std::vector<Case> cases = {
        {FileColumn::name, L"Interview.omf"},
        {FileColumn::nameInBin, L"Interview"},
        {FileColumn::size, platform::FormatByteSize(1234567)},
        {FileColumn::compUid, L"abcd00012345"},
        {FileColumn::compression, L"dv50"},
        {FileColumn::path, L"media"},
        {FileColumn::type, L"Source"},
        {FileColumn::creationDate, L""},
        {FileColumn::project, L"Harbour"},
        {FileColumn::source, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileCellText(r, c.column), c.text) << static_cast<int>(c.column);
    }
    // Empty record: every cell empty, the size and UID cells included.
    const MediaRecord empty;
    for (int column = 0; column < kFileColumnCount; ++column) {
        EXPECT_EQ(FileCellText(empty, static_cast<FileColumn>(column)), L"") << column;
    }
}

TEST(FileCellsTest, TypeAndDateCells) {
    struct Kind {
        int32_t kind;
        const wchar_t* text;
    };
    for (const Kind& k : {Kind{1, L"Precomp"}, Kind{7, L"Source"}, Kind{0, L""}, Kind{2, L""}, Kind{-1, L""}}) {
        EXPECT_EQ(MediaKindText(k.kind), k.text) << k.kind;
    }
    EXPECT_EQ(CompUidText(0), L"");
    EXPECT_EQ(CompUidText(0x10), L"10");

    // 2024-03-05 12:07:09 UTC is in March 2024 in every time zone.
    const uint64_t fileTime = 133541140290000000ull;
    const std::wstring date = CreationDateText(fileTime, false);
    ASSERT_EQ(date.size(), 19u) << date;
    const std::wstring shape = L"dd.03.2024/dd:dd:dd";
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == L'd') {
            EXPECT_TRUE(std::iswdigit(static_cast<wint_t>(date[i]))) << date;
        } else {
            EXPECT_EQ(date[i], shape[i]) << date;
        }
    }
    EXPECT_EQ(date.substr(17), L"09");
    EXPECT_EQ(CreationDateText(fileTime, true), L"");
    EXPECT_EQ(CreationDateText(0, false), L"");
}

} // namespace
} // namespace tw
