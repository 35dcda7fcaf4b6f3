// The progress seam: what a long task reports while it runs. The Windows program's progress
// dialog, the CLI's text bar and the tests' recorder implement it. A null Progress* means "show nothing".
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <string>

namespace tw {

class Progress {
public:
    virtual ~Progress() = default;
    // Replaces the caption (the window text of the progress dialog).
    virtual void SetCaption(const std::wstring& caption) = 0;
    // Overall progress; done and total are byte or item counts. Keeps the screen alive.
    virtual void SetProgress(uint64_t done, uint64_t total) = 0;

    // Transfer mode: adds the bar of the file being copied. Displays without one ignore the file calls.
    virtual void AddFileBar() {}
    // The text shown on the file bar (the file being copied).
    virtual void SetFileText(const std::wstring& /*text*/) {}
    // Progress of the file being copied, in bytes.
    virtual void SetFileProgress(uint64_t /*done*/, uint64_t /*total*/) {}

    // Set to 1 by the display's Cancel button and never cleared: every copy of the task that is handed this
    // flag fails with platform::kErrorRequestAborted once it is set.
    platform::CancelFlag cancelFlag = 0;
};

// The copy-progress routine of a task: passes the bytes copied of the current file to SetFileProgress.
// With no progress display it reports nothing.
inline platform::CopyProgressRoutine CopyProgress(Progress* progress) {
    if (progress == nullptr) {
        return {};
    }
    return [progress](uint64_t copied, uint64_t size) { progress->SetFileProgress(copied, size); };
}

// The cancel flag to hand to a copy: the display's, or none.
inline platform::CancelFlag* CancelFlagOf(Progress* progress) {
    return progress != nullptr ? &progress->cancelFlag : nullptr;
}

} // namespace tw
