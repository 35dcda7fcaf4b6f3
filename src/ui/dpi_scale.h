// Pixel figures at a display's resolution. Every figure of the windows is given for 96 dots per inch (100%
// scale); a window on a display of another resolution takes each figure times dpi / 96.
#pragma once

#include "ui/window_layout.h"

namespace tw {

// The resolution the pixel figures are given for.
inline constexpr int kDefaultDpi = 96;

// value × to ÷ from, rounded to the nearest whole pixel, halves away from zero (as the platform's MulDiv);
// value unchanged when from is not positive.
[[nodiscard]] int RescaleForDpi(int value, int from, int to);
// A figure given for 96 dots per inch at dpi.
[[nodiscard]] inline int ScaleForDpi(int value, int dpi) {
    return RescaleForDpi(value, kDefaultDpi, dpi);
}
// A rectangle given for 96 dots per inch at dpi: each edge scaled on its own, so that rectangles that touch or
// stand apart at 96 do the same at every resolution.
[[nodiscard]] Rect ScaleRectForDpi(const Rect& r, int dpi);

} // namespace tw
