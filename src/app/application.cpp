#include "app/application.h"

#include "platform/platform.h"
#include "resource.h"
#include "ui/win32/window_dpi.h"

#include <objbase.h>

namespace tw {

Application::Application(HINSTANCE instance) : instance(instance), driveStrings(platform::DriveStrings) {
    // A single-threaded apartment, as the shell's interfaces expect of a window's thread; without the old
    // DDE of OLE 1, which the shell need not wait on.
    comInitialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    sortedMarker = LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_SORTED));
    unsortedMarker = LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_UNSORTED));
    // The markers at the size for the system's resolution, scaled once.
    const int dpi = SystemDpi();
    for (HBITMAP* marker : {&sortedMarker, &unsortedMarker}) {
        if (HBITMAP scaled = ScaleBitmapForDpi(*marker, dpi)) {
            DeleteObject(*marker);
            *marker = scaled;
        }
    }
    contextMenus = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_CONTEXT_MENUS));
}

Application::~Application() {
    catalog.SetConsole(nullptr);
    container.SetConsole(nullptr);
    if (contextMenus != nullptr) {
        DestroyMenu(contextMenus);
    }
    if (sortedMarker != nullptr) {
        DeleteObject(sortedMarker);
    }
    if (unsortedMarker != nullptr) {
        DeleteObject(unsortedMarker);
    }
    if (comInitialised) {
        CoUninitialize();
    }
}

} // namespace tw
