#include "ui/window_layout.h"

#include "ui/dpi_scale.h"

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

ConsoleLayout LayOutConsole(int width, int height, int dpi) {
    auto s = [dpi](int value) { return ScaleForDpi(value, dpi); };
    return {RectAt(s(2), s(3), width - s(12), height - s(51)), RectAt(s(2), height - s(47), s(75), s(18)),
            RectAt(s(80), height - s(47), s(75), s(18))};
}

Rect CancelButtonFromPercentLabel(Rect label, int dpi) {
    auto s = [dpi](int value) { return ScaleForDpi(value, dpi); };
    return RectAt(label.left - s(30), label.top + s(37), label.Width() + s(30), label.Height() + s(1));
}

Rect FileBarFromMainBar(Rect mainBar, int dpi) {
    return {mainBar.left, mainBar.top + ScaleForDpi(30, dpi), mainBar.right, mainBar.bottom + ScaleForDpi(36, dpi)};
}

MainLayout LayOutMainWindow(const MainLayout& current, int cx, int cy, int verticalOverhead, int dpi) {
    MainLayout next = current;
    const int right = cx - ScaleForDpi(9, dpi);
    const int bottom = cy - verticalOverhead - ScaleForDpi(2, dpi);
    next.fileList.right = right;
    next.fileList.bottom = bottom;
    next.statusLabel.right = right;
    next.projectList.bottom = bottom;
    return next;
}

Rect LayOutMediaInfoTree(Rect current, int cx, int cy, int frameExtra, int dpi) {
    return {current.left, current.top, cx - ScaleForDpi(14, dpi), cy - frameExtra - ScaleForDpi(8, dpi)};
}

} // namespace tw
