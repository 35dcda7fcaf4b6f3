// What Tools > "Save Report..." asks of the system: which file to write, and to show the page written with the
// default browser. The program asks the system; tests answer in its place and see what was asked.
#pragma once

#include "seams/console.h"

#include <windows.h>

#include <functional>
#include <string>

namespace tw {

// The name the save dialog proposes.
inline constexpr wchar_t kReportFileName[] = L"tarnwick-report.html";

struct ReportShell {
    // Asks where to save the report, owned by owner; path holds the proposed name and receives the full path
    // chosen. False when the user cancels.
    std::function<bool(HWND owner, std::wstring& path)> chooseFile;
    // Opens the page at path with the program the system associates with it (the default browser). A failure is
    // written to console (may be null).
    std::function<void(HWND owner, const std::wstring& path, Console* console)> openPage;
};

// The system's: the common save dialog (a web page filter, the name proposed, asking before it replaces a file),
// and ShellExecuteW with the "open" verb.
[[nodiscard]] ReportShell SystemReportShell();

} // namespace tw
