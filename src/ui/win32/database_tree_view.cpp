#include "ui/win32/database_tree_view.h"

#include "resource.h"
#include "ui/win32/control_subclass.h"
#include "ui/win32/dropped_files.h"

#include <shellapi.h>

namespace tw {

namespace {

constexpr int kRootImage = 0;
constexpr int kDatabaseImage = 1;

bool IsChecked(HWND tree, HTREEITEM item) {
    return ((TreeView_GetItemState(tree, item, TVIS_STATEIMAGEMASK) >> 12) & 0xF) == 2;
}

void SetChecked(HWND tree, HTREEITEM item, bool checked) {
    TreeView_SetItemState(tree, item, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), TVIS_STATEIMAGEMASK);
}

} // namespace

DatabaseTreeView::DatabaseTreeView(HWND tree, HINSTANCE instance, DriveStringsFunction drives,
                                   DatabaseTree::ScanProgressFactory openProgress)
    : window(tree), instance(instance), tree(*this, std::move(drives), std::move(openProgress)) {
    original = SubclassControl(window, this, ControlProc);
    DragAcceptFiles(window, TRUE);
}

DatabaseTreeView::~DatabaseTreeView() {
    RestoreControl(window, original);
    if (images != nullptr) {
        ImageList_Destroy(images);
    }
}

void DatabaseTreeView::Initialize() {
    // Check boxes set by the template are set up by the control later and may then lose the states given to
    // the items before; setting the style again now sets them up before the tree is filled.
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    SetWindowLongPtrW(window, GWL_STYLE, style & ~TVS_CHECKBOXES);
    SetWindowLongPtrW(window, GWL_STYLE, style | TVS_CHECKBOXES);
    images = ImageList_Create(16, 16, ILC_COLOR, 0, 4);
    ImageList_AddIcon(images, static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_DATABASES), IMAGE_ICON, 16,
                                                            16, LR_DEFAULTCOLOR)));
    ImageList_AddIcon(images, static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_DATABASE), IMAGE_ICON, 16,
                                                            16, LR_DEFAULTCOLOR)));
    TreeView_SetImageList(window, images, TVSIL_NORMAL);

    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(kRootText);
    insert.item.iImage = kRootImage;
    insert.item.iSelectedImage = kRootImage;
    insert.item.state = TVIS_BOLD | TVIS_EXPANDED | TVIS_SELECTED;
    insert.item.stateMask = TVIS_BOLD | TVIS_EXPANDED | TVIS_SELECTED;
    insert.item.lParam = 0;
    root = TreeView_InsertItem(window, &insert);
    tree.ScanAllDrives();
}

void DatabaseTreeView::DeleteDatabaseItems() {
    HTREEITEM child = TreeView_GetChild(window, root);
    while (child != nullptr) {
        HTREEITEM next = TreeView_GetNextSibling(window, child);
        TreeView_DeleteItem(window, child);
        child = next;
    }
}

void DatabaseTreeView::InsertDatabaseItem(const std::wstring& path, uint16_t id) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = root;
    insert.hInsertAfter = TVI_SORT;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(path.c_str());
    insert.item.iImage = kDatabaseImage;
    insert.item.iSelectedImage = kDatabaseImage;
    insert.item.state = INDEXTOSTATEIMAGEMASK(2);
    insert.item.stateMask = TVIS_STATEIMAGEMASK;
    insert.item.lParam = id;
    HTREEITEM item = TreeView_InsertItem(window, &insert);
    // Some versions of the control ignore the state image given at insertion.
    SetChecked(window, item, true);
    TreeView_Expand(window, root, TVE_EXPAND);
}

std::vector<std::pair<uint16_t, bool>> DatabaseTreeView::DatabaseItems() const {
    std::vector<std::pair<uint16_t, bool>> items;
    for (HTREEITEM child = TreeView_GetChild(window, root); child != nullptr;
         child = TreeView_GetNextSibling(window, child)) {
        TVITEMW item{};
        item.mask = TVIF_PARAM;
        item.hItem = child;
        TreeView_GetItem(window, &item);
        items.emplace_back(static_cast<uint16_t>(item.lParam), IsChecked(window, child));
    }
    return items;
}

void DatabaseTreeView::DeleteDatabaseItem(uint16_t id) {
    for (HTREEITEM child = TreeView_GetChild(window, root); child != nullptr;
         child = TreeView_GetNextSibling(window, child)) {
        TVITEMW item{};
        item.mask = TVIF_PARAM;
        item.hItem = child;
        if (TreeView_GetItem(window, &item) && static_cast<uint16_t>(item.lParam) == id) {
            TreeView_DeleteItem(window, child);
            return;
        }
    }
}

void DatabaseTreeView::OnCheckBoxClick(POINT point) {
    TVHITTESTINFO hit{};
    hit.pt = point;
    HTREEITEM item = TreeView_HitTest(window, &hit);
    if (item == nullptr || (hit.flags & TVHT_ONITEMSTATEICON) == 0) {
        return;
    }
    const bool checked = IsChecked(window, item);
    if (TreeView_GetChild(window, item) != nullptr) {
        for (HTREEITEM child = TreeView_GetChild(window, item); child != nullptr;
             child = TreeView_GetNextSibling(window, child)) {
            SetChecked(window, child, checked);
        }
    }
    HTREEITEM parent = TreeView_GetParent(window, item);
    if (!checked && parent != nullptr) {
        SetChecked(window, parent, false);
    }
}

void DatabaseTreeView::OnDropFiles(HDROP drop) {
    tree.OnDropFiles(TakeDroppedFiles(drop));
}

LRESULT CALLBACK DatabaseTreeView::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = OwnerOf<DatabaseTreeView>(hwnd);
    switch (message) {
    case WM_LBUTTONUP:
        view->OnCheckBoxClick(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        break;
    case WM_KEYDOWN:
    case WM_CHAR:
        if (wParam == VK_SPACE) {
            return 0; // the keyboard must not toggle a check box
        }
        break;
    case WM_DROPFILES:
        view->OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        break;
    }
    return CallWindowProcW(view->original, hwnd, message, wParam, lParam);
}

} // namespace tw
