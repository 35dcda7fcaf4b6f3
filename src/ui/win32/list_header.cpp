#include "ui/win32/list_header.h"

#include <commctrl.h>

namespace tw {

void SetSortMarkers(HWND list, int columns, int sortedColumn, HBITMAP sortedMarker, HBITMAP unsortedMarker) {
    HWND header = ListView_GetHeader(list);
    for (int id = 0; id < columns; ++id) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, id, &item);
        item.mask = HDI_FORMAT | HDI_BITMAP;
        item.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT | HDF_STRING;
        item.hbm = id == sortedColumn ? sortedMarker : unsortedMarker;
        Header_SetItem(header, id, &item);
    }
}

} // namespace tw
