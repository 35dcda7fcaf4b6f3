// The names of files and folders dropped on a window (WM_DROPFILES), as the shell hands them over.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace tw {

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
