// What the report shows of loaded catalogs: the databases read and the records each added, the states of the files,
// the files of no database, the order of the rows and the copies of one media file in several places.
#include "catalog/media_catalog.h"
#include "fixtures/file_io.h"
#include "fixtures/media_folder_writer.h"
#include "platform/platform.h"
#include "ui/report_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace tw {
namespace {

MediaRecord Record(uint64_t fileMobId, uint64_t size, const std::wstring& path, const std::wstring& name) {
    MediaRecord record;
    record.fileMobId = fileMobId;
    record.size = size;
    record.SetPath(path);
    record.SetFileName(name);
    record.SetProjectName(L"P");
    return record;
}

TEST(ReportInput, DuplicatesAreCopiesInSeveralPlacesLargestTotalFirst) {
    const std::wstring a = fixtures::NativePath(L"|A|");
    const std::wstring b = fixtures::NativePath(L"|B|");
    const std::wstring c = fixtures::NativePath(L"|C|");
    const MediaRecord records[] = {
        Record(7, 10, a, L"x.omf"),  // 0: group of 7, 30 bytes in all
        Record(9, 50, a, L"y.omf"),  // 1: group of 9, 100 bytes
        Record(7, 20, b, L"x.omf"),  // 2
        Record(9, 50, b, L"y.omf"),  // 3
        Record(0, 90, a, L"z.omf"),  // 4: no fileMobId: a copy of nothing
        Record(0, 90, b, L"z.omf"),  // 5
        Record(5, 40, a, L"w.omf"),  // 6: one file listed twice is one copy, and no group
        Record(5, 40, a, L"w.omf"),  // 7
        Record(7, 20, b, L"x.omf"),  // 8: the copy in B again
        Record(11, 15, c, L"v.omf"), // 9: alone
        Record(3, 15, a, L"u.omf"),  // 10: a group of 30 bytes, like that of 7, whose fileMobId is smaller
        Record(3, 15, c, L"u.omf"),  // 11
    };
    std::vector<const MediaRecord*> pointers;
    for (const MediaRecord& record : records) {
        pointers.push_back(&record);
    }
    const std::vector<DuplicateGroup> groups = GroupDuplicates(pointers);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].members, (std::vector<size_t>{1, 3}));
    EXPECT_EQ(groups[0].totalBytes, 100u);
    EXPECT_EQ(groups[0].largestBytes, 50u);
    EXPECT_EQ(groups[1].members, (std::vector<size_t>{10, 11}));
    EXPECT_EQ(groups[2].members, (std::vector<size_t>{0, 2}));
    EXPECT_EQ(groups[2].totalBytes, 30u);
    EXPECT_EQ(groups[2].largestBytes, 20u);
}

TEST(ReportInput, StatesOfARecord) {
    const ReferencedIds bins = {{0x22, 0x1}};
    struct Case {
        uint64_t fileMobId;
        bool missing;
        std::wstring project;
        bool binsGiven;
        uint32_t states;
    };
    const Case cases[] = {
        {0x100000022, false, L"P", false, 0},
        {0x100000022, false, L"P", true, kStateUsed},
        {0x100000023, false, L"P", true, kStateUnused},
        {0, false, L"**UNREFERENCED FILES", true, kStateUnreferenced | kStateUnused},
        {0x100000022, true, L"P", true, kStateMissing | kStateUsed},
        {0x100000023, true, L"P", false, kStateMissing},
    };
    for (const Case& c : cases) {
        MediaRecord record = Record(c.fileMobId, 1, L"", L"n");
        record.SetProjectName(c.project);
        record.attributes = c.missing ? kMissingAttributes : 0;
        EXPECT_EQ(ReportStatesOf(record, c.binsGiven ? &bins : nullptr), c.states) << c.fileMobId << " " << c.missing;
    }
}

// Two databases loaded into one catalog, as the window loads them, and a media file dropped on its own: every record
// is a row of its database once, the missing ones by the place their database put them, the dropped file under its
// folder; the rows in the load table's order, the copy in both databases a duplicate.
TEST(ReportInput, ACatalogOfSeveralDatabasesAndADroppedFile) {
    fixtures::ScratchDir drive(L"tw-report-catalog");
    fixtures::SampleMediaOptions options;
    options.projects = {"Harbour Lights", "Cliffs"};
    options.extensions = {"omf", "wav"};
    options.missingPercent = 20;
    options.unreferencedPercent = 10;
    fixtures::MediaFolder first;
    first.files = fixtures::MakeSampleMedia(12, 3, options);
    options.idSeries = 1;
    fixtures::MediaFolder second;
    second.files = fixtures::MakeSampleMedia(10, 4, options);
    // A copy of the first folder's first file on disk, with its fileMobId, under another project (the catalog lists
    // a file name once in a project).
    const auto copied = std::find_if(first.files.begin(), first.files.end(),
                                     [](const fixtures::MediaFile& f) { return f.onDisk && f.indexed; });
    ASSERT_NE(copied, first.files.end());
    second.files.push_back(*copied);
    second.files.back().project = "Archive";
    const std::wstring a = drive / fixtures::NativePath(L"A|OMFI MediaFiles");
    const std::wstring b = drive / fixtures::NativePath(L"B|OMFI MediaFiles");
    const std::wstring loose = drive / L"Loose";
    ASSERT_TRUE(fixtures::WriteMediaFolder(a, first));
    ASSERT_TRUE(fixtures::WriteMediaFolder(b, second));
    // The second index ends in bytes that are no entry: its reader reports damaged data.
    {
        std::FILE* index = std::fopen(platform::WideToUtf8(platform::JoinPath(b, L"msmFMID.pmr")).c_str(), "ab");
        ASSERT_NE(index, nullptr);
        const std::string junk(37, '\0');
        std::fwrite(junk.data(), 1, junk.size(), index);
        std::fclose(index);
    }
    ASSERT_TRUE(fixtures::MakeFolders(loose));
    ASSERT_TRUE(fixtures::WriteFile(platform::JoinPath(loose, L"dropped.mxf"), std::string(100, 'm')));

    LineConsole console;
    MediaCatalog catalog(&console);
    std::vector<LoadedDatabase> loaded;
    for (const std::wstring& folder : {a, b}) {
        loaded.push_back(LoadDatabaseForReport(catalog, platform::JoinPath(folder, L"msmFMID.pmr"), true, nullptr,
                                               nullptr, &console));
    }
    std::wstring droppedPath = platform::JoinPath(loose, L"dropped.mxf");
    ASSERT_EQ(catalog.AddLooseMxfFile(droppedPath), 1);
    EXPECT_FALSE(loaded[0].database.damaged);
    EXPECT_TRUE(loaded[1].database.damaged);
    EXPECT_EQ(std::count(console.lines.begin(), console.lines.end(), std::wstring(kBadDataLine)), 1);

    DriveInfo root;
    root.root = drive.Path();
    const ReportInput input = CatalogReport(catalog, loaded, true, {root});
    ASSERT_EQ(input.databases.size(), 3u);
    EXPECT_EQ(input.databases[0].folder, a);
    EXPECT_EQ(input.databases[1].folder, b);
    EXPECT_EQ(input.databases[2].indexPath, loose);
    EXPECT_EQ(input.databases[2].folder, loose);
    EXPECT_EQ(input.databases[2].entries, 1u);
    for (const ReportDatabase& database : input.databases) {
        EXPECT_TRUE(database.opened);
        EXPECT_EQ(database.drive, 0);
    }
    EXPECT_TRUE(input.includeMissing);
    EXPECT_FALSE(input.binsGiven);

    // Each record once, with the database whose load added it.
    ASSERT_EQ(input.files.size(), catalog.IndexedRecordCount());
    std::set<const MediaRecord*> seen;
    size_t missing = 0;
    size_t duplicates = 0;
    for (const ReportFile& file : input.files) {
        EXPECT_TRUE(seen.insert(file.record).second);
        ASSERT_LT(file.database, input.databases.size());
        if (file.record->IsMissing()) {
            ++missing;
            EXPECT_EQ(file.states & kStateMissing, kStateMissing);
        } else {
            EXPECT_EQ(platform::RemoveTrailingSeparator(std::wstring(file.record->path.view())),
                      input.databases[file.database].folder);
        }
        if ((file.states & kStateDuplicate) != 0) {
            ++duplicates;
            EXPECT_EQ(file.duplicateGroup, 1u);
            EXPECT_EQ(file.record->fileMobId, copied->media.fileMobId);
        }
    }
    EXPECT_GT(missing, 0u);
    EXPECT_EQ(duplicates, 2u);
    // The missing records of each database are its own: those its index names that its folder does not hold.
    for (size_t d = 0; d < 2; ++d) {
        std::set<std::wstring> expected;
        for (const fixtures::MediaFile& f : (d == 0 ? first : second).files) {
            if (f.indexed && !f.onDisk) {
                expected.insert(fixtures::DiskName(f.name));
            }
        }
        std::set<std::wstring> found;
        for (const ReportFile& file : input.files) {
            if (file.database == d && file.record->IsMissing()) {
                found.insert(std::wstring(file.record->fileName.view()));
            }
        }
        EXPECT_EQ(found, expected) << d;
    }
    // In the order of the load table: project, file name, folder.
    EXPECT_TRUE(std::is_sorted(input.files.begin(), input.files.end(), [](const ReportFile& x, const ReportFile& y) {
        const auto key = [](const ReportFile& f) {
            return std::make_tuple(f.record->projectName.view(), f.record->fileName.view(), f.record->path.view());
        };
        return key(x) < key(y);
    }));
}

} // namespace
} // namespace tw
