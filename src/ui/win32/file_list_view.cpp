#include "ui/win32/file_list_view.h"

#include "catalog/media_file_info.h"
#include "operations/file_operations.h"
#include "resource.h"
#include "ui/file_cells.h"
#include "ui/win32/prompts.h"
#include "ui/win32/shell_open.h"
#include "ui/win32/store_dialog.h"
#include "ui/win32/window_dpi.h"
#include "ui/win32/window_run_host.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace tw {

namespace {

// The file list's popup in the context menus; its first entry is the Headings popup.
constexpr int kPopup = 0;

// Icons of the row images, in the order of RowImage.
constexpr int kRowIcons[] = {IDI_ROW_MEDIA,      IDI_ROW_AUDIO,   IDI_ROW_READONLY,
                             IDI_ROW_PRECOMPUTE, IDI_ROW_MISSING, IDI_ROW_OTHER};

// The Headings menu entry of each column, by column id.
constexpr WORD kHeadingCommands[kFileColumnCount] = {
    ID_HEADING_FILENAME,     ID_HEADING_NAME_IN_BIN, ID_HEADING_SIZE,       ID_HEADING_UID,
    ID_HEADING_COMPRESSION,  ID_HEADING_PATH,        ID_HEADING_MEDIA_TYPE, ID_HEADING_CREATION_DATE,
    ID_HEADING_PROJECT_NAME, ID_HEADING_SOURCE_NAME,
};

// The capacity in which a double-clicked row's full path is built.
constexpr size_t kOpenPathCapacity = 2048;

// The list's rows as the precompute step walks them.
class ListedRows : public SelectableRows {
public:
    explicit ListedRows(FileListView& list) : list(list) {}
    [[nodiscard]] size_t RowCount() const override { return list.RowCount(); }
    [[nodiscard]] MediaRecord* RecordOfRow(size_t row) const override {
        return list.RecordOfRow(static_cast<int>(row));
    }
    void RefreshRow(size_t row, const MediaRecord& record) override { list.RefreshRow(static_cast<int>(row), &record); }
    void SelectRow(size_t row) override {
        ListView_SetItemState(list.Window(), static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
    }

private:
    FileListView& list;
};

} // namespace

FileListView::FileListView(HWND list, HINSTANCE instance, MediaCatalog& catalog, Services services)
    : ListViewControl(list, instance, services.shown, kFileColumnCount, kPopup), catalog(catalog),
      services(std::move(services)), state(platform::TickCountMs()) {}

FileListView::~FileListView() {
    KillTimer(window, kTimerId);
    if (images != nullptr) {
        ImageList_Destroy(images);
    }
}

void FileListView::MakeRowImages() {
    HIMAGELIST made = MakeIconList(instance, kRowIcons, static_cast<int>(std::size(kRowIcons)), dpi, ILC_COLOR24);
    ListView_SetImageList(window, made, LVSIL_SMALL);
    if (images != nullptr) {
        ImageList_Destroy(images);
    }
    images = made;
}

void FileListView::OnDpiChanged(int newDpi) {
    ListViewControl::OnDpiChanged(newDpi);
    MakeRowImages();
}

void FileListView::Initialize(HWND statusLabel) {
    status = statusLabel;
    SetWindowTextW(status, L"");
    MakeRowImages();
    ListView_SetExtendedListViewStyleEx(window, LVS_EX_HEADERDRAGDROP, LVS_EX_HEADERDRAGDROP);
    for (int id = 0; id < kFileColumnCount; ++id) {
        visible[id] = true;
        InsertColumn(id, FileColumnCaption(static_cast<FileColumn>(id)), kFileColumnViews[id].width);
        CheckMenuItem(HeadingsMenu(), kHeadingCommands[id], MF_BYCOMMAND | MF_CHECKED);
    }
    SetMarkers(-1);
    TakeAccelerators();
    state.Clear(platform::TickCountMs());
    SetTimer(window, kTimerId, FileListState::kTimerPeriodMs, nullptr);
}

HMENU FileListView::HeadingsMenu() const {
    HMENU popup = Popup(kPopup);
    return popup != nullptr ? GetSubMenu(popup, 0) : nullptr;
}

void FileListView::Clear() {
    state.SetUnlocked(false);
    ListView_DeleteAllItems(window);
    datedRows.clear();
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

void FileListView::InsertRowAt(size_t position, const MediaRecord& record) {
    // Text, item data and image in one insertion. The other cells are never set: the list asks for them
    // (LVN_GETDISPINFO) when it shows or hands out their text, and FillCell answers from the record, so
    // that a row costs one message instead of one per cell (a project of 300,000 files under Wine). The
    // insertion goes straight to the control's own procedure, which is all the subclass would do with it.
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = static_cast<int>(std::min<size_t>(position, static_cast<size_t>(INT_MAX)));
    item.pszText = const_cast<wchar_t*>(record.fileName.c_str());
    item.lParam = record.index;
    item.iImage = static_cast<int>(ImageFor(record));
    CallOriginal(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    // A row shows the date of a file that was there when the row came, also once the file is gone (a move
    // or a delete marks it missing), as a row whose cells were written at insertion would.
    const auto index = static_cast<size_t>(record.index);
    if (datedRows.size() <= index) {
        datedRows.resize(index + 1, false);
    }
    datedRows[index] = !record.IsMissing();
}

void FileListView::FillCell(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0 || item.iSubItem <= 0 ||
        item.iSubItem >= kFileColumnCount) {
        return;
    }
    const MediaRecord* record = RecordOfRow(item.iItem);
    const auto column = static_cast<FileColumn>(item.iSubItem);
    std::wstring text;
    if (record != nullptr && column == FileColumn::creationDate) {
        const auto index = static_cast<size_t>(record->index);
        text = CreationDateText(record->creationTime, !(index < datedRows.size() && datedRows[index]));
    } else if (record != nullptr) {
        text = FileCellText(*record, column);
    }
    const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax) - 1);
    std::copy_n(text.data(), n, item.pszText);
    item.pszText[n] = L'\0';
}

void FileListView::RemoveRowOf(int32_t index) {
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = index;
    // A project's rows are removed in the order they were inserted, from the bottom of their block up: the
    // row above the one removed last is looked at first, and the whole list only when it is not there.
    int row = removeHint >= 0 ? ListView_FindItem(window, removeHint - 1, &find) : -1;
    if (row < 0) {
        row = ListView_FindItem(window, -1, &find);
    }
    if (row < 0) {
        return;
    }
    removeHint = row > 0 ? row - 1 : -1;
    // Whether deleting a selected row reports its deselection differs between list controls (Wine's does,
    // Windows' does not): the row leaves the selection through the control first, whose notification takes
    // its size out once, and then goes.
    if (ListView_GetItemState(window, row, LVIS_SELECTED) != 0) {
        ListView_SetItemState(window, row, 0, LVIS_SELECTED);
    }
    ListView_DeleteItem(window, row);
}

void FileListView::SetStatusText(const std::wstring& text) {
    if (status != nullptr) {
        SetWindowTextW(status, text.c_str());
    }
}

int FileListView::CompareItems(int column, LPARAM a, LPARAM b) const {
    return CompareRecords(static_cast<FileColumn>(column), catalog.RecordAt(static_cast<uint32_t>(a)),
                          catalog.RecordAt(static_cast<uint32_t>(b)));
}

void FileListView::SortByColumn(int column) {
    if (!IsColumn(column)) {
        return;
    }
    state.SetUnlocked(false);
    SortRows(column);
    state.SetUnlocked(true);
}

void FileListView::ToggleColumn(int column) {
    if (!IsColumn(column)) {
        return;
    }
    visible[column] = !visible[column];
    CheckMenuItem(HeadingsMenu(), kHeadingCommands[column],
                  MF_BYCOMMAND | (visible[column] ? MF_CHECKED : MF_UNCHECKED));
    ListView_SetColumnWidth(window, column, visible[column] ? Scaled(kFileColumnViews[column].width) : 0);
}

void FileListView::SelectAll() {
    state.SetUnlocked(false);
    SelectEveryRow();
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
    if (RowCount() == 0) {
        return;
    }
    state.SetUnlocked(false);
    std::unique_ptr<Progress> progress = services.openProgress ? services.openProgress(std::wstring()) : nullptr;
    ListedRows rows(*this);
    AddPrecomputesToSelection(rows, services.container, progress.get(), services.prompts);
    progress.reset();
    state.SetUnlocked(true);
}

void FileListView::RunOperation(void (FileOperations::*operation)()) {
    if (operationRunning) {
        return;
    }
    operationRunning = true;
    WindowPrompts prompts(window);
    WindowRunHost host(instance, window, services.setBusy);
    FileOperations operations({*this, prompts, host, Files(), services.console, services.container});
    (operations.*operation)();
    operationRunning = false;
}

void FileListView::CopyFiles() {
    RunOperation(&FileOperations::CopyFiles);
}

void FileListView::MoveFiles() {
    RunOperation(&FileOperations::MoveFiles);
}

void FileListView::DeleteFiles() {
    RunOperation(&FileOperations::DeleteFiles);
}

void FileListView::ReadMediaInfo() {
    RunOperation(&FileOperations::ReadMediaInfo);
}

void FileListView::OpenStore() {
    if (services.container != nullptr) {
        services.container->Close();
    }
    if (operationRunning || SelectedCount() == 0) {
        return;
    }
    operationRunning = true;
    StoreDialog store(instance, window, {*this, Files(), services.console, services.container});
    // Without an explicit parent the dialog belongs to the main window.
    store.Run(GetAncestor(window, GA_ROOT));
    operationRunning = false;
}

void FileListView::OpenFile(int row) {
    const MediaRecord* record = RecordOfRow(row);
    if (record == nullptr) {
        return;
    }
    std::wstring path;
    record->GetFullPath(path, kOpenPathCapacity);
    if (!path.empty()) {
        OpenWithShell(window, path, services.console);
    }
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
    if (services.container != nullptr && ReadOnSoleSelection(*services.container, *record, SelectedCount())) {
        RefreshRow(change.iItem, record);
    }
}

LRESULT FileListView::OnListNotify(const NMHDR& header) {
    switch (header.code) {
    case LVN_ITEMCHANGED:
        OnItemChanged(reinterpret_cast<const NMLISTVIEW&>(header));
        break;
    case LVN_GETDISPINFOW:
        // The list hands over a structure to fill: the header is that structure's first member.
        FillCell(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
        break;
    case LVN_KEYDOWN: {
        // The function keys act only on a selection; other keys do nothing here.
        const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
        if (SelectedCount() == 0) {
            break;
        }
        switch (key) {
        case VK_F2:
            ReadMediaInfo();
            break;
        case VK_F4:
            OpenStore();
            break;
        case VK_F5:
            CopyFiles();
            break;
        case VK_F6:
            MoveFiles();
            break;
        case VK_F8:
            DeleteFiles();
            break;
        default:
            break;
        }
        break;
    }
    case NM_DBLCLK:
        OpenFile(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
        break;
    default:
        break;
    }
    return 0;
}

void FileListView::OnCommand(WORD command) {
    switch (command) {
    case ID_SELECT_ALL:
        SelectAll();
        return;
    case ID_INVERT_SELECTION:
        InvertSelection();
        return;
    case ID_SELECT_PRECOMPUTES:
        SelectPrecomputes();
        return;
    case ID_SCAN_MEDIA_INFO:
        ReadMediaInfo();
        return;
    case ID_STORE:
        OpenStore();
        return;
    case ID_COPY:
        CopyFiles();
        return;
    case ID_MOVE:
        MoveFiles();
        return;
    case ID_DELETE:
        DeleteFiles();
        return;
    default:
        break;
    }
    for (int id = 0; id < kFileColumnCount; ++id) {
        if (kHeadingCommands[id] == command) {
            ToggleColumn(id);
            return;
        }
    }
}

bool FileListView::OnControlMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_TIMER && wParam == kTimerId) {
        state.Refresh(platform::TickCountMs(), *this, catalog, services.openProgress);
        result = 0;
        return true;
    }
    return false;
}

} // namespace tw
