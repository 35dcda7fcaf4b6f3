// The console window (template 103): the program's log, a list box of at most 65,536 lines.
#pragma once

#include "seams/console.h"
#include "ui/win32/dialog_window.h"

#include <windows.h>

#include <memory>
#include <string>

namespace tw {

// Once the platform has destroyed the window (Window() is then null), every operation does nothing.
class ConsoleLog : public Console, public DialogWindow {
public:
    static constexpr int kMaxLines = 65536;

    // Creates the console as a modeless dialog without parent, hidden, writes the banner and a rule into it
    // and gives it icon (as large and small icon; may be null). When the window cannot be created, shows
    // "Error creating Console" and answers null: the caller then keeps an empty console reference.
    static std::unique_ptr<ConsoleLog> Create(HINSTANCE instance, HICON icon);
    // A console without window, which writes nothing; Create makes the real one.
    ConsoleLog() = default;
    // Destroys the window.
    ~ConsoleLog() override;
    ConsoleLog(const ConsoleLog&) = delete;
    ConsoleLog& operator=(const ConsoleLog&) = delete;

    // Appends a line at the end, drops the oldest line beyond 65,536 and scrolls to the end.
    void AppendLine(const std::wstring& text) override;
    void ShowConsole();
    void HideConsole();
    void ClearConsole();

private:
    INT_PTR OnInitDialog() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LayOut();

    HWND lines = nullptr;
};

} // namespace tw
