// 8-bit text in the system's ANSI code page, through MultiByteToWideChar; the order of text through
// CompareStringW.
#include "platform/platform.h"
#include "platform/text_core.h"

#include <windows.h>

namespace tw::platform {

void detail::CodePageToWide(const char* text, size_t length, std::wstring& out) {
    if (length > 0x7FFFFFFF) {
        return;
    }
    // The system's code page (its "Language for non-Unicode programs"), the one the index was written in; not the
    // thread's (CP_THREAD_ACP), which follows the user's format settings.
    const int n = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (n <= 0) {
        return;
    }
    out.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), out.data(), n);
}

int CompareTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

} // namespace tw::platform
