// DatabaseTreeView: the tree control of the main window (control 1002) that lists the known databases with
// check boxes under one root. The list, the scan and the drop rules are DatabaseTree's; this class is the
// control: its items, images, check-box propagation, the swallowed space bar and dropped files.
#pragma once

#include "discovery/database_tree.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

namespace tw {

class DatabaseTreeView : public DatabaseTreeControl {
public:
    static constexpr wchar_t kRootText[] = L"Databases (Drag here files or folders)";

    // tree: the control, already created; drives and openProgress as DatabaseTree takes them.
    DatabaseTreeView(HWND tree, HINSTANCE instance, DriveStringsFunction drives,
                     DatabaseTree::ScanProgressFactory openProgress);
    ~DatabaseTreeView() override;
    DatabaseTreeView(const DatabaseTreeView&) = delete;
    DatabaseTreeView& operator=(const DatabaseTreeView&) = delete;

    // Builds the image list, inserts the root and runs the first drive scan.
    void Initialize();
    // The item images at the size for a display of resolution dpi, replacing those the tree had.
    void OnDpiChanged(int dpi);

    [[nodiscard]] DatabaseTree& Tree() { return tree; }
    [[nodiscard]] HWND Window() const { return window; }
    [[nodiscard]] HTREEITEM Root() const { return root; }

    void DeleteDatabaseItems() override;
    void InsertDatabaseItem(const std::wstring& path, uint16_t id) override;
    [[nodiscard]] std::vector<std::pair<uint16_t, bool>> DatabaseItems() const override;
    void DeleteDatabaseItem(uint16_t id) override;

private:
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The item whose check box lies at point (client coordinates); null when the point is on none.
    [[nodiscard]] HTREEITEM CheckBoxAt(POINT point) const;
    // Gives every child of item the item's check state and, when it is unchecked, unchecks its parent:
    // checking the root checks every database, unchecking a database unchecks the root.
    void PropagateCheck(HTREEITEM item);
    // A press, double click or release of the left button: the control's own handling, then the check
    // boxes follow the state the click left on the box it hit.
    LRESULT OnButton(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDropFiles(HDROP drop);

    HWND window;
    WNDPROC original = nullptr;
    HINSTANCE instance;
    HIMAGELIST images = nullptr;
    HTREEITEM root = nullptr;
    // The item whose check box the left button went down on, until the button is released.
    HTREEITEM pressed = nullptr;
    DatabaseTree tree;
};

} // namespace tw
