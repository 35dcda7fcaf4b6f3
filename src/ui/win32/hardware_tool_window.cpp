#include "ui/win32/hardware_tool_window.h"

#include "resource.h"
#include "ui/dpi_scale.h"
#include "ui/hardware_tool_model.h"
#include "ui/win32/window_dpi.h"

namespace tw {

namespace {

// The fonts of the rows: 10 pixels high at 96 dots per inch.
HFONT MakeFont(int weight, int dpi) {
    return CreateFontW(-ScaleForDpi(10, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
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
    // The rows' geometry is given in pixels at 96 dots per inch.
    const int dpi = WindowDpi(window);
    boldFont = MakeFont(FW_BOLD, dpi);
    normalFont = MakeFont(FW_NORMAL, dpi);
    const std::vector<DriveInfo> drives = QueryDrivesWithin(driveStrings, question, console);
    const std::vector<DriveRow> rows = LayOutDriveRows(drives);
    for (size_t r = 0; r < rows.size(); ++r) {
        const DriveRow& row = rows[r];
        const Rect barRect = ScaleRectForDpi(row.bar, dpi);
        const Rect labelRect = ScaleRectForDpi(row.label, dpi);
        std::unique_ptr<TextProgressBar> bar =
            TextProgressBar::Create(window, IDC_DRIVE_BAR_FIRST + static_cast<int>(r),
                                    {barRect.left, barRect.top, barRect.right, barRect.bottom});
        if (bar) {
            bar->SetRange(row.range);
            bar->SetPosition(row.position);
            bar->SetBackground(row.background);
            const int border = ScaleForDpi(1, dpi);
            bar->SetBorders(border, border, border, border);
            SendMessageW(bar->Window(), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont), FALSE);
            bar->SetTextFormat(row.barText, kBarTextOnly);
            bar->SetGradient({kDriveGradientFrom, kDriveGradientTo});
            bar->SetTextColours(kDriveTextOverBar, kDriveTextOverBackground);
            bars.push_back(std::move(bar));
        }
        HWND label = CreateWindowExW(
            0, L"STATIC", row.labelText.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_SUNKEN | SS_WORDELLIPSIS,
            labelRect.left, labelRect.top, labelRect.Width(), labelRect.Height(), window, nullptr, instance, nullptr);
        if (label != nullptr) {
            SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont), FALSE);
            labels.push_back(label);
        }
    }
    const SizeGrowth growth = HardwareToolGrowth(ScaleDrives(drives), rows.size());
    RECT outer{};
    GetWindowRect(window, &outer);
    MoveWindow(window, outer.left, outer.top, outer.right - outer.left + ScaleForDpi(growth.width, dpi),
               outer.bottom - outer.top + ScaleForDpi(growth.height, dpi), FALSE);
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
