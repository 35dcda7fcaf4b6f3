#include "ui/win32/media_info_dialog.h"

#include "container/toc_dump.h"
#include "resource.h"
#include "ui/win32/window_dpi.h"
#include "ui/window_layout.h"

#include <commdlg.h>

#include <vector>

namespace tw {

namespace {

constexpr DWORD kPathCapacity = 4096;

// The tree's item data: the item's number.
uint32_t NumberOf(HWND tree, HTREEITEM item) {
    TVITEMW data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    TreeView_GetItem(tree, &data);
    return static_cast<uint32_t>(data.lParam);
}

} // namespace

MediaInfoDialog::MediaInfoDialog(HINSTANCE instance, BentoContainer& container, ConsoleLog* console,
                                 FileChooser chooseFile)
    : instance(instance), container(container), console(console), chooseFile(std::move(chooseFile)) {}

INT_PTR MediaInfoDialog::Run(HWND owner) {
    return RunModal(instance, IDD_MEDIA_INFO, owner);
}

std::wstring MediaInfoDialog::ChooseContainerFile(HWND owner) {
    std::vector<wchar_t> path(kPathCapacity, L'\0');
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = owner;
    open.lpstrFilter = L"OMFI Files \0*.omf;*.aif;*.wav;*.mdb\0";
    open.nFilterIndex = 1;
    open.lpstrFile = path.data();
    open.nMaxFile = kPathCapacity;
    open.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameW(&open)) {
        return {};
    }
    return path.data();
}

INT_PTR MediaInfoDialog::OnInitDialog() {
    HWND window = Window();
    tree = GetDlgItem(window, IDC_MEDIA_TREE);
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    minWidth = outer.right - outer.left;
    minHeight = outer.bottom - outer.top;
    frameExtra = minHeight - client.bottom - 5;
    if (container.CanQuery()) {
        InsertObjectItem(bento::kTocObject, nullptr);
    }
    return TRUE;
}

HTREEITEM MediaInfoDialog::InsertItem(HTREEITEM parent, HTREEITEM after, const std::wstring& text, uint32_t number,
                                      bool bold) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent != nullptr ? parent : TVI_ROOT;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.lParam = static_cast<LPARAM>(number);
    insert.item.state = bold ? TVIS_BOLD : 0;
    insert.item.stateMask = TVIS_BOLD;
    return TreeView_InsertItem(tree, &insert);
}

void MediaInfoDialog::InsertObjectItem(uint32_t objectId, HTREEITEM parent) {
    const std::optional<ObjectItem> object = MakeObjectItem(container, objectId);
    if (!object) {
        return;
    }
    HTREEITEM item = InsertItem(parent, TVI_SORT, object->text, 0, true);
    if (item != nullptr) {
        InsertPropertyItems(*object, item);
    }
}

void MediaInfoDialog::InsertPropertyItems(const ObjectItem& object, HTREEITEM parent) {
    for (const PropertyItem& p : object.properties) {
        InsertItem(parent, TVI_LAST, p.text, p.number, p.bold);
    }
}

void MediaInfoDialog::ExpandReference(uint32_t number, HTREEITEM item) {
    for (const uint32_t objectId : ReferencedObjects(container, number)) {
        InsertObjectItem(objectId, item);
    }
}

void MediaInfoDialog::OnDoubleClick() {
    HTREEITEM item = TreeView_GetSelection(tree);
    if (item == nullptr) {
        return;
    }
    const uint32_t number = NumberOf(tree, item);
    if (TreeView_GetChild(tree, item) == nullptr) {
        ExpandReference(number, item);
    }
    DumpTocEntry(container, number, console);
}

void MediaInfoDialog::OnOpen() {
    const std::wstring path = chooseFile(Window());
    if (path.empty()) {
        return;
    }
    AppendLine(console, path);
    if (container.Open(path) == 0) {
        return; // the tree keeps its items; the reader has written why
    }
    if (TreeView_GetCount(tree) > 0) {
        TreeView_DeleteAllItems(tree);
    }
    InsertObjectItem(bento::kTocObject, nullptr);
}

void MediaInfoDialog::OnWindowPosChanged(const WINDOWPOS& position) {
    if ((position.flags & SWP_NOSIZE) != 0 || (position.cx == lastSize.cx && position.cy == lastSize.cy)) {
        return;
    }
    lastSize = SIZE{position.cx, position.cy};
    RECT r{};
    GetWindowRect(tree, &r);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&r), 2);
    const Rect next = LayOutMediaInfoTree({r.left, r.top, r.right, r.bottom}, position.cx, position.cy, frameExtra,
                                          WindowDpi(Window()));
    MoveWindow(tree, next.left, next.top, next.Width(), next.Height(), TRUE);
}

INT_PTR MediaInfoDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(Window(), LOWORD(wParam));
            return TRUE;
        case IDC_MEDIA_OPEN:
            OnOpen();
            return TRUE;
        case IDC_MEDIA_SHOW_CONSOLE:
            if (console != nullptr) {
                console->ShowConsole();
            }
            return TRUE;
        case IDC_MEDIA_DUMP_TOC:
            DumpToc(container, console);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_MEDIA_TREE && header->code == NM_DBLCLK) {
            OnDoubleClick();
            return SetMessageResult(0); // the tree then expands or collapses the item itself
        }
        return FALSE;
    }
    case WM_SIZING:
        return KeepMinimumSize(lParam, minWidth, minHeight);
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lParam));
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace tw
