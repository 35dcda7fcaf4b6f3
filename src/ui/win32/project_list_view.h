// ProjectListView: the project list of the main window (control 1005). Its selection decides which
// projects' files the file list shows.
#pragma once

#include "catalog/media_catalog.h"
#include "ui/win32/file_list_view.h"
#include "ui/win32/list_view_control.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace tw {

class ProjectListView : public ListViewControl {
public:
    ProjectListView(HWND list, HINSTANCE instance, MediaCatalog& catalog, const ListResources& resources);

    // Inserts the two fixed-width columns and takes the file list it drives.
    void Initialize(FileListView& fileList);
    // Lists every project of the catalog, none selected, and empties the file list.
    void Refill();
    void SelectAll();
    void SortByColumn(int column) override;
    // The fixed widths follow the display's resolution.
    void OnDpiChanged(int newDpi) override;
    // Who takes the files, folders and bins dropped on the list (the main window); the names in the drop's order.
    void SetDropHandler(std::function<void(const std::vector<std::wstring>& names)> handler) {
        onDrop = std::move(handler);
    }

private:
    [[nodiscard]] int CompareItems(int column, LPARAM a, LPARAM b) const override;
    void OnCommand(WORD command) override;
    LRESULT OnListNotify(const NMHDR& header) override;
    bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnItemChanged(const NMLISTVIEW& change);
    void KeepColumnWidths();

    MediaCatalog& catalog;
    FileListView* fileList = nullptr;
    std::function<void(const std::vector<std::wstring>&)> onDrop;
};

} // namespace tw
