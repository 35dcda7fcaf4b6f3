#include "operations/target_names.h"

namespace tw {

namespace {

wchar_t UpperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// The part before the first dot, without the spaces at its end, names the device.
bool IsDeviceName(const std::wstring& name) {
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ') {
        base.pop_back();
    }
    for (wchar_t& c : base) {
        c = UpperAscii(c);
    }
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL") {
        return true;
    }
    return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

} // namespace

bool IsPlainFileName(const std::wstring& name) {
    if (name.find_first_not_of(L". ") == std::wstring::npos) {
        return false; // empty, ".", ".." and the like
    }
    for (wchar_t c : name) {
        if (c < 0x20 || c == L'/' || c == L'\\' || c == L':') {
            return false;
        }
    }
    return !IsDeviceName(name);
}

bool IsPlainFolderName(const std::wstring& name) {
    if (!IsPlainFileName(name) || name.back() == L'.' || name.back() == L' ') {
        return false;
    }
    return name.find_first_of(L"<>\"|?*") == std::wstring::npos;
}

} // namespace tw

namespace tw {

std::wstring PartialCopyName(const std::wstring& name, int attempt) {
    constexpr size_t kMaxName = 255;
    std::wstring ending = attempt > 1 ? L"." + std::to_wstring(attempt) : std::wstring();
    ending += kPartialCopyEnding;
    return name.substr(0, kMaxName - ending.size()) + ending;
}

} // namespace tw
