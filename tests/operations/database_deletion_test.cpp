#include "fixtures/file_io.h"
#include "operation_doubles.h"
#include "operations/database_deletion.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

#ifdef _WIN32
constexpr uint32_t kAccessDenied = 5;
#else
constexpr uint32_t kAccessDenied = 13;
#endif

TEST(DatabaseDeletionTest, DeletesTheIndexAndTheDatabaseBesideItAndGoesOnPastAFailure) {
    struct Case {
        const char* what;
        bool index;
        bool database;
        bool readOnlyIndex;
        bool indexDeleted;
        std::vector<std::wstring> lines; // "I" and "D" stand for the two paths
    };
    const std::vector<Case> cases = {
        {"both files", true, true, false, true, {L"QRB::Deleted::I", L"QRB::Deleted::D"}},
        {"no media database", true, false, false, true, {L"QRB::Deleted::I"}},
        {"the index removed meanwhile", false, true, false, false, {L"QRB::Deleted::D"}},
        {"neither", false, false, false, false, {}},
        {"a read-only index", true, true, true, false, {L"QRB::DeleteDB::Failed::I", L"E", L"QRB::Deleted::D"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fixtures::ScratchDir dir;
        const std::wstring index = dir / L"msmFMID.pmr";
        const std::wstring database = dir / L"msmMMOB.mdb";
        const std::wstring media = dir / L"clip.omf";
        ASSERT_TRUE(fixtures::WriteFile(media, std::string("media")));
        if (c.index) {
            ASSERT_TRUE(fixtures::WriteFile(index, std::string("index")));
        }
        if (c.database) {
            ASSERT_TRUE(fixtures::WriteFile(database, std::string("database")));
        }
        if (c.readOnlyIndex) {
            ASSERT_EQ(platform::WriteAttributes(index, platform::kAttributeReadOnly), 0u);
        }
        testing_ops::FaultyFileSystem files;
        LineConsole console;
        EXPECT_EQ(DeleteDatabaseFiles(index, files, &console), c.indexDeleted);
        std::vector<std::wstring> expected;
        for (std::wstring line : c.lines) {
            if (line == L"E") {
                LineConsole error;
                error.LogSystemError(kAccessDenied, L"QRB::DeleteDB");
                line = error.lines.at(0);
            } else if (line.back() == L'I') {
                line.replace(line.size() - 1, 1, index);
            } else {
                line.replace(line.size() - 1, 1, database);
            }
            expected.push_back(line);
        }
        EXPECT_EQ(console.lines, expected);
        EXPECT_EQ(platform::PathExists(index), c.index && !c.indexDeleted);
        EXPECT_FALSE(platform::PathExists(database));
        EXPECT_TRUE(platform::PathExists(media)); // media files are never touched
    }
}

} // namespace
} // namespace tw
