#include "ui/win32/file_list_view.h"

#include "ui/win32/control_subclass.h"
#include "ui/win32/list_header.h"

namespace tw {

namespace {

// Icons of the row images, in the order of RowImage.
constexpr int kRowIcons[] = {156, 157, 151, 152, 150, 158};

struct SortContext {
    const MediaCatalog* catalog;
    int column;
};

int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM context) {
    const auto* sort = reinterpret_cast<const SortContext*>(context);
    return CompareRecords(static_cast<FileColumn>(sort->column), sort->catalog->RecordAt(static_cast<uint32_t>(a)),
                          sort->catalog->RecordAt(static_cast<uint32_t>(b)));
}

} // namespace

FileListView::FileListView(HWND list, HINSTANCE instance, MediaCatalog& catalog, Services services)
    : window(list), instance(instance), catalog(catalog), services(std::move(services)),
      state(platform::TickCountMs()) {
    original = SubclassControl(window, this, ControlProc);
}

FileListView::~FileListView() {
    KillTimer(window, kTimerId);
    RestoreControl(window, original);
    if (images != nullptr) {
        ImageList_Destroy(images);
    }
}

void FileListView::Initialize(HWND statusLabel) {
    status = statusLabel;
    SetWindowTextW(status, L"");
    images = ImageList_Create(16, 16, ILC_COLOR24, 0, 4);
    for (int icon : kRowIcons) {
        ImageList_AddIcon(images, static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon), IMAGE_ICON, 16, 16,
                                                                LR_DEFAULTCOLOR)));
    }
    ListView_SetImageList(window, images, LVSIL_SMALL);
    ListView_SetExtendedListViewStyleEx(window, LVS_EX_HEADERDRAGDROP, LVS_EX_HEADERDRAGDROP);
    for (int id = 0; id < kFileColumnCount; ++id) {
        visible[id] = true;
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = kFileColumnViews[id].width;
        column.pszText = const_cast<wchar_t*>(FileColumnCaption(static_cast<FileColumn>(id)));
        column.iSubItem = id;
        ListView_InsertColumn(window, id, &column);
        CheckMenuItem(HeadingsMenu(), kFileColumnViews[id].menuCommand, MF_BYCOMMAND | MF_CHECKED);
    }
    SetMarkers(-1);
    accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(kAccelerators));
    state.Clear(platform::TickCountMs());
    SetTimer(window, kTimerId, FileListState::kTimerPeriodMs, nullptr);
}

HMENU FileListView::HeadingsMenu() const {
    HMENU popup = services.contextMenu != nullptr ? GetSubMenu(services.contextMenu, 0) : nullptr;
    return popup != nullptr ? GetSubMenu(popup, 0) : nullptr;
}

void FileListView::SetMarkers(int sortedColumn) {
    SetSortMarkers(window, kFileColumnCount, sortedColumn, services.sortedMarker, services.unsortedMarker);
}

void FileListView::Clear() {
    state.SetUnlocked(false);
    ListView_DeleteAllItems(window);
    SetMarkers(-1);
    state.Clear(platform::TickCountMs());
}

MediaRecord* FileListView::RecordOfRow(int row) const {
    if (row < 0) {
        return nullptr;
    }
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!ListView_GetItem(window, &item)) {
        return nullptr;
    }
    return catalog.RecordAt(static_cast<uint32_t>(item.lParam));
}

void FileListView::RefreshRow(int row, const MediaRecord* record) {
    if (row < 0 || record == nullptr) {
        return;
    }
    for (const auto& [column, text] : CellUpdates(*record)) {
        ListView_SetItemText(window, row, static_cast<int>(column), const_cast<wchar_t*>(text.c_str()));
    }
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = static_cast<int>(ImageFor(*record));
    ListView_SetItem(window, &item);
}

size_t FileListView::RowCount() const {
    return static_cast<size_t>(ListView_GetItemCount(window));
}

size_t FileListView::SelectedCount() const {
    return static_cast<size_t>(ListView_GetSelectedCount(window));
}

void FileListView::InsertTopRow(const MediaRecord& record) {
    const std::wstring text = record.fileName.value_or(std::wstring());
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 0;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.lParam = record.index;
    RefreshRow(ListView_InsertItem(window, &item), &record);
}

void FileListView::RemoveRowOf(int32_t index) {
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = index;
    const int row = ListView_FindItem(window, -1, &find);
    if (row < 0) {
        return;
    }
    // A removed row leaves the selection without a notification: take its size out here.
    if (ListView_GetItemState(window, row, LVIS_SELECTED) != 0) {
        if (const MediaRecord* record = catalog.RecordAt(static_cast<uint32_t>(index))) {
            state.RowDeselected(record->size);
        }
    }
    ListView_DeleteItem(window, row);
}

void FileListView::SetStatusText(const std::wstring& text) {
    if (status != nullptr) {
        SetWindowTextW(status, text.c_str());
    }
}

void FileListView::SortByColumn(int column) {
    if (column < 0 || column >= kFileColumnCount) {
        return;
    }
    state.SetUnlocked(false);
    SetMarkers(column);
    SortContext context{&catalog, column};
    ListView_SortItems(window, CompareRows, reinterpret_cast<LPARAM>(&context));
    state.SetUnlocked(true);
}

void FileListView::ToggleColumn(int column) {
    if (column < 0 || column >= kFileColumnCount) {
        return;
    }
    visible[column] = !visible[column];
    CheckMenuItem(HeadingsMenu(), kFileColumnViews[column].menuCommand,
                  MF_BYCOMMAND | (visible[column] ? MF_CHECKED : MF_UNCHECKED));
    ListView_SetColumnWidth(window, column, visible[column] ? kFileColumnViews[column].width : 0);
}

void FileListView::SelectAll() {
    state.SetUnlocked(false);
    for (int row = ListView_GetItemCount(window) - 1; row >= 0; --row) {
        ListView_SetItemState(window, row, LVIS_SELECTED, LVIS_SELECTED);
    }
    state.SetUnlocked(true);
}

void FileListView::InvertSelection() {
    state.SetUnlocked(false);
    for (int row = ListView_GetItemCount(window) - 1; row >= 0; --row) {
        const UINT selected = ListView_GetItemState(window, row, LVIS_SELECTED);
        ListView_SetItemState(window, row, selected != 0 ? 0 : LVIS_SELECTED, LVIS_SELECTED);
    }
    state.SetUnlocked(true);
}

void FileListView::SelectPrecomputes() {
    const int rows = ListView_GetItemCount(window);
    if (rows == 0) {
        return;
    }
    state.SetUnlocked(false);
    std::unique_ptr<Progress> progress = services.openProgress ? services.openProgress(std::wstring()) : nullptr;
    uint64_t k = 1;
    for (int row = rows - 1; row >= 0; --row, ++k) {
        if (services.pollCancel && services.pollCancel()) {
            break;
        }
        if (progress) {
            progress->SetProgress(k, static_cast<uint64_t>(rows));
        }
        MediaRecord* record = RecordOfRow(row);
        if (record == nullptr || record->IsMissing()) {
            continue;
        }
        if (record->mediaKind == 0 && services.readMediaInfo && services.readMediaInfo(*record)) {
            RefreshRow(row, record);
        }
        if (record->mediaKind == 1) {
            ListView_SetItemState(window, row, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    progress.reset();
    state.SetUnlocked(true);
}

void FileListView::OnItemChanged(const NMLISTVIEW& change) {
    if ((change.uChanged & LVIF_STATE) == 0) {
        return;
    }
    const bool was = (change.uOldState & LVIS_SELECTED) != 0;
    const bool is = (change.uNewState & LVIS_SELECTED) != 0;
    if (was == is || change.iItem < 0) {
        return;
    }
    MediaRecord* record = catalog.RecordAt(static_cast<uint32_t>(change.lParam));
    if (record == nullptr) {
        return;
    }
    if (!is) {
        state.RowDeselected(record->size);
        return;
    }
    state.RowSelected(record->size);
    if (ListView_GetSelectedCount(window) == 1 && !record->IsMissing() && services.readMediaInfo &&
        services.readMediaInfo(*record)) {
        RefreshRow(change.iItem, record);
    }
}

LRESULT FileListView::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case LVN_ITEMCHANGED:
        OnItemChanged(reinterpret_cast<const NMLISTVIEW&>(header));
        break;
    case LVN_COLUMNCLICK:
        SortByColumn(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        break;
    case NM_RCLICK: {
        POINT point{};
        GetCursorPos(&point);
        ShowContextMenu(point);
        break;
    }
    default:
        break;
    }
    return 0;
}

void FileListView::ShowContextMenu(POINT screen) {
    HMENU popup = services.contextMenu != nullptr ? GetSubMenu(services.contextMenu, 0) : nullptr;
    if (popup != nullptr) {
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, window, nullptr);
    }
}

void FileListView::OnCommand(WORD command) {
    switch (command) {
    case kSelectAll:
        SelectAll();
        return;
    case kInvertSelection:
        InvertSelection();
        return;
    case kSelectPrecomputes:
        SelectPrecomputes();
        return;
    default:
        break;
    }
    for (int id = 0; id < kFileColumnCount; ++id) {
        if (kFileColumnViews[id].menuCommand == command) {
            ToggleColumn(id);
            return;
        }
    }
}

LRESULT CALLBACK FileListView::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = OwnerOf<FileListView>(hwnd);
    switch (message) {
    case WM_TIMER:
        if (wParam == kTimerId) {
            view->state.Refresh(platform::TickCountMs(), *view, view->catalog, view->services.openProgress);
            return 0;
        }
        break;
    case WM_KEYDOWN: {
        // The accelerators act while the list has the focus.
        MSG msg{hwnd, message, wParam, lParam, 0, {}};
        if (view->accelerators != nullptr && TranslateAcceleratorW(hwnd, view->accelerators, &msg)) {
            return 0;
        }
        break;
    }
    case WM_COMMAND:
        view->OnCommand(LOWORD(wParam));
        return 0;
    default:
        break;
    }
    return CallWindowProcW(view->original, hwnd, message, wParam, lParam);
}

} // namespace tw
