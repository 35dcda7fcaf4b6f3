// MainWindow: the program's one dialog window (template 102), modal for the whole run. It holds the
// database tree, the project and file lists, the buttons and labels, lays them out when the window is
// resized, and dispatches the commands of its buttons and menus.
#pragma once

#include "app/application.h"
#include "ui/report_input.h"
#include "ui/win32/database_tree_view.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/file_list_view.h"
#include "ui/win32/project_list_view.h"
#include "ui/win32/prompts.h"
#include "ui/window_layout.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace tw {

class MainWindow : public DialogWindow {
public:
    explicit MainWindow(Application& app);
    ~MainWindow() override;

    // Runs the window modally; returns when it is closed.
    INT_PTR Run();

    // "Scan!" (includeMissing false) and Tools > "Test" (true): clears the catalog, loads every checked
    // database with a progress window, shows the statistics and lists the projects.
    void LoadDatabases(bool includeMissing);
    // Tools > "Save Report...": asks for the file, writes the report page of what the lists hold (the databases the
    // last load or drop read, their files and states, the drives), logs it and opens the page with the default
    // browser. With nothing loaded it says so and asks nothing. A write that fails is shown with the system's words,
    // and a file that was there stays as it was.
    void SaveReport();
    // "Projects count:\t%i\nFiles count:\t%i\nTotal size\t%s" in the hint and statistics label.
    void ShowCatalogStatistics();
    // While a copy, move, delete, store or drop runs: the file list, the project list, "Scan!" and "Search for
    // Avid databases" are disabled (both lists repainted at once), and enabled again afterwards. The database
    // tree, "Delete selected databases" and "Hardware tool" stay usable.
    void EnterBusyState();
    void LeaveBusyState();

    [[nodiscard]] DatabaseTreeView* Tree() const { return tree.get(); }
    [[nodiscard]] FileListView* Files() const { return files.get(); }
    [[nodiscard]] ProjectListView* Projects() const { return projects.get(); }

private:
    INT_PTR OnInitDialog() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(WORD id);
    void OnWindowPosChanged(const WINDOWPOS& position);
    // The window moved to a display of resolution newDpi; suggested is the frame the system proposes there.
    void OnDpiChanged(int newDpi, const RECT& suggested);
    // A window larger than the work area of its display (a template at a high resolution on a small screen)
    // is made as large as the work area and placed inside it; its minimum size follows.
    void FitIntoWorkArea();
    // Files, folders and bins dropped on the project list replace what is listed.
    void OnProjectListDrop(const std::vector<std::wstring>& names);
    void ShowAbout();
    // "Delete selected databases": asks, then deletes the checked databases' files.
    void DeleteSelectedDatabases();
    void PaintMinimised();
    // Asks the drives whether they answer, for the drive scan that follows.
    void FindAnsweringDrives();

    Application& app;
    HICON icon = nullptr;
    int minWidth = 0;
    int minHeight = 0;
    int verticalOverhead = 0;
    SIZE lastLaidOut{0, 0};
    int dpi = 96;         // the resolution of the window's display
    int measuredDpi = 96; // the resolution minimum size and overhead were measured at
    // A size measured at initialisation, at the window's present resolution.
    [[nodiscard]] int AtPresentDpi(int measured) const;
    bool loading = false;
    // What the catalog was loaded from since it was last cleared, for the report: the databases read, in order, with
    // the records each added, and whether index entries of missing files were kept.
    std::vector<LoadedDatabase> loadedDatabases;
    bool loadedWithMissing = false;
    // The drives the database tree's scan searches: those of the last FindAnsweringDrives.
    DriveStringsFunction scanDrives;
    // The prompts of the file list's long tasks, owned by this window.
    std::unique_ptr<WindowPrompts> prompts;
    std::unique_ptr<DatabaseTreeView> tree;
    std::unique_ptr<FileListView> files;
    std::unique_ptr<ProjectListView> projects;
};

} // namespace tw
