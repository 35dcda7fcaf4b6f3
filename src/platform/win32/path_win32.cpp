// Path helpers through the shell's Path*W functions; paths beyond MAX_PATH follow the same rules by hand.
#include "platform/path_core.h"
#include "platform/platform.h"

#include <shlwapi.h>
#include <windows.h>

namespace tw::platform {

size_t FileNameStart(const std::wstring& path) {
    if (path.empty()) {
        return 0;
    }
    const wchar_t* start = PathFindFileNameW(path.c_str());
    return static_cast<size_t>(start - path.c_str());
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.size() + name.size() + 2 <= MAX_PATH) {
        wchar_t buffer[MAX_PATH];
        lstrcpynW(buffer, folder.c_str(), MAX_PATH);
        if (PathAppendW(buffer, name.c_str())) {
            return buffer;
        }
    }
    return detail::JoinWithSeparator(folder, name, L'\\');
}

} // namespace tw::platform
