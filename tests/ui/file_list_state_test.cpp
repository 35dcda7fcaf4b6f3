#include "ui/file_list_state.h"

#include "fixtures/recording_progress.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tw {
namespace {

class FakeRows : public FileRows {
public:
    size_t RowCount() const override { return rows.size(); }
    size_t SelectedCount() const override { return selected; }
    void InsertRowAt(size_t position, const MediaRecord& record) override {
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(std::min(position, rows.size())), record.index);
        ++inserts;
    }
    void RemoveRowOf(int32_t index) override {
        auto it = std::find(rows.begin(), rows.end(), index);
        if (it != rows.end()) {
            rows.erase(it);
        }
        ++removals;
    }
    void SetStatusText(const std::wstring& text) override { status = text; }
    std::vector<int32_t> rows;
    size_t selected = 0;
    int inserts = 0;
    int removals = 0;
    std::wstring status;
};

class FileListStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int p = 0; p < 2; ++p) {
            for (int f = 0; f < 3; ++f) {
                auto r = std::make_unique<MediaRecord>();
                r->SetProjectName(std::wstring(p == 0 ? L"A" : L"B"));
                r->SetFileName(std::to_wstring(f) + L".omf");
                r->size = 100;
                catalog.AddRecord(std::move(r), false);
            }
        }
        catalog.BuildIndex();
    }
    void Refresh() {
        state.Refresh(now, rows, catalog, [this](const std::wstring& caption) -> std::unique_ptr<Progress> {
            captions.push_back(caption);
            auto progress = std::make_unique<fixtures::RecordingProgress>();
            progress->onProgress = duringProgress;
            return progress;
        });
    }

    MediaCatalog catalog;
    uint64_t now = 10000;
    FileListState state{now};
    FakeRows rows;
    std::vector<std::wstring> captions;
    std::function<void()> duringProgress;
};

TEST_F(FileListStateTest, RowsFollowTheSelectionAfterAQuietPeriod) {
    state.ShowProject(0, now);
    now += 499;
    Refresh();
    EXPECT_TRUE(rows.rows.empty()); // not yet quiet
    EXPECT_TRUE(rows.status.empty());
    now += 1;
    Refresh();
    EXPECT_EQ(rows.rows.size(), 3u);
    EXPECT_EQ(captions, std::vector<std::wstring>{L"A"});
    EXPECT_EQ(state.StateOf(0), FileListState::shown);
    EXPECT_EQ(state.ListedSize(), 300u);
    now += 150;
    Refresh(); // the status line follows on the next tick
    EXPECT_EQ(rows.status, L" 300 bytes in 3 items");

    // Rows of a shown project come at the top, in the reverse of the catalog's order.
    std::vector<int32_t> order;
    for (bool r = catalog.FirstRecord(catalog.ProjectAt(0)); r; r = catalog.NextRecord()) {
        order.insert(order.begin(), catalog.CurrentRecord()->index);
    }
    EXPECT_EQ(rows.rows, order);

    state.HideProject(0, now);
    now += 500;
    Refresh();
    EXPECT_TRUE(rows.rows.empty());
    EXPECT_EQ(captions.back(), L"Cleaning Up");
    EXPECT_EQ(state.ListedSize(), 0u);
    EXPECT_EQ(state.StateOf(0), FileListState::hidden);
}

TEST_F(FileListStateTest, ChangesUndoneWithinTheQuietPeriodTouchNoRows) {
    state.ShowProject(1, now);
    state.HideProject(1, now + 100);
    now += 700;
    Refresh();
    EXPECT_EQ(rows.inserts + rows.removals, 0);

    state.ShowProject(1, now);
    now += 500;
    Refresh();
    ASSERT_EQ(rows.rows.size(), 3u);
    const int inserts = rows.inserts;
    state.HideProject(1, now);
    state.ShowProject(1, now + 50);
    now += 600;
    Refresh();
    EXPECT_EQ(rows.rows.size(), 3u); // no duplicates, nothing removed
    EXPECT_EQ(rows.inserts, inserts);
    EXPECT_EQ(rows.removals, 0);
}

TEST_F(FileListStateTest, LockedListKeepsChangesPending) {
    state.ShowProject(0, now);
    state.SetUnlocked(false);
    now += 1000;
    Refresh();
    EXPECT_TRUE(rows.rows.empty());
    EXPECT_TRUE(state.ChangesPending());
    state.SetUnlocked(true);
    Refresh();
    EXPECT_EQ(rows.rows.size(), 3u);
}

TEST_F(FileListStateTest, DeselectedWhileItsRowsWereInsertedIsRemovedAfterwards) {
    state.ShowProject(0, now);
    now += 500;
    bool once = true;
    duringProgress = [&] {
        if (once) {
            once = false;
            state.HideProject(0, now); // the user deselects while the progress window pumps messages
        }
    };
    Refresh();
    duringProgress = nullptr;
    now += 500;
    Refresh();
    EXPECT_TRUE(rows.rows.empty());
    EXPECT_EQ(state.StateOf(0), FileListState::hidden);
}

TEST_F(FileListStateTest, ClearForgetsProjectsAndSizes) {
    state.ShowProject(0, now);
    now += 500;
    Refresh();
    state.RowSelected(100);
    EXPECT_EQ(state.SelectedSize(), 100u);
    state.Clear(now);
    EXPECT_EQ(state.SelectedSize(), 0u);
    EXPECT_EQ(state.ListedSize(), 0u);
    EXPECT_EQ(state.StateOf(0), FileListState::hidden);
    rows.rows.clear();
    now += 500;
    Refresh();
    EXPECT_EQ(rows.status, L" 0 bytes in 0 items");
}

} // namespace
} // namespace tw
