// What the Hardware tool shows, without a window: every drive's capacity, use and free space, the common scale
// of the bars, the geometry of each row, its texts and colours, and how much the window grows.
#pragma once

#include "discovery/database_search.h"
#include "ui/bar_paint.h"
#include "ui/window_layout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tw {

// One drive as the platform answers for it.
struct DriveInfo {
    std::wstring root;
    uint32_t type = 0; // platform::kDrive...
    // The drive answered the question for its space; when not, every size is 0.
    bool ready = false;
    uint64_t totalBytes = 0;
    // The free space of the whole drive.
    uint64_t freeBytes = 0;
    std::wstring volumeLabel;

    // Total minus free; 0 when a drive claims more free space than it holds.
    [[nodiscard]] uint64_t UsedBytes() const { return freeBytes < totalBytes ? totalBytes - freeBytes : 0; }
};

// Every drive of the list, in its order: type, space and (for a drive that answers) volume label. A label
// that cannot be read stays empty.
[[nodiscard]] std::vector<DriveInfo> QueryDrives(const DriveStringsFunction& driveStrings);

// The bars' common scale: shift, the smallest right shift that brings the largest total of the drives that
// answered to 300 or less (0 when none answered), and largest, M, that total shifted.
struct DriveScale {
    uint32_t shift = 0;
    uint32_t largest = 0;
};
[[nodiscard]] DriveScale ScaleDrives(const std::vector<DriveInfo>& drives);

inline constexpr int kDriveRowHeight = 18;
inline constexpr int kFirstRowBottom = 23;
inline constexpr int kBarLeft = 5;
inline constexpr int kMinBarRight = 85;
inline constexpr Colour kDriveGradientFrom{15, 15, 239};
inline constexpr Colour kDriveGradientTo{115, 115, 115};
inline constexpr Colour kDriveTextOverBar{255, 255, 255};
inline constexpr Colour kDriveTextOverBackground{0, 0, 0};

// One drive's row, in the window's client pixels.
struct DriveRow {
    // From x 5 to 5 + the drive's scaled capacity, but to x 85 at least.
    Rect bar;
    // From x M + 20 to M + 320.
    Rect label;
    // The bar's range 0..range and its position: total and used bytes, scaled.
    uint32_t range = 0;
    uint32_t position = 0;
    // The free space as byte-size text; empty for a drive that does not answer.
    std::wstring barText;
    std::wstring labelText;
    Colour background;
};
// The rows from top to bottom: the first ends at y 23, each further one 18 pixels lower.
[[nodiscard]] std::vector<DriveRow> LayOutDriveRows(const std::vector<DriveInfo>& drives);

// "%s ( %s ) -  %s total / %s used" with root, volume label, total and used space as byte-size texts, or
// "%s -  Device Not ready" with the root for a drive that does not answer.
[[nodiscard]] std::wstring DriveLabelText(const DriveInfo& drive);
// A bar's background: light green for a network drive, light yellow for an optical drive, light pink else.
[[nodiscard]] Colour DriveBackground(uint32_t type);
// The type as a word: "unknown", "no root", "removable", "fixed", "network", "optical", "ram disk".
[[nodiscard]] std::wstring DriveTypeName(uint32_t type);

// How much wider and taller the window gets than its template: M + 315 and 18 per row.
struct SizeGrowth {
    int width = 0;
    int height = 0;
};
[[nodiscard]] SizeGrowth HardwareToolGrowth(const DriveScale& scale, size_t rows);

} // namespace tw
