// Path helpers through the shell's Path*W functions; paths beyond MAX_PATH follow the same rules by hand. Also the
// \\?\ form that every file operation of the Win32 backend hands to the system.
#include "platform/path_core.h"
#include "platform/platform.h"
#include "platform/win32/long_path.h"

#include <shlwapi.h>
#include <windows.h>

#include <algorithm>
#include <cwctype>

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

namespace detail {

namespace {

const std::wstring kLongPrefix = L"\\\\?\\";
const std::wstring kLongUncPrefix = L"\\\\?\\UNC\\";

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// "C:\..." with a separator after the colon.
bool IsDrivePath(const std::wstring& path) {
    return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\';
}

// GetFullPathNameW of a path, or empty when the system cannot make it full.
std::wstring SystemFullPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return std::wstring();
    }
    std::wstring full(needed, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (written == 0 || written >= needed) {
        return std::wstring();
    }
    full.resize(written);
    return full;
}

} // namespace

std::wstring LongPath(const std::wstring& path) {
    if (StartsWith(path, kLongPrefix)) {
        return path;
    }
    std::wstring p = path;
    std::replace(p.begin(), p.end(), L'/', L'\\');
    if (IsDrivePath(p)) {
        p[0] = static_cast<wchar_t>(towupper(p[0]));
        return kLongPrefix + NormalizeComponents(p, 3, L'\\');
    }
    if (StartsWith(p, L"\\\\")) {
        // \\.\ and \\?\ lead to devices, whose names the system does not take literally in either form.
        if (p.size() > 2 && (p[2] == L'.' || p[2] == L'?') && (p.size() == 3 || p[3] == L'\\')) {
            return std::wstring();
        }
        const size_t server = p.find(L'\\', 2);
        if (server == std::wstring::npos || server == 2 || server + 1 == p.size() || p[server + 1] == L'\\') {
            return std::wstring();
        }
        size_t share = p.find(L'\\', server + 1);
        if (share == std::wstring::npos) {
            p += L'\\';
            share = p.size() - 1;
        }
        // The server and share are the root, which ".." never leaves.
        return kLongUncPrefix + NormalizeComponents(p.substr(2), share - 1, L'\\');
    }
    if (p.empty()) {
        return std::wstring();
    }
    // A path relative to the current folder ("x"), to the current drive's root ("\x") or to a drive's current
    // folder ("C:x"): the system gives that base, and the components after it are kept as written (the system's
    // own full path would take trailing dots and spaces off every one of them).
    size_t rest = 0;
    std::wstring base;
    if (p.size() >= 2 && IsDriveLetter(p[0]) && p[1] == L':') {
        base = SystemFullPath(p.substr(0, 2));
        rest = 2;
    } else if (p[0] == L'\\') {
        base = SystemFullPath(L"\\");
        rest = 1;
    } else {
        base = SystemFullPath(L".");
    }
    const std::wstring full = JoinWithSeparator(base, p.substr(rest), L'\\');
    if (!IsDrivePath(full) && !StartsWith(full, L"\\\\")) {
        return std::wstring();
    }
    return LongPath(full);
}

std::wstring WithoutLongPrefix(const std::wstring& path) {
    if (StartsWith(path, kLongUncPrefix)) {
        return L"\\\\" + path.substr(kLongUncPrefix.size());
    }
    if (StartsWith(path, kLongPrefix) && IsDrivePath(path.substr(kLongPrefix.size()))) {
        return path.substr(kLongPrefix.size());
    }
    return path;
}

} // namespace detail

} // namespace tw::platform
