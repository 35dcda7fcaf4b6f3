// The Windows program's prompts: the confirmation dialog, the shell's folder browser, the keyboard cancel
// prompt and message boxes.
#pragma once

#include "seams/prompts.h"
#include "ui/win32/confirm_dialog.h"

#include <windows.h>

#include <cstddef>
#include <string>

namespace tw {

// Shows the shell's folder browser ("Select folder", file-system folders only) owned by owner and writes
// the chosen folder's path into buffer. False at once for a missing buffer or a capacity of 0, and when
// the browser is cancelled, the choice has no file-system path or the path does not fit.
bool ChooseFolder(HWND owner, wchar_t* buffer, size_t capacity);

// True when the user wants to stop: with keyboard or mouse input pending, takes every pending keyboard
// message off the queue and, for each key press or character, asks "Do you want to cancel current
// task?" (Yes answers true). Mouse input stays queued.
bool PollCancel();

// The prompts of one run, owned by owner (the run's parent window).
class WindowPrompts : public Prompts {
public:
    explicit WindowPrompts(HWND owner);

    ConfirmAnswer AskOverwrite(const std::wstring& source, const std::wstring& target) override;
    ConfirmAnswer AskDelete(const std::wstring& path) override;
    ConfirmAnswer AskDeleteReadOnly(const std::wstring& path) override;
    bool ChooseFolder(std::wstring& folder) override;
    bool PollCancel() override;
    MessageAnswer ShowMessage(const std::wstring& text, const std::wstring& caption, MessageButtons buttons) override;

    // The window the confirmation dialog belongs to from now on; null: the owner again.
    void SetConfirmOwner(HWND confirmOwner) { confirm.SetOwner(confirmOwner != nullptr ? confirmOwner : owner); }

private:
    HWND owner;
    ConfirmDialog confirm;
};

} // namespace tw
