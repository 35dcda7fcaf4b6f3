#include "fixtures/file_io.h"
#include "fixtures/host_system.h"
#include "name_cases.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace tw::platform {
namespace {

std::string ReadAll(const std::wstring& path) {
    ReadOnlyFile file;
    uint32_t code = 0;
    std::wstring text;
    if (!file.Open(path, code, text)) {
        return "<missing>";
    }
    std::string bytes(static_cast<size_t>(file.Length()), '\0');
    if (!bytes.empty() && file.Read(bytes.data(), static_cast<uint32_t>(bytes.size())) != bytes.size()) {
        return "<short>";
    }
    return bytes;
}

using Reports = std::vector<std::pair<uint64_t, uint64_t>>;

// The system's code for access denied: ERROR_ACCESS_DENIED, EACCES.
#ifdef _WIN32
constexpr uint32_t kAccessDenied = 5;
#else
constexpr uint32_t kAccessDenied = 13;
#endif

std::wstring Sep() {
    return std::wstring(1, kPathSeparator);
}

TEST(FileOpsTest, CopyReplacesTheTargetAndEndsWithAFullReport) {
    fixtures::ScratchDir dir;
    const std::string content(3 * 1024 * 1024 + 17, 'm');
    ASSERT_TRUE(fixtures::WriteFile(dir / L"clip.omf", content));
    ASSERT_TRUE(fixtures::WriteFile(dir / L"copy.omf", std::string("old")));
    Reports reports;
    CancelFlag cancel = 0;
    ASSERT_EQ(CopyFileWithProgress(
                  dir / L"clip.omf", dir / L"copy.omf",
                  [&](uint64_t done, uint64_t size) { reports.emplace_back(done, size); }, &cancel),
              0u);
    EXPECT_EQ(ReadAll(dir / L"copy.omf"), content);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), std::make_pair(uint64_t{content.size()}, uint64_t{content.size()}));
    EXPECT_EQ(cancel, 0);
    // Without routine or flag the copy runs all the same.
    EXPECT_EQ(CopyFileWithProgress(dir / L"clip.omf", dir / L"plain.omf", {}, nullptr), 0u);
    EXPECT_EQ(ReadAll(dir / L"plain.omf"), content);
}

TEST(FileOpsTest, SetFlagRefusesEveryCopyAndLeavesNoTarget) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::WriteFile(dir / L"clip.omf", std::string(4096, 'a')));
    CancelFlag cancel = 1;
    int calls = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(CopyFileWithProgress(
                      dir / L"clip.omf", dir / L"copy.omf", [&](uint64_t, uint64_t) { ++calls; }, &cancel),
                  kErrorRequestAborted);
    }
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(PathExists(dir / L"copy.omf"));
    EXPECT_EQ(cancel, 1);
}

TEST(FileOpsTest, FlagSetDuringTheCopyStopsIt) {
    if (fixtures::SystemCopyIgnoresCancelWhileCopying()) {
        GTEST_SKIP() << "the system copy of this host does not look at the flag while it copies";
    }
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::WriteFile(dir / L"clip.omf", std::string(8 * 1024 * 1024, 'b')));
    CancelFlag cancel = 0;
    const uint32_t result = CopyFileWithProgress(
        dir / L"clip.omf", dir / L"copy.omf",
        [&](uint64_t done, uint64_t) {
            if (done > 0) {
                cancel = 1;
            }
        },
        &cancel);
    EXPECT_EQ(result, kErrorRequestAborted);
    EXPECT_FALSE(PathExists(dir / L"copy.omf"));
}

TEST(FileOpsTest, MissingSourceGivesFileNotFound) {
    fixtures::ScratchDir dir;
    // ERROR_FILE_NOT_FOUND and ENOENT are both 2.
    EXPECT_EQ(CopyFileWithProgress(dir / L"none.omf", dir / L"copy.omf", {}, nullptr), 2u);
    EXPECT_EQ(RemoveFile(dir / L"none.omf"), 2u);
    EXPECT_NE(MoveFileReplacing(dir / L"none.omf", dir / L"other.omf"), 0u);
    EXPECT_EQ(ReadAttributes(dir / L"none.omf"), kInvalidAttributes);
    EXPECT_NE(WriteAttributes(dir / L"none.omf", kAttributeNormal), 0u);
}

TEST(FileOpsTest, MoveReplacesAndDeleteRemoves) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::WriteFile(dir / L"a.omf", std::string("new")));
    ASSERT_TRUE(fixtures::WriteFile(dir / L"b.omf", std::string("old")));
    EXPECT_EQ(MoveFileReplacing(dir / L"a.omf", dir / L"b.omf"), 0u);
    EXPECT_FALSE(PathExists(dir / L"a.omf"));
    EXPECT_EQ(ReadAll(dir / L"b.omf"), "new");
    EXPECT_EQ(RemoveFile(dir / L"b.omf"), 0u);
    EXPECT_FALSE(PathExists(dir / L"b.omf"));
}

TEST(FileOpsTest, ReadOnlyBitRoundTrips) {
    fixtures::ScratchDir dir;
    const std::wstring path = dir / L"locked.omf";
    ASSERT_TRUE(fixtures::WriteFile(path, std::string("x")));
    const uint32_t before = ReadAttributes(path);
    ASSERT_NE(before, kInvalidAttributes);
    EXPECT_EQ(before & (kAttributeReadOnly | kAttributeDirectory), 0u);
    ASSERT_EQ(WriteAttributes(path, before | kAttributeReadOnly), 0u);
    EXPECT_EQ(ReadAttributes(path) & kAttributeReadOnly, kAttributeReadOnly);
    ASSERT_EQ(WriteAttributes(path, ReadAttributes(path) & ~kAttributeReadOnly), 0u);
    EXPECT_EQ(ReadAttributes(path) & kAttributeReadOnly, 0u);
    EXPECT_EQ(RemoveFile(path), 0u);
    EXPECT_EQ(ReadAttributes(dir.Path()) & kAttributeDirectory, kAttributeDirectory);
}

// The same codes for paths the shell takes and for paths past its limit of 247 characters, which are made folder by
// folder. A name ending in a dot is made as written, never as the name without it.
TEST(FileOpsTest, CreateFolderWithParentsAnswersTheShellCodes) {
    name_cases::NameCaseDir dir;
    std::wstring deep;
    ASSERT_NO_FATAL_FAILURE(name_cases::MakeDeepFolder(dir, 300, deep));
    EXPECT_TRUE(IsFolder(deep));
    const std::wstring sep(1, kPathSeparator);
    struct Case {
        std::wstring path; // below the base
        uint32_t result;
    };
    const Case cases[] = {
        {L"one" + sep + L"two" + sep + L"three", 0},   {L"one" + sep + L"two" + sep + L"three", kFolderAlreadyExists},
        {L"one" + sep + L"two", kFolderAlreadyExists}, {L"file", kFolderAlreadyExists},
        {L"file" + sep + L"sub", kFolderPathNotFound}, {L"project.", 0},
    };
    for (const std::wstring& base : {dir / L"near", deep}) {
        ASSERT_EQ(CreateFolderWithParents(base), base == deep ? kFolderAlreadyExists : 0u);
        ASSERT_TRUE(name_cases::WriteLiteral(JoinPath(base, L"file"), "x"));
        for (const Case& c : cases) {
            EXPECT_EQ(CreateFolderWithParents(JoinPath(base, c.path)), c.result) << WideToUtf8(JoinPath(base, c.path));
        }
        EXPECT_TRUE(IsFolder(JoinPath(base, L"one" + sep + L"two" + sep + L"three")));
        EXPECT_TRUE(IsFolder(JoinPath(base, L"project.")));
        EXPECT_FALSE(PathExists(JoinPath(base, L"project")));
    }
    EXPECT_EQ(CreateFolderWithParents(L"relative" + sep + L"folder"), kFolderBadPathName);
    EXPECT_FALSE(PathExists(L"relative"));
}

TEST(FileOpsTest, SameFileIsFoundUnderAnotherSpellingAndThroughALink) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::MakeFolders(dir / L"sub"));
    ASSERT_TRUE(fixtures::WriteFile(dir / L"clip.omf", std::string(1000, 'c')));
    ASSERT_TRUE(fixtures::WriteFile(dir / L"twin.omf", std::string(1000, 'c')));
    const std::wstring roundabout = dir / (L"sub" + Sep() + L".." + Sep() + L"clip.omf");
    const std::wstring link = dir / L"link.omf";
#ifdef _WIN32
    ASSERT_TRUE(CreateHardLinkW(link.c_str(), (dir / L"clip.omf").c_str(), nullptr));
#else
    ASSERT_EQ(::link(WideToUtf8(dir / L"clip.omf").c_str(), WideToUtf8(link).c_str()), 0);
#endif
    EXPECT_TRUE(IsSameFile(dir / L"clip.omf", dir / L"clip.omf"));
    EXPECT_TRUE(IsSameFile(dir / L"clip.omf", roundabout));
    EXPECT_TRUE(IsSameFile(dir / L"clip.omf", link));
    EXPECT_FALSE(IsSameFile(dir / L"clip.omf", dir / L"twin.omf")); // equal bytes, another file
    EXPECT_FALSE(IsSameFile(dir / L"clip.omf", dir / L"none.omf"));
    EXPECT_FALSE(IsSameFile(dir / L"none.omf", dir / L"none.omf"));
    FileIdentity identity;
    ASSERT_TRUE(QueryFileIdentity(roundabout, identity));
    EXPECT_EQ(identity.size, 1000u);
    EXPECT_TRUE(QueryFileIdentity(dir / L"sub", identity));
    EXPECT_FALSE(QueryFileIdentity(L"", identity));
}

// Every operation given a name that Windows would take another way than written, or another spelling of a file,
// acts on that file alone: its neighbour keeps its bytes and its attributes.
TEST(FileOpsTest, EachOperationReachesExactlyTheFileItsPathSpells) {
    name_cases::NameCaseDir dir;
    std::vector<name_cases::NameCase> cases;
    ASSERT_NO_FATAL_FAILURE(name_cases::MakeNameCases(dir, cases));
    for (const name_cases::NameCase& c : cases) {
        SCOPED_TRACE(c.label);
        auto neighbourIsIntact = [&c] {
            EXPECT_EQ(ReadAll(c.neighbour), name_cases::kNeighbourBytes);
            EXPECT_EQ(ReadAttributes(c.neighbour) & kAttributeReadOnly, 0u);
        };
        EXPECT_EQ(ReadAll(c.own), c.ownBytes);
        FileIdentity own;
        FileIdentity neighbour;
        ASSERT_TRUE(QueryFileIdentity(c.own, own));
        ASSERT_TRUE(QueryFileIdentity(c.neighbour, neighbour));
        EXPECT_EQ(own.size, c.ownBytes.size());
        EXPECT_EQ(own.volume == neighbour.volume && own.index == neighbour.index, c.link);

        // Read-only on the neighbour shows on the neighbour alone, and read-only on own stays on own.
        if (!c.link) {
            ASSERT_EQ(WriteAttributes(c.neighbour, kAttributeReadOnly), 0u);
            EXPECT_EQ(ReadAttributes(c.own) & kAttributeReadOnly, 0u);
            ASSERT_EQ(WriteAttributes(c.neighbour, kAttributeNormal), 0u);
        }
        ASSERT_EQ(WriteAttributes(c.own, kAttributeReadOnly), 0u);
        EXPECT_EQ(ReadAttributes(c.own) & kAttributeReadOnly, kAttributeReadOnly);
        if (!c.link) {
            neighbourIsIntact();
        }
        ASSERT_EQ(WriteAttributes(c.own, kAttributeNormal), 0u);

        const std::wstring copy = JoinPath(c.folder, L"copy.omf");
        ASSERT_EQ(CopyFileWithProgress(c.own, copy, {}, nullptr), 0u);
        EXPECT_EQ(ReadAll(copy), c.ownBytes);
        neighbourIsIntact();

        const std::wstring moved = JoinPath(c.folder, L"moved.omf");
        ASSERT_EQ(MoveFileReplacing(c.own, moved), 0u);
        EXPECT_FALSE(PathExists(c.own));
        EXPECT_EQ(ReadAll(moved), c.ownBytes);
        neighbourIsIntact();
        // Back again: the name is a target as it is written.
        ASSERT_EQ(MoveFileReplacing(moved, c.own), 0u);
        EXPECT_FALSE(PathExists(moved));
        EXPECT_EQ(ReadAll(c.own), c.ownBytes);
        neighbourIsIntact();

        // A copy onto the name replaces that file (a copy onto a link would write into the file it leads to).
        if (!c.link) {
            ASSERT_TRUE(name_cases::WriteLiteral(copy, "replacement"));
            ASSERT_EQ(CopyFileWithProgress(copy, c.own, {}, nullptr), 0u);
            EXPECT_EQ(ReadAll(c.own), "replacement");
            neighbourIsIntact();
        }

        ASSERT_EQ(RemoveFile(c.own), 0u);
        EXPECT_FALSE(PathExists(c.own));
        neighbourIsIntact();
    }
}

#ifdef _WIN32
// A spelling that the system would take another way and that has no \\?\ form fails with a code and touches
// nothing: \\.\ paths are trimmed like plain ones.
TEST(FileOpsTest, APathWithoutALongFormFailsAndTouchesNothing) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::WriteFile(dir / L"x.omf", std::string("x")));
    const std::wstring device = L"\\\\.\\" + (dir / L"x.omf.");
    constexpr uint32_t kInvalidName = 123;
    EXPECT_EQ(RemoveFile(device), kInvalidName);
    EXPECT_EQ(WriteAttributes(device, kAttributeReadOnly), kInvalidName);
    EXPECT_EQ(MoveFileReplacing(device, dir / L"moved.omf"), kInvalidName);
    EXPECT_EQ(CopyFileWithProgress(dir / L"x.omf", device, {}, nullptr), kInvalidName);
    EXPECT_EQ(ReadAttributes(device), kInvalidAttributes);
    EXPECT_FALSE(PathExists(device));
    EXPECT_EQ(ReadAll(device), "<missing>");
    EXPECT_EQ(ReadAll(dir / L"x.omf"), "x");
    EXPECT_EQ(ReadAttributes(dir / L"x.omf") & kAttributeReadOnly, 0u);
}
#endif

TEST(FileOpsTest, CopyOntoItselfFailsAndKeepsTheFile) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::MakeFolders(dir / L"sub"));
    const std::string content(2 * 1024 * 1024 + 3, 's');
    ASSERT_TRUE(fixtures::WriteFile(dir / L"clip.omf", content));
    EXPECT_NE(
        CopyFileWithProgress(dir / L"clip.omf", dir / (L"sub" + Sep() + L".." + Sep() + L"clip.omf"), {}, nullptr), 0u);
    EXPECT_EQ(ReadAll(dir / L"clip.omf"), content);
}

TEST(FileOpsTest, CopyThatCannotOpenItsTargetLeavesTheTargetAsItWas) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::WriteFile(dir / L"clip.omf", std::string(4096, 'n')));
    ASSERT_TRUE(fixtures::MakeFolders(dir / L"folder.omf"));
    EXPECT_NE(CopyFileWithProgress(dir / L"clip.omf", dir / L"folder.omf", {}, nullptr), 0u);
    EXPECT_TRUE(IsFolder(dir / L"folder.omf"));
#ifdef _WIN32
    // A target held open without sharing by another handle.
    ASSERT_TRUE(fixtures::WriteFile(dir / L"held.omf", std::string("old")));
    HANDLE held = CreateFileW((dir / L"held.omf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_NE(CopyFileWithProgress(dir / L"clip.omf", dir / L"held.omf", {}, nullptr), 0u);
    CloseHandle(held);
    EXPECT_EQ(ReadAll(dir / L"held.omf"), "old");
    // A source held so: nothing is created.
    held = CreateFileW((dir / L"clip.omf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_NE(CopyFileWithProgress(dir / L"clip.omf", dir / L"new.omf", {}, nullptr), 0u);
    CloseHandle(held);
    EXPECT_FALSE(PathExists(dir / L"new.omf"));
#endif
}

#ifndef _WIN32
// A write that fails part-way, as on a full disk: the process may write files only up to a limit.
TEST(FileOpsTest, CopyFailingPartWayLeavesNoTarget) {
    fixtures::ScratchDir dir;
    const std::string content(4 * 1024 * 1024, 'f');
    ASSERT_TRUE(fixtures::WriteFile(dir / L"clip.omf", content));
    ASSERT_TRUE(fixtures::WriteFile(dir / L"old.omf", std::string("old")));
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = before;
    limited.rlim_cur = 1536 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const uint32_t fresh = CopyFileWithProgress(dir / L"clip.omf", dir / L"copy.omf", {}, nullptr);
    const uint32_t replacing = CopyFileWithProgress(dir / L"clip.omf", dir / L"old.omf", {}, nullptr);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(fresh, static_cast<uint32_t>(EFBIG));
    EXPECT_EQ(replacing, static_cast<uint32_t>(EFBIG));
    EXPECT_FALSE(PathExists(dir / L"copy.omf"));
    EXPECT_FALSE(PathExists(dir / L"old.omf")); // emptied by the copy: no part of it stays
    EXPECT_EQ(ReadAll(dir / L"clip.omf"), content);
}
#endif

TEST(FileOpsTest, ReadOnlyFileIsNotDeletedUntilItsAttributeIsCleared) {
    fixtures::ScratchDir dir;
    const std::wstring path = dir / L"msmFMID.pmr";
    ASSERT_TRUE(fixtures::WriteFile(path, std::string("index")));
    ASSERT_EQ(WriteAttributes(path, ReadAttributes(path) | kAttributeReadOnly), 0u);
    EXPECT_EQ(RemoveFile(path), kAccessDenied);
    EXPECT_EQ(ReadAll(path), "index");
    ASSERT_EQ(WriteAttributes(path, ReadAttributes(path) & ~kAttributeReadOnly), 0u);
    EXPECT_EQ(RemoveFile(path), 0u);
}

TEST(FileOpsTest, FlushWritesFilesReadOnlyOnesIncluded) {
    fixtures::ScratchDir dir;
    const std::wstring path = dir / L"clip.omf";
    ASSERT_TRUE(fixtures::WriteFile(path, std::string(70000, 'w')));
    EXPECT_EQ(FlushFile(path), 0u);
    ASSERT_EQ(WriteAttributes(path, ReadAttributes(path) | kAttributeReadOnly), 0u);
    EXPECT_EQ(FlushFile(path), 0u);
    EXPECT_EQ(ReadAttributes(path) & kAttributeReadOnly, kAttributeReadOnly);
    EXPECT_EQ(FlushFile(dir / L"none.omf"), 2u);
}

} // namespace
} // namespace tw::platform
