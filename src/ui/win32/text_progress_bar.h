// TextProgressBar: the platform's progress bar painted by itself, with a colour gradient for the filled
// part, a background colour and a text in two colours (one over the filled part, one over the rest).
#pragma once

#include "ui/bar_paint.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tw {

class TextProgressBar {
public:
    // Creates the bar as a visible, smooth child control of parent with id and rect (client pixels);
    // null when it cannot be created. The object owns the control.
    static std::unique_ptr<TextProgressBar> Create(HWND parent, int id, const RECT& rect);
    // A bar without control; Create makes the real one.
    TextProgressBar() = default;
    ~TextProgressBar();
    TextProgressBar(const TextProgressBar&) = delete;
    TextProgressBar& operator=(const TextProgressBar&) = delete;

    [[nodiscard]] HWND Window() const { return window; }

    // An empty text or mode 0 turns the text off; otherwise mode (kBarTextPercent, kBarTextPosition or
    // kBarTextOnly) goes into the style bits and text becomes the window text.
    void SetTextFormat(const std::wstring& text, uint32_t mode);
    void SetAlignment(BarAlign align) { alignment = align; }
    // Pixel insets of the bar inside the control.
    void SetBorders(int left, int top, int right, int bottom);
    // The gradient's stops, left to right (PBM_SETBARCOLOR sets two).
    void SetGradient(std::vector<Colour> stops) { gradient = std::move(stops); }
    // The background (also CCM_SETBKCOLOR).
    void SetBackground(Colour colour) { background = colour; }
    void SetTextColours(Colour overBar, Colour overBackground);
    // Range 0..upper and position, through the platform's 32-bit messages.
    void SetRange(uint32_t upper);
    void SetPosition(uint32_t position);

    // Paints the whole control into dc: what WM_PAINT shows and WM_PRINTCLIENT asks for.
    void Paint(HDC dc) const;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    void PaintDirect(HDC dc, const RECT& client) const;
    void DrawBarText(HDC dc, const RECT& bar, int filledRight, int position, int lower, int upper) const;

    HWND window = nullptr;
    std::vector<Colour> gradient;
    Colour background;
    Colour textOverBar;
    Colour textOverBackground;
    RECT borders{0, 0, 0, 0};
    BarAlign alignment = BarAlign::Right;
};

// A system colour as a Colour.
[[nodiscard]] Colour SystemColour(int index);
[[nodiscard]] inline COLORREF ToColorRef(Colour c) {
    return RGB(c.red, c.green, c.blue);
}
[[nodiscard]] inline Colour FromColorRef(COLORREF c) {
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

} // namespace tw
