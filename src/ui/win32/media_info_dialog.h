// MediaInfoDialog: the Media Info window (template 144). Shows the objects of the shared container as a tree of
// object items and their property items, expands a reference and writes its TOC entry's dump to the console on
// a double click, opens another container, dumps the TOC and shows the console. The item texts, the references
// and the dumps come from container/media_info_items.h and container/toc_dump.h.
#pragma once

#include "container/bento_container.h"
#include "container/media_info_items.h"
#include "ui/win32/console_log.h"
#include "ui/win32/dialog_window.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

namespace tw {

class MediaInfoDialog : public DialogWindow {
public:
    // Asks for the file "Open..." opens; empty when the user cancels.
    using FileChooser = std::function<std::wstring(HWND owner)>;

    // container is the application's shared container, which stays open when the window closes; console (may be
    // null) receives the opened paths and the dumps, and is what "Show console" shows.
    MediaInfoDialog(HINSTANCE instance, BentoContainer& container, ConsoleLog* console,
                    FileChooser chooseFile = ChooseContainerFile);

    // Runs the window modally over owner; returns when it is closed.
    INT_PTR Run(HWND owner);

    // The system's open-file dialog owned by owner: filter "OMFI Files " with *.omf;*.aif;*.wav;*.mdb, hiding the
    // read-only box, path and file must exist. Empty when cancelled.
    static std::wstring ChooseContainerFile(HWND owner);

private:
    INT_PTR OnInitDialog() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Inserts the object's item (bold, number 0) in the tree's order under parent (null: the root), with its
    // property items; nothing when the container holds no such object.
    void InsertObjectItem(uint32_t objectId, HTREEITEM parent);
    // Appends one item per property value, in the walk order of the object's property table.
    void InsertPropertyItems(const ObjectItem& object, HTREEITEM parent);
    // Inserts under item the objects the property with this number leads to.
    void ExpandReference(uint32_t number, HTREEITEM item);
    void OnDoubleClick();
    void OnOpen();
    void OnWindowPosChanged(const WINDOWPOS& position);
    HTREEITEM InsertItem(HTREEITEM parent, HTREEITEM after, const std::wstring& text, uint32_t number, bool bold);

    HINSTANCE instance;
    BentoContainer& container;
    ConsoleLog* console;
    FileChooser chooseFile;
    HWND tree = nullptr;
    int minWidth = 0;
    int minHeight = 0;
    int frameExtra = 0;
    SIZE lastSize{0, 0};
};

} // namespace tw
