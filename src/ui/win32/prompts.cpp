#include "ui/win32/prompts.h"

#include <shlobj.h>

#include <cwchar>
#include <vector>

namespace tw {

namespace {

constexpr UINT kBrowseOptions = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE | BIF_UAHINT;
static_assert(kBrowseOptions == 0x149, "the folder browser's options");

} // namespace

bool ChooseFolder(HWND owner, wchar_t* buffer, size_t capacity) {
    if (buffer == nullptr || capacity == 0) {
        return false;
    }
    // Balanced: where the thread has COM already (the program's own thread), this leaves it as it was.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
        return false;
    }
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = L"Select folder";
    info.ulFlags = kBrowseOptions;
    bool chosen = false;
    if (PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info)) {
        // SHGetPathFromIDListEx gives a folder deeper than MAX_PATH too; SHGetPathFromIDListW stops there.
        std::vector<wchar_t> path(capacity, L'\0');
        const BOOL got = SHGetPathFromIDListEx(item, path.data(), static_cast<DWORD>(capacity), GPFIDL_DEFAULT);
        if (got && path[capacity - 1] == L'\0') {
            wcscpy(buffer, path.data());
            chosen = true;
        }
        CoTaskMemFree(item);
    }
    CoUninitialize();
    return chosen;
}

bool PollCancel() {
    if (!GetInputState()) {
        return false;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYFIRST + 8, PM_REMOVE)) {
        if (message.message == WM_KEYDOWN || message.message == WM_CHAR) {
            if (MessageBoxW(GetActiveWindow(), L"Do you want to cancel current task?", nullptr, MB_YESNO) == IDYES) {
                return true;
            }
        }
    }
    return false;
}

WindowPrompts::WindowPrompts(HWND owner) : owner(owner), confirm(owner) {}

ConfirmAnswer WindowPrompts::AskOverwrite(const std::wstring& source, const std::wstring& target) {
    return confirm.AskOverwrite(source, target);
}

ConfirmAnswer WindowPrompts::AskDelete(const std::wstring& path) {
    return confirm.AskDelete(path);
}

ConfirmAnswer WindowPrompts::AskDeleteReadOnly(const std::wstring& path) {
    return confirm.AskDeleteReadOnly(path);
}

bool WindowPrompts::ChooseFolder(std::wstring& folder) {
    wchar_t buffer[4096] = {};
    if (!tw::ChooseFolder(owner, buffer, 4096)) {
        return false;
    }
    folder = buffer;
    return true;
}

bool WindowPrompts::PollCancel() {
    return tw::PollCancel();
}

MessageAnswer WindowPrompts::ShowMessage(const std::wstring& text, const std::wstring& caption,
                                         MessageButtons buttons) {
    const int result =
        MessageBoxW(owner, text.c_str(), caption.c_str(), buttons == MessageButtons::Ok ? MB_OK : MB_YESNO);
    if (result == IDYES) {
        return MessageAnswer::Yes;
    }
    // A box that could not be shown answers as its safe button does.
    return result == IDOK ? MessageAnswer::Ok : MessageAnswer::No;
}

} // namespace tw
