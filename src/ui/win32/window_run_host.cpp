#include "ui/win32/window_run_host.h"

namespace tw {

void WindowRunHost::EnterBusyState() {
    if (setBusy) {
        setBusy(true);
    }
}

void WindowRunHost::LeaveBusyState() {
    if (setBusy) {
        setBusy(false);
    }
}

Progress* WindowRunHost::OpenProgress() {
    progress = ProgressDialog::Open(instance);
    if (progress != nullptr && confirmInProgress != nullptr) {
        confirmInProgress->SetConfirmOwner(progress->Window());
    }
    return progress.get();
}

void WindowRunHost::CloseProgress() {
    if (progress != nullptr && confirmInProgress != nullptr) {
        confirmInProgress->SetConfirmOwner(nullptr);
    }
    progress.reset();
}

void WindowRunHost::DispatchOneMessage() {
    MSG message;
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
        PostQuitMessage(static_cast<int>(message.wParam)); // the quit is for the loop that runs the window
        return;
    }
    if (got > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void WindowRunHost::DispatchListMessage() {
    MSG message;
    if (PeekMessageW(&message, list, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace tw
