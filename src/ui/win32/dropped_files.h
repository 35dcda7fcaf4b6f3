// Files and folders dropped on a window (WM_DROPFILES): accepting them, and their names as the shell hands
// them over.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace tw {

// Lets window take files dropped from the shell, also while this program runs as administrator and the
// shell does not: the messages of a drop are let through the window's message filter, which otherwise keeps
// messages from processes of lower integrity out. Systems before Windows 7 have no per-window filter.
inline void AcceptDroppedFiles(HWND window) {
    DragAcceptFiles(window, TRUE);
    using FilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
    HMODULE user = GetModuleHandleW(L"user32.dll");
    const auto filter = user != nullptr ? reinterpret_cast<FilterFunction>(reinterpret_cast<void (*)()>(
                                              GetProcAddress(user, "ChangeWindowMessageFilterEx")))
                                        : nullptr;
    if (filter == nullptr) {
        return;
    }
    constexpr UINT kCopyGlobalData = 0x0049; // WM_COPYGLOBALDATA: carries the drop's data across the filter
    for (UINT message : {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData}) {
        filter(window, message, MSGFLT_ALLOW, nullptr);
    }
}

// Every dropped name in the drop's order; releases the drop.
inline std::vector<std::wstring> TakeDroppedFiles(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::wstring> names;
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(length);
        names.push_back(name);
    }
    DragFinish(drop);
    return names;
}

} // namespace tw
