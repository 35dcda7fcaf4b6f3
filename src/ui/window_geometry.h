// Window geometry rules shared by the resizable windows, in pixels.
#pragma once

namespace tw {

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    [[nodiscard]] int Width() const { return right - left; }
    [[nodiscard]] int Height() const { return bottom - top; }
    bool operator==(const PixelRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// While a frame is dragged: a proposed rectangle narrower or lower than the minimum keeps its left and
// top edges and gets right = left + minimum width, bottom = top + minimum height.
inline void HoldMinimumSize(PixelRect& proposed, int minWidth, int minHeight) {
    if (proposed.Width() < minWidth) {
        proposed.right = proposed.left + minWidth;
    }
    if (proposed.Height() < minHeight) {
        proposed.bottom = proposed.top + minHeight;
    }
}

// The main window's three resizable controls after a size change to outer size (cx, cy): the file list
// and its status label reach cx - 9 on the right, both lists reach cy - overhead - 2 at the bottom.
struct MainLayout {
    PixelRect fileList;
    PixelRect statusLabel;
    PixelRect projectList;
};
inline MainLayout LayOutMainWindow(const MainLayout& current, int cx, int cy, int verticalOverhead) {
    MainLayout next = current;
    next.fileList.right = cx - 9;
    next.fileList.bottom = cy - verticalOverhead - 2;
    next.statusLabel.right = cx - 9;
    next.projectList.bottom = cy - verticalOverhead - 2;
    return next;
}

} // namespace tw
