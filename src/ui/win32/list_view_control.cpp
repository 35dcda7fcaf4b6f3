#include "ui/win32/list_view_control.h"

#include "resource.h"
#include "ui/dpi_scale.h"
#include "ui/win32/control_subclass.h"
#include "ui/win32/window_dpi.h"

#include <utility>

namespace tw {

namespace {

struct SortCall {
    const ListViewControl* list;
    int column;
};

} // namespace

ListViewControl::ListViewControl(HWND list, HINSTANCE instance, const ListResources& resources, int columnCount,
                                 int popup)
    : window(list), instance(instance), resources(resources), dpi(WindowDpi(list)), columnCount(columnCount),
      popup(popup) {
    original = SubclassControl(window, this, ControlProc);
    // A list that opens on a display of another resolution than the system's draws markers of its own.
    RemakeMarkers(dpi);
}

ListViewControl::~ListViewControl() {
    RestoreControl(window, original);
    for (HBITMAP marker : {ownSortedMarker, ownUnsortedMarker}) {
        if (marker != nullptr) {
            DeleteObject(marker);
        }
    }
}

void ListViewControl::InsertColumn(int id, const wchar_t* caption, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = Scaled(width);
    column.pszText = const_cast<wchar_t*>(caption);
    column.iSubItem = id;
    ListView_InsertColumn(window, id, &column);
}

int ListViewControl::Scaled(int pixels) const {
    return ScaleForDpi(pixels, dpi);
}

void ListViewControl::OnDpiChanged(int newDpi) {
    const int oldDpi = dpi;
    dpi = newDpi;
    for (int id = 0; id < columnCount; ++id) {
        ListView_SetColumnWidth(window, id, RescaleForDpi(ListView_GetColumnWidth(window, id), oldDpi, newDpi));
    }
    RemakeMarkers(newDpi);
}

HBITMAP ListViewControl::SortedMarker() const {
    return ownSortedMarker != nullptr ? ownSortedMarker : resources.sortedMarker;
}

HBITMAP ListViewControl::UnsortedMarker() const {
    return ownUnsortedMarker != nullptr ? ownUnsortedMarker : resources.unsortedMarker;
}

void ListViewControl::RemakeMarkers(int newDpi) {
    const HBITMAP oldSorted = ownSortedMarker;
    const HBITMAP oldUnsorted = ownUnsortedMarker;
    ownSortedMarker = nullptr;
    ownUnsortedMarker = nullptr;
    if (newDpi != SystemDpi()) {
        // Scaled once from the bitmaps at 96 dots per inch, as the shared ones are for the system's resolution.
        for (auto [id, marker] :
             {std::pair{IDB_SORTED, &ownSortedMarker}, std::pair{IDB_UNSORTED, &ownUnsortedMarker}}) {
            HBITMAP loaded = LoadBitmapW(instance, MAKEINTRESOURCEW(id));
            HBITMAP scaled = ScaleBitmapForDpi(loaded, newDpi);
            if (scaled != nullptr) {
                DeleteObject(loaded);
                *marker = scaled;
            } else {
                *marker = loaded; // at 96 dots per inch, or when no copy could be made
            }
        }
    }
    if (markersShown) {
        SetMarkers(markedColumn);
    }
    for (HBITMAP marker : {oldSorted, oldUnsorted}) {
        if (marker != nullptr) {
            DeleteObject(marker);
        }
    }
}

void ListViewControl::SetMarkers(int sortedColumn) {
    markersShown = true;
    markedColumn = sortedColumn;
    HWND header = ListView_GetHeader(window);
    for (int id = 0; id < columnCount; ++id) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, id, &item);
        item.mask = HDI_FORMAT | HDI_BITMAP;
        item.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT | HDF_STRING;
        item.hbm = id == sortedColumn ? SortedMarker() : UnsortedMarker();
        Header_SetItem(header, id, &item);
    }
}

void ListViewControl::TakeAccelerators() {
    accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
}

int CALLBACK ListViewControl::CompareRows(LPARAM a, LPARAM b, LPARAM context) {
    const auto* sort = reinterpret_cast<const SortCall*>(context);
    return sort->list->CompareItems(sort->column, a, b);
}

void ListViewControl::SortRows(int column) {
    SetMarkers(column);
    SortCall call{this, column};
    ListView_SortItems(window, CompareRows, reinterpret_cast<LPARAM>(&call));
}

void ListViewControl::SelectEveryRow() {
    for (int row = ListView_GetItemCount(window) - 1; row >= 0; --row) {
        ListView_SetItemState(window, row, LVIS_SELECTED, LVIS_SELECTED);
    }
}

HMENU ListViewControl::Popup(int index) const {
    return resources.contextMenus != nullptr ? GetSubMenu(resources.contextMenus, index) : nullptr;
}

LRESULT ListViewControl::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case LVN_COLUMNCLICK:
        SortByColumn(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        return 0;
    case NM_RCLICK: {
        POINT point{};
        GetCursorPos(&point);
        if (HMENU menu = Popup(popup)) {
            TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, window, nullptr);
        }
        return 0;
    }
    default:
        return OnListNotify(header);
    }
}

LRESULT ListViewControl::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) const {
    return CallWindowProcW(original, window, message, wParam, lParam);
}

LRESULT CALLBACK ListViewControl::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* list = OwnerOf<ListViewControl>(hwnd);
    LRESULT result = 0;
    switch (message) {
    case WM_KEYDOWN: {
        // The accelerators act while the list has the focus.
        MSG msg{hwnd, message, wParam, lParam, 0, {}};
        if (list->accelerators != nullptr && TranslateAcceleratorW(hwnd, list->accelerators, &msg)) {
            return 0;
        }
        break;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == 1) {
            // An accelerator: the dialog manager has made a character of the key already (Ctrl+P gives 0x10).
            // It is dropped, so that it reaches neither the list nor the cancel prompt of the command.
            MSG character;
            PeekMessageW(&character, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE);
        }
        list->OnCommand(LOWORD(wParam));
        return 0;
    default:
        if (list->OnControlMessage(message, wParam, lParam, result)) {
            return result;
        }
        break;
    }
    return list->CallOriginal(message, wParam, lParam);
}

} // namespace tw
