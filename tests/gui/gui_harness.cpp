#include "gui_harness.h"

#include <algorithm>
#include <deque>

#include <shlobj.h>

namespace tw::gui {

namespace {

struct Step {
    WindowMatch match;
    std::function<void(HWND)> act;
};

std::deque<Step>& Steps() {
    static std::deque<Step> steps;
    return steps;
}

UINT_PTR stepTimer = 0;

HWND FindThreadWindow(const WindowMatch& match) {
    struct Search {
        const WindowMatch* match;
        HWND found;
    } search{&match, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (IsWindowVisible(window) && (*s->match)(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A step's act may itself run a message loop (a scenario driving the main window, a task showing a prompt):
// the steps queued meanwhile run from inside it.
void CALLBACK RunSteps(HWND, UINT, UINT_PTR, DWORD) {
    if (Steps().empty()) {
        return;
    }
    HWND window = FindThreadWindow(Steps().front().match);
    if (window == nullptr) {
        return;
    }
    Step step = std::move(Steps().front());
    Steps().pop_front();
    step.act(window);
}

} // namespace

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!done()) {
        if (GetTickCount64() > end) {
            return done();
        }
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

WindowMatch CaptionIs(const std::wstring& caption) {
    return [caption](HWND window) { return GetParent(window) == nullptr && WindowText(window) == caption; };
}

WindowMatch ShowsText(const std::wstring& text) {
    return [text](HWND window) {
        bool found = false;
        struct Search {
            const std::wstring* text;
            bool* found;
        } search{&text, &found};
        EnumChildWindows(
            window,
            [](HWND child, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                if (WindowText(child) == *s->text) {
                    *s->found = true;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return found;
    };
}

void WhenWindowAppears(WindowMatch match, std::function<void(HWND)> act) {
    Steps().push_back({std::move(match), std::move(act)});
    if (stepTimer == 0) {
        stepTimer = SetTimer(nullptr, 0, 10, RunSteps);
    }
}

bool AllStepsRan() {
    return Steps().empty();
}

void ForgetSteps() {
    Steps().clear();
}

void ClickButton(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PostKeyToFocus(int virtualKey) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
    PostMessageW(focus, WM_KEYUP, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(0xC0000001u));
}

void TypeKey(WORD virtualKey) {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtualKey;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void TypeControlKey(WORD key) {
    INPUT inputs[4] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
    }
    inputs[0].ki.wVk = VK_CONTROL;
    inputs[1].ki.wVk = key;
    inputs[2].ki.wVk = key;
    inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[3].ki.wVk = VK_CONTROL;
    inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, inputs, sizeof(INPUT));
}

void ClickMouseAt(POINT screen) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(screen.x, 65535, width - 1);
        input.mi.dy = MulDiv(screen.y, 65535, height - 1);
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

bool WaitForInput(int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!GetInputState() && GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_KEY | QS_MOUSEBUTTON);
    }
    return GetInputState() != 0;
}

void DropPendingInput() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
    }
}

HDROP MakeDrop(const std::vector<std::wstring>& names) {
    size_t units = 1;
    for (const auto& n : names) {
        units += n.size() + 1;
    }
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(drop + 1);
    for (const auto& n : names) {
        std::copy(n.begin(), n.end(), text);
        text += n.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring ControlText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

std::vector<std::wstring> ListBoxLines(HWND list) {
    std::vector<std::wstring> lines;
    const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0));
        std::wstring line(length + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        line.resize(length);
        lines.push_back(line);
    }
    return lines;
}

RECT RectInParent(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE OuterSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

TestWindow::TestWindow(int width, int height) {
    static const ATOM windowClass = [] {
        WNDCLASSW c{};
        c.lpfnWndProc = DefWindowProcW;
        c.hInstance = GetModuleHandleW(nullptr);
        c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        c.lpszClassName = L"TarnwickTestWindow";
        return RegisterClassW(&c);
    }();
    window = CreateWindowExW(0, MAKEINTATOM(windowClass), L"Tarnwick test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                             width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(window);
}

TestWindow::~TestWindow() {
    DestroyWindow(window);
}

bool TestWindow::TakeFocus() const {
    SetForegroundWindow(window);
    SetFocus(window);
    return PumpUntil([this] { return GetForegroundWindow() == window && GetFocus() == window; }, 3000);
}

} // namespace tw::gui
