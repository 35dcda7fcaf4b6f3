// WindowRunHost: the program around a file operation run: its progress dialog, the busy state of the window that
// started it and the message pumping between files.
#pragma once

#include "operations/operation_host.h"
#include "ui/win32/progress_dialog.h"
#include "ui/win32/prompts.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace tw {

class WindowRunHost : public OperationHost {
public:
    // setBusy(true) and setBusy(false) bracket the run's loop (may be empty); list is the file list, whose
    // messages the media read dispatches. When confirmInProgress is given, its confirmation dialog belongs to the
    // run's progress dialog (the store run's rule); otherwise to the owner it was made with.
    WindowRunHost(HINSTANCE instance, HWND list, std::function<void(bool busy)> setBusy,
                  WindowPrompts* confirmInProgress = nullptr)
        : instance(instance), list(list), setBusy(std::move(setBusy)), confirmInProgress(confirmInProgress) {}

    void EnterBusyState() override;
    void LeaveBusyState() override;
    Progress* OpenProgress() override;
    void CloseProgress() override;
    void DispatchOneMessage() override;
    void DispatchListMessage() override;

private:
    HINSTANCE instance;
    HWND list;
    std::function<void(bool)> setBusy;
    WindowPrompts* confirmInProgress;
    std::unique_ptr<ProgressDialog> progress;
};

} // namespace tw
