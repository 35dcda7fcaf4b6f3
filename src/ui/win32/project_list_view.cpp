#include "ui/win32/project_list_view.h"

#include "platform/platform.h"
#include "resource.h"
#include "ui/project_list_model.h"
#include "ui/win32/dropped_files.h"

namespace tw {

namespace {

// The project list's popup in the context menus.
constexpr int kPopup = 1;

} // namespace

ProjectListView::ProjectListView(HWND list, HINSTANCE instance, MediaCatalog& catalog, const ListResources& resources)
    : ListViewControl(list, instance, resources, kProjectColumnCount, kPopup), catalog(catalog) {
    AcceptDroppedFiles(window);
}

void ProjectListView::Initialize(FileListView& files) {
    for (int id = 0; id < kProjectColumnCount; ++id) {
        InsertColumn(id, kProjectColumns[id].caption, kProjectColumns[id].width);
    }
    SetMarkers(-1);
    TakeAccelerators();
    fileList = &files;
    fileList->SetUnlocked(true);
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
    SelectEveryRow();
    fileList->SetUnlocked(true);
}

int ProjectListView::CompareItems(int column, LPARAM a, LPARAM b) const {
    return CompareProjects(column, catalog.ProjectAt(static_cast<uint32_t>(a)),
                           catalog.ProjectAt(static_cast<uint32_t>(b)));
}

void ProjectListView::SortByColumn(int column) {
    if (IsColumn(column)) {
        SortRows(column);
    }
}

void ProjectListView::OnDpiChanged(int newDpi) {
    dpi = newDpi;
    KeepColumnWidths();
    RemakeMarkers(newDpi);
}

void ProjectListView::KeepColumnWidths() {
    for (int id = 0; id < kProjectColumnCount; ++id) {
        if (ListView_GetColumnWidth(window, id) != Scaled(kProjectColumns[id].width)) {
            ListView_SetColumnWidth(window, id, Scaled(kProjectColumns[id].width));
        }
    }
}

void ProjectListView::OnItemChanged(const NMLISTVIEW& change) {
    const bool stateChanged = (change.uChanged & LVIF_STATE) != 0;
    const bool was = stateChanged && (change.uOldState & LVIS_SELECTED) != 0;
    const bool is = stateChanged && (change.uNewState & LVIS_SELECTED) != 0;
    const ProjectRowAction action =
        ActionForProjectRow(static_cast<size_t>(ListView_GetSelectedCount(window)), was, is);
    if (action == ProjectRowAction::clearFileList) {
        fileList->Clear();
        return;
    }
    if (change.iItem < 0) {
        return; // a change of every row at once names no project
    }
    const auto id = static_cast<int32_t>(change.lParam);
    if (action == ProjectRowAction::showProject) {
        fileList->ShowProject(id);
    } else if (action == ProjectRowAction::hideProject) {
        fileList->HideProject(id);
    }
}

LRESULT ProjectListView::OnListNotify(const NMHDR& header) {
    switch (header.code) {
    case LVN_ITEMCHANGED:
        OnItemChanged(reinterpret_cast<const NMLISTVIEW&>(header));
        break;
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
    default:
        break;
    }
    return 0;
}

void ProjectListView::OnCommand(WORD command) {
    // Of the shared accelerators only Ctrl+A acts here; the context menu's entries do nothing.
    if (command == ID_SELECT_ALL) {
        SelectAll();
    }
}

bool ProjectListView::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_DROPFILES) {
        const std::vector<std::wstring> names = TakeDroppedFiles(reinterpret_cast<HDROP>(wParam));
        if (onDrop) {
            onDrop(names);
        }
        result = 0;
        return true;
    }
    if (message != WM_NOTIFY) {
        return false;
    }
    // The header reports width changes to the list: the widths are fixed, so they are set back.
    result = CallOriginal(message, wParam, lParam);
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom == ListView_GetHeader(window) &&
        (header->code == HDN_ITEMCHANGEDW || header->code == HDN_ITEMCHANGEDA || header->code == HDN_ENDTRACKW ||
         header->code == HDN_ENDTRACKA)) {
        KeepColumnWidths();
    }
    return true;
}

} // namespace tw
