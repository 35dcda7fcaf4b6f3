// The progress dialog (template 130): the "Please Wait ..." window of a long task, with the overall bar,
// the percentage, the elapsed and projected times, and in transfer mode the file bar and Cancel.
#pragma once

#include "seams/progress.h"
#include "ui/bar_scale.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/text_progress_bar.h"

#include <windows.h>

#include <memory>
#include <string>

namespace tw {

// The opener owns the dialog for one task: Open shows it, destroying the object stops its timer and
// destroys the window. The screen stays alive because every movement of a bar dispatches one pending
// message of the dialog.
class ProgressDialog : public Progress, public DialogWindow {
public:
    // Constructs a dialog (its clock starts now), creates its window without parent and shows it; null
    // when the window cannot be created (the task then runs without progress display).
    static std::unique_ptr<ProgressDialog> Open(HINSTANCE instance);
    // A dialog without window, which shows nothing; Open makes the real one.
    ProgressDialog();
    ~ProgressDialog() override;
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    void SetCaption(const std::wstring& caption) override;
    // Scales total to at most 255 steps; when the bar moves, shows the percentage, dispatches one pending
    // message and repaints.
    void SetProgress(uint64_t done, uint64_t total) override;
    // Transfer mode: the window grows by 32 pixels and shows the file bar and Cancel.
    void AddFileBar() override;
    // The file bar's text, centred, drawn at once.
    void SetFileText(const std::wstring& text) override;
    // The file bar's progress, scaled like SetProgress (no percentage).
    void SetFileProgress(uint64_t done, uint64_t total) override;

    [[nodiscard]] const TextProgressBar* FileBar() const { return fileBar.get(); }

private:
    INT_PTR OnInitDialog() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Tick();
    void PumpOneMessage();

    HWND mainBar = nullptr;
    std::unique_ptr<TextProgressBar> fileBar;
    BarScale mainScale;
    BarScale fileScale;
    uint64_t mainDone = 0;
    bool progressChanged = true;
    uint64_t startTime;
};

} // namespace tw
