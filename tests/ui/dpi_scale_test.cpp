#include "ui/dpi_scale.h"

#include "ui/hardware_tool_model.h"
#include "ui/window_layout.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

// Scaling rounds as the platform's MulDiv does: to the nearest pixel, halves away from zero.
TEST(DpiScaleTest, FiguresScaleByTheResolutionOver96RoundedToTheNearestPixel) {
    struct Case {
        int value, dpi, expected;
    };
    const Case cases[] = {
        {230, 96, 230}, {60, 120, 75},   {60, 144, 90},  {105, 144, 158}, // 157.5 rounds up
        {7, 144, 11},   {4, 144, 6},     {9, 120, 11},   {83, 120, 104},  // 103.75
        {1, 120, 1},    {1, 144, 2},     {-9, 144, -14}, {-1, 144, -2},   // halves away from zero
        {0, 192, 0},    {300, 192, 600}, {23, 168, 40},  {16, 96, 16},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
    }
    EXPECT_EQ(RescaleForDpi(175, 144, 96), 117); // 116.67
    EXPECT_EQ(RescaleForDpi(40, 0, 144), 40);    // no resolution to scale from
    EXPECT_EQ(RescaleForDpi(2000000000, 192, 96), 1000000000);
}

// Edges scale on their own: rectangles that touch at 96 dots per inch still touch, and none that stood apart
// come to overlap, at whatever resolution.
TEST(DpiScaleTest, RectanglesThatTouchOrStandApartKeepDoingSo) {
    const Rect left = RectAt(5, 5, 232, 18);   // a drive bar
    const Rect right = RectAt(237, 5, 15, 18); // touching it
    const Rect below = RectAt(5, 23, 80, 18);  // the next row
    for (int dpi : {96, 120, 144, 168, 192, 240}) {
        const Rect l = ScaleRectForDpi(left, dpi);
        EXPECT_EQ(l.right, ScaleRectForDpi(right, dpi).left) << dpi;
        EXPECT_EQ(l.bottom, ScaleRectForDpi(below, dpi).top) << dpi;
    }
    EXPECT_EQ(ScaleRectForDpi(left, 96), left);
    EXPECT_EQ(ScaleRectForDpi(left, 144), Rect({8, 8, 356, 35}));
}

// The layouts keep their figures at 96 dots per inch and scale each one at another resolution.
TEST(DpiScaleTest, LayoutsScaleTheirMargins) {
    const MainLayout now{{293, 210, 911, 485}, {293, 194, 911, 211}, {2, 227, 292, 485}};
    const MainLayout at96 = LayOutMainWindow(now, 1200, 800, 42);
    const MainLayout at144 = LayOutMainWindow(now, 1200, 800, 42, 144);
    EXPECT_EQ(at96.fileList, Rect({293, 210, 1191, 756}));
    EXPECT_EQ(at144.fileList, Rect({293, 210, 1186, 755})); // cx - 14, cy - 42 - 3
    EXPECT_EQ(at144.statusLabel.right, 1186);
    EXPECT_EQ(at144.projectList.bottom, 755);

    const ConsoleLayout console = LayOutConsole(900, 450, 144);
    EXPECT_EQ(console.lines, RectAt(3, 5, 900 - 18, 450 - 77)); // 4.5 rounds up to 5, 76.5 to 77
    EXPECT_EQ(console.clear, RectAt(3, 450 - 71, 113, 27));
    EXPECT_EQ(console.hide, RectAt(120, 450 - 71, 113, 27));
    EXPECT_EQ(LayOutConsole(600, 300).lines, LayOutConsole(600, 300, 96).lines);

    EXPECT_EQ(CancelButtonFromPercentLabel(RectAt(628, 27, 70, 23), 144), RectAt(583, 83, 115, 25));
    EXPECT_EQ(FileBarFromMainBar({12, 12, 699, 26}, 192), Rect({12, 72, 699, 98}));
    EXPECT_EQ(LayOutMediaInfoTree({9, 36, 675, 462}, 960, 720, 45, 120), Rect({9, 36, 960 - 18, 720 - 45 - 10}));
}

} // namespace
} // namespace tw
