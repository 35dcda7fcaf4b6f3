#include "ui/bar_paint.h"

#include <algorithm>
#include <cstdlib>

namespace tw {

namespace {

// Adds the steps of one segment that fall into the clip; answers true once the clip's end is reached.
bool AddSegment(int start, int end, int clipStart, int clipEnd, Colour from, Colour to, bool fewColours,
                std::vector<GradientFill>& fills) {
    const int dr = to.red - from.red;
    const int dg = to.green - from.green;
    const int db = to.blue - from.blue;
    const int length = end - start;
    int steps = std::max({std::abs(dr), std::abs(dg), std::abs(db)});
    steps = std::max(1, std::min(steps, length));
    if (fewColours) {
        steps = 1;
    }
    for (int k = 0; k < steps; ++k) {
        const int subStart = start + static_cast<int>(static_cast<int64_t>(k) * length / steps);
        const int subEnd =
            k + 1 == steps ? end : start + static_cast<int>(static_cast<int64_t>(k + 1) * length / steps);
        if (subEnd <= clipStart) {
            continue;
        }
        const int a = std::max(subStart, clipStart);
        const int b = std::min(subEnd, clipEnd);
        if (a < b) {
            const Colour c{static_cast<uint8_t>(from.red + k * dr / steps),
                           static_cast<uint8_t>(from.green + k * dg / steps),
                           static_cast<uint8_t>(from.blue + k * db / steps)};
            fills.push_back({a, b, c});
        }
        if (subEnd >= clipEnd) {
            return true;
        }
    }
    return false;
}

// Replaces the first "%d" by number and every "%%" by "%".
std::wstring FormatNumber(const std::wstring& format, int number) {
    std::wstring text;
    bool numberDone = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            if (format[i + 1] == L'%') {
                text += L'%';
                ++i;
                continue;
            }
            if (format[i + 1] == L'd' && !numberDone) {
                text += std::to_wstring(number);
                numberDone = true;
                ++i;
                continue;
            }
        }
        text += format[i];
    }
    return text;
}

} // namespace

std::vector<GradientFill> MultiGradientFills(int spanStart, int spanEnd, int clipStart, int clipEnd,
                                             const std::vector<Colour>& stops, bool fewColours) {
    std::vector<GradientFill> fills;
    const size_t n = stops.size();
    const int length = spanEnd - spanStart;
    if (n < 2 || length <= 0 || clipStart >= clipEnd) {
        return fills;
    }
    const auto segments = static_cast<int64_t>(n - 1);
    for (size_t i = 0; i + 1 < n; ++i) {
        const int start = spanStart + static_cast<int>(static_cast<int64_t>(i) * length / segments);
        const int end =
            i + 2 == n ? spanEnd : spanStart + static_cast<int>(static_cast<int64_t>(i + 1) * length / segments);
        if (end <= clipStart || end == start) {
            continue;
        }
        if (AddSegment(start, end, clipStart, clipEnd, stops[i], stops[i + 1], fewColours, fills)) {
            break;
        }
    }
    return fills;
}

int FilledExtent(int length, int position, int lower, int upper) {
    if (position < lower || position > upper || upper == lower) {
        return 0;
    }
    const double extent =
        static_cast<double>(length) * (static_cast<double>(position) - lower) / (static_cast<double>(upper) - lower);
    return static_cast<int>(extent);
}

std::wstring BarText(uint32_t mode, const std::wstring& windowText, int position, int lower, int upper) {
    switch (mode & kBarTextMask) {
    case kBarTextPercent: {
        const int percent = upper == lower ? 0
                                           : static_cast<int>((static_cast<int64_t>(position) - lower) * 100 /
                                                              (static_cast<int64_t>(upper) - lower));
        return FormatNumber(windowText.empty() ? L"%d%%" : windowText, percent);
    }
    case kBarTextPosition:
        return FormatNumber(windowText.empty() ? L"%d" : windowText, position);
    case kBarTextOnly:
        return windowText;
    default:
        return {};
    }
}

TextOrigin PlaceBarText(int left, int top, int right, int bottom, int textWidth, int textHeight, BarAlign align) {
    TextOrigin origin;
    origin.y = top + (bottom - top + textHeight) / 2 - textHeight;
    switch (align) {
    case BarAlign::Right:
        origin.x = right - textWidth;
        break;
    case BarAlign::Centre:
        origin.x = (left + right) / 2 - textWidth / 2;
        break;
    case BarAlign::Left:
        origin.x = left;
        break;
    }
    return origin;
}

} // namespace tw
