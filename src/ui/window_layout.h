// Geometry of the main window, the console, the confirmation and the progress windows, in pixels,
// without a window. The figures are those of a display at 96 dots per inch; a dpi argument gives them at
// another resolution (ui/dpi_scale.h).
#pragma once

namespace tw {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    [[nodiscard]] int Width() const { return right - left; }
    [[nodiscard]] int Height() const { return bottom - top; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// A rectangle from position and size.
[[nodiscard]] inline Rect RectAt(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
}

// The frame a user drags is held to a minimum size by moving its right and bottom edges, whichever edge
// is dragged.
[[nodiscard]] Rect HoldMinimumSize(Rect proposed, int minWidth, int minHeight);

// The console's smallest frame.
inline constexpr int kConsoleMinWidth = 200;
inline constexpr int kConsoleMinHeight = 100;

// Where the console's controls go for an outer window size of width × height.
struct ConsoleLayout {
    Rect lines;
    Rect clear;
    Rect hide;
};
[[nodiscard]] ConsoleLayout LayOutConsole(int width, int height, int dpi = 96);

// The confirmation dialog without its second path is this much lower than its template.
inline constexpr int kConfirmShrink = 60;

// The progress dialog's Cancel button, placed from the percent label's rectangle (below the plain
// dialog's client area: it comes into view when the file bar makes the window taller).
[[nodiscard]] Rect CancelButtonFromPercentLabel(Rect label, int dpi = 96);
// The file bar, placed from the main bar's rectangle.
[[nodiscard]] Rect FileBarFromMainBar(Rect mainBar, int dpi = 96);
// How much taller the progress dialog gets with its file bar.
inline constexpr int kFileBarExtraHeight = 32;

// The main window's three resizable controls after a size change to outer size (cx, cy): the file list
// and its status label reach cx - 9 on the right, both lists reach cy - overhead - 2 at the bottom; every
// other edge stays. The overhead is measured on the window, so it is in the display's pixels already.
struct MainLayout {
    Rect fileList;
    Rect statusLabel;
    Rect projectList;
};
[[nodiscard]] MainLayout LayOutMainWindow(const MainLayout& current, int cx, int cy, int verticalOverhead,
                                          int dpi = 96);

// The Media Info window's tree after a size change to outer size (cx, cy): its right edge at cx - 14, its
// bottom at cy - frameExtra - 8, where frameExtra is the window's outer height - client height - 5 (measured,
// so not scaled); its left and top stay.
[[nodiscard]] Rect LayOutMediaInfoTree(Rect current, int cx, int cy, int frameExtra, int dpi = 96);

} // namespace tw
