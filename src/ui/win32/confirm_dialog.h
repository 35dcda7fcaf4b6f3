// The confirmation dialog (template 159): asks before a file is overwritten or deleted.
#pragma once

#include "seams/prompts.h"
#include "ui/confirm_texts.h"
#include "ui/win32/dialog_window.h"

#include <windows.h>

#include <string>

namespace tw {

// Made by a run before its loop, with the run's parent window; its texts persist between the questions of
// that run. The dialog window exists only while a question is shown.
class ConfirmDialog : public DialogWindow {
public:
    explicit ConfirmDialog(HWND parent, HINSTANCE instance = GetModuleHandleW(nullptr));

    // Each shows the dialog modally and answers the button that closed it (Esc and Enter: Cancel); None
    // without showing anything when the path is empty.
    ConfirmAnswer AskOverwrite(const std::wstring& source, const std::wstring& target);
    ConfirmAnswer AskDelete(const std::wstring& path);
    ConfirmAnswer AskDeleteReadOnly(const std::wstring& path);

    [[nodiscard]] const ConfirmTexts& Texts() const { return texts; }
    // The window the next question belongs to.
    void SetOwner(HWND owner) { parent = owner; }

private:
    ConfirmAnswer Ask();
    INT_PTR OnInitDialog() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND parent;
    HINSTANCE instance;
    ConfirmTexts texts;
};

} // namespace tw
