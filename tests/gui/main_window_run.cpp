#include "main_window_run.h"

#include "fixtures/drive_list.h"
#include "gui_harness.h"
#include "ui/banner.h"

#include <gtest/gtest.h>

namespace tw::gui {

void RunMainWindowOn(const std::vector<std::wstring>& roots,
                     const std::function<void(HWND, Application&, MainWindow&)>& scenario,
                     const std::function<void(Application&)>& prepare) {
    Application app(GetModuleHandleW(nullptr));
    app.driveStrings = fixtures::DriveList(roots);
    if (prepare) {
        prepare(app);
    }
    MainWindow main(app);
    WhenWindowAppears(CaptionIs(ProgramBanner()), [&](HWND window) {
        scenario(window, app, main);
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    main.Run();
    EXPECT_TRUE(AllStepsRan());
    ForgetSteps();
}

} // namespace tw::gui
