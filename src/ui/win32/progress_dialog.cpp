#include "ui/win32/progress_dialog.h"

#include "platform/platform.h"
#include "resource.h"
#include "ui/dpi_scale.h"
#include "ui/win32/window_dpi.h"
#include "ui/window_layout.h"

#include <commctrl.h>

namespace tw {

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriodMs = 50;

Rect ClientRectOf(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

ProgressDialog::ProgressDialog() : startTime(platform::TickCountMs()) {}

std::unique_ptr<ProgressDialog> ProgressDialog::Open(HINSTANCE instance) {
    auto dialog = std::make_unique<ProgressDialog>();
    if (!dialog->CreateModeless(instance, IDD_PROGRESS, nullptr)) {
        return nullptr;
    }
    ShowWindow(dialog->Window(), SW_SHOW);
    return dialog;
}

ProgressDialog::~ProgressDialog() {
    if (Window() != nullptr) {
        KillTimer(Window(), kTimerId);
    }
    DestroyDialog();
}

INT_PTR ProgressDialog::OnInitDialog() {
    HWND dialog = Window();
    mainBar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
    SetTimer(dialog, kTimerId, kTimerPeriodMs, nullptr);
    SendMessageW(mainBar, PBM_SETRANGE, 0, MAKELPARAM(0, BarScale::kNoTotalRange));
    const Rect cancel =
        CancelButtonFromPercentLabel(ClientRectOf(dialog, GetDlgItem(dialog, IDC_PROGRESS_PERCENT)), WindowDpi(dialog));
    MoveWindow(GetDlgItem(dialog, IDC_PROGRESS_CANCEL), cancel.left, cancel.top, cancel.Width(), cancel.Height(),
               FALSE);
    return TRUE;
}

void ProgressDialog::SetCaption(const std::wstring& caption) {
    if (Window() != nullptr) {
        SetWindowTextW(Window(), caption.c_str());
    }
}

void ProgressDialog::SetProgress(uint64_t done, uint64_t total) {
    if (Window() == nullptr) {
        return;
    }
    mainDone = done;
    progressChanged = true;
    const BarUpdate update = mainScale.Update(done, total);
    if (update.rangeChanged) {
        SendMessageW(mainBar, PBM_SETRANGE, 0, MAKELPARAM(0, mainScale.Range()));
    }
    if (!update.moved) {
        return;
    }
    SetDlgItemTextW(Window(), IDC_PROGRESS_PERCENT, PercentText(PercentOf(update.position, mainScale.Range())).c_str());
    SendMessageW(mainBar, PBM_SETPOS, static_cast<WPARAM>(update.position), 0);
    PumpOneMessage();
}

void ProgressDialog::AddFileBar() {
    if (Window() == nullptr || fileBar != nullptr) {
        return;
    }
    RECT outer{};
    GetWindowRect(Window(), &outer);
    const int dpi = WindowDpi(Window());
    SetWindowPos(Window(), nullptr, 0, 0, outer.right - outer.left,
                 outer.bottom - outer.top + ScaleForDpi(kFileBarExtraHeight, dpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const Rect r = FileBarFromMainBar(ClientRectOf(Window(), mainBar), dpi);
    fileBar = TextProgressBar::Create(Window(), IDC_FILE_BAR, {r.left, r.top, r.right, r.bottom});
    if (fileBar == nullptr) {
        return;
    }
    SendMessageW(fileBar->Window(), WM_SETFONT, SendMessageW(Window(), WM_GETFONT, 0, 0), FALSE);
    fileBar->SetRange(BarScale::kNoTotalRange);
    fileBar->SetBackground({223, 255, 223});
    fileBar->SetGradient({{15, 15, 239}, {115, 115, 115}});
}

void ProgressDialog::SetFileText(const std::wstring& text) {
    if (fileBar == nullptr) {
        return;
    }
    fileBar->SetAlignment(BarAlign::Centre);
    fileBar->SetTextFormat(text, kBarTextOnly);
    RedrawWindow(fileBar->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void ProgressDialog::SetFileProgress(uint64_t done, uint64_t total) {
    if (fileBar == nullptr) {
        return;
    }
    const BarUpdate update = fileScale.Update(done, total);
    if (update.rangeChanged) {
        fileBar->SetRange(fileScale.Range());
    }
    if (!update.moved) {
        return;
    }
    fileBar->SetPosition(static_cast<uint32_t>(update.position));
    PumpOneMessage();
}

void ProgressDialog::PumpOneMessage() {
    MSG message;
    if (PeekMessageW(&message, Window(), 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The dispatched message may have been the one that destroyed the window.
    if (Window() != nullptr) {
        UpdateWindow(Window());
    }
}

void ProgressDialog::Tick() {
    const uint64_t elapsed = platform::TickCountMs() - startTime;
    SetDlgItemTextW(Window(), IDC_PROGRESS_ELAPSED, DurationText(elapsed).c_str());
    if (progressChanged) {
        const uint64_t projected = ProjectedTotalMs(mainScale.Total(), mainDone, elapsed);
        SetDlgItemTextW(Window(), IDC_PROGRESS_TOTAL_TIME, DurationText(projected).c_str());
        progressChanged = false;
    }
}

INT_PTR ProgressDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_TIMER:
        Tick();
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PROGRESS_CANCEL && HIWORD(wParam) == BN_CLICKED) {
            cancelFlag = 1;
            return TRUE;
        }
        return FALSE;
    case WM_NCDESTROY:
        mainBar = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace tw
