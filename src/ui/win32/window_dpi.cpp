#include "ui/win32/window_dpi.h"

#include "ui/dpi_scale.h"

namespace tw {

namespace {

template <typename Function> Function UserFunction(const char* name) {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    return user != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user, name))) : nullptr;
}

int LogPixelsOf(HWND window) {
    HDC dc = GetDC(window);
    const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc != nullptr) {
        ReleaseDC(window, dc);
    }
    return dpi > 0 ? dpi : kDefaultDpi;
}

} // namespace

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = UserFunction<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    return LogPixelsOf(window);
}

void LayOutOwnControlOnDpiChange(HWND control) {
    // The values of DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS: DCDC_DISABLE_FONT_UPDATE and DCDC_DISABLE_RELAYOUT.
    constexpr int kKeepFontAndPlace = 0x0001 | 0x0002;
    using SetBehaviourFunction = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehaviour = UserFunction<SetBehaviourFunction>("SetDialogControlDpiChangeBehavior");
    if (setBehaviour != nullptr && control != nullptr) {
        setBehaviour(control, kKeepFontAndPlace, kKeepFontAndPlace);
    }
}

int SystemDpi() {
    using GetDpiForSystemFunction = UINT(WINAPI*)();
    static const auto getDpiForSystem = UserFunction<GetDpiForSystemFunction>("GetDpiForSystem");
    if (getDpiForSystem != nullptr) {
        const UINT dpi = getDpiForSystem();
        if (dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    return LogPixelsOf(nullptr);
}

HBITMAP ScaleBitmapForDpi(HBITMAP bitmap, int dpi) {
    BITMAP info{};
    if (bitmap == nullptr || dpi == kDefaultDpi || GetObjectW(bitmap, sizeof info, &info) == 0) {
        return nullptr;
    }
    const int width = ScaleForDpi(info.bmWidth, dpi);
    const int height = ScaleForDpi(info.bmHeight, dpi);
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
    if (from != nullptr && to != nullptr && scaled != nullptr) {
        HGDIOBJ oldFrom = SelectObject(from, bitmap);
        HGDIOBJ oldTo = SelectObject(to, scaled);
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(to, oldTo);
        SelectObject(from, oldFrom);
    } else if (scaled != nullptr) {
        DeleteObject(scaled);
        scaled = nullptr;
    }
    if (to != nullptr) {
        DeleteDC(to);
    }
    if (from != nullptr) {
        DeleteDC(from);
    }
    ReleaseDC(nullptr, screen);
    return scaled;
}

HIMAGELIST MakeIconList(HINSTANCE instance, const int* icons, int count, int dpi, UINT flags) {
    const int size = ScaleForDpi(16, dpi);
    HIMAGELIST list = ImageList_Create(size, size, flags, 0, 4);
    for (int i = 0; list != nullptr && i < count; ++i) {
        HICON icon = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(icons[i]), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ImageList_AddIcon(list, icon);
        if (icon != nullptr) {
            DestroyIcon(icon); // the list holds a copy
        }
    }
    return list;
}

} // namespace tw
