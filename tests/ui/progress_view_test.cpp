#include "ui/bar_scale.h"
#include "ui/window_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace tw {
namespace {

TEST(BarScaleTest, CallsFromAFreshBar) {
    struct Step {
        uint64_t done;
        uint64_t total;
        bool rangeChanged;
        uint32_t shift;
        uint32_t range;
        bool moved;
        uint64_t position;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"thousand",
         {{0, 1000, true, 2, 250, false, 0},
          {500, 1000, false, 2, 250, true, 125},
          {501, 1000, false, 2, 250, false, 125}}},
        {"no total", {{7, 0, false, 0, 100, true, 7}, {7, 0, false, 0, 100, false, 7}}},
        {"small total", {{3, 255, true, 0, 255, true, 3}, {3, 256, true, 1, 128, true, 1}}},
        {"above 2^32", {{5000000000ull, 10000000000ull, true, 26, 149, true, 74}}},
        {"largest", {{~0ull, ~0ull, true, 56, 255, true, 255}}},
        {"total drops to 0", {{500, 1000, true, 2, 250, true, 125}, {50, 0, true, 0, 100, true, 50}}},
    };
    for (const Case& c : cases) {
        BarScale scale;
        for (const Step& s : c.steps) {
            const BarUpdate u = scale.Update(s.done, s.total);
            EXPECT_EQ(u.rangeChanged, s.rangeChanged) << c.name;
            EXPECT_EQ(scale.Shift(), s.shift) << c.name;
            EXPECT_EQ(scale.Range(), s.range) << c.name;
            EXPECT_EQ(u.moved, s.moved) << c.name;
            EXPECT_EQ(u.position, s.position) << c.name;
            EXPECT_EQ(scale.LastPosition(), s.position) << c.name;
        }
    }
}

TEST(BarScaleTest, ShiftsPercentagesAndTimes) {
    EXPECT_EQ(ShiftFor(0, 300), 0u);
    EXPECT_EQ(ShiftFor(300, 300), 0u);
    EXPECT_EQ(ShiftFor(500000000000ull, 300), 31u); // the largest drive of the Hardware tool's example
    EXPECT_EQ(PercentOf(125, 250), 50u);
    EXPECT_EQ(PercentOf(7, 100), 7u);
    EXPECT_EQ(PercentOf(249, 250), 99u);
    EXPECT_EQ(PercentOf(400, 100), 100u);
    EXPECT_EQ(PercentOf(3, 0), 0u);
    EXPECT_EQ(PercentText(42), L"42 %");
    EXPECT_EQ(DurationText(3723456), L"01:02:03.4");
    EXPECT_EQ(DurationText(0), L"00:00:00.0");
    EXPECT_EQ(DurationText(59999), L"00:00:59.9");
    EXPECT_EQ(DurationText(360000000), L"100:00:00.0");
    EXPECT_EQ(ProjectedTotalMs(1000, 0, 5000), 0u);
    EXPECT_EQ(ProjectedTotalMs(1000, 250, 2000), 8000u);
    EXPECT_EQ(ProjectedTotalMs(3, 2, 1001), 1501u);
    EXPECT_EQ(ProjectedTotalMs(~0ull, 1, ~0ull), 18446744073709549568ull);
}

TEST(WindowLayoutTest, DraggedFramesKeepTheirMinimumByMovingRightAndBottom) {
    struct Case {
        Rect proposed;
        Rect held;
    };
    const Case cases[] = {
        {{100, 100, 250, 180}, {100, 100, 300, 200}}, // right and bottom dragged inward
        {{260, 150, 300, 400}, {260, 150, 460, 400}}, // left dragged past the limit: right moves along
        {{0, 0, 640, 480}, {0, 0, 640, 480}},         // large enough
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HoldMinimumSize(c.proposed, kConsoleMinWidth, kConsoleMinHeight), c.held);
    }
}

TEST(WindowLayoutTest, ConsoleAndProgressControls) {
    const ConsoleLayout layout = LayOutConsole(600, 300);
    EXPECT_EQ(layout.lines, RectAt(2, 3, 588, 249));
    EXPECT_EQ(layout.clear, RectAt(2, 253, 75, 18));
    EXPECT_EQ(layout.hide, RectAt(80, 253, 75, 18));
    EXPECT_EQ(CancelButtonFromPercentLabel(RectAt(418, 20, 46, 16)), RectAt(388, 57, 76, 17));
    EXPECT_EQ(FileBarFromMainBar({8, 8, 466, 18}), Rect({8, 38, 466, 54}));
    EXPECT_EQ(LayOutMediaInfoTree({6, 26, 450, 340}, 640, 480, 30), Rect({6, 26, 626, 442}));
}

} // namespace
} // namespace tw
