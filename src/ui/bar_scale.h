// Scaling of 64-bit counts onto a progress bar of few steps, and the texts of the progress dialog.
#pragma once

#include <cstdint>
#include <string>

namespace tw {

// The smallest right shift that brings total to limit or less (0 when it already is).
[[nodiscard]] uint32_t ShiftFor(uint64_t total, uint64_t limit);

// What a bar must do after Update.
struct BarUpdate {
    bool rangeChanged = false; // set the bar's range to 0..range
    bool moved = false;        // set the bar's position to position (and repaint)
    uint64_t position = 0;
};

// The scaling state of one bar: totals are shifted down to at most 255 steps. A total of 0 means that no
// total is known: the range is then 0..100 and done counts directly.
class BarScale {
public:
    static constexpr uint64_t kMaxSteps = 255;
    static constexpr uint32_t kNoTotalRange = 100;

    // Takes the task's counts: a new total sets shift and range, and the bar moves when done >> shift
    // differs from the last position.
    BarUpdate Update(uint64_t done, uint64_t total);

    [[nodiscard]] uint64_t Total() const { return total; }
    [[nodiscard]] uint32_t Shift() const { return shift; }
    [[nodiscard]] uint32_t Range() const { return range; }
    [[nodiscard]] uint64_t LastPosition() const { return lastPosition; }

private:
    uint64_t total = 0;
    uint32_t shift = 0;
    uint32_t range = kNoTotalRange;
    uint64_t lastPosition = 0;
};

// position × 100 ÷ range, truncated; a position past the range counts as the range, and a range of 0
// gives 0.
[[nodiscard]] uint32_t PercentOf(uint64_t position, uint64_t range);
// "42 %".
[[nodiscard]] std::wstring PercentText(uint32_t percent);
// Milliseconds as "%02u:%02u:%02u.%01u": hours, minutes, seconds, tenths.
[[nodiscard]] std::wstring DurationText(uint64_t milliseconds);
// The projected duration of the whole task, (total ÷ done) × elapsed, truncated to whole milliseconds;
// 0 when done is 0. A projection beyond the 64-bit range is held at its largest value.
[[nodiscard]] uint64_t ProjectedTotalMs(uint64_t total, uint64_t done, uint64_t elapsed);

} // namespace tw
