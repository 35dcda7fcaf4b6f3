#include "ui/bar_scale.h"

#include <cwchar>

namespace tw {

uint32_t ShiftFor(uint64_t total, uint64_t limit) {
    uint32_t shift = 0;
    while ((total >> shift) > limit) {
        ++shift;
    }
    return shift;
}

BarUpdate BarScale::Update(uint64_t done, uint64_t newTotal) {
    BarUpdate update;
    if (newTotal != total) {
        total = newTotal;
        shift = ShiftFor(total, kMaxSteps);
        range = total == 0 ? kNoTotalRange : static_cast<uint32_t>(total >> shift);
        update.rangeChanged = true;
    }
    update.position = done >> shift;
    if (update.position != lastPosition) {
        update.moved = true;
        lastPosition = update.position;
    }
    return update;
}

uint32_t PercentOf(uint64_t position, uint64_t range) {
    if (range == 0) {
        return 0;
    }
    if (position > range) {
        position = range;
    }
    // range is a bar range (at most 2^32), so position × 100 cannot overflow.
    return static_cast<uint32_t>(position * 100 / range);
}

std::wstring PercentText(uint32_t percent) {
    return std::to_wstring(percent) + L" %";
}

std::wstring DurationText(uint64_t milliseconds) {
    wchar_t text[48];
    std::swprintf(text, 48, L"%02llu:%02u:%02u.%01u", static_cast<unsigned long long>(milliseconds / 3600000),
                  static_cast<unsigned>(milliseconds % 3600000 / 60000),
                  static_cast<unsigned>(milliseconds % 60000 / 1000), static_cast<unsigned>(milliseconds % 1000 / 100));
    return text;
}

uint64_t ProjectedTotalMs(uint64_t total, uint64_t done, uint64_t elapsed) {
    if (done == 0) {
        return 0;
    }
    const double projected = static_cast<double>(total) / static_cast<double>(done) * static_cast<double>(elapsed);
    constexpr double kLargest = 18446744073709549568.0; // the largest double below 2^64
    return projected >= kLargest ? static_cast<uint64_t>(kLargest) : static_cast<uint64_t>(projected);
}

} // namespace tw
