// The file operations as a user runs them in the main window, on a small generated drive of their own: what only
// the windows show (the folder browser, the questions, the busy state, the rows' images, the store dialog and the
// database tree). The runs' logic is tested without windows in operations_test.
#include "app/application.h"
#include "app/main_window.h"
#include "fixtures/drive_list.h"
#include "fixtures/media_folder_writer.h"
#include "gui_harness.h"
#include "main_window_run.h"
#include "platform/platform.h"
#include "resource.h"
#include "ui/banner.h"
#include "ui/file_list_model.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tw::gui {
namespace {

// Three media files of one project in each of the drive's databases.
std::vector<fixtures::MediaFile> ThreeFiles(uint32_t series) {
    std::vector<fixtures::MediaFile> files;
    for (uint32_t i = 1; i <= 3; ++i) {
        fixtures::MediaFile file;
        file.name = "A0" + std::to_string(i) + "C0" + std::to_string(series) + ".V1.omf";
        file.project = i == 2 ? "Night Shoot" : "Harbour";
        file.media.compUid = (uint64_t{series} << 32) | (0x100 + i);
        file.media.fileMobId = (uint64_t{series} << 32) | (0x200 + i);
        file.media.nameInBin = "Take " + std::to_string(i);
        file.media.mediaKind = 7;
        file.media.compressionCode = 0x4C;
        file.payload = 2000 * i;
        files.push_back(file);
    }
    return files;
}

// A window of this thread with this caption, owned or not (the questions of a run belong to the main window).
WindowMatch Titled(const std::wstring& caption) {
    return [caption](HWND window) { return WindowText(window) == caption; };
}

class FileOperationsGuiTest : public testing::Test {
protected:
    void SetUp() override {
        media = drive.Path() + L"\\OMFI MediaFiles";
        for (uint32_t series = 1; series <= databaseCount; ++series) {
            const std::wstring folder = series == 1 ? media : media + L"\\Bin" + std::to_wstring(series);
            fixtures::MediaFolder spec;
            spec.files = ThreeFiles(series);
            ASSERT_TRUE(fixtures::WriteMediaFolder(folder, spec));
            folders.push_back(folder);
        }
        target = drive.Path() + L"\\Target";
        ASSERT_TRUE(fixtures::MakeFolders(target));
    }

    // Runs the main window on the drive; scenario runs inside its message loop after "Scan!".
    void Run(const std::function<void(HWND)>& scenario) {
        RunMainWindowOn({drive.Path() + L"\\"}, [&](HWND window, Application& running, MainWindow& shown) {
            app = &running;
            mainWindow = &shown;
            SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
            scenario(window);
        });
        app = nullptr;
        mainWindow = nullptr;
    }

    HWND Files(HWND window) const { return GetDlgItem(window, IDC_FILE_LIST); }

    // Shows every project and selects the rows of the given files (all rows when names is empty).
    void ShowAndSelect(HWND window, const std::vector<std::wstring>& names = {}) {
        HWND projects = GetDlgItem(window, IDC_PROJECT_LIST);
        for (int row = 0; row < ListView_GetItemCount(projects); ++row) {
            ListView_SetItemState(projects, row, LVIS_SELECTED, LVIS_SELECTED);
        }
        HWND files = Files(window);
        const int expected = static_cast<int>(app->catalog.IndexedRecordCount());
        ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(files) == expected; }, 10000));
        // Sorted by name, the rows stand in the order of the files' names.
        NMLISTVIEW click{};
        click.hdr.hwndFrom = files;
        click.hdr.idFrom = IDC_FILE_LIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = static_cast<int>(FileColumn::name);
        SendMessageW(window, WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&click));
        ListView_SetItemState(files, -1, 0, LVIS_SELECTED);
        for (int row = 0; row < ListView_GetItemCount(files); ++row) {
            const std::wstring name = Name(files, row);
            if (names.empty() || std::find(names.begin(), names.end(), name) != names.end()) {
                ListView_SetItemState(files, row, LVIS_SELECTED, LVIS_SELECTED);
            }
        }
    }

    static std::wstring Name(HWND files, int row) {
        wchar_t text[512] = {};
        ListView_GetItemText(files, row, 0, text, 512);
        return text;
    }
    // The selected rows' names in list order, the order a run takes them in.
    static std::vector<std::wstring> SelectedInListOrder(HWND files) {
        std::vector<std::wstring> names;
        for (int row = ListView_GetNextItem(files, -1, LVNI_SELECTED); row >= 0;
             row = ListView_GetNextItem(files, row, LVNI_SELECTED)) {
            names.push_back(Name(files, row));
        }
        return names;
    }
    std::vector<std::wstring> SelectedNames(HWND files) const {
        std::vector<std::wstring> names;
        for (int row = ListView_GetNextItem(files, -1, LVNI_SELECTED); row >= 0;
             row = ListView_GetNextItem(files, row, LVNI_SELECTED)) {
            names.push_back(Name(files, row));
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static int Image(HWND files, int row) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        ListView_GetItem(files, &item);
        return item.iImage;
    }

    // The console lines written since the last call.
    std::vector<std::wstring> NewConsoleLines() {
        std::vector<std::wstring> lines = ListBoxLines(GetDlgItem(app->console->Window(), IDC_CONSOLE_LINES));
        std::vector<std::wstring> fresh(lines.begin() + static_cast<std::ptrdiff_t>(std::min(seen, lines.size())),
                                        lines.end());
        seen = lines.size();
        return fresh;
    }

    // The shell's folder browser: picks folder and presses OK once its tree shows the folder chosen.
    static void ChooseInBrowser(const std::wstring& folder) {
        WhenWindowAppears(ShowsText(L"Select folder"), [folder](HWND browser) {
            HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
            const std::wstring last = folder.substr(folder.find_last_of(L'\\') + 1);
            const bool chosen = PumpUntil(
                [&] {
                    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
                    wchar_t text[MAX_PATH] = {};
                    TVITEMW item{};
                    item.mask = TVIF_TEXT;
                    item.hItem = TreeView_GetSelection(tree);
                    item.pszText = text;
                    item.cchTextMax = MAX_PATH;
                    return item.hItem != nullptr && TreeView_GetItem(tree, &item) && last == text;
                },
                5000);
            EXPECT_TRUE(chosen) << "the folder browser did not take " << platform::WideToUtf8(folder);
            ClickButton(browser, chosen ? IDOK : IDCANCEL);
        });
    }

    // Presses a function key in the file list.
    static void PressKey(HWND window, WORD key) {
        HWND files = GetDlgItem(window, IDC_FILE_LIST);
        SetFocus(files);
        SendMessageW(files, WM_KEYDOWN, key, 0);
    }

    // The sum of the sizes of the selected rows' files, as the catalog holds them.
    uint64_t SizeOfSelectedRows(HWND files) const {
        uint64_t sum = 0;
        for (int row = ListView_GetNextItem(files, -1, LVNI_SELECTED); row >= 0;
             row = ListView_GetNextItem(files, row, LVNI_SELECTED)) {
            LVITEMW item{};
            item.mask = LVIF_PARAM;
            item.iItem = row;
            ListView_GetItem(files, &item);
            sum += app->catalog.RecordAt(static_cast<uint32_t>(item.lParam))->size;
        }
        return sum;
    }

    // Ctrl+click on the row with this text, through the list's message queue as the mouse sends it.
    static void ControlClickRow(HWND list, const std::wstring& text) {
        int row = 0;
        while (row < ListView_GetItemCount(list) && Name(list, row) != text) {
            ++row;
        }
        ASSERT_LT(row, ListView_GetItemCount(list)) << platform::WideToUtf8(text);
        RECT r{};
        ListView_GetItemRect(list, row, &r, LVIR_LABEL);
        POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        POINT screen = at;
        ClientToScreen(list, &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(at.x, at.y));
        PostMessageW(list, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(at.x, at.y));
    }

    std::wstring Source(const std::wstring& name, size_t database = 0) const {
        return folders[database] + L"\\" + name;
    }

    uint32_t databaseCount = 1;
    fixtures::ScratchDir drive{L"tw-gui-ops"};
    std::wstring media;
    std::wstring target;
    std::vector<std::wstring> folders;
    Application* app = nullptr;
    MainWindow* mainWindow = nullptr;
    size_t seen = 0;
};

const std::wstring kA = L"A01C01.V1.omf";
const std::wstring kB = L"A02C01.V1.omf";
const std::wstring kC = L"A03C01.V1.omf";

TEST_F(FileOperationsGuiTest, CopyAnswersTheOverwriteQuestionWithYesToAllSkipAllAndCancel) {
    ASSERT_TRUE(fixtures::WriteFile(target + L"\\" + kB, std::string("older take")));
    Run([&](HWND window) {
        HWND files = Files(window);
        NewConsoleLines();

        // Yes to All: the question shows both paths; the main window is busy meanwhile.
        ShowAndSelect(window);
        std::vector<std::wstring> order = SelectedInListOrder(files);
        ASSERT_EQ(order, (std::vector<std::wstring>{kA, kB, kC}));
        ChooseInBrowser(target);
        bool busyWhileAsked = false;
        bool progressShown = false;
        WhenWindowAppears(Titled(L"QRB::Confirm file Overwrite"), [&](HWND dialog) {
            EXPECT_EQ(ControlText(dialog, IDC_CONFIRM_FIRST_PATH), Source(kB));
            EXPECT_EQ(ControlText(dialog, IDC_CONFIRM_SECOND_PATH), target + L"\\" + kB);
            busyWhileAsked = !IsWindowEnabled(files) && !IsWindowEnabled(GetDlgItem(window, IDC_PROJECT_LIST)) &&
                             !IsWindowEnabled(GetDlgItem(window, IDC_SCAN)) &&
                             !IsWindowEnabled(GetDlgItem(window, IDC_SEARCH_DATABASES)) &&
                             IsWindowEnabled(GetDlgItem(window, IDC_DATABASE_TREE)) &&
                             IsWindowEnabled(GetDlgItem(window, IDC_DELETE_DATABASES));
            // The progress window shows the run, and "Test" on the menu cannot reload the catalog under it.
            progressShown = FindWindowW(nullptr, L"Copying files....") != nullptr;
            SendMessageW(window, WM_COMMAND, ID_TEST, 0);
            ClickButton(dialog, IDC_CONFIRM_YES_TO_ALL);
        });
        const uint32_t records = app->catalog.IndexedRecordCount();
        PressKey(window, VK_F5);
        EXPECT_TRUE(AllStepsRan());
        EXPECT_TRUE(busyWhileAsked);
        EXPECT_TRUE(progressShown);
        EXPECT_EQ(app->catalog.IndexedRecordCount(), records);
        EXPECT_EQ(ListView_GetItemCount(files), static_cast<int>(records));
        EXPECT_TRUE(IsWindowEnabled(files));
        std::vector<std::wstring> expected = {L"Copying files to:", target};
        for (const std::wstring& name : order) {
            expected.push_back(Source(name));
            if (name == kB) {
                expected.push_back(L"QRB::Copy::Overwriting");
            }
        }
        expected.push_back(L"QRB::Copy::Ok");
        EXPECT_EQ(NewConsoleLines(), expected);
        EXPECT_EQ(ListView_GetSelectedCount(files), 0u);

        // Skip All: one question, every conflict skipped.
        ShowAndSelect(window);
        ChooseInBrowser(target);
        int questions = 0;
        WhenWindowAppears(Titled(L"QRB::Confirm file Overwrite"), [&](HWND dialog) {
            ++questions;
            ClickButton(dialog, IDC_CONFIRM_SKIP_ALL);
        });
        PressKey(window, VK_F5);
        EXPECT_TRUE(AllStepsRan());
        EXPECT_EQ(questions, 1);
        expected = {L"Copying files to:", target};
        for (const std::wstring& name : order) {
            expected.push_back(Source(name));
            expected.push_back(L"QRB::Copy::Skipping");
        }
        expected.push_back(L"QRB::Copy::Ok");
        EXPECT_EQ(NewConsoleLines(), expected);
        EXPECT_EQ(ListView_GetSelectedCount(files), 0u);

        // Cancel: the run ends at the question; that file and the rest stay selected.
        ShowAndSelect(window, {kA, kC});
        order = SelectedInListOrder(files);
        ChooseInBrowser(target);
        WhenWindowAppears(Titled(L"QRB::Confirm file Overwrite"), [](HWND dialog) { ClickButton(dialog, IDCANCEL); });
        PressKey(window, VK_F5);
        EXPECT_TRUE(AllStepsRan());
        EXPECT_EQ(NewConsoleLines(),
                  (std::vector<std::wstring>{L"Copying files to:", target, Source(order[0]), L"QRB::Copy::Ok"}));
        EXPECT_EQ(SelectedNames(files), (std::vector<std::wstring>{kA, kC}));
    });
}

// Rows leave the selection when their project is hidden and when a move or a delete has done them; each row's
// size leaves the selected size once, whichever way the list control reports it.
TEST_F(FileOperationsGuiTest, RowsLeavingTheSelectionTakeTheirSizeOutOnce) {
    Run([&](HWND window) {
        HWND files = Files(window);
        HWND projects = GetDlgItem(window, IDC_PROJECT_LIST);
        auto selectedSize = [&] { return mainWindow->Files()->SelectedSize(); };
        ShowAndSelect(window, {kA});
        SetForegroundWindow(window);
        SetFocus(files);
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == files; }, 2000));
        TypeControlKey('A');
        ASSERT_TRUE(PumpUntil([&] { return ListView_GetSelectedCount(files) == 3u; }));
        EXPECT_EQ(selectedSize(), SizeOfSelectedRows(files));

        // Deselecting a project takes its selected row out of the list.
        ControlClickRow(projects, L"Night Shoot");
        ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(files) == 2; }, 5000));
        EXPECT_EQ(SelectedNames(files), (std::vector<std::wstring>{kA, kC}));
        EXPECT_EQ(selectedSize(), SizeOfSelectedRows(files));

        // A move of one of them.
        ControlClickRow(files, kC);
        ASSERT_TRUE(PumpUntil([&] { return ListView_GetSelectedCount(files) == 1u; }));
        EXPECT_EQ(selectedSize(), SizeOfSelectedRows(files));
        ChooseInBrowser(target);
        TypeKey(VK_F6);
        ASSERT_TRUE(PumpUntil([&] { return AllStepsRan() && ListView_GetSelectedCount(files) == 0u; }, 10000));
        EXPECT_TRUE(platform::PathExists(target + L"\\" + kA));
        EXPECT_EQ(selectedSize(), 0u);

        // A delete of both rows, the moved one passed over.
        TypeControlKey('A');
        ASSERT_TRUE(PumpUntil([&] { return ListView_GetSelectedCount(files) == 2u; }));
        EXPECT_EQ(selectedSize(), SizeOfSelectedRows(files));
        WhenWindowAppears(Titled(L"QRB::Confirm file delete"),
                          [](HWND dialog) { ClickButton(dialog, IDC_CONFIRM_YES_TO_ALL); });
        TypeKey(VK_F8);
        ASSERT_TRUE(PumpUntil([&] { return AllStepsRan() && ListView_GetSelectedCount(files) == 0u; }, 10000));
        EXPECT_FALSE(platform::PathExists(Source(kC)));
        EXPECT_EQ(selectedSize(), 0u);
    });
}

TEST_F(FileOperationsGuiTest, MoveWithinTheDriveShowsTheMovedRowsAsMissing) {
    Run([&](HWND window) {
        HWND files = Files(window);
        ShowAndSelect(window, {kA, kC});
        ChooseInBrowser(target);
        PressKey(window, VK_F6);
        EXPECT_TRUE(AllStepsRan());
        for (int row = 0; row < ListView_GetItemCount(files); ++row) {
            const std::wstring name = Name(files, row);
            const bool moved = name == kA || name == kC;
            EXPECT_EQ(Image(files, row) == static_cast<int>(RowImage::missing), moved) << platform::WideToUtf8(name);
            EXPECT_EQ(platform::PathExists(target + L"\\" + name), moved);
            EXPECT_EQ(platform::PathExists(Source(name)), !moved);
        }
        EXPECT_EQ(ListView_GetSelectedCount(files), 0u);

        // A double click on a moved file's row cannot open it: the console says why.
        NewConsoleLines();
        int row = 0;
        while (Name(files, row) != kA) {
            ++row;
        }
        RECT r{};
        ListView_GetItemRect(files, row, &r, LVIR_LABEL);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            PostMessageW(files, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
        }
        HWND console = GetDlgItem(app->console->Window(), IDC_CONSOLE_LINES);
        ASSERT_TRUE(PumpUntil([&] { return ListBoxLines(console).size() > seen; }));
        EXPECT_EQ(NewConsoleLines(), std::vector<std::wstring>{L"QRB::Open(ShellExecute) : error 2: " +
                                                               platform::SystemErrorText(ERROR_FILE_NOT_FOUND)});
    });
}

TEST_F(FileOperationsGuiTest, DeleteOfAReadOnlyFileAsksTwice) {
    ASSERT_EQ(platform::WriteAttributes(Source(kB), platform::kAttributeReadOnly), 0u);
    Run([&](HWND window) {
        NewConsoleLines();
        ShowAndSelect(window, {kB});
        std::wstring firstQuestion;
        std::wstring secondQuestion;
        bool secondRowHidden = false;
        WhenWindowAppears(Titled(L"QRB::Confirm file delete"), [&](HWND dialog) {
            firstQuestion = ControlText(dialog, IDC_CONFIRM_FIRST_PATH);
            secondRowHidden = !IsWindowVisible(GetDlgItem(dialog, IDC_CONFIRM_SECOND_PATH));
            ClickButton(dialog, IDC_CONFIRM_YES);
        });
        WhenWindowAppears(Titled(L"QRB::Confirm file delete"), [&](HWND dialog) {
            secondQuestion = ControlText(dialog, IDC_CONFIRM_FIRST_PATH);
            ClickButton(dialog, IDC_CONFIRM_YES);
        });
        PressKey(window, VK_F8);
        EXPECT_TRUE(AllStepsRan());
        EXPECT_EQ(firstQuestion, Source(kB));
        EXPECT_TRUE(secondRowHidden);
        EXPECT_EQ(secondQuestion, Source(kB) + L" \nFILE_ATTRIBUTE_READONLY");
        EXPECT_EQ(NewConsoleLines(),
                  (std::vector<std::wstring>{L"Deleting files...", L"QRB::Delete::Read only file::" + Source(kB),
                                             L"QRB::Delete::Ok"}));
        EXPECT_FALSE(platform::PathExists(Source(kB)));
    });
}

TEST_F(FileOperationsGuiTest, StoreDialogChecksItsFolderAndStoresByProject) {
    Run([&](HWND window) {
        HWND files = Files(window);
        NewConsoleLines();
        ShowAndSelect(window);
        const std::vector<std::wstring> order = SelectedInListOrder(files);
        const std::wstring fresh = target + L"\\Fresh\\Reel 1";
        std::wstring tooLong = target + L"\\";
        tooLong.resize(3501, L'x');
        HWND storeWindow = nullptr;
        WhenWindowAppears(Titled(L"Store selected files..."), [&](HWND store) {
            storeWindow = store;
            EXPECT_EQ(ControlText(store, IDC_STORE_TARGET), L"");
            EXPECT_EQ(IsDlgButtonChecked(store, IDC_STORE_MOVE), static_cast<UINT>(BST_UNCHECKED));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(store, IDC_STORE_BY_FORMAT)));
            EXPECT_EQ(GetFocus(), GetDlgItem(store, IDC_STORE_TO_FOLDER));

            // A relative path is answered in the edit box itself.
            SetDlgItemTextW(store, IDC_STORE_TARGET, L"Store");
            ClickButton(store, IDC_STORE_TO_FOLDER);
            EXPECT_EQ(ControlText(store, IDC_STORE_TARGET), L"Please enter absolute path!");

            // 3,501 characters: a message, and the dialog stays.
            SetDlgItemTextW(store, IDC_STORE_TARGET, tooLong.c_str());
            bool tooLongShown = false;
            WhenWindowAppears(ShowsText(L"The path is too long for store...."), [&](HWND box) {
                tooLongShown = WindowText(box) == L"QRB::Store";
                ClickButton(box, IDOK);
            });
            ClickButton(store, IDC_STORE_TO_FOLDER);
            EXPECT_TRUE(tooLongShown);

            // A new folder: No leaves the dialog open and makes nothing; Yes makes it and stores by project.
            SetDlgItemTextW(store, IDC_STORE_TARGET, (fresh + L"\\").c_str());
            const std::wstring question = L"Target folder does not exist\nwould you like to create it?";
            WhenWindowAppears(ShowsText(question), [](HWND box) { ClickButton(box, IDNO); });
            ClickButton(store, IDC_STORE_BY_PROJECT);
            EXPECT_TRUE(IsWindow(store));
            EXPECT_FALSE(platform::PathExists(fresh));
            WhenWindowAppears(ShowsText(question), [](HWND box) { ClickButton(box, IDYES); });
            ClickButton(store, IDC_STORE_BY_PROJECT);
            if (IsWindowVisible(store)) {
                ADD_FAILURE() << "the dialog stayed open after the run";
                ClickButton(store, IDCANCEL);
            }
        });
        PressKey(window, VK_F4);
        EXPECT_TRUE(AllStepsRan());
        EXPECT_FALSE(IsWindow(storeWindow));
        std::vector<std::wstring> expected = {L"(Copy)Storing files to:", fresh};
        for (const std::wstring& name : order) {
            expected.push_back(Source(name));
        }
        expected.push_back(L"QRB::Store::Ok");
        EXPECT_EQ(NewConsoleLines(), expected);
        EXPECT_TRUE(platform::PathExists(fresh + L"\\Harbour\\" + kA));
        EXPECT_TRUE(platform::PathExists(fresh + L"\\Night Shoot\\" + kB));
        EXPECT_TRUE(platform::PathExists(fresh + L"\\Harbour\\" + kC));
        EXPECT_TRUE(platform::PathExists(Source(kA))); // copied, not moved
        EXPECT_EQ(ListView_GetSelectedCount(files), 0u);
    });
}

// A drive of three databases.
class DatabaseDeletionGuiTest : public FileOperationsGuiTest {
protected:
    DatabaseDeletionGuiTest() { databaseCount = 3; }
};

TEST_F(DatabaseDeletionGuiTest, DeleteSelectedDatabasesDeletesTheCheckedOnesAfterYes) {
    Run([&](HWND window) {
        HWND tree = GetDlgItem(window, IDC_DATABASE_TREE);
        HTREEITEM root = TreeView_GetRoot(tree);
        ASSERT_EQ(TreeView_GetCount(tree), 4u);
        // The last database stays unchecked.
        HTREEITEM last = TreeView_GetChild(tree, root);
        while (TreeView_GetNextSibling(tree, last) != nullptr) {
            last = TreeView_GetNextSibling(tree, last);
        }
        TreeView_SetItemState(tree, last, INDEXTOSTATEIMAGEMASK(1), TVIS_STATEIMAGEMASK);
        const std::vector<std::wstring> checked = [&] {
            std::vector<std::wstring> paths;
            for (const std::wstring& folder : folders) {
                paths.push_back(folder + L"\\msmFMID.pmr");
            }
            std::sort(paths.begin(), paths.end(),
                      [](const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) < 0; });
            return paths;
        }();
        NewConsoleLines();

        WhenWindowAppears(
            ShowsText(L"All selected media databases and indexes will be deleted\nThis action can not be undone!!!"),
            [](HWND box) {
                EXPECT_EQ(WindowText(box), L"Are You sure?");
                ClickButton(box, IDNO);
            });
        SendMessageW(window, WM_COMMAND, IDC_DELETE_DATABASES, 0);
        EXPECT_TRUE(NewConsoleLines().empty());
        EXPECT_EQ(TreeView_GetCount(tree), 4u);

        WhenWindowAppears(
            ShowsText(L"All selected media databases and indexes will be deleted\nThis action can not be undone!!!"),
            [](HWND box) { ClickButton(box, IDYES); });
        SendMessageW(window, WM_COMMAND, IDC_DELETE_DATABASES, 0);
        EXPECT_TRUE(AllStepsRan());
        std::vector<std::wstring> expected;
        for (size_t i = 0; i < 2; ++i) {
            expected.push_back(L"QRB::Deleted::" + checked[i]);
            expected.push_back(L"QRB::Deleted::" + platform::RemoveFileSpec(checked[i]) + L"\\msmMMOB.mdb");
        }
        EXPECT_EQ(NewConsoleLines(), expected);
        EXPECT_EQ(TreeView_GetCount(tree), 2u);
        EXPECT_TRUE(platform::PathExists(checked[2]));
        EXPECT_FALSE(platform::PathExists(checked[0]));
        for (uint32_t series = 1; series <= databaseCount; ++series) { // media files stay
            EXPECT_TRUE(platform::PathExists(folders[series - 1] + L"\\A01C0" + std::to_wstring(series) + L".V1.omf"));
        }
    });
}

} // namespace
} // namespace tw::gui
