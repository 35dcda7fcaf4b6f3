#include "ui/hardware_tool_model.h"

#include "platform/platform.h"
#include "ui/bar_scale.h"

#include <algorithm>

namespace tw {

namespace {

constexpr uint64_t kMaxScaledCapacity = 300;
constexpr int kLabelLeft = 20;
constexpr int kLabelRight = 320;
constexpr int kWidthGrowth = 315;

} // namespace

std::vector<DriveInfo> QueryDrives(const DriveStringsFunction& driveStrings) {
    std::vector<DriveInfo> drives;
    for (const std::wstring& root : ReadDriveList(driveStrings)) {
        DriveInfo drive;
        drive.root = root;
        drive.type = platform::DriveType(root);
        drive.ready = platform::DriveSpace(root, drive.totalBytes, drive.freeBytes);
        if (drive.ready && !platform::VolumeLabel(root, drive.volumeLabel)) {
            drive.volumeLabel.clear();
        }
        drives.push_back(drive);
    }
    return drives;
}

DriveScale ScaleDrives(const std::vector<DriveInfo>& drives) {
    uint64_t largest = 0;
    for (const DriveInfo& d : drives) {
        if (d.ready) {
            largest = std::max(largest, d.totalBytes);
        }
    }
    DriveScale scale;
    scale.shift = ShiftFor(largest, kMaxScaledCapacity);
    scale.largest = static_cast<uint32_t>(largest >> scale.shift);
    return scale;
}

std::vector<DriveRow> LayOutDriveRows(const std::vector<DriveInfo>& drives) {
    const DriveScale scale = ScaleDrives(drives);
    const int m = static_cast<int>(scale.largest);
    std::vector<DriveRow> rows;
    int y = kFirstRowBottom;
    for (const DriveInfo& d : drives) {
        DriveRow row;
        // A drive that did not answer has all sizes 0, whatever it holds.
        const uint64_t total = d.ready ? d.totalBytes : 0;
        const uint64_t used = d.ready ? d.UsedBytes() : 0;
        row.range = static_cast<uint32_t>(total >> scale.shift);
        row.position = static_cast<uint32_t>(used >> scale.shift);
        row.bar = {kBarLeft, y - kDriveRowHeight, std::max(kBarLeft + static_cast<int>(row.range), kMinBarRight), y};
        row.label = {m + kLabelLeft, y - kDriveRowHeight, m + kLabelRight, y};
        if (d.ready) {
            row.barText = platform::FormatByteSize(d.freeBytes);
        }
        row.labelText = DriveLabelText(d);
        row.background = DriveBackground(d.type);
        rows.push_back(row);
        y += kDriveRowHeight;
    }
    return rows;
}

std::wstring DriveLabelText(const DriveInfo& drive) {
    if (!drive.ready) {
        return drive.root + L" -  Device Not ready";
    }
    return drive.root + L" ( " + drive.volumeLabel + L" ) -  " + platform::FormatByteSize(drive.totalBytes) +
           L" total / " + platform::FormatByteSize(drive.UsedBytes()) + L" used";
}

Colour DriveBackground(uint32_t type) {
    switch (type) {
    case platform::kDriveRemote:
        return {223, 255, 223};
    case platform::kDriveOptical:
        return {255, 255, 223};
    default:
        return {255, 223, 255};
    }
}

std::wstring DriveTypeName(uint32_t type) {
    switch (type) {
    case platform::kDriveNoRootDir:
        return L"no root";
    case platform::kDriveRemovable:
        return L"removable";
    case platform::kDriveFixed:
        return L"fixed";
    case platform::kDriveRemote:
        return L"network";
    case platform::kDriveOptical:
        return L"optical";
    case platform::kDriveRamDisk:
        return L"ram disk";
    default:
        return L"unknown";
    }
}

SizeGrowth HardwareToolGrowth(const DriveScale& scale, size_t rows) {
    return {static_cast<int>(scale.largest) + kWidthGrowth, kDriveRowHeight * static_cast<int>(rows)};
}

} // namespace tw
