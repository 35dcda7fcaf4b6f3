#include "ui/win32/confirm_dialog.h"

#include "resource.h"
#include "ui/dpi_scale.h"
#include "ui/win32/window_dpi.h"
#include "ui/window_layout.h"

namespace tw {

ConfirmDialog::ConfirmDialog(HWND parent, HINSTANCE instance) : parent(parent), instance(instance) {}

ConfirmAnswer ConfirmDialog::AskOverwrite(const std::wstring& source, const std::wstring& target) {
    if (source.empty()) {
        return ConfirmAnswer::None;
    }
    texts.SetOverwrite(source, target);
    return Ask();
}

ConfirmAnswer ConfirmDialog::AskDelete(const std::wstring& path) {
    if (path.empty()) {
        return ConfirmAnswer::None;
    }
    texts.SetDelete(path);
    return Ask();
}

ConfirmAnswer ConfirmDialog::AskDeleteReadOnly(const std::wstring& path) {
    if (path.empty()) {
        return ConfirmAnswer::None;
    }
    texts.SetDeleteReadOnly(path);
    return Ask();
}

ConfirmAnswer ConfirmDialog::Ask() {
    return ToConfirmAnswer(RunModal(instance, IDD_CONFIRM, parent));
}

INT_PTR ConfirmDialog::OnInitDialog() {
    HWND window = Window();
    SetWindowTextW(window, texts.caption.c_str());
    SetDlgItemTextW(window, IDC_CONFIRM_FIRST_LABEL, texts.firstLabel.c_str());
    SetDlgItemTextW(window, IDC_CONFIRM_FIRST_PATH, texts.firstPath.c_str());
    SetDlgItemTextW(window, IDC_CONFIRM_SECOND_LABEL, texts.secondLabel.c_str());
    SetDlgItemTextW(window, IDC_CONFIRM_SECOND_PATH, texts.secondPath.c_str());
    if (!texts.ShowsSecondLabel()) {
        ShowWindow(GetDlgItem(window, IDC_CONFIRM_SECOND_LABEL), SW_HIDE);
    }
    if (!texts.ShowsSecondPath()) {
        ShowWindow(GetDlgItem(window, IDC_CONFIRM_SECOND_PATH), SW_HIDE);
        RECT r{};
        GetWindowRect(window, &r);
        SetWindowPos(window, nullptr, 0, 0, r.right - r.left,
                     r.bottom - r.top - ScaleForDpi(kConfirmShrink, WindowDpi(window)),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Cancel, the default button, takes the focus, so that Enter answers Cancel.
    SetFocus(GetDlgItem(window, IDCANCEL));
    return FALSE;
}

INT_PTR ConfirmDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDCANCEL:
        case IDC_CONFIRM_YES:
        case IDC_CONFIRM_YES_TO_ALL:
        case IDC_CONFIRM_SKIP:
        case IDC_CONFIRM_SKIP_ALL:
            EndDialog(Window(), LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace tw
