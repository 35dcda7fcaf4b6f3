#include "app/main_window.h"

#include "discovery/media_drop.h"
#include "operations/database_deletion.h"
#include "operations/file_system.h"
#include "platform/platform.h"
#include "resource.h"
#include "ui/banner.h"
#include "ui/dpi_scale.h"
#include "ui/project_list_model.h"
#include "ui/report_file.h"
#include "ui/report_page.h"
#include "ui/win32/drive_answers.h"
#include "ui/win32/hardware_tool_window.h"
#include "ui/win32/media_info_dialog.h"
#include "ui/win32/progress_dialog.h"
#include "ui/win32/prompts.h"
#include "ui/win32/window_dpi.h"

#include <algorithm>

namespace tw {

namespace {

// Posted to set the keyboard focus to the file list once a click activation has been handled.
constexpr UINT kFocusFileList = WM_APP + 1;
// Posted to lay the lists out again once the platform has rescaled the window for a new resolution.
constexpr UINT kLayOutAgain = WM_APP + 2;

// The progress window of a drive scan: topmost, 500 by 23 pixels (at 96 dots per inch), centred, repainted
// with every caption.
class ScanProgress : public Progress {
public:
    explicit ScanProgress(std::unique_ptr<ProgressDialog> dialog) : dialog(std::move(dialog)) {
        const int dpi = WindowDpi(this->dialog->Window());
        const int width = ScaleForDpi(500, dpi);
        const int height = ScaleForDpi(23, dpi);
        SetWindowPos(this->dialog->Window(), HWND_TOPMOST, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_SHOWWINDOW);
    }
    void SetCaption(const std::wstring& caption) override {
        dialog->SetCaption(caption);
        RedrawWindow(dialog->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    }
    void SetProgress(uint64_t, uint64_t) override {}

private:
    std::unique_ptr<ProgressDialog> dialog;
};

// The About box (template 100): the program's picture, its name and OK.
class AboutBox : public DialogWindow {
public:
    INT_PTR Run(HINSTANCE instance, HWND owner) { return RunModal(instance, IDD_ABOUT, owner); }

private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            EndDialog(Window(), LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
};

} // namespace

MainWindow::MainWindow(Application& app) : app(app) {
    icon = static_cast<HICON>(
        LoadImageW(app.instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

MainWindow::~MainWindow() = default;

INT_PTR MainWindow::Run() {
    return RunModal(app.instance, IDD_MAIN, nullptr);
}

INT_PTR MainWindow::OnInitDialog() {
    HWND window = Window();
    dpi = WindowDpi(window);
    measuredDpi = dpi;
    // The menu bar's height and the margins below are pixels at 96 dots per inch.
    auto scaled = [this](int pixels) { return ScaleForDpi(pixels, dpi); };
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const int outerWidth = outer.right - outer.left;
    const int outerHeight = outer.bottom - outer.top;
    minWidth = outerWidth;
    minHeight = outerHeight;
    verticalOverhead = outerHeight - client.bottom - scaled(5);

    HMENU menu = LoadMenuW(app.instance, MAKEINTRESOURCEW(IDR_MAIN_MENU));
    const bool withMenu = menu != nullptr && SetMenu(window, menu);
    if (withMenu) {
        minHeight = outerHeight + scaled(19);
        verticalOverhead = outerHeight + scaled(19) - client.bottom;
    }
    MoveWindow(window, outer.left, outer.top, outerWidth, outerHeight + (withMenu ? scaled(20) : scaled(1)), TRUE);
    FitIntoWorkArea();

    const std::wstring banner = ProgramBanner();
    SetWindowTextW(window, banner.c_str());

    wchar_t keys[1024] = {};
    if (LoadStringW(app.instance, IDS_USED_KEYS, keys, 1024) > 0) {
        SetDlgItemTextW(window, IDC_USED_KEYS, keys);
    }
    wchar_t about[256] = {};
    if (LoadStringW(app.instance, IDS_ABOUT_ENTRY, about, 256) > 0) {
        HMENU system = GetSystemMenu(window, FALSE);
        AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(system, MF_STRING, ID_ABOUT, about);
    }
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    app.console = ConsoleLog::Create(app.instance, icon);
    app.catalog.SetConsole(app.ConsoleOrNull());
    app.container.SetConsole(app.ConsoleOrNull());
    app.catalog.SetContainer(&app.container);

    HINSTANCE instance = app.instance;
    tree = std::make_unique<DatabaseTreeView>(
        GetDlgItem(window, IDC_DATABASE_TREE), instance,
        [this](uint32_t length, wchar_t* buffer) { return scanDrives ? scanDrives(length, buffer) : 0u; },
        [instance]() -> std::unique_ptr<Progress> {
            std::unique_ptr<ProgressDialog> dialog = ProgressDialog::Open(instance);
            if (!dialog) {
                return nullptr;
            }
            return std::make_unique<ScanProgress>(std::move(dialog));
        });

    prompts = std::make_unique<WindowPrompts>(window);
    const ListResources shown{app.sortedMarker, app.unsortedMarker, app.contextMenus};
    FileListView::Services fileServices;
    fileServices.shown = shown;
    fileServices.openProgress = [instance](const std::wstring& caption) -> std::unique_ptr<Progress> {
        std::unique_ptr<ProgressDialog> dialog = ProgressDialog::Open(instance);
        if (dialog && !caption.empty()) {
            dialog->SetCaption(caption);
        }
        return dialog;
    };
    fileServices.container = &app.container;
    fileServices.prompts = prompts.get();
    fileServices.console = app.ConsoleOrNull();
    fileServices.setBusy = [this](bool busy) {
        if (busy) {
            EnterBusyState();
        } else {
            LeaveBusyState();
        }
    };
    files = std::make_unique<FileListView>(GetDlgItem(window, IDC_FILE_LIST), instance, app.catalog, fileServices);
    projects = std::make_unique<ProjectListView>(GetDlgItem(window, IDC_PROJECT_LIST), instance, app.catalog, shown);
    projects->SetDropHandler([this](const std::vector<std::wstring>& names) { OnProjectListDrop(names); });

    FindAnsweringDrives();
    tree->Initialize(); // the first drive scan: its progress window shows before the main window does
    files->Initialize(GetDlgItem(window, IDC_FILE_STATUS));
    projects->Initialize(*files);
    return TRUE;
}

void MainWindow::LoadDatabases(bool includeMissing) {
    // The interface stays alive during a load and a file operation: no load may start inside either ("Test" on
    // the menu is not disabled with "Scan!").
    if (loading || !IsWindowEnabled(GetDlgItem(Window(), IDC_SCAN))) {
        return;
    }
    loading = true;
    app.catalog.Clear();
    loadedDatabases.clear();
    loadedWithMissing = includeMissing;
    projects->Refill();
    std::unique_ptr<ProgressDialog> progress = ProgressDialog::Open(app.instance);
    // Every checked database in tree order, as the tree loads them, each noted for the report.
    for (const std::wstring& path : tree->Tree().CheckedDatabases()) {
        loadedDatabases.push_back(
            LoadDatabaseForReport(app.catalog, path, includeMissing, nullptr, progress.get(), app.ConsoleOrNull()));
    }
    progress.reset();
    ShowCatalogStatistics();
    projects->Refill();
    loading = false;
}

void MainWindow::FindAnsweringDrives() {
    scanDrives = AnsweringDrives(app.driveStrings, app.driveReachable, app.ConsoleOrNull());
}

void MainWindow::ShowCatalogStatistics() {
    SetDlgItemTextW(Window(), IDC_HINT_STATISTICS, CatalogStatistics(app.catalog).c_str());
}

void MainWindow::EnterBusyState() {
    HWND window = Window();
    for (int id : {IDC_FILE_LIST, IDC_PROJECT_LIST, IDC_SCAN, IDC_SEARCH_DATABASES}) {
        EnableWindow(GetDlgItem(window, id), FALSE);
    }
    for (int id : {IDC_FILE_LIST, IDC_PROJECT_LIST}) {
        RedrawWindow(GetDlgItem(window, id), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void MainWindow::LeaveBusyState() {
    HWND window = Window();
    for (int id : {IDC_FILE_LIST, IDC_PROJECT_LIST, IDC_SCAN, IDC_SEARCH_DATABASES}) {
        EnableWindow(GetDlgItem(window, id), TRUE);
    }
}

void MainWindow::OnProjectListDrop(const std::vector<std::wstring>& names) {
    if (loading) {
        return; // a load or another drop is running: the catalog must not be cleared under it
    }
    loading = true;
    EnterBusyState();
    app.catalog.Clear();
    loadedDatabases.clear();
    loadedWithMissing = true;
    projects->Refill();
    files->Clear();
    files->SetUnlocked(false);
    MediaDrop::Services services;
    services.loadCheckedForBin = [this](const ReferencedIds& ids, Progress* progress) {
        for (const std::wstring& path : tree->Tree().CheckedDatabases()) {
            loadedDatabases.push_back(
                LoadDatabaseForReport(app.catalog, path, true, &ids, progress, app.ConsoleOrNull()));
        }
    };
    services.openProgress = [instance = app.instance]() -> std::unique_ptr<Progress> {
        return ProgressDialog::Open(instance);
    };
    services.binLoaded = [this] {
        ShowCatalogStatistics();
        projects->Refill();
    };
    MediaDrop(app.catalog, app.ConsoleOrNull(), std::move(services)).AddDroppedNames(names);
    files->SetUnlocked(true);
    projects->Refill();
    ShowCatalogStatistics();
    LeaveBusyState();
    loading = false;
}

void MainWindow::DeleteSelectedDatabases() {
    if (MessageBoxW(Window(),
                    L"All selected media databases and indexes will be deleted\nThis action can not be undone!!!",
                    L"Are You sure?", MB_YESNO) != IDYES) {
        return;
    }
    FileSystem files;
    tree->Tree().DeleteCheckedDatabases(
        [&](const std::wstring& indexPath) { return DeleteDatabaseFiles(indexPath, files, app.ConsoleOrNull()); });
}

void MainWindow::SaveReport() {
    if (loading) {
        return; // a load or a drop is filling the catalog
    }
    constexpr wchar_t kCaption[] = L"Save Report";
    if (app.catalog.IndexedRecordCount() == 0 && loadedDatabases.empty()) {
        prompts->ShowMessage(L"Nothing is loaded yet: press \"Scan!\" (or Tools > \"Test\") to load the checked "
                             L"databases, or drop media on the project list, then save the report.",
                             kCaption, MessageButtons::Ok);
        return;
    }
    std::wstring path = kReportFileName;
    if (!app.reportShell.chooseFile || !app.reportShell.chooseFile(Window(), path)) {
        return;
    }
    Console* console = app.ConsoleOrNull();
    HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const ReportInput input = CatalogReport(app.catalog, loadedDatabases, loadedWithMissing,
                                            QueryDrivesWithin(app.driveStrings, app.driveDetails, console));
    FileSystem fileSystem;
    const uint32_t code = WriteFileReplacing(path, ReportPage(input), fileSystem);
    SetCursor(before);
    if (code != 0) {
        LogSystemError(console, code, L"QRB::Report::" + path);
        prompts->ShowMessage(L"The report cannot be saved as\n" + path + L"\n\n" + platform::SystemErrorText(code),
                             kCaption, MessageButtons::Ok);
        return;
    }
    AppendLine(console, L"QRB::Report::Saved::" + path + L" (" + std::to_wstring(input.databases.size()) +
                            L" databases, " + std::to_wstring(input.files.size()) + L" files)");
    AppendLine(console, L"QRB::Report::Open::" + path);
    if (app.reportShell.openPage) {
        app.reportShell.openPage(Window(), path, console);
    }
}

void MainWindow::ShowAbout() {
    AboutBox().Run(app.instance, Window());
}

void MainWindow::OnCommand(WORD id) {
    switch (id) {
    case IDC_SCAN:
        LoadDatabases(false);
        break;
    case ID_TEST:
        LoadDatabases(true);
        break;
    case IDC_SEARCH_DATABASES:
        if (!loading) {
            FindAnsweringDrives();
            tree->Tree().ScanAllDrives();
        }
        break;
    case IDC_DELETE_DATABASES:
        DeleteSelectedDatabases();
        break;
    case ID_SHOW_CONSOLE:
        if (app.console) {
            app.console->ShowConsole();
        }
        break;
    case ID_ABOUT:
        ShowAbout();
        break;
    case ID_SAVE_REPORT:
        SaveReport();
        break;
    case IDC_HARDWARE_TOOL:
    case ID_HARDWARE_TOOL:
        HardwareToolWindow(app.instance, app.driveStrings, app.ConsoleOrNull(), app.driveDetails).Run(Window());
        break;
    case ID_MEDIA_INFO:
        MediaInfoDialog(app.instance, app.container, app.console.get()).Run(Window());
        break;
    default:
        break; // "File", "Options" and the commands of tools still to come do nothing
    }
}

void MainWindow::OnWindowPosChanged(const WINDOWPOS& position) {
    if ((position.flags & SWP_NOSIZE) != 0 || (position.cx == lastLaidOut.cx && position.cy == lastLaidOut.cy)) {
        return;
    }
    HWND window = Window();
    auto rectOf = [window](int id) {
        RECT r{};
        HWND control = GetDlgItem(window, id);
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return Rect{r.left, r.top, r.right, r.bottom};
    };
    const MainLayout now{rectOf(IDC_FILE_LIST), rectOf(IDC_FILE_STATUS), rectOf(IDC_PROJECT_LIST)};
    const MainLayout next = LayOutMainWindow(now, position.cx, position.cy, AtPresentDpi(verticalOverhead), dpi);
    auto place = [window](int id, const Rect& r) {
        MoveWindow(GetDlgItem(window, id), r.left, r.top, r.Width(), r.Height(), TRUE);
    };
    place(IDC_FILE_LIST, next.fileList);
    place(IDC_FILE_STATUS, next.statusLabel);
    place(IDC_PROJECT_LIST, next.projectList);
    lastLaidOut = SIZE{position.cx, position.cy};
}

int MainWindow::AtPresentDpi(int measured) const {
    // From the measurement each time, so that moving between displays back and forth does not drift.
    return RescaleForDpi(measured, measuredDpi, dpi);
}

void MainWindow::FitIntoWorkArea() {
    HWND window = Window();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT outer{};
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor) ||
        !GetWindowRect(window, &outer)) {
        return;
    }
    const RECT& work = monitor.rcWork;
    const int width = std::min<int>(outer.right - outer.left, work.right - work.left);
    const int height = std::min<int>(outer.bottom - outer.top, work.bottom - work.top);
    if (width == outer.right - outer.left && height == outer.bottom - outer.top) {
        return;
    }
    minWidth = std::min(minWidth, width);
    minHeight = std::min(minHeight, height);
    const int left = std::max<int>(work.left, std::min<int>(outer.left, work.right - width));
    const int top = std::max<int>(work.top, std::min<int>(outer.top, work.bottom - height));
    MoveWindow(window, left, top, width, height, TRUE);
}

void MainWindow::OnDpiChanged(int newDpi, const RECT& suggested) {
    if (newDpi <= 0 || newDpi == dpi) {
        return;
    }
    dpi = newDpi;
    if (files) {
        files->OnDpiChanged(newDpi);
    }
    if (projects) {
        projects->OnDpiChanged(newDpi);
    }
    if (tree) {
        tree->OnDpiChanged(newDpi);
    }
    SetWindowPos(Window(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(Window(), kLayOutAgain, 0, 0);
}

void MainWindow::PaintMinimised() {
    HWND window = Window();
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    const int cx = GetSystemMetrics(SM_CXICON);
    const int cy = GetSystemMetrics(SM_CYICON);
    DrawIcon(dc, (client.right - cx + 1) / 2, (client.bottom - cy + 1) / 2, icon);
    EndPaint(window, &paint);
}

INT_PTR MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            return TRUE; // Esc must not end the program; the close box does (WM_CLOSE)
        }
        OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        EndDialog(Window(), IDCANCEL);
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        LRESULT result = 0;
        if (header->idFrom == IDC_FILE_LIST && files) {
            result = files->OnNotify(*header);
        } else if (header->idFrom == IDC_PROJECT_LIST && projects) {
            result = projects->OnNotify(*header);
        }
        return SetMessageResult(result);
    }
    case WM_SIZING:
        return KeepMinimumSize(lParam, AtPresentDpi(minWidth), AtPresentDpi(minHeight));
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return FALSE; // where the platform rescales a dialog's controls and fonts itself, it does so now
    case kLayOutAgain: {
        RECT outer{};
        GetWindowRect(Window(), &outer);
        WINDOWPOS now{};
        now.cx = outer.right - outer.left;
        now.cy = outer.bottom - outer.top;
        lastLaidOut = SIZE{0, 0};
        OnWindowPosChanged(now);
        return TRUE;
    }
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lParam));
        return FALSE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_CLICKACTIVE) {
            PostMessageW(Window(), kFocusFileList, 0, 0);
        }
        return FALSE;
    case kFocusFileList:
        if (files) {
            SetFocus(files->Window());
        }
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == ID_ABOUT) {
            ShowAbout();
            return TRUE;
        }
        return FALSE;
    case WM_PAINT:
        if (IsIconic(Window())) {
            PaintMinimised();
            return TRUE;
        }
        return FALSE;
    case WM_QUERYDRAGICON:
        // One of the messages whose result a dialog procedure returns itself, not through DWLP_MSGRESULT.
        return reinterpret_cast<INT_PTR>(icon);
    default:
        return FALSE;
    }
}

} // namespace tw
