// Drives of a Windows machine: GetLogicalDriveStringsW, GetDriveTypeW, GetDiskFreeSpaceExW and
// GetVolumeInformationW.
#include "platform/platform.h"

#include <windows.h>

namespace tw::platform {

uint32_t DriveStrings(uint32_t bufferLength, wchar_t* buffer) {
    return GetLogicalDriveStringsW(bufferLength, buffer);
}

uint32_t DriveType(const std::wstring& root) {
    return GetDriveTypeW(root.c_str());
}

bool DriveSpace(const std::wstring& root, uint64_t& totalBytes, uint64_t& totalFreeBytes) {
    ULARGE_INTEGER available{};
    ULARGE_INTEGER total{};
    ULARGE_INTEGER totalFree{};
    if (!GetDiskFreeSpaceExW(root.c_str(), &available, &total, &totalFree)) {
        return false;
    }
    totalBytes = total.QuadPart;
    totalFreeBytes = totalFree.QuadPart;
    return true;
}

bool VolumeLabel(const std::wstring& root, std::wstring& label) {
    wchar_t buffer[260] = {};
    if (!GetVolumeInformationW(root.c_str(), buffer, 260, nullptr, nullptr, nullptr, nullptr, 0)) {
        return false;
    }
    label = buffer;
    return true;
}

} // namespace tw::platform
