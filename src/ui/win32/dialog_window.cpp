#include "ui/win32/dialog_window.h"

#include "ui/window_layout.h"

namespace tw {

DialogWindow::~DialogWindow() {
    DestroyDialog();
}

void DialogWindow::DestroyDialog() {
    if (window != nullptr) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        DestroyWindow(window);
        window = nullptr;
    }
}

INT_PTR DialogWindow::RunModal(HINSTANCE instance, int templateId, HWND owner) {
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, Procedure, reinterpret_cast<LPARAM>(this));
}

bool DialogWindow::CreateModeless(HINSTANCE instance, int templateId, HWND owner) {
    return CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), owner, Procedure,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR DialogWindow::KeepMinimumSize(LPARAM sizingRect, int minWidth, int minHeight) const {
    auto* r = reinterpret_cast<RECT*>(sizingRect);
    const Rect held = HoldMinimumSize(Rect{r->left, r->top, r->right, r->bottom}, minWidth, minHeight);
    *r = RECT{held.left, held.top, held.right, held.bottom};
    return SetMessageResult(TRUE);
}

INT_PTR DialogWindow::SetMessageResult(LONG_PTR result) const {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window = window;
        return self->OnInitDialog();
    }
    // Messages before WM_INITDIALOG (the font, the frame) and after the owner let go get the default handling.
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    const INT_PTR handled = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->window = nullptr;
    }
    return handled;
}

} // namespace tw
