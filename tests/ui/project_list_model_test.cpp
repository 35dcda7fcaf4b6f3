#include "ui/project_list_model.h"
#include "ui/window_layout.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(ProjectListModelTest, SortOrders) {
    ProjectEntry a;
    a.name = L"alpha";
    a.totalSize = 5;
    ProjectEntry b;
    b.name = L"Beta";
    b.totalSize = 50;
    EXPECT_LT(CompareProjects(0, &a, &b), 0);
    EXPECT_LT(CompareProjects(1, &b, &a), 0); // larger first
    ProjectEntry c = {};
    c.name = L"ALPHA";
    EXPECT_EQ(CompareProjects(0, &a, &c), 0);
}

TEST(ProjectListModelTest, RowChangesDriveTheFileList) {
    using A = ProjectRowAction;
    EXPECT_EQ(ActionForProjectRow(1, false, true), A::showProject);
    EXPECT_EQ(ActionForProjectRow(2, true, false), A::hideProject);
    EXPECT_EQ(ActionForProjectRow(0, true, false), A::clearFileList);  // the last one: emptied at once
    EXPECT_EQ(ActionForProjectRow(3, true, true), A::none);            // focus only
    EXPECT_EQ(ActionForProjectRow(0, false, false), A::clearFileList); // focus only, nothing selected
}

TEST(ProjectListModelTest, StatisticsText) {
    MediaCatalog catalog;
    EXPECT_EQ(CatalogStatistics(catalog), L"Projects count:\t0\nFiles count:\t0\nTotal size\t0 bytes");
    auto r = std::make_unique<MediaRecord>();
    r->SetProjectName(std::wstring(L"P"));
    r->SetFileName(std::wstring(L"a.omf"));
    r->size = 2048;
    catalog.AddRecord(std::move(r), false);
    EXPECT_EQ(CatalogStatistics(catalog), L"Projects count:\t1\nFiles count:\t0\nTotal size\t2.00 KB");
    catalog.BuildIndex();
    EXPECT_EQ(CatalogStatistics(catalog), L"Projects count:\t1\nFiles count:\t1\nTotal size\t2.00 KB");
}

TEST(WindowGeometryTest, MainLayoutMovesOnlyTheRightAndBottomEdges) {
    const MainLayout now{{292, 227, 911, 528}, {292, 210, 911, 228}, {1, 245, 291, 528}};
    const MainLayout next = LayOutMainWindow(now, 1200, 800, 42);
    EXPECT_EQ(next.fileList, (Rect{292, 227, 1191, 756}));
    EXPECT_EQ(next.statusLabel, (Rect{292, 210, 1191, 228}));
    EXPECT_EQ(next.projectList, (Rect{1, 245, 291, 756}));
}

} // namespace
} // namespace tw
