#include "ui/dpi_scale.h"

#include <cstdint>

namespace tw {

int RescaleForDpi(int value, int from, int to) {
    if (from <= 0) {
        return value;
    }
    const int64_t product = static_cast<int64_t>(value) * to;
    const int64_t half = from / 2;
    const int64_t rounded = product >= 0 ? (product + half) / from : -((-product + half) / from);
    return static_cast<int>(rounded);
}

Rect ScaleRectForDpi(const Rect& r, int dpi) {
    return {ScaleForDpi(r.left, dpi), ScaleForDpi(r.top, dpi), ScaleForDpi(r.right, dpi), ScaleForDpi(r.bottom, dpi)};
}

} // namespace tw
