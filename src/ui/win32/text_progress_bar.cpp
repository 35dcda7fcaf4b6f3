#include "ui/win32/text_progress_bar.h"

#include <commctrl.h>

namespace tw {

namespace {

constexpr UINT_PTR kSubclassId = 1;

RECT Inset(const RECT& r, const RECT& by) {
    return {r.left + by.left, r.top + by.top, r.right - by.right, r.bottom - by.bottom};
}

void FillSolid(HDC dc, const RECT& r, Colour colour) {
    HBRUSH brush = CreateSolidBrush(ToColorRef(colour));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

} // namespace

Colour SystemColour(int index) {
    return FromColorRef(GetSysColor(index));
}

std::unique_ptr<TextProgressBar> TextProgressBar::Create(HWND parent, int id, const RECT& rect) {
    HWND control =
        CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        return nullptr;
    }
    auto bar = std::make_unique<TextProgressBar>();
    bar->window = control;
    const Colour caption = SystemColour(COLOR_ACTIVECAPTION);
    bar->gradient = {caption, caption};
    bar->background = SystemColour(COLOR_BTNFACE);
    bar->textOverBar = SystemColour(COLOR_CAPTIONTEXT);
    bar->textOverBackground = SystemColour(COLOR_BTNTEXT);
    SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(bar.get()));
    return bar;
}

TextProgressBar::~TextProgressBar() {
    if (window != nullptr) {
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        DestroyWindow(window);
    }
}

void TextProgressBar::SetTextFormat(const std::wstring& text, uint32_t mode) {
    auto style = static_cast<uint32_t>(GetWindowLongPtrW(window, GWL_STYLE)) & ~kBarTextMask;
    if (!text.empty() && (mode & kBarTextMask) != 0) {
        style |= mode & kBarTextMask;
        SetWindowTextW(window, text.c_str());
    } else {
        SetWindowTextW(window, L"");
    }
    SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(style));
}

void TextProgressBar::SetBorders(int left, int top, int right, int bottom) {
    borders = {left, top, right, bottom};
}

void TextProgressBar::SetTextColours(Colour overBar, Colour overBackground) {
    textOverBar = overBar;
    textOverBackground = overBackground;
}

void TextProgressBar::SetRange(uint32_t upper) {
    SendMessageW(window, PBM_SETRANGE32, 0, static_cast<LPARAM>(upper));
}

void TextProgressBar::SetPosition(uint32_t position) {
    SendMessageW(window, PBM_SETPOS, position, 0);
}

void TextProgressBar::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(window, &client);
    if (GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER) {
        PaintDirect(dc, client);
        return;
    }
    // Off-screen first, then one copy: no flicker.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PaintDirect(memory, client);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

void TextProgressBar::PaintDirect(HDC dc, const RECT& client) const {
    FillSolid(dc, client, background);
    const RECT bar = Inset(client, borders);
    const int position = static_cast<int>(SendMessageW(window, PBM_GETPOS, 0, 0));
    const int lower = static_cast<int>(SendMessageW(window, PBM_GETRANGE, TRUE, 0));
    const int upper = static_cast<int>(SendMessageW(window, PBM_GETRANGE, FALSE, 0));
    if (position < lower || position > upper) {
        return;
    }
    const int filled = FilledExtent(bar.right - bar.left, position, lower, upper);
    const bool fewColours = (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) == 0 &&
                            GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL) < 8;
    for (const GradientFill& f :
         MultiGradientFills(bar.left, bar.right, bar.left, bar.left + filled, gradient, fewColours)) {
        FillSolid(dc, {f.start, bar.top, f.end, bar.bottom}, f.colour);
    }
    DrawBarText(dc, bar, bar.left + filled, position, lower, upper);
}

void TextProgressBar::DrawBarText(HDC dc, const RECT& bar, int filledRight, int position, int lower, int upper) const {
    const auto mode = static_cast<uint32_t>(GetWindowLongPtrW(window, GWL_STYLE)) & kBarTextMask;
    if (mode == 0) {
        return;
    }
    wchar_t windowText[1024] = {};
    GetWindowTextW(window, windowText, 1024);
    const std::wstring text = BarText(mode, windowText, position, lower, upper);
    const int saved = SaveDC(dc);
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0))) {
        SelectObject(dc, font);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    const TextOrigin origin = PlaceBarText(bar.left, bar.top, bar.right, bar.bottom, size.cx, size.cy, alignment);
    const auto drawClipped = [&](const RECT& part, Colour colour) {
        if (part.left >= part.right) {
            return;
        }
        const int inner = SaveDC(dc);
        IntersectClipRect(dc, part.left, part.top, part.right, part.bottom);
        SetTextColor(dc, ToColorRef(colour));
        TextOutW(dc, origin.x, origin.y, text.c_str(), static_cast<int>(text.size()));
        RestoreDC(dc, inner);
    };
    if (textOverBar == textOverBackground) {
        drawClipped(bar, textOverBar);
    } else {
        drawClipped({bar.left, bar.top, filledRight, bar.bottom}, textOverBar);
        drawClipped({filledRight, bar.top, bar.right, bar.bottom}, textOverBackground);
    }
    RestoreDC(dc, saved);
}

LRESULT CALLBACK TextProgressBar::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
    auto* bar = reinterpret_cast<TextProgressBar*>(data);
    switch (message) {
    case PBM_SETBARCOLOR: {
        const Colour first = FromColorRef(static_cast<COLORREF>(lParam));
        bar->gradient = {first, wParam != 0 ? FromColorRef(static_cast<COLORREF>(wParam)) : first};
        return CLR_DEFAULT;
    }
    case CCM_SETBKCOLOR:
        bar->background = FromColorRef(static_cast<COLORREF>(lParam));
        return CLR_DEFAULT;
    case WM_ERASEBKGND:
        return TRUE; // painting covers the whole client area
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        bar->Paint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        bar->Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        bar->window = nullptr;
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace tw
