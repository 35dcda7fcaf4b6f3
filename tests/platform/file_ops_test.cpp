#include "fixtures/file_io.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
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

// Wine's system copy neither calls the progress routine nor looks at the cancel flag while it copies.
bool SystemCopyIgnoresFlagWhileCopying() {
#ifdef _WIN32
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#else
    return false;
#endif
}

using Reports = std::vector<std::pair<uint64_t, uint64_t>>;

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
    if (SystemCopyIgnoresFlagWhileCopying()) {
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

TEST(FileOpsTest, CreateFolderWithParentsAnswersTheShellCodes) {
    fixtures::ScratchDir dir;
    const std::wstring sep(1, kPathSeparator);
    ASSERT_TRUE(fixtures::WriteFile(dir / L"file", std::string("x")));
    struct Case {
        std::wstring path;
        uint32_t result;
    };
    const Case cases[] = {
        {dir / (L"one" + sep + L"two" + sep + L"three"), 0},
        {dir / (L"one" + sep + L"two" + sep + L"three"), kFolderAlreadyExists},
        {dir / (L"one" + sep + L"two"), kFolderAlreadyExists},
        {dir / L"file", kFolderAlreadyExists},
        {L"relative" + sep + L"folder", kFolderBadPathName},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CreateFolderWithParents(c.path), c.result) << WideToUtf8(c.path);
    }
    EXPECT_TRUE(IsFolder(dir / (L"one" + sep + L"two" + sep + L"three")));
    EXPECT_FALSE(PathExists(L"relative"));
}

} // namespace
} // namespace tw::platform
