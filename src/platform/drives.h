// Drives: the drive list, each drive's type, space and volume label.
#pragma once

#include <cstdint>
#include <string>

namespace tw::platform {

// The drive list in the form of GetLogicalDriveStringsW: drive roots ("C:\", or on POSIX systems the mount
// points of real file systems, "/" first, each ending with a separator), each followed by a zero, the list
// ended by one more zero. With a buffer of bufferLength units (terminators included) that is large enough,
// fills it and returns the length without the final zero; otherwise returns the length needed, terminators
// included, and writes nothing. Returns 0 on failure.
uint32_t DriveStrings(uint32_t bufferLength, wchar_t* buffer);

// Drive types (the DRIVE_ values of GetDriveTypeW).
inline constexpr uint32_t kDriveUnknown = 0;
inline constexpr uint32_t kDriveNoRootDir = 1;
inline constexpr uint32_t kDriveRemovable = 2;
inline constexpr uint32_t kDriveFixed = 3;
inline constexpr uint32_t kDriveRemote = 4;
inline constexpr uint32_t kDriveOptical = 5;
inline constexpr uint32_t kDriveRamDisk = 6;

// The type of the drive at a root of the drive list (GetDriveTypeW). On POSIX systems from the mount table:
// network file systems are remote, iso9660 and udf optical, tmpfs and ramfs RAM disks, file systems on a
// device the system marks removable removable, others fixed; a path where nothing is mounted has no root.
[[nodiscard]] uint32_t DriveType(const std::wstring& root);
// The drive's size and its free bytes, the free space of the whole drive and not only what the caller may
// use (GetDiskFreeSpaceExW; statvfs on POSIX systems). False when the drive does not answer (no medium, no
// such drive); the outputs are then unchanged.
[[nodiscard]] bool DriveSpace(const std::wstring& root, uint64_t& totalBytes, uint64_t& totalFreeBytes);
// The drive's volume label (GetVolumeInformationW into 260 units: at most 259 characters). On POSIX systems the label
// the system gives the mounted device, or empty. False when the drive does not answer; the label is then unchanged.
[[nodiscard]] bool VolumeLabel(const std::wstring& root, std::wstring& label);

} // namespace tw::platform
