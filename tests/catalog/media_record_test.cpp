#include "catalog/media_record.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

const std::wstring kSep(1, platform::kPathSeparator);

TEST(MediaRecordTest, ConstructedRecordIsEmptyButFilled) {
    MediaRecord r;
    EXPECT_TRUE(r.filled);
    EXPECT_FALSE(r.path || r.fileName || r.projectName || r.nameInBin || r.sourceName || r.compressionName);
    EXPECT_EQ(r.size + r.creationTime + r.compUid + r.fileMobId, 0u);
    EXPECT_EQ(r.attributes, 0u);
}

TEST(MediaRecordTest, TextsAreSharedAndKeepAbsentApartFromEmpty) {
    SharedText folder(L"/media/");
    MediaRecord a;
    a.SetPath(folder);
    MediaRecord b = a;
    EXPECT_TRUE(b.path.SharesWith(folder)); // copying a record copies no characters
    folder = SharedText(L"/other/");
    EXPECT_EQ(a.path, L"/media/"); // replacing one holder's text leaves the others alone
    EXPECT_EQ(std::wstring(b.path.c_str()), L"/media/");

    const SharedText absent;
    const SharedText empty(L"");
    EXPECT_FALSE(absent.has_value());
    EXPECT_TRUE(empty.has_value());
    EXPECT_NE(absent, empty);
    EXPECT_EQ(absent, std::nullopt);
    EXPECT_EQ(absent, std::optional<std::wstring>());
    EXPECT_NE(empty, std::optional<std::wstring>());
    EXPECT_EQ(empty, std::optional<std::wstring>(L""));
    EXPECT_STREQ(absent.c_str(), L"");
    EXPECT_EQ(absent.value_or(L"none"), L"none");
    // Ordered as optional texts: absent first, then by the characters.
    EXPECT_TRUE(absent < empty);
    EXPECT_TRUE(SharedText(L"A") < SharedText(L"B"));
    EXPECT_FALSE(SharedText(L"B") < SharedText(L"B"));
    EXPECT_FALSE(empty < absent);
}

TEST(MediaRecordTest, SplitFullPathSetsNameAndFolderWithSeparator) {
    MediaRecord r;
    std::wstring full = kSep + L"media" + kSep + L"clip.omf";
    EXPECT_TRUE(r.SplitFullPath(full));
    EXPECT_EQ(r.fileName, L"clip.omf");
    EXPECT_EQ(r.path, kSep + L"media" + kSep);
    EXPECT_EQ(full, kSep + L"media" + kSep); // the caller's string is cut to the folder
}

TEST(MediaRecordTest, SplitFullPathOfABareNameChangesNothing) {
    MediaRecord r;
    std::wstring bare = L"clip.omf";
    EXPECT_FALSE(r.SplitFullPath(bare));
    EXPECT_FALSE(r.fileName || r.path);
    EXPECT_EQ(bare, L"clip.omf");
    std::wstring empty;
    EXPECT_FALSE(r.SplitFullPath(empty));
}

TEST(MediaRecordTest, GetFullPathJoinsWithOneSeparator) {
    MediaRecord r;
    std::wstring out = L"untouched";
    EXPECT_EQ(r.GetFullPath(out, 1024), 0u); // no path, no name
    r.SetFileName(L"clip.omf");
    EXPECT_EQ(r.GetFullPath(out, 1024), 0u);
    r.SetPath(kSep + L"media");
    const std::wstring expected = kSep + L"media" + kSep + L"clip.omf";
    EXPECT_EQ(r.GetFullPath(out, 1024), expected.size());
    EXPECT_EQ(out, expected);
    r.SetPath(kSep + L"media" + kSep); // a trailing separator is not doubled
    EXPECT_EQ(r.GetFullPath(out, 1024), expected.size());
    EXPECT_EQ(out, expected);
    out = L"untouched";
    const size_t needed = r.path.view().size() + r.fileName.view().size() + 2;
    EXPECT_EQ(r.GetFullPath(out, needed - 1), needed);
    EXPECT_EQ(out, L"untouched");
}

TEST(MediaRecordTest, SettersReplaceAndAbsentClears) {
    MediaRecord r;
    r.SetNameInBin(L"first");
    r.SetNameInBin(L"second");
    EXPECT_EQ(r.nameInBin, L"second");
    r.SetNameInBin(std::nullopt);
    EXPECT_FALSE(r.nameInBin);
    r.SetCompression(76, L"2:1");
    EXPECT_EQ(r.compressionCode, 76u);
    EXPECT_EQ(r.compressionName, L"2:1");
}

} // namespace
} // namespace tw
