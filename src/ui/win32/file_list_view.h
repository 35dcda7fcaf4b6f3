// FileListView: the file list of the main window (control 1003). One row per media record of the shown
// projects; the bookkeeping is FileListState's, the cell texts, images and orders are file_list_model's and the
// media reads of single files are media_file_info's.
#pragma once

#include "catalog/media_catalog.h"
#include "container/bento_container.h"
#include "operations/file_selection.h"
#include "operations/file_system.h"
#include "platform/platform.h"
#include "seams/console.h"
#include "seams/prompts.h"
#include "ui/file_list_model.h"
#include "ui/file_list_state.h"
#include "ui/win32/list_view_control.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

namespace tw {

class FileOperations;

class FileListView : public ListViewControl, public FileRows, public FileSelection {
public:
    static constexpr UINT_PTR kTimerId = 5;

    // What the list needs from the rest of the program.
    struct Services {
        ListResources shown;                         // sort markers and context menus
        FileListState::ProgressFactory openProgress; // progress windows of refreshes and bulk selections
        BentoContainer* container = nullptr;         // the one container reader; null: no media reads
        Prompts* prompts = nullptr;                  // the keyboard cancel prompt of Ctrl+P; null: no stop
        Console* console = nullptr;                  // the log of the file operations; null: none
        std::function<void(bool busy)> setBusy;      // the main window's busy state during a file operation
        FileSystem* files = nullptr;                 // the files the operations reach; null: the platform's
    };

    FileListView(HWND list, HINSTANCE instance, MediaCatalog& catalog, Services services);
    ~FileListView() override;

    // Builds images and columns, clears the status label and starts the refresh timer.
    void Initialize(HWND statusLabel);
    // Removes every row and resets the bookkeeping.
    void Clear();
    void ShowProject(int32_t id) { state.ShowProject(id, platform::TickCountMs()); }
    void HideProject(int32_t id) { state.HideProject(id, platform::TickCountMs()); }
    void SetUnlocked(bool unlocked) { state.SetUnlocked(unlocked); }
    [[nodiscard]] bool Unlocked() const { return state.Unlocked(); }

    void SortByColumn(int column) override;
    void ToggleColumn(int column);
    // Columns and row images follow the display's resolution.
    void OnDpiChanged(int newDpi) override;
    void SelectAll();
    void InvertSelection();
    // Adds the precomputes to the selection, reading the kinds not known yet from the files themselves.
    void SelectPrecomputes();
    [[nodiscard]] bool ColumnVisible(int column) const { return visible[column]; }

    // The file operations on the selection: F5, F6, F8, F2, F4 and their menu entries, and a double click.
    void CopyFiles();
    void MoveFiles();
    void DeleteFiles();
    void ReadMediaInfo();
    // Opens the store dialog when a row is selected.
    void OpenStore();
    // Opens a row's file with its program; nothing for row -1.
    void OpenFile(int row);

    // The selection, as the file operations use it.
    [[nodiscard]] int FirstSelected() const override { return ListView_GetNextItem(window, -1, LVNI_SELECTED); }
    [[nodiscard]] int NextSelected(int after) const override {
        return ListView_GetNextItem(window, after, LVNI_SELECTED);
    }
    void Deselect(int row) override { ListView_SetItemState(window, row, 0, LVIS_SELECTED); }
    [[nodiscard]] MediaRecord* RecordOf(int row) const override { return RecordOfRow(row); }
    void RefreshItem(int row, const MediaRecord& record) override { RefreshRow(row, &record); }
    [[nodiscard]] MediaRecord* RecordOfRow(int row) const;
    void RefreshRow(int row, const MediaRecord* record);
    [[nodiscard]] uint64_t SelectedSize() const override { return state.SelectedSize(); }

    // FileRows
    [[nodiscard]] size_t RowCount() const override;
    [[nodiscard]] size_t SelectedCount() const override;
    void InsertRowAt(size_t position, const MediaRecord& record) override;
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
    // The row images at the size for the list's resolution, replacing those it had.
    void MakeRowImages();
    [[nodiscard]] int CompareItems(int column, LPARAM a, LPARAM b) const override;
    void OnCommand(WORD command) override;
    LRESULT OnListNotify(const NMHDR& header) override;
    bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnItemChanged(const NMLISTVIEW& change);
    // Runs one file operation with prompts of its own; none starts while another runs.
    void RunOperation(void (FileOperations::*operation)());
    [[nodiscard]] FileSystem& Files() { return services.files != nullptr ? *services.files : platformFiles; }
    [[nodiscard]] HMENU HeadingsMenu() const;
    // Answers the list's request for the text of a cell that was never set: the record's cell text.
    void FillCell(NMLVDISPINFOW& info) const;

    MediaCatalog& catalog;
    Services services;
    HWND status = nullptr;
    HIMAGELIST images = nullptr;
    bool visible[kFileColumnCount] = {};
    FileListState state;
    FileSystem platformFiles;
    bool operationRunning = false;
    // Where RemoveRowOf looks first: the row above the one it removed last; -1 for none.
    int removeHint = -1;
    // By record index: the rows whose file was there when they were inserted, which show its date.
    std::vector<bool> datedRows;
};

} // namespace tw
