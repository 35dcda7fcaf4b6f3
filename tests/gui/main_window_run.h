// Runs the real main window on drives of the test's own, for the GUI tests of the main window.
#pragma once

#include "app/application.h"
#include "app/main_window.h"

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

namespace tw::gui {

// Runs the main window modally with roots as the system's drives ("...\" each). prepare, when given, sets up
// the application before the window opens; scenario runs inside its message loop once the window shows, with
// the window, the application and the main window; the window is closed afterwards. Fails the test when a
// queued step did not run.
void RunMainWindowOn(const std::vector<std::wstring>& roots,
                     const std::function<void(HWND, Application&, MainWindow&)>& scenario,
                     const std::function<void(Application&)>& prepare = {});

} // namespace tw::gui
