// FileListView: the file list of the main window (control 1003). One row per media record of the shown
// projects; the bookkeeping is FileListState's and the cell texts, images and orders are file_list_model's.
#pragma once

#include "catalog/media_catalog.h"
#include "platform/platform.h"
#include "ui/file_list_model.h"
#include "ui/file_list_state.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>

namespace tw {

class FileListView : public FileRows {
public:
    static constexpr UINT_PTR kTimerId = 5;
    static constexpr WORD kSelectAll = 32776;
    static constexpr WORD kInvertSelection = 32801;
    static constexpr WORD kSelectPrecomputes = 32803;
    static constexpr int kAccelerators = 142;

    // What the list needs from the rest of the program.
    struct Services {
        FileListState::ProgressFactory openProgress;     // progress windows of refreshes and bulk selections
        std::function<bool(MediaRecord&)> readMediaInfo; // reads a record's own file as a container
        std::function<bool()> pollCancel;                // the keyboard cancel prompt
        HBITMAP sortedMarker = nullptr;                  // bitmap 140
        HBITMAP unsortedMarker = nullptr;                // bitmap 141
        HMENU contextMenu = nullptr;                     // menu 143; its first popup is the file list's
    };

    FileListView(HWND list, HINSTANCE instance, MediaCatalog& catalog, Services services);
    ~FileListView() override;
    FileListView(const FileListView&) = delete;
    FileListView& operator=(const FileListView&) = delete;

    // Builds images and columns, clears the status label and starts the refresh timer.
    void Initialize(HWND statusLabel);
    // Removes every row and resets the bookkeeping.
    void Clear();
    void ShowProject(int32_t id) { state.ShowProject(id, platform::TickCountMs()); }
    void HideProject(int32_t id) { state.HideProject(id, platform::TickCountMs()); }
    void SetUnlocked(bool unlocked) { state.SetUnlocked(unlocked); }
    [[nodiscard]] bool Unlocked() const { return state.Unlocked(); }

    // WM_NOTIFY of the list, forwarded by the main window.
    LRESULT OnNotify(const NMHDR& header);

    void SortByColumn(int column);
    void ToggleColumn(int column);
    void SelectAll();
    void InvertSelection();
    void SelectPrecomputes();
    [[nodiscard]] bool ColumnVisible(int column) const { return visible[column]; }

    // The selection, as the file operations use it.
    [[nodiscard]] int FirstSelected() const { return ListView_GetNextItem(window, -1, LVNI_SELECTED); }
    [[nodiscard]] int NextSelected(int after) const { return ListView_GetNextItem(window, after, LVNI_SELECTED); }
    void Deselect(int row) { ListView_SetItemState(window, row, 0, LVIS_SELECTED); }
    [[nodiscard]] MediaRecord* RecordOfRow(int row) const;
    void RefreshRow(int row, const MediaRecord* record);
    [[nodiscard]] uint64_t SelectedSize() const { return state.SelectedSize(); }

    [[nodiscard]] HWND Window() const { return window; }

    // FileRows
    [[nodiscard]] size_t RowCount() const override;
    [[nodiscard]] size_t SelectedCount() const override;
    void InsertTopRow(const MediaRecord& record) override;
    void RemoveRowOf(int32_t index) override;
    void SetStatusText(const std::wstring& text) override;
    // The list is not redrawn while a project's rows come and go (under Wine a visible list redraws on
    // every insertion, which makes a large project take minutes); it is redrawn once afterwards.
    void BeginRowChanges() override { SendMessageW(window, WM_SETREDRAW, FALSE, 0); }
    void EndRowChanges() override {
        SendMessageW(window, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(window, nullptr, TRUE);
    }

private:
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnItemChanged(const NMLISTVIEW& change);
    void OnCommand(WORD command);
    void ShowContextMenu(POINT screen);
    void SetMarkers(int sortedColumn);
    [[nodiscard]] HMENU HeadingsMenu() const;

    HWND window;
    WNDPROC original = nullptr;
    HINSTANCE instance;
    MediaCatalog& catalog;
    Services services;
    HWND status = nullptr;
    HIMAGELIST images = nullptr;
    HACCEL accelerators = nullptr;
    bool visible[kFileColumnCount] = {};
    FileListState state;
};

} // namespace tw
