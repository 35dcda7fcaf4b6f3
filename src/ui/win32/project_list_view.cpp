#include "ui/win32/project_list_view.h"

#include "ui/win32/control_subclass.h"
#include "ui/win32/list_header.h"

#include "platform/platform.h"
#include "ui/project_list_model.h"

namespace tw {

namespace {

struct SortContext {
    const MediaCatalog* catalog;
    int column;
};

int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM context) {
    const auto* sort = reinterpret_cast<const SortContext*>(context);
    return CompareProjects(sort->column, sort->catalog->ProjectAt(static_cast<uint32_t>(a)),
                           sort->catalog->ProjectAt(static_cast<uint32_t>(b)));
}

} // namespace

ProjectListView::ProjectListView(HWND list, HINSTANCE instance, MediaCatalog& catalog, Services services)
    : window(list), instance(instance), catalog(catalog), services(services) {
    original = SubclassControl(window, this, ControlProc);
}

ProjectListView::~ProjectListView() {
    RestoreControl(window, original);
}

void ProjectListView::Initialize(FileListView& files) {
    for (int id = 0; id < kProjectColumnCount; ++id) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = kProjectColumns[id].width;
        column.pszText = const_cast<wchar_t*>(kProjectColumns[id].caption);
        column.iSubItem = id;
        ListView_InsertColumn(window, id, &column);
    }
    SetMarkers(-1);
    accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(FileListView::kAccelerators));
    fileList = &files;
    fileList->SetUnlocked(true);
}

void ProjectListView::SetMarkers(int sortedColumn) {
    SetSortMarkers(window, kProjectColumnCount, sortedColumn, services.sortedMarker, services.unsortedMarker);
}

void ProjectListView::Refill() {
    fileList->SetUnlocked(false);
    ListView_DeleteAllItems(window);
    SetMarkers(-1);
    fileList->Clear();
    for (bool more = catalog.FirstProject(); more; more = catalog.NextProject()) {
        const ProjectEntry* project = catalog.CurrentProject();
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = ListView_GetItemCount(window);
        item.pszText = const_cast<wchar_t*>(project->name.c_str());
        item.lParam = project->id;
        const int row = ListView_InsertItem(window, &item);
        const std::wstring size = platform::FormatByteSize(project->totalSize);
        ListView_SetItemText(window, row, 1, const_cast<wchar_t*>(size.c_str()));
    }
}

void ProjectListView::SelectAll() {
    fileList->SetUnlocked(false);
    for (int row = ListView_GetItemCount(window) - 1; row >= 0; --row) {
        ListView_SetItemState(window, row, LVIS_SELECTED, LVIS_SELECTED);
    }
    fileList->SetUnlocked(true);
}

void ProjectListView::SortByColumn(int column) {
    if (column < 0 || column >= kProjectColumnCount) {
        return;
    }
    SetMarkers(column);
    SortContext context{&catalog, column};
    ListView_SortItems(window, CompareRows, reinterpret_cast<LPARAM>(&context));
}

void ProjectListView::KeepColumnWidths() {
    for (int id = 0; id < kProjectColumnCount; ++id) {
        if (ListView_GetColumnWidth(window, id) != kProjectColumns[id].width) {
            ListView_SetColumnWidth(window, id, kProjectColumns[id].width);
        }
    }
}

LRESULT ProjectListView::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) == 0 || change.iItem < 0) {
            break;
        }
        const auto selected = static_cast<size_t>(ListView_GetSelectedCount(window));
        const bool was = (change.uOldState & LVIS_SELECTED) != 0;
        const bool is = (change.uNewState & LVIS_SELECTED) != 0;
        const auto id = static_cast<int32_t>(change.lParam);
        switch (ActionForProjectRow(selected, was, is)) {
        case ProjectRowAction::clearFileList:
            fileList->Clear();
            break;
        case ProjectRowAction::showProject:
            fileList->ShowProject(id);
            break;
        case ProjectRowAction::hideProject:
            fileList->HideProject(id);
            break;
        case ProjectRowAction::none:
            break;
        }
        break;
    }
    case LVN_ITEMCHANGING: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) != 0 && (change.uNewState & LVIS_FOCUSED) != 0 &&
            (change.uOldState & LVIS_FOCUSED) == 0) {
            fileList->SetUnlocked(true);
        }
        break;
    }
    case LVN_MARQUEEBEGIN:
        // Project changes collect while the user drags a selection rectangle.
        fileList->SetUnlocked(false);
        break;
    case NM_RELEASEDCAPTURE:
        fileList->SetUnlocked(true);
        break;
    case LVN_COLUMNCLICK:
        SortByColumn(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        break;
    case NM_RCLICK: {
        HMENU popup = services.contextMenu != nullptr ? GetSubMenu(services.contextMenu, 1) : nullptr;
        POINT point{};
        GetCursorPos(&point);
        if (popup != nullptr) {
            TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, window, nullptr);
        }
        break;
    }
    default:
        break;
    }
    return 0;
}

LRESULT CALLBACK ProjectListView::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = OwnerOf<ProjectListView>(hwnd);
    switch (message) {
    case WM_KEYDOWN: {
        MSG msg{hwnd, message, wParam, lParam, 0, {}};
        if (view->accelerators != nullptr && TranslateAcceleratorW(hwnd, view->accelerators, &msg)) {
            return 0;
        }
        break;
    }
    case WM_COMMAND:
        // Of the shared accelerators only Ctrl+A acts here; the context menu's entries do nothing.
        if (LOWORD(wParam) == FileListView::kSelectAll) {
            view->SelectAll();
        }
        return 0;
    case WM_NOTIFY: {
        // The header reports width changes to the list: the widths are fixed, so they are set back.
        const LRESULT result = CallWindowProcW(view->original, hwnd, message, wParam, lParam);
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == ListView_GetHeader(hwnd) &&
            (header->code == HDN_ITEMCHANGEDW || header->code == HDN_ITEMCHANGEDA || header->code == HDN_ENDTRACKW ||
             header->code == HDN_ENDTRACKA)) {
            view->KeepColumnWidths();
        }
        return result;
    }
    default:
        break;
    }
    return CallWindowProcW(view->original, hwnd, message, wParam, lParam);
}

} // namespace tw
