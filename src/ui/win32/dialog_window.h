// DialogWindow: the one owner of a dialog's window procedure. The object hands itself to the dialog as the
// creation parameter; the procedure stores it in the window at WM_INITDIALOG and passes every later message to
// the object's members, until the window is gone.
#pragma once

#include <windows.h>

namespace tw {

class DialogWindow {
public:
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // The dialog's window; null before it is created and once the platform has destroyed it.
    [[nodiscard]] HWND Window() const { return window; }

protected:
    DialogWindow() = default;
    // Destroys a window that is still there (DestroyDialog).
    virtual ~DialogWindow();

    // Runs the dialog of the template modally; answers the result handed to EndDialog (-1 when the dialog
    // could not be created).
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND owner);
    // Creates the dialog of the template modeless; false when its window cannot be created.
    bool CreateModeless(HINSTANCE instance, int templateId, HWND owner);
    // Destroys the window, if it is still there, without passing its last messages to the object. Owners of a
    // modeless dialog call it first thing in their destructor, while their members are still whole.
    void DestroyDialog();
    // Hands a message's result back through the dialog's DWLP_MSGRESULT; answers TRUE for the procedure.
    INT_PTR SetMessageResult(LONG_PTR result) const;
    // WM_SIZING: keeps the frame being dragged (the message's rectangle) at least minWidth by minHeight.
    INT_PTR KeepMinimumSize(LPARAM sizingRect, int minWidth, int minHeight) const;

    // WM_INITDIALOG, with Window() set: TRUE lets the system give the focus to the first control.
    virtual INT_PTR OnInitDialog() { return TRUE; }
    // Every later message, WM_NCDESTROY included (Window() turns null after it): TRUE when handled, FALSE for
    // the default handling.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window = nullptr;
};

} // namespace tw
