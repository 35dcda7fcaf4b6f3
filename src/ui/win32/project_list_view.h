// ProjectListView: the project list of the main window (control 1005). Its selection decides which
// projects' files the file list shows.
#pragma once

#include "catalog/media_catalog.h"
#include "ui/win32/file_list_view.h"

#include <windows.h>

#include <commctrl.h>

namespace tw {

class ProjectListView {
public:
    struct Services {
        HBITMAP sortedMarker = nullptr;   // bitmap 140
        HBITMAP unsortedMarker = nullptr; // bitmap 141
        HMENU contextMenu = nullptr;      // menu 143; its second popup is the project list's
    };

    ProjectListView(HWND list, HINSTANCE instance, MediaCatalog& catalog, Services services);
    ~ProjectListView();
    ProjectListView(const ProjectListView&) = delete;
    ProjectListView& operator=(const ProjectListView&) = delete;

    // Inserts the two fixed-width columns and takes the file list it drives.
    void Initialize(FileListView& fileList);
    // Lists every project of the catalog, none selected, and empties the file list.
    void Refill();
    void SelectAll();
    void SortByColumn(int column);

    // WM_NOTIFY of the list, forwarded by the main window.
    LRESULT OnNotify(const NMHDR& header);

    [[nodiscard]] HWND Window() const { return window; }

private:
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void SetMarkers(int sortedColumn);
    void KeepColumnWidths();

    HWND window;
    WNDPROC original = nullptr;
    HINSTANCE instance;
    MediaCatalog& catalog;
    Services services;
    FileListView* fileList = nullptr;
    HACCEL accelerators = nullptr;
};

} // namespace tw
