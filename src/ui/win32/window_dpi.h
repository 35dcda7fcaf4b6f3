// The display resolution a window is drawn at, and the program's pictures made for it. The pixel figures of
// the windows are given for 96 dots per inch and scaled by ui/dpi_scale.h.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace tw {

// The resolution of the display the window is on: GetDpiForWindow where the system has it (Windows 10 1607
// and later; looked up at run time, so that the program still starts on older systems), else the LOGPIXELSY of
// the window's device context.
[[nodiscard]] int WindowDpi(HWND window);
// The resolution of the system, for what is made before any window: GetDpiForSystem where the system has
// it, else the LOGPIXELSY of the screen.
[[nodiscard]] int SystemDpi();

// Tells the system that a control the program made on a dialog is laid out and given its font by the program
// when the dialog moves to a display of another resolution (SetDialogControlDpiChangeBehavior, Windows 10 1703 and
// later, looked up at run time): the dialog manager then neither moves it nor sets the dialog's font on it.
void LayOutOwnControlOnDpiChange(HWND control);

// A copy of bitmap at its size × dpi ÷ 96, scaled once with smoothing, which the caller owns; null at 96 dots
// per inch and when no copy can be made: the bitmap itself serves then.
[[nodiscard]] HBITMAP ScaleBitmapForDpi(HBITMAP bitmap, int dpi);

// An image list of the icons (resource ids) at the small-icon size for dpi (16 pixels at 96 dots per inch),
// each taken from its icon at the size nearest to it; the caller destroys it.
[[nodiscard]] HIMAGELIST MakeIconList(HINSTANCE instance, const int* icons, int count, int dpi, UINT flags);

} // namespace tw
