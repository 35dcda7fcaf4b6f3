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
    const size_t needed = r.path->size() + r.fileName->size() + 2;
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
