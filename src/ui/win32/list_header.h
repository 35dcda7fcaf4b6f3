// The sort markers of the lists' column headers.
#pragma once

#include <windows.h>

namespace tw {

// Puts sortedMarker at the right of column sortedColumn's caption (-1: no column) and unsortedMarker at the
// right of every other of the list's first columns.
void SetSortMarkers(HWND list, int columns, int sortedColumn, HBITMAP sortedMarker, HBITMAP unsortedMarker);

} // namespace tw
