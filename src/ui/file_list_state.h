// The file list's bookkeeping, independent of the list control: which projects are shown or waiting to be
// shown or hidden, the listed and selected sizes, and the refresh that a 150 ms timer runs once the project
// selection has been quiet for 500 ms.
#pragma once

#include "catalog/media_catalog.h"
#include "seams/progress.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace tw {

// The list control as the refresh drives it.
class FileRows {
public:
    virtual ~FileRows() = default;
    [[nodiscard]] virtual size_t RowCount() const = 0;
    [[nodiscard]] virtual size_t SelectedCount() const = 0;
    // Inserts a row at position (text fileName, item data index), or at the end when position is past
    // it, whose cells read as RefreshRow would write them from the record.
    virtual void InsertRowAt(size_t position, const MediaRecord& record) = 0;
    // Removes the row whose item data is index, if there is one.
    virtual void RemoveRowOf(int32_t index) = 0;
    virtual void SetStatusText(const std::wstring& text) = 0;
    // Brackets a project's rows being inserted or removed: the list need not be redrawn row by row.
    virtual void BeginRowChanges() {}
    virtual void EndRowChanges() {}
};

class FileListState {
public:
    enum ProjectState : int { hidden = 0, shown = 1, hidePending = 2, showPending = 3 };
    static constexpr uint64_t kQuietMs = 500;
    static constexpr uint32_t kTimerPeriodMs = 150;

    // Opens the progress window of a refresh step with the given caption; may return null.
    using ProgressFactory = std::function<std::unique_ptr<Progress>(const std::wstring& caption)>;

    explicit FileListState(uint64_t now) : lastChange(now) {}

    // The bookkeeping half of clearing the list: no projects, sizes 0, status to be rewritten.
    void Clear(uint64_t now);
    void ShowProject(int32_t id, uint64_t now);
    void HideProject(int32_t id, uint64_t now);

    [[nodiscard]] bool Unlocked() const { return unlocked; }
    void SetUnlocked(bool value) { unlocked = value; }

    // Selection accounting.
    void RowSelected(uint64_t size) {
        selectedSize += size;
        statusDirty = true;
    }
    void RowDeselected(uint64_t size) {
        selectedSize -= size;
        statusDirty = true;
    }
    [[nodiscard]] uint64_t SelectedSize() const { return selectedSize; }
    [[nodiscard]] uint64_t ListedSize() const { return listedSize; }
    void MarkStatusDirty() { statusDirty = true; }

    // The timer's work. Returns at once while a refresh runs, or when the last change is less than 500 ms old.
    void Refresh(uint64_t now, FileRows& rows, MediaCatalog& catalog, const ProgressFactory& openProgress);

    // The state of a project (hidden when it has no entry).
    [[nodiscard]] int StateOf(int32_t id) const;
    [[nodiscard]] bool ChangesPending() const { return changesPending; }

private:
    // Inserts (show) or removes the rows of one project under a progress window with caption; false when
    // the project has no records.
    bool ChangeRows(ProjectEntry& project, FileRows& rows, MediaCatalog& catalog, const ProgressFactory& openProgress,
                    const std::wstring& caption, bool show);

    std::map<int32_t, int> states;
    uint64_t selectedSize = 0;
    uint64_t listedSize = 0;
    bool changesPending = false;
    bool unlocked = true;
    bool statusDirty = true;
    bool refreshRunning = false;
    uint64_t lastChange;
};

} // namespace tw
