// What the text progress bar paints, without a window: the filled extent, the gradient's fills, and the text
// with its placement. Positions are pixels along the bar (x of a horizontal bar).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tw {

struct Colour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const Colour& o) const { return red == o.red && green == o.green && blue == o.blue; }
};

// One solid fill of the gradient: pixels start..end (end excluded) in colour.
struct GradientFill {
    int start = 0;
    int end = 0;
    Colour colour;
    bool operator==(const GradientFill& o) const { return start == o.start && end == o.end && colour == o.colour; }
};

// The fills of a gradient through stops laid over spanStart..spanEnd and drawn only inside
// clipStart..clipEnd, so that its colours stay in place however much of the span is shown. The span is cut
// into stops − 1 equal segments; each runs from its stop's colour towards the next in as many steps as
// its largest channel difference (no more than its length, at least one; one step on a device of fewer
// than 256 colours). Fewer than two stops draw nothing.
[[nodiscard]] std::vector<GradientFill> MultiGradientFills(int spanStart, int spanEnd, int clipStart, int clipEnd,
                                                           const std::vector<Colour>& stops, bool fewColours);

// The length of the filled part: length × (position − lower) ÷ (upper − lower), truncated; 0 when the
// position lies outside lower..upper or the range is empty.
[[nodiscard]] int FilledExtent(int length, int position, int lower, int upper);

// Text modes of the bar, held in its style bits.
inline constexpr uint32_t kBarTextMask = 0x0300;
inline constexpr uint32_t kBarTextPercent = 0x0100;
inline constexpr uint32_t kBarTextPosition = 0x0200;
inline constexpr uint32_t kBarTextOnly = 0x0300;

// The text drawn on the bar. Percent mode: windowText, or "%d%%" when it is empty, with "%d" replaced by
// the percentage and "%%" by "%" (nothing else in the text is interpreted). Position mode: the same with
// "%d" and the position. Text-only mode: windowText unchanged. No mode: empty.
[[nodiscard]] std::wstring BarText(uint32_t mode, const std::wstring& windowText, int position, int lower, int upper);

// Text alignment on the bar.
enum class BarAlign : int { Right = 0, Centre = 1, Left = 2 };

// The top-left corner of a text of textWidth × textHeight on the bar rectangle: vertically centred
// (its bottom at top + (height + textHeight) ÷ 2), horizontally by alignment.
struct TextOrigin {
    int x = 0;
    int y = 0;
};
[[nodiscard]] TextOrigin PlaceBarText(int left, int top, int right, int bottom, int textWidth, int textHeight,
                                      BarAlign align);

} // namespace tw
