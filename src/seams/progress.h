// The progress seam: what a long task reports while it runs. The Windows program's progress
// dialog, the CLI's text bar and the tests' recorder implement it. A null Progress* means "show nothing".
#pragma once

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
};

} // namespace tw
