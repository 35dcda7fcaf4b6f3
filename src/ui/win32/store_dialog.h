// The store dialog (template 160): copies or moves the selected files into a folder typed or chosen, all into it
// or sorted into one subfolder per project. It closes after every run that got past the check of its folder.
#pragma once

#include "container/bento_container.h"
#include "operations/file_selection.h"
#include "operations/file_system.h"
#include "seams/console.h"
#include "ui/win32/dialog_window.h"

#include <windows.h>

namespace tw {

class StoreDialog : public DialogWindow {
public:
    // What a store run works on: the file list's selection, the files, the console and the shared container
    // (console and container may be null).
    struct Services {
        FileSelection& selection;
        FileSystem& files;
        Console* console = nullptr;
        BentoContainer* container = nullptr;
    };

    StoreDialog(HINSTANCE instance, HWND list, Services services)
        : instance(instance), list(list), services(services) {}

    // Runs the dialog modally, owned by owner; the edit box starts empty and Move unchecked.
    INT_PTR Run(HWND owner);

private:
    INT_PTR OnInitDialog() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Browse();
    // "...to the folder" (byProject false) and "...by project name".
    void Store(bool byProject);

    HINSTANCE instance;
    HWND list;
    Services services;
};

} // namespace tw
