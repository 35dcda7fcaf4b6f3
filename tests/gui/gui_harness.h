// Helpers of the GUI tests: pump messages until a condition holds, act on modal windows from inside
// their own message loops, synthesise input and read back what windows show.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

namespace tw::gui {

// Dispatches messages until done() holds or timeoutMs pass; answers done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Which window a modal step acts on.
using WindowMatch = std::function<bool(HWND)>;
// A visible top-level window of this thread with this caption.
WindowMatch CaptionIs(const std::wstring& caption);
// A visible top-level window of this thread with a child showing this text (message boxes).
WindowMatch ShowsText(const std::wstring& text);

// Queues act to run once, from inside whatever message loop is running (a modal dialog's or a message
// box's, also one inside an earlier step's act), as soon as a window matching match exists. Steps run in
// order. Stepping starts at the first call and keeps going until the queue is empty.
void WhenWindowAppears(WindowMatch match, std::function<void(HWND)> act);
// True when every queued step has run.
bool AllStepsRan();
// Drops the steps that have not run (for a test that failed halfway).
void ForgetSteps();

// Clicks a dialog's button as a user would (BM_CLICK through the button's own handling).
void ClickButton(HWND dialog, int id);
// Posts a key press (down and up) to the window that has the keyboard focus, as the dialog manager
// would receive it from the queue.
void PostKeyToFocus(int virtualKey);
// Synthesises a key press of the keyboard through the system's input queue (SendInput).
void TypeKey(WORD virtualKey);
// Synthesises Ctrl with a key through the system's input queue.
void TypeControlKey(WORD key);
// Synthesises a left click of the mouse at a screen point (SendInput).
void ClickMouseAt(POINT screen);
// Waits, without taking anything off the queue, until keyboard or mouse input is pending.
bool WaitForInput(int timeoutMs);
// Removes every pending keyboard and mouse message of the thread without dispatching it.
void DropPendingInput();

// A drop of files and folders, as the shell hands it to a window with WM_DROPFILES; the window releases it.
HDROP MakeDrop(const std::vector<std::wstring>& names);

std::wstring WindowText(HWND window);
std::wstring ControlText(HWND dialog, int id);
std::vector<std::wstring> ListBoxLines(HWND list);
// A control's rectangle in its parent's client coordinates.
RECT RectInParent(HWND control);
// The window's outer size.
SIZE OuterSize(HWND window);

// A plain visible top-level window for tests that need one (input focus, a parent for controls).
class TestWindow {
public:
    TestWindow(int width, int height);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    [[nodiscard]] HWND Get() const { return window; }
    // Makes the window the foreground window with the keyboard focus; false when the system refuses.
    bool TakeFocus() const;

private:
    HWND window;
};

} // namespace tw::gui
