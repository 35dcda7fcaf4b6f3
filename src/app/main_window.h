// MainWindow: the program's one dialog window (template 102), modal for the whole run. It holds the
// database tree, the project and file lists, the buttons and labels, lays them out when the window is
// resized, and dispatches the commands of its buttons and menus.
#pragma once

#include "app/application.h"
#include "ui/win32/database_tree_view.h"
#include "ui/win32/file_list_view.h"
#include "ui/win32/project_list_view.h"
#include "ui/window_layout.h"

#include <windows.h>

#include <memory>

namespace tw {

class MainWindow {
public:
    explicit MainWindow(Application& app);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Runs the window modally; returns when it is closed.
    INT_PTR Run();

    // "Scan!" (includeMissing false) and Tools > "Test" (true): clears the catalog, loads every checked
    // database with a progress window, shows the statistics and lists the projects.
    void LoadDatabases(bool includeMissing);
    // "Projects count:\t%i\nFiles count:\t%i\nTotal size\t%s" in the hint and statistics label.
    void ShowCatalogStatistics();

    [[nodiscard]] HWND Window() const { return window; }
    [[nodiscard]] DatabaseTreeView* Tree() const { return tree.get(); }
    [[nodiscard]] FileListView* Files() const { return files.get(); }
    [[nodiscard]] ProjectListView* Projects() const { return projects.get(); }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND dialog);
    void OnCommand(WORD id);
    void OnWindowPosChanged(const WINDOWPOS& position);
    void ShowAbout();
    void PaintMinimised();

    Application& app;
    HWND window = nullptr;
    HICON icon = nullptr;
    int minWidth = 0;
    int minHeight = 0;
    int verticalOverhead = 0;
    SIZE lastLaidOut{0, 0};
    bool loading = false;
    std::unique_ptr<DatabaseTreeView> tree;
    std::unique_ptr<FileListView> files;
    std::unique_ptr<ProjectListView> projects;
};

} // namespace tw
