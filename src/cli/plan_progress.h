// The progress line of a plan's run on a terminal, drawn by TerminalProgress: the run's caption when it fits, the
// files done of all, the bytes done of all, the rate and the time left, then the percentage.
#pragma once

#include "cli/terminal_progress.h"
#include "seams/progress.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tw::cli {

struct PlanCounts {
    uint64_t filesDone = 0; // rows handled, the skipped ones included
    uint64_t files = 0;
    uint64_t bytesDone = 0;
    uint64_t bytes = 0;
    uint64_t filesSkipped = 0; // of the rows handled, those skipped
};

// "3/12 files  1.17 MB of 4.50 MB  85.3 MB/s  0:42 left" ("1/12 files, 2 skipped" once rows are skipped: the files
// done and the files skipped are counted apart), after the caption when the whole fits the progress line
// beside its percentage. Without bytes (a delete) the time left is reckoned by files. Rate and time left show once
// a second has passed and something is done.
[[nodiscard]] std::wstring PlanProgressText(const std::wstring& caption, const PlanCounts& counts, uint64_t elapsedMs,
                                            bool byBytes);

// The progress seam of a plan's run. It counts the rows itself (RowDone, as each row's bookkeeping ends) and the
// bytes of the file being copied; the engine's own totals are not needed. Every run has one, with or without a
// display, so that each copy gets the cancel flag and reports its bytes.
class PlanProgress : public Progress {
public:
    // display may be null: nothing is drawn. onFileProgress runs at each report of the copy in progress.
    PlanProgress(TerminalProgress* display, uint64_t files, uint64_t bytes, bool byBytes,
                 std::function<void()> onFileProgress);

    void SetCaption(const std::wstring& caption) override;
    void SetProgress(uint64_t /*done*/, uint64_t /*total*/) override {}
    void SetFileProgress(uint64_t done, uint64_t total) override;

    // A row is done with (its file handled, skipped or passed over); size counts as done.
    void RowDone(uint64_t size, bool skipped = false);
    // Blanks the line (before a question) and draws it again.
    void Hide();
    void Show();

    [[nodiscard]] const PlanCounts& Counts() const { return counts; }

private:
    void Draw(bool now);

    TerminalProgress* display;
    PlanCounts counts;
    bool byBytes;
    std::function<void()> onFileProgress;
    std::wstring caption;
    uint64_t fileBytes = 0;
    uint64_t started;
    uint64_t lastDrawn = 0;
    bool drawn = false;
};

} // namespace tw::cli
