// System services of the Win32 backend: StrFormatByteSizeW, FormatMessageW, GetTickCount64 and
// FileTimeToLocalFileTime.
#include "platform/platform.h"

#include <fcntl.h>
#include <io.h>
#include <shlwapi.h>
#include <windows.h>

namespace tw::platform {

std::wstring FormatByteSize(uint64_t bytes) {
    wchar_t buffer[64] = {};
    StrFormatByteSizeW(static_cast<LONGLONG>(bytes), buffer, 64);
    return buffer;
}

std::wstring SystemErrorText(uint32_t code) {
    wchar_t* text = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0x0400, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result;
    if (n != 0 && text != nullptr) {
        result.assign(text, n);
    }
    if (text != nullptr) {
        LocalFree(text);
    }
    return result;
}

uint64_t TickCountMs() {
    return GetTickCount64();
}

bool FileTimeToLocal(uint64_t fileTime, LocalTime& local) {
    FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    FILETIME localTime{};
    SYSTEMTIME parts{};
    if (!FileTimeToLocalFileTime(&utc, &localTime) || !FileTimeToSystemTime(&localTime, &parts)) {
        return false;
    }
    local.year = parts.wYear;
    local.month = parts.wMonth;
    local.day = parts.wDay;
    local.hour = parts.wHour;
    local.minute = parts.wMinute;
    local.second = parts.wSecond;
    return true;
}

bool IsTerminal(int stream) {
    if (stream < 0 || stream > 2) {
        return false;
    }
    const DWORD which = stream == 0 ? STD_INPUT_HANDLE : (stream == 1 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != FALSE;
}

bool TakeOverLineEnds(int stream) {
    return (stream == 1 || stream == 2) && _setmode(stream, _O_BINARY) != -1;
}

} // namespace tw::platform
