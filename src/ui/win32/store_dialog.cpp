#include "ui/win32/store_dialog.h"

#include "operations/file_operations.h"
#include "operations/store_target.h"
#include "resource.h"
#include "ui/win32/prompts.h"
#include "ui/win32/window_run_host.h"

#include <string>

namespace tw {

INT_PTR StoreDialog::Run(HWND owner) {
    return RunModal(instance, IDD_STORE, owner);
}

INT_PTR StoreDialog::OnInitDialog() {
    SetFocus(GetDlgItem(Window(), IDC_STORE_TO_FOLDER));
    return FALSE;
}

void StoreDialog::Browse() {
    wchar_t buffer[kStoreTargetCapacity] = {};
    if (ChooseFolder(Window(), buffer, kStoreTargetCapacity)) {
        SetDlgItemTextW(Window(), IDC_STORE_TARGET, buffer);
    }
}

void StoreDialog::Store(bool byProject) {
    HWND dialog = Window();
    wchar_t text[kStoreTargetCapacity] = {};
    GetDlgItemTextW(dialog, IDC_STORE_TARGET, text, kStoreTargetCapacity);
    // Messages belong to this dialog; the confirmation dialog of the run to its progress dialog.
    WindowPrompts prompts(dialog);
    const StoreTarget target = ValidateStoreTarget(text, services.files, prompts);
    if (target.editText) {
        SetDlgItemTextW(dialog, IDC_STORE_TARGET, target.editText->c_str());
    }
    if (!target.valid) {
        return;
    }
    const bool move = IsDlgButtonChecked(dialog, IDC_STORE_MOVE) == BST_CHECKED;
    WindowRunHost host(
        instance, list, [dialog](bool busy) { EnableWindow(dialog, busy ? FALSE : TRUE); }, &prompts);
    FileOperations({services.selection, prompts, host, services.files, services.console, services.container})
        .StoreFiles(target.folder, move, byProject);
    EndDialog(dialog, IDOK);
}

INT_PTR StoreDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
    case IDC_STORE_BROWSE:
        Browse();
        return TRUE;
    case IDC_STORE_TO_FOLDER:
        Store(false);
        return TRUE;
    case IDC_STORE_BY_PROJECT:
        Store(true);
        return TRUE;
    case IDCANCEL:
        EndDialog(Window(), IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace tw
