// Saving the report: a new file, a file replaced, and every step failing in turn without losing the file there or
// leaving the temporary file behind.
#include "fixtures/file_io.h"
#include "operations/file_system.h"
#include "platform/platform.h"
#include "ui/report_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace tw {
namespace {

std::string ReadWholeFile(const std::wstring& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(platform::WideToUtf8(path).c_str(), "rb")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) != 0;) {
            bytes.append(buffer, n);
        }
        std::fclose(file);
    }
    return bytes;
}

// The file system with one step failing, and what it was asked.
class FailingFileSystem : public FileSystem {
public:
    enum class Step { none, flush, move };
    explicit FailingFileSystem(Step failing) : failing(failing) {}
    uint32_t FlushFile(const std::wstring& path) override {
        flushed = path;
        return failing == Step::flush ? EIO : FileSystem::FlushFile(path);
    }
    uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) override {
        return failing == Step::move ? EACCES : FileSystem::MoveFileReplacing(source, target);
    }
    Step failing;
    std::wstring flushed;
};

TEST(ReportFile, WritesANewFileAndReplacesOneThere) {
    fixtures::ScratchDir dir(L"tw-report-file");
    const std::wstring target = dir / L"tarnwick-report.html";
    FailingFileSystem files(FailingFileSystem::Step::none);
    ASSERT_EQ(WriteFileReplacing(target, "first", files), 0u);
    EXPECT_EQ(ReadWholeFile(target), "first");
    EXPECT_EQ(files.flushed, PartialFileOf(target)); // on the disk before the rename
    const std::string page(300000, 'p');
    ASSERT_EQ(WriteFileReplacing(target, page, files), 0u);
    EXPECT_EQ(ReadWholeFile(target), page);
    EXPECT_FALSE(platform::PathExists(PartialFileOf(target)));
    EXPECT_EQ(PartialFileOf(target), target + L".tarnwick-partial");
}

TEST(ReportFile, AStepThatFailsKeepsTheFileThere) {
#ifdef _WIN32
    const uint32_t accessDenied = 5; // ERROR_ACCESS_DENIED
#else
    const uint32_t accessDenied = EACCES;
#endif
    struct Case {
        const char* what;
        FailingFileSystem::Step failing;
        bool partialBlocked; // a folder has the temporary file's name
        bool readOnly;       // the file there is read-only
        uint32_t code;       // 0: whatever the system answers
    };
    const Case cases[] = {
        {"the flush", FailingFileSystem::Step::flush, false, false, EIO},
        {"the rename", FailingFileSystem::Step::move, false, false, EACCES},
        {"the temporary file", FailingFileSystem::Step::none, true, false, 0},
        {"a read-only file there", FailingFileSystem::Step::none, false, true, accessDenied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fixtures::ScratchDir dir(L"tw-report-file");
        const std::wstring target = dir / L"report.html";
        ASSERT_TRUE(fixtures::WriteFile(target, std::string("yesterday")));
        if (c.partialBlocked) {
            ASSERT_TRUE(fixtures::MakeFolders(PartialFileOf(target)));
        }
        if (c.readOnly) {
            ASSERT_EQ(platform::WriteAttributes(target, platform::kAttributeReadOnly), 0u);
        }
        FailingFileSystem files(c.failing);
        const uint32_t code = WriteFileReplacing(target, "today", files);
        EXPECT_NE(code, 0u);
        if (c.code != 0) {
            EXPECT_EQ(code, c.code);
        }
        EXPECT_EQ(ReadWholeFile(target), "yesterday");
        EXPECT_EQ(platform::PathExists(PartialFileOf(target)), c.partialBlocked);
        EXPECT_EQ(platform::IsFolder(PartialFileOf(target)), c.partialBlocked);
        if (c.readOnly) {
            EXPECT_EQ(platform::WriteAttributes(target, platform::kAttributeNormal), 0u);
        }
    }
    // A folder that is not there: nothing is made.
    fixtures::ScratchDir dir(L"tw-report-file");
    const std::wstring target = dir / fixtures::NativePath(L"gone|report.html");
    FailingFileSystem files(FailingFileSystem::Step::none);
#ifdef _WIN32
    const uint32_t pathNotFound = 3; // ERROR_PATH_NOT_FOUND
#else
    const uint32_t pathNotFound = ENOENT;
#endif
    EXPECT_EQ(WriteFileReplacing(target, "today", files), pathNotFound);
    EXPECT_FALSE(platform::PathExists(platform::RemoveFileSpec(target)));
}

} // namespace
} // namespace tw
