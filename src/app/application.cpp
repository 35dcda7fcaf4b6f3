#include "app/application.h"

#include "platform/platform.h"
#include "resource.h"

namespace tw {

Application::Application(HINSTANCE instance) : instance(instance), driveStrings(platform::DriveStrings) {
    sortedMarker = LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_SORTED));
    unsortedMarker = LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_UNSORTED));
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
}

} // namespace tw
