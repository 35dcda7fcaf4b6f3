#include "ui/window_layout.h"

namespace tw {

Rect HoldMinimumSize(Rect proposed, int minWidth, int minHeight) {
    if (proposed.Width() < minWidth) {
        proposed.right = proposed.left + minWidth;
    }
    if (proposed.Height() < minHeight) {
        proposed.bottom = proposed.top + minHeight;
    }
    return proposed;
}

ConsoleLayout LayOutConsole(int width, int height) {
    return {RectAt(2, 3, width - 12, height - 51), RectAt(2, height - 47, 75, 18), RectAt(80, height - 47, 75, 18)};
}

Rect CancelButtonFromPercentLabel(Rect label) {
    return RectAt(label.left - 30, label.top + 37, label.Width() + 30, label.Height() + 1);
}

Rect FileBarFromMainBar(Rect mainBar) {
    return {mainBar.left, mainBar.top + 30, mainBar.right, mainBar.bottom + 36};
}

MainLayout LayOutMainWindow(const MainLayout& current, int cx, int cy, int verticalOverhead) {
    MainLayout next = current;
    next.fileList.right = cx - 9;
    next.fileList.bottom = cy - verticalOverhead - 2;
    next.statusLabel.right = cx - 9;
    next.projectList.bottom = cy - verticalOverhead - 2;
    return next;
}

Rect LayOutMediaInfoTree(Rect current, int cx, int cy, int frameExtra) {
    return {current.left, current.top, cx - 14, cy - frameExtra - 8};
}

} // namespace tw
