// The console window (template 103): the program's log, a list box of at most 65,536 lines.
#pragma once

#include "seams/console.h"

#include <windows.h>

#include <memory>
#include <string>

namespace tw {

class ConsoleLog : public Console {
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

    // The console window; null once the platform has destroyed it (every operation then does nothing).
    [[nodiscard]] HWND Window() const { return window; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void LayOut();

    HWND window = nullptr;
    HWND lines = nullptr;
};

} // namespace tw
