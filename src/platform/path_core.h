// The path rules both backends share, written once for either separator. Internal to the platform layer.
#pragma once

#include <string>
#include <vector>

namespace tw::platform::detail {

// Joins folder and name with exactly one separator between them (the rule of PathAppendW): separators at
// the start of name are dropped, and none is added to an empty folder or for an empty name.
inline std::wstring JoinWithSeparator(const std::wstring& folder, const std::wstring& name, wchar_t separator) {
    size_t skip = 0;
    while (skip < name.size() && name[skip] == separator) {
        ++skip;
    }
    std::wstring out = folder;
    if (!out.empty() && out.back() != separator && skip < name.size()) {
        out += separator;
    }
    out.append(name, skip, std::wstring::npos);
    return out;
}

// An absolute path with its "." components removed, each ".." taken back with the component before it (never
// above the root), and runs of separators made one: the lexical rule of GetFullPathNameW. The path's first
// rootLength characters (its root, ending with a separator) stay as they are, and so does a trailing
// separator.
inline std::wstring NormalizeComponents(const std::wstring& path, size_t rootLength, wchar_t separator) {
    std::vector<std::wstring> kept;
    const bool trailing = path.size() > rootLength && path.back() == separator;
    for (size_t at = rootLength; at < path.size();) {
        size_t end = path.find(separator, at);
        if (end == std::wstring::npos) {
            end = path.size();
        }
        const std::wstring component = path.substr(at, end - at);
        if (component == L"..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
        } else if (!component.empty() && component != L".") {
            kept.push_back(component);
        }
        at = end + 1;
    }
    std::wstring out = path.substr(0, rootLength);
    for (size_t i = 0; i < kept.size(); ++i) {
        out += kept[i];
        if (i + 1 < kept.size() || trailing) {
            out += separator;
        }
    }
    return out;
}

} // namespace tw::platform::detail
