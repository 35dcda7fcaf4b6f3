#include "ui/win32/hardware_tool_window.h"

#include "resource.h"
#include "ui/hardware_tool_model.h"

namespace tw {

namespace {

HFONT MakeFont(int weight) {
    return CreateFontW(-10, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"MS Sans Serif");
}

} // namespace

HardwareToolWindow::HardwareToolWindow(HINSTANCE instance, DriveStringsFunction driveStrings, Console* console,
                                       DriveQuestion<DriveInfo> question)
    : instance(instance), driveStrings(std::move(driveStrings)), console(console), question(std::move(question)) {}

HardwareToolWindow::~HardwareToolWindow() {
    TearDown();
}

INT_PTR HardwareToolWindow::Run(HWND owner) {
    return RunModal(instance, IDD_HARDWARE, owner);
}

INT_PTR HardwareToolWindow::OnInitDialog() {
    HWND window = Window();
    boldFont = MakeFont(FW_BOLD);
    normalFont = MakeFont(FW_NORMAL);
    const std::vector<DriveInfo> drives = QueryDrivesWithin(driveStrings, question, console);
    const std::vector<DriveRow> rows = LayOutDriveRows(drives);
    for (size_t r = 0; r < rows.size(); ++r) {
        const DriveRow& row = rows[r];
        std::unique_ptr<TextProgressBar> bar =
            TextProgressBar::Create(window, IDC_DRIVE_BAR_FIRST + static_cast<int>(r),
                                    {row.bar.left, row.bar.top, row.bar.right, row.bar.bottom});
        if (bar) {
            bar->SetRange(row.range);
            bar->SetPosition(row.position);
            bar->SetBackground(row.background);
            bar->SetBorders(1, 1, 1, 1);
            SendMessageW(bar->Window(), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont), FALSE);
            bar->SetTextFormat(row.barText, kBarTextOnly);
            bar->SetGradient({kDriveGradientFrom, kDriveGradientTo});
            bar->SetTextColours(kDriveTextOverBar, kDriveTextOverBackground);
            bars.push_back(std::move(bar));
        }
        HWND label = CreateWindowExW(
            0, L"STATIC", row.labelText.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_SUNKEN | SS_WORDELLIPSIS,
            row.label.left, row.label.top, row.label.Width(), row.label.Height(), window, nullptr, instance, nullptr);
        if (label != nullptr) {
            SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont), FALSE);
            labels.push_back(label);
        }
    }
    const SizeGrowth growth = HardwareToolGrowth(ScaleDrives(drives), rows.size());
    RECT outer{};
    GetWindowRect(window, &outer);
    MoveWindow(window, outer.left, outer.top, outer.right - outer.left + growth.width,
               outer.bottom - outer.top + growth.height, FALSE);
    return TRUE;
}

void HardwareToolWindow::TearDown() {
    bars.clear();
    for (HWND label : labels) {
        DestroyWindow(label);
    }
    labels.clear();
    for (HFONT* font : {&boldFont, &normalFont}) {
        if (*font != nullptr) {
            DeleteObject(*font);
            *font = nullptr;
        }
    }
}

INT_PTR HardwareToolWindow::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            EndDialog(Window(), LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(Window(), IDCANCEL);
        return TRUE;
    case WM_DESTROY:
        TearDown();
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace tw
