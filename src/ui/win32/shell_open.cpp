#include "ui/win32/shell_open.h"

#include <shellapi.h>

namespace tw {

uint32_t ShellExecuteErrorCode(INT_PTR result) {
    switch (result) {
    case 0:
        return ERROR_NOT_ENOUGH_MEMORY; // "out of memory or resources"
    case SE_ERR_SHARE:
        return ERROR_SHARING_VIOLATION;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC:
        return ERROR_NO_ASSOCIATION;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY:
        return ERROR_DDE_FAIL;
    case SE_ERR_DLLNOTFOUND:
        return ERROR_DLL_NOT_FOUND;
    default:
        // The rest are system codes already: file or path not found, access denied, not enough memory, bad
        // format.
        return static_cast<uint32_t>(result);
    }
}

bool OpenWithShell(HWND owner, const std::wstring& path, Console* console) {
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(owner, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWDEFAULT));
    if (result > 32) {
        return true;
    }
    LogSystemError(console, ShellExecuteErrorCode(result), kOpenErrorContext);
    return false;
}

} // namespace tw
