#include "catalog/media_catalog.h"

#include <gtest/gtest.h>

#include <set>

namespace tw {
namespace {

std::unique_ptr<MediaRecord> Record(const std::wstring& project, const std::wstring& name, uint64_t size = 0,
                                    uint32_t attributes = 0, uint64_t fileMobId = 0) {
    auto r = std::make_unique<MediaRecord>();
    r->SetProjectName(project);
    r->SetFileName(name);
    r->size = size;
    r->attributes = attributes;
    r->fileMobId = fileMobId;
    return r;
}

class MediaCatalogTest : public ::testing::Test {
protected:
    LineConsole console;
    MediaCatalog catalog{&console};
};

TEST_F(MediaCatalogTest, FirstRecordOfANameInAProjectWins) {
    catalog.AddRecord(Record(L"P", L"a.omf", 100), false);
    catalog.AddRecord(Record(L"P", L"a.omf", 999), false);
    catalog.AddRecord(Record(L"Q", L"a.omf", 10), false); // same name, other project: kept
    catalog.BuildIndex();
    EXPECT_EQ(catalog.RecordCount(), 2);
    EXPECT_EQ(catalog.IndexedRecordCount(), 2u);
    EXPECT_EQ(catalog.ProjectCount(), 2u);
    EXPECT_EQ(catalog.TotalSize(), 110u);
    ASSERT_NE(catalog.RecordAt(0), nullptr);
    EXPECT_EQ(catalog.RecordAt(0)->size, 100u);
    EXPECT_EQ(catalog.RecordAt(1)->projectName, L"Q");
    EXPECT_EQ(catalog.ProjectAt(0)->totalSize, 100u);
    EXPECT_EQ(catalog.ProjectAt(1)->totalSize, 10u);
    // One console line per created project, none for joining or rejected records.
    EXPECT_EQ(console.lines, (std::vector<std::wstring>{L"P", L"Q"}));
}

TEST_F(MediaCatalogTest, NamesCompareExactly) {
    catalog.AddRecord(Record(L"P", L"a.omf"), false);
    catalog.AddRecord(Record(L"P", L"A.omf"), false);
    catalog.AddRecord(Record(L"p", L"a.omf"), false);
    EXPECT_EQ(catalog.RecordCount(), 3);
    EXPECT_EQ(catalog.ProjectCount(), 2u);
}

TEST_F(MediaCatalogTest, MissingRecordsFollowIncludeMissing) {
    catalog.AddRecord(Record(L"P", L"gone.omf", 0, kMissingAttributes), false);
    EXPECT_EQ(catalog.RecordCount(), 0);
    EXPECT_EQ(catalog.ProjectCount(), 0u); // a rejected record creates no project
    EXPECT_TRUE(console.lines.empty());
    catalog.AddRecord(Record(L"P", L"gone.omf", 0, kMissingAttributes), true);
    catalog.AddRecord(Record(L"P", L"here.omf", 5), true);
    catalog.BuildIndex();
    EXPECT_EQ(catalog.RecordCount(), 2);
    EXPECT_EQ(catalog.TotalSize(), 5u);
    EXPECT_EQ(catalog.RecordAt(0)->index, 0); // the rejected record took no index
    EXPECT_TRUE(catalog.RecordAt(0)->IsMissing());
}

TEST_F(MediaCatalogTest, IndexArraysFollowBuildIndex) {
    EXPECT_EQ(catalog.RecordAt(0), nullptr);
    EXPECT_EQ(catalog.ProjectAt(0), nullptr);
    catalog.AddRecord(Record(L"P", L"1.omf", 1), false);
    EXPECT_EQ(catalog.RecordAt(0), nullptr); // not before the first BuildIndex
    catalog.BuildIndex();
    catalog.AddRecord(Record(L"Q", L"2.omf", 2), false);
    EXPECT_EQ(catalog.RecordCount(), 2);
    EXPECT_EQ(catalog.IndexedRecordCount(), 1u); // the summary shows the indexed count
    EXPECT_NE(catalog.RecordAt(0), nullptr);
    EXPECT_EQ(catalog.RecordAt(1), nullptr);
    EXPECT_NE(catalog.ProjectAt(0), nullptr);
    EXPECT_EQ(catalog.ProjectAt(1), nullptr); // created after the last BuildIndex
    catalog.BuildIndex();
    EXPECT_EQ(catalog.RecordAt(1)->fileName, L"2.omf");
    EXPECT_EQ(catalog.ProjectAt(1)->name, L"Q");
    catalog.Clear();
    EXPECT_EQ(catalog.RecordAt(0), nullptr);
    EXPECT_EQ(catalog.ProjectAt(0), nullptr);
    EXPECT_EQ(catalog.ProjectCount(), 0u);
    EXPECT_EQ(catalog.IndexedRecordCount(), 0u);
    EXPECT_EQ(catalog.TotalSize(), 0u);
    catalog.AddRecord(Record(L"R", L"3.omf", 3), false);
    catalog.BuildIndex();
    EXPECT_EQ(catalog.RecordAt(0)->index, 0); // numbering starts again after Clear
    EXPECT_EQ(catalog.ProjectAt(0)->id, 0);
}

TEST_F(MediaCatalogTest, ClearLeavesTheFolderListingAlone) {
    catalog.diskFiles[L"x.omf"] = DiskFileInfo{0x20, 1, 2, L"/f"};
    catalog.AddRecord(Record(L"P", L"a.omf"), false);
    catalog.Clear();
    EXPECT_EQ(catalog.diskFiles.size(), 1u);
}

TEST_F(MediaCatalogTest, ReferencedRecordsNeedBothHalvesOfTheFileMobId) {
    const ReferencedIds ids = {{0x11111111u, 0x22222222u}};
    catalog.AddReferencedRecord(Record(L"P", L"in.omf", 1, 0, 0x2222222211111111ull), false, ids);
    catalog.AddReferencedRecord(Record(L"P", L"low.omf", 1, 0, 0x3333333311111111ull), false, ids);
    catalog.AddReferencedRecord(Record(L"P", L"high.omf", 1, 0, 0x2222222244444444ull), false, ids);
    catalog.AddReferencedRecord(Record(L"P", L"swapped.omf", 1, 0, 0x1111111122222222ull), false, ids);
    EXPECT_EQ(catalog.RecordCount(), 1);
    catalog.BuildIndex();
    EXPECT_EQ(catalog.RecordAt(0)->fileName, L"in.omf");
}

// A loader fills one record again and again: the catalog moves each in and leaves it empty. Accepted records
// keep their place however many follow, and a refused one takes no index.
TEST_F(MediaCatalogTest, RecordsMovedInKeepTheirPlaceAndIndex) {
    MediaRecord record;
    MediaRecord* first = nullptr;
    for (int i = 0; i < 10000; ++i) {
        record.SetProjectName(i % 3 == 0 ? L"P" : L"Q");
        record.SetFileName(std::to_wstring(i % 6000) + L".omf"); // names repeat from 6000 on
        record.size = static_cast<uint64_t>(i);
        catalog.AddRecord(std::move(record), false);
        EXPECT_FALSE(record.fileName.has_value());
        EXPECT_EQ(record.size, 0u);
        if (i == 0) {
            catalog.BuildIndex();
            first = catalog.RecordAt(0);
        }
    }
    catalog.BuildIndex();
    ASSERT_EQ(catalog.IndexedRecordCount(), 6000u);
    EXPECT_EQ(catalog.RecordAt(0), first);
    for (uint32_t i = 0; i < 6000; ++i) {
        const MediaRecord* r = catalog.RecordAt(i);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->index, static_cast<int32_t>(i));
        EXPECT_EQ(r->fileName, std::to_wstring(i) + L".omf");
        EXPECT_EQ(r->size, i); // the first record of each name won
    }
    EXPECT_EQ(catalog.RecordAt(6000), nullptr);
    EXPECT_EQ(catalog.TotalSize(), 6000ull * 5999 / 2);
}

TEST_F(MediaCatalogTest, EnumerationVisitsEveryProjectAndRecordOnce) {
    for (int p = 0; p < 5; ++p) {
        for (int f = 0; f < 7; ++f) {
            catalog.AddRecord(Record(L"P" + std::to_wstring(p), std::to_wstring(f) + L".omf", 1), false);
        }
    }
    std::set<std::wstring> seen;
    int projects = 0;
    for (bool p = catalog.FirstProject(); p; p = catalog.NextProject()) {
        ++projects;
        ProjectEntry* project = catalog.CurrentProject();
        for (bool r = catalog.FirstRecord(project); r; r = catalog.NextRecord()) {
            seen.insert(project->name + L"/" + catalog.CurrentRecord()->fileName.str());
            EXPECT_EQ(catalog.CurrentRecord()->projectId, project->id);
        }
    }
    EXPECT_EQ(projects, 5);
    EXPECT_EQ(seen.size(), 35u);
    EXPECT_EQ(catalog.CurrentProject(), nullptr);
    EXPECT_FALSE(catalog.NextProject());
    EXPECT_FALSE(catalog.FirstRecord(nullptr));
    EXPECT_EQ(catalog.CurrentRecord(), nullptr);
}

TEST_F(MediaCatalogTest, FindRecordByFileNameSearchesEveryProject) {
    catalog.AddRecord(Record(L"P", L"a.omf"), false);
    catalog.AddRecord(Record(L"Q", L"b.omf"), false);
    ASSERT_NE(catalog.FindRecordByFileName(L"b.omf"), nullptr);
    EXPECT_EQ(*catalog.FindRecordByFileName(L"b.omf")->projectName, L"Q");
    EXPECT_EQ(catalog.FindRecordByFileName(L"B.omf"), nullptr);
}

} // namespace
} // namespace tw
