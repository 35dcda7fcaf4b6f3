// HardwareToolWindow: the Hardware tool (template 132). One row per drive: a TextProgressBar whose length shows
// the drive's capacity against the largest drive's and whose filled part shows the space in use, with the free
// space written on it, and a label naming the drive, its volume label, capacity and use. Built afresh each time
// it opens from the model in ui/hardware_tool_model.h.
#pragma once

#include "discovery/database_search.h"
#include "seams/console.h"
#include "ui/hardware_tool_model.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/drive_answers.h"
#include "ui/win32/text_progress_bar.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace tw {

class HardwareToolWindow : public DialogWindow {
public:
    // driveStrings gives the drive list (the system's, or a test's); question is what each drive is asked, with
    // a bounded wait for network drives, whose silence console (null: nowhere) is told of.
    HardwareToolWindow(HINSTANCE instance, DriveStringsFunction driveStrings, Console* console = nullptr,
                       DriveQuestion<DriveInfo> question = DriveDetails());
    ~HardwareToolWindow() override;

    // Runs the window modally over owner; returns when it is closed.
    INT_PTR Run(HWND owner);

private:
    INT_PTR OnInitDialog() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The window moved to a display of resolution newDpi (WM_DPICHANGED): it takes the frame the system proposes,
    // and its rows their places, borders and fonts at newDpi. The template's own controls are the dialog
    // manager's to rescale.
    void OnDpiChanged(int newDpi, const RECT& suggested);
    // Puts bar and label of every row at its place for the window's resolution, with fonts made for it; deletes the
    // fonts it replaced.
    void PlaceRows();
    // Deletes every bar and label it made, then both fonts.
    void TearDown();

    HINSTANCE instance;
    DriveStringsFunction driveStrings;
    Console* console;
    DriveQuestion<DriveInfo> question;
    // The controls it makes and owns: the bars, and the labels beside them.
    std::vector<std::unique_ptr<TextProgressBar>> bars;
    std::vector<HWND> labels;
    // The rows at 96 dots per inch, and the resolution the rows stand at now.
    std::vector<DriveRow> rows;
    int dpi = 96;
    HFONT boldFont = nullptr;
    HFONT normalFont = nullptr;
};

} // namespace tw
