#include "app/report_shell.h"

#include "ui/win32/shell_open.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

namespace tw {

namespace {

bool ChooseReportFile(HWND owner, std::wstring& path) {
    // Room for a long path; the dialog refuses a longer choice rather than cutting it.
    std::vector<wchar_t> buffer(32768, L'\0');
    path.copy(buffer.data(), std::min(path.size(), buffer.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"Web page (*.html)\0*.html\0All files (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = L"Save Report";
    dialog.lpstrDefExt = L"html";
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) {
        return false;
    }
    path = buffer.data();
    return true;
}

void OpenReportPage(HWND owner, const std::wstring& path, Console* console) {
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) {
        LogSystemError(console, ShellExecuteErrorCode(result), kOpenErrorContext);
    }
}

} // namespace

ReportShell SystemReportShell() {
    return {ChooseReportFile, OpenReportPage};
}

} // namespace tw
