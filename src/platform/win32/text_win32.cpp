// 8-bit text in the current thread's ANSI code page, through MultiByteToWideChar; the order of text through
// CompareStringW.
#include "platform/platform.h"

#include <cstring>
#include <windows.h>

namespace tw::platform {

std::wstring AnsiToWide(const char* text, size_t length) {
    std::wstring out;
    AnsiToWide(text, length, out);
    return out;
}

void AnsiToWide(const char* text, size_t length, std::wstring& out) {
    out.clear();
    if (text == nullptr || length == 0) {
        return;
    }
    const void* zero = std::memchr(text, 0, length);
    if (zero != nullptr) {
        length = static_cast<size_t>(static_cast<const char*>(zero) - text);
    }
    if (length == 0 || length > 0x7FFFFFFF) {
        return;
    }
    const int n = MultiByteToWideChar(CP_THREAD_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (n <= 0) {
        return;
    }
    out.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_THREAD_ACP, 0, text, static_cast<int>(length), out.data(), n);
}

int CompareTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

} // namespace tw::platform
