// TerminalProgress: the progress seam of tarnwick-cli on a terminal. It shows what the progress dialog
// shows, the caption and the percentage ("Indexing Files...  42 %"), on one line of its stream that is
// rewritten in place and cleared when the display ends. Console lines written through ConsoleAbove appear
// above that line. Commands that run long open one with ForStderr(), which gives none when stderr is not
// a terminal, so that scripts and tests see only the console lines.
#pragma once

#include "seams/console.h"
#include "seams/progress.h"
#include "ui/bar_scale.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace tw::cli {

class TerminalProgress : public Progress {
public:
    // The widest line drawn, in characters: narrower than the narrowest usual terminal, so it never wraps.
    static constexpr size_t kLineWidth = 79;

    // Draws on stream, which must outlive the display.
    explicit TerminalProgress(std::FILE* stream) : stream(stream) {}
    // Clears the line.
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // A display on stderr when stderr is a terminal; null otherwise.
    [[nodiscard]] static std::unique_ptr<TerminalProgress> ForStderr();

    void SetCaption(const std::wstring& caption) override;
    // Redraws only when the percentage changes, as the dialog moves its bar: calls that do not move it
    // cost one comparison.
    void SetProgress(uint64_t done, uint64_t total) override;

    // Writes a whole line above the progress line, which is drawn again below it.
    void WriteAbove(const std::wstring& line);
    // The line as it is drawn now; empty before the first caption or percentage and after Clear.
    [[nodiscard]] const std::wstring& Line() const { return shown; }
    // Blanks the line and leaves the cursor at its start.
    void Clear();

private:
    void Draw();

    std::FILE* stream;
    std::wstring caption;
    BarScale scale;
    bool anyProgress = false;
    // What is on the terminal's line now.
    std::wstring shown;
};

// Console lines on stderr, above the progress line when there is one.
class ConsoleAbove : public Console {
public:
    // progress may be null: lines then go to stderr as they are.
    explicit ConsoleAbove(TerminalProgress* progress) : progress(progress) {}
    void AppendLine(const std::wstring& text) override;

private:
    TerminalProgress* progress;
};

} // namespace tw::cli
