#include "ui/bar_paint.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

constexpr Colour kBlue{15, 15, 239};
constexpr Colour kGrey{115, 115, 115};

// The fills must cover the clipped part of the span exactly once, left to right.
void ExpectContiguous(const std::vector<GradientFill>& fills, int from, int to) {
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.front().start, from);
    EXPECT_EQ(fills.back().end, to);
    for (size_t i = 1; i < fills.size(); ++i) {
        EXPECT_EQ(fills[i].start, fills[i - 1].end);
        EXPECT_LT(fills[i].start, fills[i].end);
    }
}

TEST(GradientTest, TwoStopsStepThroughTheLargestChannelDifference) {
    // 124 steps wanted (239 - 115), 300 pixels: steps of 2 or 3 pixels from blue towards grey.
    const auto fills = MultiGradientFills(10, 310, 10, 310, {kBlue, kGrey}, false);
    ExpectContiguous(fills, 10, 310);
    EXPECT_EQ(fills.size(), 124u);
    EXPECT_EQ(fills.front().colour, kBlue);
    EXPECT_EQ(fills.back().colour, (Colour{114, 114, 116}));
    // Fewer pixels than colour steps: one step per pixel.
    EXPECT_EQ(MultiGradientFills(0, 50, 0, 50, {kBlue, kGrey}, false).size(), 50u);
    // A device of few colours gets one fill in the first colour per segment.
    EXPECT_EQ(MultiGradientFills(0, 300, 0, 300, {kBlue, kGrey}, true), (std::vector<GradientFill>{{0, 300, kBlue}}));
}

TEST(GradientTest, ColoursStayInPlaceAsTheClipGrows) {
    const std::vector<Colour> stops = {kBlue, kGrey, Colour{255, 0, 0}};
    const auto whole = MultiGradientFills(0, 301, 0, 301, stops, false);
    ExpectContiguous(whole, 0, 301);
    for (int clip : {1, 57, 150, 151, 299}) {
        const auto part = MultiGradientFills(0, 301, 0, clip, stops, false);
        ExpectContiguous(part, 0, clip);
        for (size_t i = 0; i + 1 < part.size(); ++i) {
            EXPECT_EQ(part[i], whole[i]) << clip;
        }
        EXPECT_EQ(part.back().colour, whole[part.size() - 1].colour) << clip;
    }
    // The second segment starts at 301 * 1 / 2 = 150 with the second stop's colour.
    bool found = false;
    for (const GradientFill& f : whole) {
        if (f.start == 150) {
            EXPECT_EQ(f.colour, kGrey);
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

TEST(GradientTest, NothingToDraw) {
    EXPECT_TRUE(MultiGradientFills(0, 100, 0, 100, {kBlue}, false).empty());
    EXPECT_TRUE(MultiGradientFills(0, 100, 0, 0, {kBlue, kGrey}, false).empty());
    EXPECT_TRUE(MultiGradientFills(0, 0, 0, 10, {kBlue, kGrey}, false).empty());
    // Equal stops: one fill.
    EXPECT_EQ(MultiGradientFills(0, 80, 0, 40, {kGrey, kGrey}, false), (std::vector<GradientFill>{{0, 40, kGrey}}));
}

TEST(BarPaintTest, FilledExtent) {
    struct Case {
        int length, position, lower, upper, extent;
    };
    const Case cases[] = {
        {200, 50, 0, 100, 100}, {200, 0, 0, 100, 0},  {200, 100, 0, 100, 200}, {300, 1, 0, 3, 100},
        {200, 101, 0, 100, 0},  {200, -1, 0, 100, 0}, {200, 0, 0, 0, 0},       {232, 116, 0, 232, 116},
        {100, 15, 10, 20, 50},  {7, 2, 0, 3, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FilledExtent(c.length, c.position, c.lower, c.upper), c.extent)
            << c.length << " " << c.position << " " << c.lower << ".." << c.upper;
    }
}

TEST(BarPaintTest, TextOfEachMode) {
    struct Case {
        uint32_t mode;
        const wchar_t* windowText;
        int position, lower, upper;
        const wchar_t* text;
    };
    const Case cases[] = {
        {kBarTextPercent, L"", 50, 0, 200, L"25%"},
        {kBarTextPercent, L"%d%% done", 3, 0, 4, L"75% done"},
        {kBarTextPercent, L"%s %n %d", 1, 0, 2, L"%s %n 50"}, // nothing but %d and %% is read
        {kBarTextPercent, L"", 0, 0, 0, L"0%"},               // an empty range shows 0 rather than failing
        {kBarTextPosition, L"", 42, 0, 100, L"42"},
        {kBarTextPosition, L"at %d of 100", 7, 0, 100, L"at 7 of 100"},
        {kBarTextOnly, L"100% of D:\\clip.omf", 5, 0, 10, L"100% of D:\\clip.omf"},
        {kBarTextOnly, L"%d%%", 5, 0, 10, L"%d%%"},
        {0, L"ignored", 5, 0, 10, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BarText(c.mode, c.windowText, c.position, c.lower, c.upper), c.text) << c.windowText;
    }
}

TEST(BarPaintTest, TextPlacement) {
    struct Case {
        BarAlign align;
        int x;
    };
    const Case cases[] = {{BarAlign::Right, 170}, {BarAlign::Centre, 90}, {BarAlign::Left, 10}};
    for (const Case& c : cases) {
        const TextOrigin o = PlaceBarText(10, 5, 210, 23, 40, 13, c.align);
        EXPECT_EQ(o.x, c.x);
        EXPECT_EQ(o.y, 5 + (18 + 13) / 2 - 13);
    }
}

} // namespace
} // namespace tw
