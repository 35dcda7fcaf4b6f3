// Drives of a Windows machine: GetLogicalDriveStringsW.
#include "platform/platform.h"

#include <windows.h>

namespace tw::platform {

uint32_t DriveStrings(uint32_t bufferLength, wchar_t* buffer) {
    return GetLogicalDriveStringsW(bufferLength, buffer);
}

} // namespace tw::platform
