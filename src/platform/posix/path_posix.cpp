// Path helpers with the rules of the shell's Path*W functions, for '/' separated paths.
#include "platform/path_core.h"
#include "platform/paths.h"

namespace tw::platform {

size_t FileNameStart(const std::wstring& path) {
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        // A separator followed by more text (other than a trailing separator) starts a new component.
        if (path[i] == L'/' && i + 1 < path.size() && path[i + 1] != L'/') {
            start = i + 1;
        }
    }
    return start;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    return detail::JoinWithSeparator(folder, name, L'/');
}

} // namespace tw::platform
