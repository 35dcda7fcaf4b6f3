#include "ui/win32/console_log.h"

#include "resource.h"
#include "ui/banner.h"
#include "ui/dpi_scale.h"
#include "ui/win32/window_dpi.h"
#include "ui/window_layout.h"

namespace tw {

std::unique_ptr<ConsoleLog> ConsoleLog::Create(HINSTANCE instance, HICON icon) {
    auto console = std::make_unique<ConsoleLog>();
    if (!console->CreateModeless(instance, IDD_CONSOLE, nullptr)) {
        MessageBoxW(nullptr, L"Error creating Console", nullptr, MB_OK);
        return nullptr;
    }
    ShowWindow(console->Window(), SW_HIDE);
    console->AppendLine(ProgramBanner());
    console->AppendLine(kConsoleRule);
    if (icon != nullptr) {
        SendMessageW(console->Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(console->Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    return console;
}

ConsoleLog::~ConsoleLog() {
    DestroyDialog();
}

void ConsoleLog::AppendLine(const std::wstring& text) {
    if (lines == nullptr) {
        return;
    }
    // A line the list refuses (out of memory) is let go; the bound and the scroll still apply.
    SendMessageW(lines, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    LRESULT count = SendMessageW(lines, LB_GETCOUNT, 0, 0);
    if (count > kMaxLines) {
        SendMessageW(lines, LB_DELETESTRING, 0, 0);
        --count;
    }
    SendMessageW(lines, LB_SETTOPINDEX, static_cast<WPARAM>(count - 1), 0);
}

void ConsoleLog::ShowConsole() {
    if (Window() != nullptr) {
        ShowWindow(Window(), SW_SHOW);
    }
}

void ConsoleLog::HideConsole() {
    if (Window() != nullptr) {
        ShowWindow(Window(), SW_HIDE);
    }
}

void ConsoleLog::ClearConsole() {
    if (lines != nullptr) {
        SendMessageW(lines, LB_RESETCONTENT, 0, 0);
    }
}

void ConsoleLog::LayOut() {
    RECT outer{};
    GetWindowRect(Window(), &outer);
    const ConsoleLayout layout = LayOutConsole(outer.right - outer.left, outer.bottom - outer.top, WindowDpi(Window()));
    const auto place = [](HWND control, const Rect& r) {
        MoveWindow(control, r.left, r.top, r.Width(), r.Height(), TRUE);
    };
    place(lines, layout.lines);
    place(GetDlgItem(Window(), IDC_CONSOLE_CLEAR), layout.clear);
    place(GetDlgItem(Window(), IDC_CONSOLE_HIDE), layout.hide);
}

INT_PTR ConsoleLog::OnInitDialog() {
    lines = GetDlgItem(Window(), IDC_CONSOLE_LINES);
    LayOut();
    return TRUE;
}

INT_PTR ConsoleLog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_CONSOLE_CLEAR) {
            ClearConsole();
            return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_CONSOLE_HIDE) {
            HideConsole();
            return TRUE;
        }
        return FALSE;
    case WM_SIZING:
        return KeepMinimumSize(lParam, ScaleForDpi(kConsoleMinWidth, WindowDpi(Window())),
                               ScaleForDpi(kConsoleMinHeight, WindowDpi(Window())));
    case WM_WINDOWPOSCHANGED:
        LayOut();
        return FALSE; // the default handling still sends WM_SIZE and WM_MOVE
    case WM_NCDESTROY:
        lines = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace tw
