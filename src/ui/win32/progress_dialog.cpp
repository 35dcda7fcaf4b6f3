#include "ui/win32/progress_dialog.h"

#include "platform/platform.h"
#include "resource.h"
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
    if (CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_PROGRESS), nullptr, DialogProc,
                           reinterpret_cast<LPARAM>(dialog.get())) == nullptr) {
        return nullptr;
    }
    ShowWindow(dialog->window, SW_SHOW);
    return dialog;
}

ProgressDialog::~ProgressDialog() {
    if (window != nullptr) {
        KillTimer(window, kTimerId);
        SetWindowLongPtrW(window, DWLP_USER, 0);
        DestroyWindow(window);
    }
}

void ProgressDialog::Initialise(HWND dialog) {
    window = dialog;
    mainBar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
    SetTimer(dialog, kTimerId, kTimerPeriodMs, nullptr);
    SendMessageW(mainBar, PBM_SETRANGE, 0, MAKELPARAM(0, BarScale::kNoTotalRange));
    const Rect cancel = CancelButtonFromPercentLabel(ClientRectOf(dialog, GetDlgItem(dialog, IDC_PROGRESS_PERCENT)));
    MoveWindow(GetDlgItem(dialog, IDC_PROGRESS_CANCEL), cancel.left, cancel.top, cancel.Width(), cancel.Height(),
               FALSE);
}

void ProgressDialog::SetCaption(const std::wstring& caption) {
    if (window != nullptr) {
        SetWindowTextW(window, caption.c_str());
    }
}

void ProgressDialog::SetProgress(uint64_t done, uint64_t total) {
    if (window == nullptr) {
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
    SetDlgItemTextW(window, IDC_PROGRESS_PERCENT, PercentText(PercentOf(update.position, mainScale.Range())).c_str());
    SendMessageW(mainBar, PBM_SETPOS, static_cast<WPARAM>(update.position), 0);
    PumpOneMessage();
}

void ProgressDialog::AddFileBar() {
    if (window == nullptr || fileBar != nullptr) {
        return;
    }
    RECT outer{};
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + kFileBarExtraHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const Rect r = FileBarFromMainBar(ClientRectOf(window, mainBar));
    fileBar = TextProgressBar::Create(window, IDC_FILE_BAR, {r.left, r.top, r.right, r.bottom});
    if (fileBar == nullptr) {
        return;
    }
    SendMessageW(fileBar->Window(), WM_SETFONT, SendMessageW(window, WM_GETFONT, 0, 0), FALSE);
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
    if (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The dispatched message may have been the one that destroyed the window.
    if (window != nullptr) {
        UpdateWindow(window);
    }
}

void ProgressDialog::Tick() {
    const uint64_t elapsed = platform::TickCountMs() - startTime;
    SetDlgItemTextW(window, IDC_PROGRESS_ELAPSED, DurationText(elapsed).c_str());
    if (progressChanged) {
        const uint64_t projected = ProjectedTotalMs(mainScale.Total(), mainDone, elapsed);
        SetDlgItemTextW(window, IDC_PROGRESS_TOTAL_TIME, DurationText(projected).c_str());
        progressChanged = false;
    }
}

INT_PTR CALLBACK ProgressDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<ProgressDialog*>(lParam)->Initialise(window);
        return TRUE;
    }
    auto* dialog = reinterpret_cast<ProgressDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;
    }
    switch (message) {
    case WM_TIMER:
        dialog->Tick();
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PROGRESS_CANCEL && HIWORD(wParam) == BN_CLICKED) {
            dialog->cancelFlag = 1;
            return TRUE;
        }
        return FALSE;
    case WM_NCDESTROY:
        dialog->window = nullptr;
        dialog->mainBar = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace tw
