// ListViewControl: what the main window's two lists share. Both subclass their list control, give it
// left-aligned columns with sort markers at the right of the captions, translate the accelerators of table 142
// while they have the focus, sort their rows by the item data on a header click, select every row from the
// last to the first and open their popup of the context menus on a right click.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace tw {

// The program's shared resources that the lists show.
struct ListResources {
    HBITMAP sortedMarker = nullptr;   // bitmap 140: the column the list was last sorted by
    HBITMAP unsortedMarker = nullptr; // bitmap 141: every other column
    HMENU contextMenus = nullptr;     // menu 143: the file list's popup first, the project list's second
};

class ListViewControl {
public:
    ListViewControl(const ListViewControl&) = delete;
    ListViewControl& operator=(const ListViewControl&) = delete;

    [[nodiscard]] HWND Window() const { return window; }

    // WM_NOTIFY of the list, forwarded by the main window: a header click sorts by its column, a right click
    // opens the list's popup at the mouse; everything else goes to OnListNotify.
    LRESULT OnNotify(const NMHDR& header);
    // The header click: sorts the rows by the column's order.
    virtual void SortByColumn(int column) = 0;
    // The list's window moved to a display of resolution newDpi: every column keeps its width in inches, and the
    // sort markers are drawn at the size for newDpi.
    virtual void OnDpiChanged(int newDpi);

protected:
    // Subclasses list for this object; popup is the list's popup in the context menus.
    ListViewControl(HWND list, HINSTANCE instance, const ListResources& resources, int columnCount, int popup);
    // Puts the control's own procedure back.
    virtual ~ListViewControl();

    // Inserts column id, left-aligned, with caption and width in pixels at 96 dots per inch.
    void InsertColumn(int id, const wchar_t* caption, int width);
    // The sorted marker on sortedColumn (-1: none), the unsorted marker on every other column.
    void SetMarkers(int sortedColumn);
    // Loads accelerator table 142, which the control then translates while it has the focus.
    void TakeAccelerators();
    [[nodiscard]] bool IsColumn(int column) const { return column >= 0 && column < columnCount; }
    // The markers for column, then the rows in CompareItems' order of column.
    void SortRows(int column);
    // Selects every row, from the last to the first.
    void SelectEveryRow();
    // The context menus' popup at index, or null.
    [[nodiscard]] HMENU Popup(int index) const;

    // The order of two rows' item data by column: negative, zero or positive.
    [[nodiscard]] virtual int CompareItems(int column, LPARAM a, LPARAM b) const = 0;
    // A command of the accelerators or of the context menu.
    virtual void OnCommand(WORD command) = 0;
    // Notifications other than header and right clicks.
    virtual LRESULT OnListNotify(const NMHDR&) { return 0; }
    // A message of the control before its own procedure sees it: true when handled, with result set.
    virtual bool OnControlMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // The control's own handling of a message.
    LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) const;

    // Makes the list's own markers for dpi from bitmaps 140 and 141, or none where the shared ones, made for the
    // system's resolution, fit; shows them on the columns if markers are shown, then deletes the ones it replaced.
    void RemakeMarkers(int newDpi);
    // A width or size in pixels at 96 dots per inch, at the resolution of the list's display.
    [[nodiscard]] int Scaled(int pixels) const;

    HWND window;
    HINSTANCE instance;
    ListResources resources;
    int dpi; // the resolution of the list's display

private:
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM context);

    // The marker bitmaps the list shows: its own when it made them for its resolution, else the shared ones.
    [[nodiscard]] HBITMAP SortedMarker() const;
    [[nodiscard]] HBITMAP UnsortedMarker() const;

    WNDPROC original = nullptr;
    HACCEL accelerators = nullptr;
    int columnCount;
    int popup;
    HBITMAP ownSortedMarker = nullptr;
    HBITMAP ownUnsortedMarker = nullptr;
    bool markersShown = false;
    int markedColumn = -1;
};

} // namespace tw
