#include "ui/win32/database_tree_view.h"

#include "resource.h"
#include "ui/win32/control_subclass.h"
#include "ui/win32/dropped_files.h"
#include "ui/win32/window_dpi.h"

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
    AcceptDroppedFiles(window);
}

DatabaseTreeView::~DatabaseTreeView() {
    RestoreControl(window, original);
    if (images != nullptr) {
        ImageList_Destroy(images);
    }
}

void DatabaseTreeView::OnDpiChanged(int dpi) {
    static constexpr int kIcons[] = {IDI_DATABASES, IDI_DATABASE};
    HIMAGELIST made = MakeIconList(instance, kIcons, 2, dpi, ILC_COLOR);
    TreeView_SetImageList(window, made, TVSIL_NORMAL);
    if (images != nullptr) {
        ImageList_Destroy(images);
    }
    images = made;
}

void DatabaseTreeView::Initialize() {
    // Check boxes set by the template are set up by the control later and may then lose the states given to
    // the items before; setting the style again now sets them up before the tree is filled.
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    SetWindowLongPtrW(window, GWL_STYLE, style & ~TVS_CHECKBOXES);
    SetWindowLongPtrW(window, GWL_STYLE, style | TVS_CHECKBOXES);
    OnDpiChanged(WindowDpi(window));

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

HTREEITEM DatabaseTreeView::CheckBoxAt(POINT point) const {
    TVHITTESTINFO hit{};
    hit.pt = point;
    HTREEITEM item = TreeView_HitTest(window, &hit);
    return item != nullptr && (hit.flags & TVHT_ONITEMSTATEICON) != 0 ? item : nullptr;
}

void DatabaseTreeView::PropagateCheck(HTREEITEM item) {
    const bool checked = IsChecked(window, item);
    for (HTREEITEM child = TreeView_GetChild(window, item); child != nullptr;
         child = TreeView_GetNextSibling(window, child)) {
        SetChecked(window, child, checked);
    }
    HTREEITEM parent = TreeView_GetParent(window, item);
    if (!checked && parent != nullptr) {
        SetChecked(window, parent, false);
    }
}

LRESULT DatabaseTreeView::OnButton(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    HTREEITEM item = CheckBoxAt(point);
    if (message != WM_LBUTTONUP) {
        pressed = item;
    } else if (item != pressed) {
        item = nullptr; // a release that ends no click on this box
    }
    // The control toggles the box while it handles the message: on Windows inside the press, whose tracking
    // loop takes the release off the queue before it reaches this procedure; under Wine with this tree's style
    // also inside the press, or on a double click. The new state is read once the control is done with it.
    const LRESULT result = CallWindowProcW(original, window, message, wParam, lParam);
    if (item != nullptr) {
        PropagateCheck(item);
    }
    if (message == WM_LBUTTONUP) {
        pressed = nullptr;
    }
    return result;
}

void DatabaseTreeView::OnDropFiles(HDROP drop) {
    tree.OnDropFiles(TakeDroppedFiles(drop));
}

LRESULT CALLBACK DatabaseTreeView::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = OwnerOf<DatabaseTreeView>(hwnd);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        return view->OnButton(message, wParam, lParam);
    case WM_KEYDOWN:
    case WM_CHAR:
        if (wParam == VK_SPACE) {
            return 0; // the keyboard must not toggle a check box
        }
        break;
    case WM_DROPFILES:
        view->OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY: {
        // The check boxes' image list is the control's making but the owner's to destroy.
        HIMAGELIST states = TreeView_SetImageList(hwnd, nullptr, TVSIL_STATE);
        if (states != nullptr) {
            ImageList_Destroy(states);
        }
        break;
    }
    default:
        break;
    }
    return CallWindowProcW(view->original, hwnd, message, wParam, lParam);
}

} // namespace tw
