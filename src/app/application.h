// The process-wide objects of the Windows program, created once at start-up and handed to the windows that
// need them. Tests create their own.
#pragma once

#include "app/report_shell.h"
#include "catalog/media_catalog.h"
#include "container/bento_container.h"
#include "discovery/database_search.h"
#include "ui/win32/console_log.h"
#include "ui/win32/drive_answers.h"

#include <windows.h>

#include <memory>

namespace tw {

struct Application {
    HINSTANCE instance = nullptr;
    MediaCatalog catalog;
    // The one container reader: the database load, the file list's media reads and Media Info take turns.
    BentoContainer container;
    // Empty until the main window has created the console, and for the whole run if that failed.
    std::unique_ptr<ConsoleLog> console;
    HBITMAP sortedMarker = nullptr;   // bitmap 140
    HBITMAP unsortedMarker = nullptr; // bitmap 141
    HMENU contextMenus = nullptr;     // menu 143
    // The drive list the scans search: the system's, or a test's.
    DriveStringsFunction driveStrings;
    // What a drive scan asks of each drive before it searches it, and what the Hardware tool asks; network
    // drives that do not answer in time are left out of the scan and shown not ready.
    DriveQuestion<bool> driveReachable = DriveReachable();
    DriveQuestion<DriveInfo> driveDetails = DriveDetails();
    // Where Tools > "Save Report..." writes and how it shows the page: the system's, or a test's.
    ReportShell reportShell = SystemReportShell();
    // COM is initialised for the user-interface thread, which creates this object, for as long as it lives:
    // the shell's open of a file and its folder browser run on it.
    bool comInitialised = false;

    // Initialises COM for the calling thread; loads the sort markers and the context menus.
    explicit Application(HINSTANCE instance);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    [[nodiscard]] Console* ConsoleOrNull() const { return console.get(); }
};

} // namespace tw
