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
    dpi = WindowDpi(window);
    const std::vector<DriveInfo> drives = QueryDrivesWithin(driveStrings, question, console);
    rows = LayOutDriveRows(drives);
    for (size_t r = 0; r < rows.size(); ++r) {
        const DriveRow& row = rows[r];
        std::unique_ptr<TextProgressBar> bar =
            TextProgressBar::Create(window, IDC_DRIVE_BAR_FIRST + static_cast<int>(r), {0, 0, 0, 0});
        if (bar) {
            bar->SetRange(row.range);
            bar->SetPosition(row.position);
            bar->SetBackground(row.background);
            bar->SetTextFormat(row.barText, kBarTextOnly);
            bar->SetGradient({kDriveGradientFrom, kDriveGradientTo});
            bar->SetTextColours(kDriveTextOverBar, kDriveTextOverBackground);
            LayOutOwnControlOnDpiChange(bar->Window());
        }
        // A row whose bar could not be made keeps its label, as before: the two lists are indexed apart.
        bars.push_back(std::move(bar));
        HWND label = CreateWindowExW(0, L"STATIC", row.labelText.c_str(),
                                     WS_CHILD | WS_VISIBLE | SS_LEFT | SS_SUNKEN | SS_WORDELLIPSIS, 0, 0, 0, 0, window,
                                     nullptr, instance, nullptr);
        LayOutOwnControlOnDpiChange(label);
        labels.push_back(label);
    }
    PlaceRows();
    const SizeGrowth growth = HardwareToolGrowth(ScaleDrives(drives), rows.size());
    RECT outer{};
    GetWindowRect(window, &outer);
    MoveWindow(window, outer.left, outer.top, outer.right - outer.left + ScaleForDpi(growth.width, dpi),
               outer.bottom - outer.top + ScaleForDpi(growth.height, dpi), FALSE);
    return TRUE;
}

void HardwareToolWindow::PlaceRows() {
    HFONT oldBold = boldFont;
    HFONT oldNormal = normalFont;
    boldFont = MakeFont(FW_BOLD, dpi);
    normalFont = MakeFont(FW_NORMAL, dpi);
    const int border = ScaleForDpi(1, dpi);
    for (size_t r = 0; r < rows.size(); ++r) {
        if (TextProgressBar* bar = bars[r].get()) {
            const Rect place = ScaleRectForDpi(rows[r].bar, dpi);
            MoveWindow(bar->Window(), place.left, place.top, place.Width(), place.Height(), FALSE);
            bar->SetBorders(border, border, border, border);
            SendMessageW(bar->Window(), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont), TRUE);
        }
        if (HWND label = labels[r]) {
            const Rect place = ScaleRectForDpi(rows[r].label, dpi);
            MoveWindow(label, place.left, place.top, place.Width(), place.Height(), FALSE);
            SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont), TRUE);
        }
    }
    for (HFONT font : {oldBold, oldNormal}) {
        if (font != nullptr) {
            DeleteObject(font);
        }
    }
}

void HardwareToolWindow::OnDpiChanged(int newDpi, const RECT& suggested) {
    SetWindowPos(Window(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    dpi = newDpi;
    PlaceRows();
    InvalidateRect(Window(), nullptr, TRUE);
}

void HardwareToolWindow::TearDown() {
    bars.clear();
    for (HWND label : labels) {
        if (label != nullptr) {
            DestroyWindow(label);
        }
    }
    labels.clear();
    rows.clear();
    for (HFONT* font : {&boldFont, &normalFont}) {
        if (*font != nullptr) {
            DeleteObject(*font);
            *font = nullptr;
        }
    }
}

INT_PTR HardwareToolWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return FALSE; // the dialog manager goes on to rescale the template's own controls
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
