// OperationHost: what a file operation needs of the program around it besides the selection, the prompts and
// the files: the busy state, the progress window and the message pump. The Windows program implements it with
// its windows; tests and the command line with no windows at all (every default does nothing).
#pragma once

#include "seams/progress.h"

namespace tw {

class OperationHost {
public:
    virtual ~OperationHost() = default;
    // Copy, move and delete: the main window's busy state. Store: the store dialog disabled and enabled again.
    virtual void EnterBusyState() {}
    virtual void LeaveBusyState() {}
    // Creates and shows the progress window of a run; null when there is none. It lives until CloseProgress.
    virtual Progress* OpenProgress() { return nullptr; }
    virtual void CloseProgress() {}
    // Between two files: dispatches one window message, waiting for one when none is pending.
    virtual void DispatchOneMessage() {}
    // Between two media reads: dispatches at most one pending message of the file list, without waiting.
    virtual void DispatchListMessage() {}
};

} // namespace tw
