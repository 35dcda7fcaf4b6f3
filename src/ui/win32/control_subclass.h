// Subclassing of the main window's busy controls by replacing their window procedure. The owner object
// sits in the control's user data, read from the window itself; the common controls' own subclassing asks
// the system for a window property on every message, which under Wine is a round trip to its server and
// made a row refresh of the file list cost a millisecond.
#pragma once

#include <windows.h>

namespace tw {

// Installs proc on control for owner; answers the procedure it replaces.
template <typename Owner> WNDPROC SubclassControl(HWND control, Owner* owner, WNDPROC proc) {
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

// Puts the original procedure back.
inline void RestoreControl(HWND control, WNDPROC original) {
    if (IsWindow(control) && original != nullptr) {
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrW(control, GWLP_USERDATA, 0);
    }
}

// The owner of a subclassed control.
template <typename Owner> Owner* OwnerOf(HWND control) {
    return reinterpret_cast<Owner*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

} // namespace tw
