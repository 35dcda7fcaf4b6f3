#include "fixtures/file_io.h"
#include "name_cases.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cwctype>
#include <filesystem>
#include <map>
#include <set>

namespace tw::platform {
namespace {

// A path written with '|' between its components, in the platform's separator.
std::wstring P(const std::wstring& s) {
    return fixtures::NativePath(s);
}

uint64_t NowAsFileTime() {
    const auto since1970 =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch());
    return (static_cast<uint64_t>(since1970.count()) + 11644473600ull) * 10000000ull;
}

TEST(FolderTest, ListingHoldsEveryNameWithAttributesSizeAndTime) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::WriteFile(dir / L"clip.omf", std::string(1234, 'x')));
    ASSERT_TRUE(fixtures::WriteFile(dir / L"locked.wav", std::string(10, 'y')));
    ASSERT_TRUE(fixtures::MakeFolders(dir / L"sub"));
    std::filesystem::permissions(std::filesystem::path(WideToUtf8(dir / L"locked.wav")),
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);

    std::map<std::wstring, FolderEntry> seen;
    ASSERT_TRUE(ListFolder(dir.Path(), [&](const FolderEntry& e) { seen[e.name] = e; }));
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_TRUE(seen.count(L".") && seen.count(L".."));
    EXPECT_EQ(seen[L"clip.omf"].size, 1234u);
    EXPECT_EQ(seen[L"clip.omf"].attributes & (kAttributeDirectory | kAttributeReadOnly), 0u);
    EXPECT_EQ(seen[L"locked.wav"].attributes & kAttributeReadOnly, kAttributeReadOnly);
    EXPECT_EQ(seen[L"sub"].attributes & kAttributeDirectory, kAttributeDirectory);
    EXPECT_EQ(seen[L"."].attributes & kAttributeDirectory, kAttributeDirectory);
    const uint64_t now = NowAsFileTime();
    const uint64_t day = 24ull * 3600 * 10000000;
    EXPECT_GT(seen[L"clip.omf"].creationTime, now - day);
    EXPECT_LT(seen[L"clip.omf"].creationTime, now + day);
}

TEST(FolderTest, MissingFolderListsNothing) {
    fixtures::ScratchDir dir;
    int calls = 0;
    EXPECT_FALSE(ListFolder(dir / L"none", [&](const FolderEntry&) { ++calls; }));
    EXPECT_EQ(calls, 0);
}

TEST(FolderTest, GetEntryOfOnePath) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::WriteFile(dir / L"a.mxf", std::string(77, 'x')));
    FolderEntry e;
    ASSERT_TRUE(GetEntry(dir / L"a.mxf", e));
    EXPECT_EQ(e.name, L"a.mxf");
    EXPECT_EQ(e.size, 77u);
    EXPECT_FALSE(GetEntry(dir / L"b.mxf", e));
    EXPECT_FALSE(GetEntry(L"", e));
}

TEST(FolderTest, MediaFolderNamesAreFoundInAnyLetterCase) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::MakeFolders(dir / L"avid mediafiles"));
    std::vector<std::wstring> names;
    EXPECT_TRUE(FindEntriesIgnoringCase(dir.Path(), L"AVID MediaFiles",
                                        [&](const FolderEntry& e) { names.push_back(e.name); }));
    EXPECT_EQ(names, std::vector<std::wstring>{L"avid mediafiles"});
    EXPECT_FALSE(FindEntriesIgnoringCase(dir.Path(), L"OMFI MediaFiles", [](const FolderEntry&) {}));
}

TEST(FolderTest, PathHelpers) {
    EXPECT_EQ(RemoveFileSpec(P(L"|media|msmFMID.pmr")), P(L"|media"));
    EXPECT_EQ(RemoveFileSpec(P(L"|media|sub|")), P(L"|media|sub"));
    EXPECT_EQ(RemoveFileSpec(L"file"), L"");
    EXPECT_EQ(FindExtension(P(L"|m.d|clip.OMF")), L".OMF");
    EXPECT_EQ(FindExtension(P(L"|m.d|clipomf")), L"");
    EXPECT_EQ(FindExtension(L"clip.o mf"), L"");
    EXPECT_EQ(FindExtension(L"a.b.wav"), L".wav");
    EXPECT_TRUE(IsRelativePath(L"store"));
    EXPECT_TRUE(IsRelativePath(L""));
    EXPECT_EQ(RemoveTrailingSeparator(P(L"|store|")), P(L"|store"));
    EXPECT_EQ(RemoveTrailingSeparator(P(L"|store")), P(L"|store"));

    fixtures::ScratchDir dir;
    EXPECT_FALSE(IsRelativePath(dir.Path()));
    ASSERT_TRUE(fixtures::WriteFile(dir / L"f.omf", std::string("x")));
    EXPECT_TRUE(PathExists(dir / L"f.omf"));
    EXPECT_FALSE(IsFolder(dir / L"f.omf"));
    EXPECT_TRUE(IsFolder(dir.Path()));
    EXPECT_FALSE(PathExists(dir / L"g.omf"));
    EXPECT_FALSE(PathExists(L""));
    EXPECT_TRUE(IsSameRoot(dir / L"f.omf", dir / L"not-yet" + P(L"|x.omf")));
}

// Links are marked as reparse points and lead to their target's folder id. The system may make no links (Wine
// makes none): the ids of plain folders are checked all the same.
TEST(FolderTest, LinksAreReparsePointsAndFolderIdsFollowThem) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::MakeFolders(dir / P(L"sub|deeper")));
    ASSERT_TRUE(fixtures::WriteFile(dir / P(L"sub|take.wav"), std::string(10, 'x')));
    FolderId sub;
    FolderId again;
    FolderId deeper;
    ASSERT_TRUE(GetFolderId(dir / L"sub", sub));
    ASSERT_TRUE(GetFolderId(dir / P(L"sub|deeper|.."), again));
    ASSERT_TRUE(GetFolderId(dir / P(L"sub|deeper"), deeper));
    EXPECT_TRUE(sub == again);
    EXPECT_FALSE(sub == deeper);
    EXPECT_FALSE(GetFolderId(dir / L"none", again));

    const bool folderLink = fixtures::MakeFolderLink(dir / L"to-sub", dir / L"sub");
    const bool fileLink = fixtures::MakeFileLink(dir / L"to-take.wav", dir / P(L"sub|take.wav"));
    std::map<std::wstring, FolderEntry> seen;
    ASSERT_TRUE(ListFolder(dir.Path(), [&](const FolderEntry& e) { seen[e.name] = e; }));
    EXPECT_EQ(seen[L"sub"].attributes & kAttributeReparsePoint, 0u);
    // The listing of kinds that the database search takes tells the same names, folders and links.
    std::map<std::wstring, uint32_t> kinds;
    ASSERT_TRUE(ListFolderKinds(dir.Path(), [&](const FolderEntry& e) { kinds[e.name] = e.attributes; }));
    ASSERT_EQ(kinds.size(), seen.size());
    constexpr uint32_t kKind = kAttributeDirectory | kAttributeReparsePoint;
    for (const auto& [name, entry] : seen) {
        EXPECT_EQ(kinds[name] & kKind, entry.attributes & kKind) << WideToUtf8(name);
    }
    EXPECT_FALSE(ListFolderKinds(dir / L"none", [](const FolderEntry&) {}));
    if (folderLink) {
        EXPECT_EQ(seen[L"to-sub"].attributes & (kAttributeDirectory | kAttributeReparsePoint),
                  kAttributeDirectory | kAttributeReparsePoint);
        FolderId through;
        ASSERT_TRUE(GetFolderId(dir / L"to-sub", through));
        EXPECT_TRUE(through == sub);
        FolderEntry own;
        ASSERT_TRUE(GetEntry(dir / L"to-sub", own));
        EXPECT_NE(own.attributes & kAttributeReparsePoint, 0u);
        fixtures::RemoveLink(dir / L"to-sub");
    }
    if (fileLink) {
        EXPECT_EQ(seen[L"to-take.wav"].attributes & (kAttributeDirectory | kAttributeReparsePoint),
                  kAttributeReparsePoint);
        fixtures::RemoveLink(dir / L"to-take.wav");
    }
}

// Lookups of a name that Windows would take another way than written, or of another spelling of a file, find that
// file's entry and never its neighbour's.
TEST(FolderTest, LookupsFindTheEntryThePathSpells) {
    name_cases::NameCaseDir dir;
    std::vector<name_cases::NameCase> cases;
    ASSERT_NO_FATAL_FAILURE(name_cases::MakeNameCases(dir, cases));
    for (const name_cases::NameCase& c : cases) {
        SCOPED_TRACE(c.label);
        const std::wstring neighbourName = c.neighbour.substr(FileNameStart(c.neighbour));
        FolderEntry entry;
        ASSERT_TRUE(GetEntry(c.own, entry));
        EXPECT_EQ(entry.name, c.ownName);
        if (!c.link) {
            EXPECT_EQ(entry.size, c.ownBytes.size());
        }
        EXPECT_TRUE(PathExists(c.own));
        EXPECT_FALSE(IsFolder(c.own));

        std::set<std::wstring> listed;
        ASSERT_TRUE(ListFolder(c.folder, [&](const FolderEntry& e) { listed.insert(e.name); }));
        EXPECT_EQ(listed, (std::set<std::wstring>{L".", L"..", c.ownName, neighbourName}));

        std::wstring upper = c.ownName;
        for (wchar_t& ch : upper) {
            ch = static_cast<wchar_t>(std::towupper(ch));
        }
        std::vector<std::wstring> found;
        EXPECT_TRUE(FindEntriesIgnoringCase(c.folder, upper, [&](const FolderEntry& e) { found.push_back(e.name); }));
        EXPECT_EQ(found, std::vector<std::wstring>{c.ownName});

        EXPECT_TRUE(IsFolder(c.folder));
        FolderId id;
        EXPECT_TRUE(GetFolderId(c.folder, id));
    }
}

TEST(FolderTest, APathWithWildcardsHasNoEntry) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::WriteFile(dir / L"a.omf", std::string(3, 'x')));
    FolderEntry e;
    EXPECT_FALSE(GetEntry(dir / L"*.omf", e));
    EXPECT_FALSE(GetEntry(dir / L"a.om?", e));
}

} // namespace
} // namespace tw::platform
