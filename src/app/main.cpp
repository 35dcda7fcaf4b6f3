// tarnwick.exe: start-up of the Windows program.
#include "app/application.h"
#include "app/main_window.h"

#include <commctrl.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Probing drives without a medium must raise no system prompt.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    tw::Application app(instance);
    tw::MainWindow window(app);
    window.Run();
    return 0;
}
