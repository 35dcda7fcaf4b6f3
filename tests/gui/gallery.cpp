// tw-gallery: shows one window of the program in a typical state, for screenshots.
// Usage: tw-gallery NAME READY_FILE
//   NAME: console, confirm-overwrite, confirm-delete, progress-transfer, main (the main window on a
//   generated drive after "Scan!", with a project selected), media-info (a generated OMF file with its
//   references expanded), hardware (Wine's drives and a drive without a medium), store (the store dialog
//   with a folder typed) or progress-copy (the progress dialog of a real copy run, while it copies the
//   second of four files).
// When the window is drawn, its screen rectangle ("left top width height") is written to READY_FILE; the
// program ends when READY_FILE.quit appears, or after a minute.
#include "app/application.h"
#include "app/main_window.h"
#include "fixtures/bento_writer.h"
#include "fixtures/drive_list.h"
#include "fixtures/sample_drive.h"
#include "gui_harness.h"
#include "operations/file_operations.h"
#include "platform/platform.h"
#include "resource.h"
#include "ui/win32/confirm_dialog.h"
#include "ui/win32/console_log.h"
#include "ui/win32/hardware_tool_window.h"
#include "ui/win32/media_info_dialog.h"
#include "ui/win32/progress_dialog.h"
#include "ui/win32/prompts.h"
#include "ui/win32/store_dialog.h"
#include "ui/win32/window_run_host.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace tw;

std::string readyFile;

void Announce(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    gui::PumpUntil([] { return false; }, 300); // let the desktop copy the drawing out
    RECT r{};
    GetWindowRect(window, &r);
    std::ofstream(readyFile) << r.left << ' ' << r.top << ' ' << (r.right - r.left) << ' ' << (r.bottom - r.top)
                             << '\n';
}

bool QuitRequested() {
    return std::ifstream(readyFile + ".quit").good();
}

void WaitForQuit() {
    gui::PumpUntil(QuitRequested, 60000);
}

void ShowConsole(HINSTANCE instance) {
    auto console = ConsoleLog::Create(instance, LoadIconW(instance, MAKEINTRESOURCEW(IDI_PROGRAM)));
    if (console == nullptr) {
        return;
    }
    console->AppendLine(L"------------<OPENING FILE>----------------");
    console->AppendLine(L"D:\\OMFI MediaFiles\\msmFMID.pmr");
    console->AppendLine(L"**UNREFERENCED FILES");
    console->AppendLine(L"------------------<OK!>-------------------");
    console->AppendLine(L"-----------------------TOC hex dump-----------------------");
    const uint8_t entry[24] = {0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x02, 0x57, 0x00, 0x01, 0x00, 0x81,
                               0x00, 0x00, 0x12, 0x34, 0x00, 0x00, 0x00, 0x0A, 'C',  'l',  'i',  'p'};
    console->HexDump(entry, 24, 0, true, false, 0);
    console->AppendLine(L"-----------------------end hex dump-------------------------");
    console->AppendLine(L"QRB::Copy::Overwriting");
    console->LogSystemError(5, L"QRB::Move(MoveFileEx)");
    console->AppendLine(L"QRB::Copy::Ok");
    SetWindowPos(console->Window(), nullptr, 40, 40, 820, 300, SWP_NOZORDER);
    console->ShowConsole();
    Announce(console->Window());
    WaitForQuit();
}

void ShowConfirm(bool overwrite) {
    ConfirmDialog confirm(nullptr);
    gui::WhenWindowAppears(
        [](HWND w) { return GetParent(w) == nullptr && gui::WindowText(w).rfind(L"QRB::Confirm", 0) == 0; },
        [](HWND dialog) {
            Announce(dialog);
            WaitForQuit();
            gui::ClickButton(dialog, IDCANCEL);
        });
    if (overwrite) {
        confirm.AskOverwrite(L"D:\\OMFI MediaFiles\\Project Harbour\\A01C03_SCENE12_TAKE4.V1.omf",
                             L"E:\\Archive\\Project Harbour\\A01C03_SCENE12_TAKE4.V1.omf");
    } else {
        confirm.AskDelete(L"D:\\Avid MediaFiles\\MXF\\1\\SCENE12_TAKE4.A1_5F3C2B11.mxf");
    }
}

void ShowProgress(HINSTANCE instance) {
    auto dialog = ProgressDialog::Open(instance);
    if (dialog == nullptr) {
        return;
    }
    dialog->SetCaption(L"Copying files....");
    dialog->AddFileBar();
    dialog->SetFileText(L"D:\\OMFI MediaFiles\\A01C03_SCENE12_TAKE4.V1.omf");
    dialog->SetProgress(0, 1000);
    gui::PumpUntil([] { return false; }, 400);
    dialog->SetProgress(420, 1000);
    dialog->SetFileProgress(640, 1000);
    gui::PumpUntil([] { return false; }, 200);
    Announce(dialog->Window());
    WaitForQuit();
}

void ShowMainWindow(HINSTANCE instance) {
    fixtures::ScratchDir drive(L"tw-gallery-drive");
    std::vector<std::wstring> indexes;
    if (!fixtures::WriteSampleDrive(drive.Path(), 240, 2026, 4096, indexes)) {
        return;
    }
    Application app(instance);
    app.driveStrings = fixtures::DriveList({drive.Path() + L"\\"});
    MainWindow main(app);
    gui::WhenWindowAppears(
        [](HWND w) { return gui::WindowText(w).rfind(L"Tarnwick for AVID", 0) == 0; },
        [&](HWND window) {
            SetWindowPos(window, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
            HWND projects = GetDlgItem(window, IDC_PROJECT_LIST);
            ListView_SetItemState(projects, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            HWND files = GetDlgItem(window, IDC_FILE_LIST);
            gui::PumpUntil([&] { return ListView_GetItemCount(files) > 0; }, 5000);
            ListView_SetItemState(files, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            gui::PumpUntil([] { return false; }, 900); // the status line follows the selection
            Announce(window);
            WaitForQuit();
            PostMessageW(window, WM_CLOSE, 0, 0);
        });
    main.Run();
}

// The first child of parent whose text starts with start; null when none does.
HTREEITEM TreeChild(HWND tree, HTREEITEM parent, const std::wstring& start) {
    for (HTREEITEM c = TreeView_GetChild(tree, parent); c != nullptr; c = TreeView_GetNextSibling(tree, c)) {
        wchar_t text[1024] = {};
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = c;
        item.pszText = text;
        item.cchTextMax = 1024;
        TreeView_GetItem(tree, &item);
        if (std::wstring(text).rfind(start, 0) == 0) {
            return c;
        }
    }
    return nullptr;
}

// Double-clicks the item as a user would and opens it.
void Unfold(HWND window, HWND tree, HTREEITEM item) {
    if (item == nullptr) {
        return;
    }
    TreeView_SelectItem(tree, item);
    NMHDR click{tree, IDC_MEDIA_TREE, static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(window, WM_NOTIFY, IDC_MEDIA_TREE, reinterpret_cast<LPARAM>(&click));
    TreeView_Expand(tree, item, TVE_EXPAND);
}

void ShowMediaInfo(HINSTANCE instance) {
    fixtures::ScratchDir dir(L"tw-gallery-info");
    fixtures::MediaDescription media;
    media.compUid = 0x060A2B340101A1B2ull;
    media.fileMobId = 0x0101010152F3C2B1ull;
    media.nameInBin = "A01C03 Scene 12 Take 4";
    media.mediaKind = 7;
    media.compressionCode = 142;
    const std::wstring path = dir / L"A01C03_SCENE12_TAKE4.V1.omf";
    if (!fixtures::WriteFile(path, fixtures::BuildOmfFile(media, std::string("Project Harbour"), 2048))) {
        return;
    }
    BentoContainer container;
    if (container.Open(path) == 0) {
        return;
    }
    MediaInfoDialog dialog(instance, container, nullptr);
    gui::WhenWindowAppears(gui::CaptionIs(L"Media Info -- Double click on bold items to expand"), [](HWND window) {
        SetWindowPos(window, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        HWND tree = GetDlgItem(window, IDC_MEDIA_TREE);
        HTREEITEM root = TreeView_GetRoot(tree);
        TreeView_Expand(tree, root, TVE_EXPAND);
        HTREEITEM dataIndex = TreeChild(tree, root, L"OMFI:HEAD:DataIndex");
        Unfold(window, tree, dataIndex);
        HTREEITEM data = TreeView_GetChild(tree, dataIndex);
        TreeView_Expand(tree, data, TVE_EXPAND);
        HTREEITEM mobId = TreeChild(tree, data, L"OMFI:DATA:MobID");
        Unfold(window, tree, mobId);
        HTREEITEM fileMob = TreeView_GetChild(tree, mobId);
        TreeView_Expand(tree, fileMob, TVE_EXPAND);
        Unfold(window, tree, TreeChild(tree, fileMob, L"OMFI:MOBJ:Descriptor"));
        Announce(window);
        WaitForQuit();
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    dialog.Run(nullptr);
}

void ShowHardwareTool(HINSTANCE instance) {
    // Wine's drives, and a floppy drive without a disk.
    std::vector<std::wstring> roots = ReadDriveList(platform::DriveStrings);
    roots.insert(roots.begin(), L"A:\\");
    HardwareToolWindow tool(instance, fixtures::DriveList(roots));
    gui::WhenWindowAppears(gui::CaptionIs(L"Hardware tool"), [](HWND window) {
        SetWindowPos(window, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Announce(window);
        WaitForQuit();
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    tool.Run(nullptr);
}

// Every record of a list, selected until a run deselects it.
class RecordList : public FileSelection {
public:
    [[nodiscard]] int FirstSelected() const override { return NextSelected(-1); }
    [[nodiscard]] int NextSelected(int item) const override {
        for (size_t i = static_cast<size_t>(item + 1); i < selected.size(); ++i) {
            if (selected[i]) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    [[nodiscard]] size_t SelectedCount() const override {
        return static_cast<size_t>(std::count(selected.begin(), selected.end(), true));
    }
    [[nodiscard]] MediaRecord* RecordOf(int item) const override { return records[static_cast<size_t>(item)].get(); }
    void Deselect(int item) override { selected[static_cast<size_t>(item)] = false; }
    void RefreshItem(int, const MediaRecord&) override {}
    [[nodiscard]] uint64_t SelectedSize() const override {
        uint64_t size = 0;
        for (size_t i = 0; i < records.size(); ++i) {
            size += selected[i] ? records[i]->size : 0;
        }
        return size;
    }
    void Add(const std::wstring& folder, const std::wstring& name, uint64_t size) {
        auto record = std::make_unique<MediaRecord>();
        record->SetPath(folder + L"\\");
        record->SetFileName(name);
        record->SetProjectName(std::wstring(L"Harbour Lights"));
        record->size = size;
        records.push_back(std::move(record));
        selected.push_back(true);
    }

    std::vector<std::unique_ptr<MediaRecord>> records;
    std::vector<bool> selected;
};

void ShowStore(HINSTANCE instance) {
    RecordList selection;
    FileSystem files;
    StoreDialog store(instance, nullptr, {selection, files, nullptr, nullptr});
    gui::WhenWindowAppears([](HWND w) { return gui::WindowText(w) == L"Store selected files..."; },
                           [](HWND dialog) {
                               SetDlgItemTextW(dialog, IDC_STORE_TARGET, L"E:\\Archive\\Harbour Lights");
                               Announce(dialog);
                               WaitForQuit();
                               gui::ClickButton(dialog, IDCANCEL);
                           });
    store.Run(nullptr);
}

// The prompts of the copy run: the target folder without the browser.
class IntoFolder : public WindowPrompts {
public:
    explicit IntoFolder(std::wstring folder) : WindowPrompts(nullptr), folder(std::move(folder)) {}
    bool ChooseFolder(std::wstring& chosen) override {
        chosen = folder;
        return true;
    }

private:
    std::wstring folder;
};

// The files of the copy run: the second copy waits, half done, until the screenshot is taken.
class PausingFiles : public FileSystem {
public:
    uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                  const platform::CopyProgressRoutine& routine, platform::CancelFlag* cancel) override {
        if (++copies == 2) {
            platform::FileIdentity identity;
            if (routine && platform::QueryFileIdentity(source, identity)) {
                routine(identity.size * 45 / 100, identity.size);
            }
            if (HWND progress = FindWindowW(nullptr, L"Copying files....")) {
                Announce(progress);
                WaitForQuit();
            }
        }
        return FileSystem::CopyFileWithProgress(source, target, routine, cancel);
    }

private:
    int copies = 0;
};

void ShowProgressOfACopy(HINSTANCE instance) {
    fixtures::ScratchDir drive(L"tw-gallery-copy");
    const std::wstring media = drive.Path() + L"\\OMFI MediaFiles";
    const std::wstring target = drive.Path() + L"\\Archive";
    if (!fixtures::MakeFolders(media) || !fixtures::MakeFolders(target)) {
        return;
    }
    RecordList selection;
    const wchar_t* names[] = {L"A01C03_SCENE12_TAKE1.V1.omf", L"A01C03_SCENE12_TAKE4.V1.omf",
                              L"A01C04_SCENE13_TAKE2.V1.omf", L"A01C04_SCENE13_TAKE2.A1.omf"};
    for (const wchar_t* name : names) {
        const std::string bytes(2 * 1024 * 1024, 'm');
        fixtures::WriteFile(media + L"\\" + name, bytes);
        selection.Add(media, name, bytes.size());
    }
    IntoFolder prompts(target);
    WindowRunHost host(instance, nullptr, {});
    PausingFiles files;
    FileOperations({selection, prompts, host, files, nullptr, nullptr}).CopyFiles();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: tw-gallery console|confirm-overwrite|confirm-delete|progress-transfer|main|media-info|"
                     "hardware|store|progress-copy READY_FILE\n");
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    readyFile = argv[2];
    const std::string name = argv[1];
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (name == "console") {
        ShowConsole(instance);
    } else if (name == "confirm-overwrite" || name == "confirm-delete") {
        ShowConfirm(name == "confirm-overwrite");
    } else if (name == "progress-transfer") {
        ShowProgress(instance);
    } else if (name == "main") {
        ShowMainWindow(instance);
    } else if (name == "media-info") {
        ShowMediaInfo(instance);
    } else if (name == "hardware") {
        ShowHardwareTool(instance);
    } else if (name == "store") {
        ShowStore(instance);
    } else if (name == "progress-copy") {
        ShowProgressOfACopy(instance);
    } else {
        std::fprintf(stderr, "tw-gallery: unknown window '%s'\n", name.c_str());
        return 1;
    }
    return 0;
}
