// The main window end to end on a generated media drive: start-up scan, "Scan!", "Test", the project and
// file lists, sorting, column toggles and resizing.
#include "app/application.h"
#include "app/main_window.h"
#include "fixtures/drive_list.h"
#include "fixtures/sample_drive.h"
#include "gui_harness.h"
#include "main_window_run.h"
#include "platform/platform.h"
#include "resource.h"
#include "ui/banner.h"
#include "ui/file_list_model.h"
#include "ui/project_list_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace tw::gui {
namespace {

// The sample drive of these tests: entries, seed and payload.
constexpr size_t kEntries = 120;
constexpr uint32_t kSeed = 7;
constexpr size_t kPayload = 256;

class MainWindowGuiTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        drive = std::make_unique<fixtures::ScratchDir>(L"tw-gui-drive");
        ASSERT_TRUE(fixtures::WriteSampleDrive(drive->Path(), kEntries, kSeed, kPayload, indexes));
    }
    static void TearDownTestSuite() { drive.reset(); }

    // Runs the main window modally on the sample drive; scenario runs inside its message loop.
    void Run(const std::function<void(HWND)>& scenario) {
        RunMainWindowOn({drive->Path() + L"\\"}, [&](HWND window, Application& running, MainWindow& shown) {
            app = &running;
            main = &shown;
            scenario(window);
        });
    }

    HWND Control(HWND window, int id) const { return GetDlgItem(window, id); }

    std::vector<std::pair<std::wstring, bool>> TreeItems(HWND tree) const {
        std::vector<std::pair<std::wstring, bool>> items;
        HTREEITEM root = TreeView_GetRoot(tree);
        for (HTREEITEM child = TreeView_GetChild(tree, root); child != nullptr;
             child = TreeView_GetNextSibling(tree, child)) {
            wchar_t text[1024] = {};
            TVITEMW item{};
            item.mask = TVIF_TEXT;
            item.hItem = child;
            item.pszText = text;
            item.cchTextMax = 1024;
            TreeView_GetItem(tree, &item);
            items.emplace_back(text, TreeView_GetCheckState(tree, child) == 1);
        }
        return items;
    }

    void SelectProject(HWND projects, int row, bool selected) {
        ListView_SetItemState(projects, row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }

    int Rows(HWND list) const { return ListView_GetItemCount(list); }

    MediaRecord* RecordOfRow(HWND list, int row) const {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        ListView_GetItem(list, &item);
        return app->catalog.RecordAt(static_cast<uint32_t>(item.lParam));
    }

    void ClickColumn(HWND window, int column) {
        NMLISTVIEW click{};
        click.hdr.hwndFrom = Control(window, IDC_FILE_LIST);
        click.hdr.idFrom = IDC_FILE_LIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageW(window, WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&click));
    }

    // Selects every project and waits until the file list holds all of their files.
    void ShowAllProjects(HWND window) {
        HWND projects = Control(window, IDC_PROJECT_LIST);
        for (int row = 0; row < Rows(projects); ++row) {
            SelectProject(projects, row, true);
        }
        const int expected = static_cast<int>(app->catalog.IndexedRecordCount());
        ASSERT_TRUE(PumpUntil([&] { return Rows(Control(window, IDC_FILE_LIST)) == expected; }, 10000));
    }

    // The kind every media file of the drive holds in its own file, by full path: an OMF file's container
    // names it; the other files are no containers, so their kind stays unknown (0).
    static std::map<std::wstring, int32_t> OwnKinds() {
        std::map<std::wstring, int32_t> kinds;
        for (const fixtures::SampleDatabase& db : fixtures::MakeSampleDrive(kEntries, kSeed, kPayload)) {
            const std::wstring folder = fixtures::BelowRoot(drive->Path(), db.folder);
            for (const fixtures::MediaFile& f : db.content.files) {
                const std::wstring name = fixtures::DiskName(f.name);
                const bool omf = name.size() > 4 && lstrcmpiW(name.c_str() + name.size() - 4, L".omf") == 0;
                kinds[platform::JoinPath(folder, name)] = omf ? f.media.mediaKind.value_or(0) : 0;
            }
        }
        return kinds;
    }

    // The kind the record's own file holds.
    static int32_t OwnKind(const std::map<std::wstring, int32_t>& kinds, const MediaRecord& record) {
        std::wstring path;
        EXPECT_GT(record.GetFullPath(path, 4096), 0u);
        const auto found = kinds.find(path);
        EXPECT_NE(found, kinds.end()) << platform::WideToUtf8(path);
        return found != kinds.end() ? found->second : -1;
    }

    std::wstring Cell(HWND list, int row, FileColumn column) const {
        wchar_t text[512] = {};
        ListView_GetItemText(list, row, static_cast<int>(column), text, 512);
        return text;
    }

    // Forgets what the file list knows of every file's kind and name in bin, in the records and in the cells.
    void ForgetMediaInfo(HWND files) {
        for (int row = 0; row < Rows(files); ++row) {
            MediaRecord* record = RecordOfRow(files, row);
            record->mediaKind = 0;
            record->SetNameInBin(std::nullopt);
            for (FileColumn column : {FileColumn::type, FileColumn::nameInBin}) {
                ListView_SetItemText(files, row, static_cast<int>(column), const_cast<wchar_t*>(L""));
            }
        }
    }

    bool Selected(HWND list, int row) const { return ListView_GetItemState(list, row, LVIS_SELECTED) != 0; }

    static std::unique_ptr<fixtures::ScratchDir> drive;
    static std::vector<std::wstring> indexes;
    Application* app = nullptr;
    MainWindow* main = nullptr;
};

std::unique_ptr<fixtures::ScratchDir> MainWindowGuiTest::drive;
std::vector<std::wstring> MainWindowGuiTest::indexes;

TEST_F(MainWindowGuiTest, StartUpScanListsTheDatabasesCheckedAndSorted) {
    Run([&](HWND window) {
        const auto items = TreeItems(Control(window, IDC_DATABASE_TREE));
        std::vector<std::wstring> expected = indexes;
        std::sort(expected.begin(), expected.end(),
                  [](const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) < 0; });
        ASSERT_EQ(items.size(), expected.size());
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].first, expected[i]);
            EXPECT_TRUE(items[i].second) << i;
        }
        EXPECT_EQ(WindowText(window), ProgramBanner());
        EXPECT_NE(ControlText(window, IDC_USED_KEYS).find(L"F5 - Copy"), std::wstring::npos);
        EXPECT_TRUE(app->console != nullptr);
    });
}

// A network drive whose server is away does not hold the start: the scan searches the drives that answered and
// the console names the silent one.
TEST_F(MainWindowGuiTest, StartUpScanLeavesOutASilentNetworkDrive) {
    const std::wstring silent = L"N:\\";
    const ULONGLONG start = GetTickCount64();
    ULONGLONG shownAfter = 0;
    RunMainWindowOn(
        {silent, drive->Path() + L"\\"},
        [&](HWND window, Application& running, MainWindow&) {
            shownAfter = GetTickCount64() - start;
            EXPECT_EQ(TreeItems(Control(window, IDC_DATABASE_TREE)).size(), indexes.size());
            const std::vector<std::wstring> lines =
                ListBoxLines(GetDlgItem(running.console->Window(), IDC_CONSOLE_LINES));
            EXPECT_EQ(std::count(lines.begin(), lines.end(), DriveNotAnsweringLine(silent)), 1);
        },
        [&](Application& app) {
            app.driveReachable.ask = [silent](const std::wstring& root) {
                if (root == silent) {
                    Sleep(10000);
                }
                return true;
            };
            app.driveReachable.bounded = [silent](const std::wstring& root) { return root == silent; };
            app.driveReachable.limitMs = 300;
        });
    EXPECT_LT(shownAfter, 8000u);
}

TEST_F(MainWindowGuiTest, ScanListsProjectsAndSelectionFillsTheFileList) {
    Run([&](HWND window) {
        SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
        HWND projects = Control(window, IDC_PROJECT_LIST);
        HWND files = Control(window, IDC_FILE_LIST);
        ASSERT_GT(app->catalog.ProjectCount(), 1u);
        EXPECT_EQ(Rows(projects), static_cast<int>(app->catalog.ProjectCount()));
        EXPECT_EQ(ControlText(window, IDC_HINT_STATISTICS), CatalogStatistics(app->catalog));
        EXPECT_EQ(ListView_GetSelectedCount(projects), 0u);
        EXPECT_EQ(Rows(files), 0);

        SelectProject(projects, 0, true);
        const DWORD selectedAt = GetTickCount();
        const ProjectEntry* project = app->catalog.ProjectAt(static_cast<uint32_t>([&] {
            LVITEMW item{};
            item.mask = LVIF_PARAM;
            item.iItem = 0;
            ListView_GetItem(projects, &item);
            return item.lParam;
        }()));
        ASSERT_NE(project, nullptr);
        EXPECT_EQ(Rows(files), 0); // rows come only after the quiet period
        ASSERT_TRUE(PumpUntil([&] { return Rows(files) == static_cast<int>(project->files.Size()); }, 5000));
        EXPECT_GE(GetTickCount() - selectedAt, 450u);
        // The status line follows on a later tick.
        const std::wstring status = FileStatusLine(project->files.Size(), 0, project->totalSize, 0);
        EXPECT_TRUE(PumpUntil([&] { return ControlText(window, IDC_FILE_STATUS) == status; }, 2000))
            << platform::WideToUtf8(ControlText(window, IDC_FILE_STATUS));

        SelectProject(projects, 0, false);
        EXPECT_EQ(Rows(files), 0); // the last project deselected: emptied at once
    });
}

TEST_F(MainWindowGuiTest, SortingBySizePutsTheLargestFirstAndStays) {
    Run([&](HWND window) {
        SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
        ShowAllProjects(window);
        HWND files = Control(window, IDC_FILE_LIST);
        for (int click = 0; click < 2; ++click) {
            ClickColumn(window, static_cast<int>(FileColumn::size));
            for (int row = 1; row < Rows(files); ++row) {
                ASSERT_GE(RecordOfRow(files, row - 1)->size, RecordOfRow(files, row)->size) << click << " " << row;
            }
        }
    });
}

TEST_F(MainWindowGuiTest, PathColumnHidesAndShowsThroughTheHeadingsMenu) {
    Run([&](HWND window) {
        HWND files = Control(window, IDC_FILE_LIST);
        HMENU headings = GetSubMenu(GetSubMenu(app->contextMenus, 0), 0);
        EXPECT_EQ(ListView_GetColumnWidth(files, static_cast<int>(FileColumn::path)), 120);
        SendMessageW(files, WM_COMMAND, ID_HEADING_PATH, 0);
        EXPECT_EQ(ListView_GetColumnWidth(files, static_cast<int>(FileColumn::path)), 0);
        EXPECT_EQ(GetMenuState(headings, ID_HEADING_PATH, MF_BYCOMMAND) & MF_CHECKED, 0u);
        SendMessageW(files, WM_COMMAND, ID_HEADING_PATH, 0);
        EXPECT_EQ(ListView_GetColumnWidth(files, static_cast<int>(FileColumn::path)), 120);
        EXPECT_EQ(GetMenuState(headings, ID_HEADING_PATH, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    });
}

TEST_F(MainWindowGuiTest, TestListsMissingFilesWithTheMissingImage) {
    Run([&](HWND window) {
        SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
        const uint32_t withoutMissing = app->catalog.IndexedRecordCount();
        SendMessageW(window, WM_COMMAND, ID_TEST, 0);
        ASSERT_GT(app->catalog.IndexedRecordCount(), withoutMissing);
        ShowAllProjects(window);
        HWND files = Control(window, IDC_FILE_LIST);
        int missing = 0;
        for (int row = 0; row < Rows(files); ++row) {
            LVITEMW item{};
            item.mask = LVIF_IMAGE | LVIF_PARAM;
            item.iItem = row;
            ListView_GetItem(files, &item);
            const MediaRecord* record = app->catalog.RecordAt(static_cast<uint32_t>(item.lParam));
            if (record->IsMissing()) {
                ++missing;
                EXPECT_EQ(item.iImage, static_cast<int>(RowImage::missing));
                wchar_t path[512] = L"x";
                ListView_GetItemText(files, row, static_cast<int>(FileColumn::path), path, 512);
                EXPECT_STREQ(path, L"");
            }
        }
        EXPECT_EQ(static_cast<uint32_t>(missing), app->catalog.IndexedRecordCount() - withoutMissing);
    });
}

TEST_F(MainWindowGuiTest, ResizingKeepsTheMinimumAndMovesOnlyTheThreeControls) {
    Run([&](HWND window) {
        // The window opens one pixel taller than its minimum: the menu bar adds 20 pixels, the minimum 19.
        const SIZE start = OuterSize(window);
        RECT small{10, 10, 10 + start.cx - 100, 10 + start.cy - 100};
        SendMessageW(window, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&small));
        EXPECT_EQ(small.right - small.left, start.cx);
        EXPECT_EQ(small.bottom - small.top, start.cy - 1);
        RECT leftEdge{200, 10, 200 + start.cx - 50, 10 + start.cy};
        SendMessageW(window, WM_SIZING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&leftEdge));
        EXPECT_EQ(leftEdge.left, 200); // dragging the left edge past the limit moves the right edge along
        EXPECT_EQ(leftEdge.right, 200 + start.cx);

        const int ids[] = {IDC_SCAN,          IDC_HINT_STATISTICS, IDC_SEARCH_DATABASES, IDC_DELETE_DATABASES,
                           IDC_DATABASE_TREE, IDC_HARDWARE_TOOL,   IDC_USED_KEYS,        IDC_FILE_STATUS,
                           IDC_PROJECT_LIST,  IDC_FILE_LIST};
        std::vector<RECT> before;
        for (int id : ids) {
            before.push_back(RectInParent(Control(window, id)));
        }
        SetWindowPos(window, nullptr, 0, 0, start.cx + 200, start.cy + 150, SWP_NOMOVE | SWP_NOZORDER);
        for (size_t i = 0; i < std::size(ids); ++i) {
            const RECT now = RectInParent(Control(window, ids[i]));
            const RECT& was = before[i];
            EXPECT_EQ(now.left, was.left) << ids[i];
            EXPECT_EQ(now.top, was.top) << ids[i];
            const bool widens = ids[i] == IDC_FILE_LIST || ids[i] == IDC_FILE_STATUS;
            const bool deepens = ids[i] == IDC_FILE_LIST || ids[i] == IDC_PROJECT_LIST;
            EXPECT_EQ(now.right - was.right, widens ? 200 : 0) << ids[i];
            EXPECT_EQ(now.bottom - was.bottom, deepens ? 150 : 0) << ids[i];
        }
        // A pure move lays nothing out again.
        const RECT list = RectInParent(Control(window, IDC_FILE_LIST));
        SetWindowPos(window, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        const RECT after = RectInParent(Control(window, IDC_FILE_LIST));
        EXPECT_TRUE(EqualRect(&list, &after));
    });
}

// Finds the point of an item's check box by hit-testing along its row.
POINT CheckBoxOf(HWND tree, HTREEITEM item) {
    RECT row{};
    std::memcpy(&row, &item, sizeof item); // the message takes the item in the rectangle's place
    SendMessageW(tree, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&row));
    for (int x = row.left; x < row.right; ++x) {
        TVHITTESTINFO hit{};
        hit.pt = POINT{x, (row.top + row.bottom) / 2};
        if (TreeView_HitTest(tree, &hit) == item && (hit.flags & TVHT_ONITEMSTATEICON) != 0) {
            return hit.pt;
        }
    }
    return POINT{-1, -1};
}

// Clicks (or, twice, double-clicks) the tree at a point through its message queue, the way the mouse does:
// the pointer is there, the button messages wait in the queue and the control takes them from it, also
// from inside its own handling of the press.
void ClickAt(HWND tree, POINT point, int clicks = 1) {
    POINT screen = point;
    ClientToScreen(tree, &screen);
    SetCursorPos(screen.x, screen.y);
    const LPARAM at = MAKELPARAM(point.x, point.y);
    for (int click = 0; click < clicks; ++click) {
        PostMessageW(tree, click == 0 ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageW(tree, WM_LBUTTONUP, 0, at);
    }
    EXPECT_TRUE(PumpUntil([tree] {
        MSG message;
        return !PeekMessageW(&message, tree, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE);
    }));
}

// Windows' tree runs a drag loop on every press that takes the release off the queue before the release
// reaches the window; Wine's runs it only when its items may be dragged. The clicks are made on the tree as
// the template makes it and with dragging allowed, so that they meet the loop under Wine too.
TEST_F(MainWindowGuiTest, CheckBoxesPropagateFromTheRootAndTheKeyboardCannotToggleThem) {
    for (const bool dragLoop : {false, true}) {
        SCOPED_TRACE(dragLoop ? "the press runs a drag loop" : "the tree as the template makes it");
        Run([&](HWND window) {
            HWND tree = Control(window, IDC_DATABASE_TREE);
            if (dragLoop) {
                SetWindowLongPtrW(tree, GWL_STYLE, GetWindowLongPtrW(tree, GWL_STYLE) & ~TVS_DISABLEDRAGDROP);
            }
            HTREEITEM root = TreeView_GetRoot(tree);
            HTREEITEM first = TreeView_GetChild(tree, root);
            ASSERT_NE(first, nullptr);

            ClickAt(tree, CheckBoxOf(tree, root)); // the root becomes checked: every database follows
            EXPECT_EQ(TreeView_GetCheckState(tree, root), 1u);
            ClickAt(tree, CheckBoxOf(tree, root)); // and unchecked
            for (const auto& item : TreeItems(tree)) {
                EXPECT_FALSE(item.second);
            }
            EXPECT_TRUE(main->Tree()->Tree().CheckedDatabases().empty());
            ClickAt(tree, CheckBoxOf(tree, root));
            for (const auto& item : TreeItems(tree)) {
                EXPECT_TRUE(item.second);
            }
            ClickAt(tree, CheckBoxOf(tree, first)); // one database unchecked: the root too
            EXPECT_EQ(TreeView_GetCheckState(tree, first), 0u);
            EXPECT_EQ(TreeView_GetCheckState(tree, root), 0u);
            EXPECT_EQ(main->Tree()->Tree().CheckedDatabases().size(), indexes.size() - 1);
            ClickAt(tree, CheckBoxOf(tree, first)); // checked again: the root stays unchecked
            EXPECT_EQ(TreeView_GetCheckState(tree, root), 0u);
            EXPECT_EQ(main->Tree()->Tree().CheckedDatabases().size(), indexes.size());

            // A double click toggles the root's box twice: every database follows it back to unchecked.
            ClickAt(tree, CheckBoxOf(tree, root), 2);
            EXPECT_EQ(TreeView_GetCheckState(tree, root), 0u);
            EXPECT_TRUE(main->Tree()->Tree().CheckedDatabases().empty());

            // And clicks of the mouse itself, through the system's input: checked, then unchecked again.
            SetForegroundWindow(window);
            POINT box = CheckBoxOf(tree, root);
            ClientToScreen(tree, &box);
            for (const bool checked : {true, false}) {
                ClickMouseAt(box);
                EXPECT_TRUE(PumpUntil([&] {
                    return TreeView_GetCheckState(tree, root) == (checked ? 1u : 0u) &&
                           main->Tree()->Tree().CheckedDatabases().size() == (checked ? indexes.size() : 0u);
                })) << checked;
            }

            TreeView_SelectItem(tree, first);
            SetFocus(tree);
            SendMessageW(tree, WM_KEYDOWN, VK_SPACE, 0);
            SendMessageW(tree, WM_CHAR, L' ', 0);
            SendMessageW(tree, WM_KEYUP, VK_SPACE, 0);
            EXPECT_EQ(TreeView_GetCheckState(tree, first), 0u);
        });
    }
}

TEST_F(MainWindowGuiTest, DroppedIndexFilesJoinTheTreeCheckedWithoutDuplicates) {
    fixtures::ScratchDir elsewhere(L"tw-gui-drop");
    const std::wstring old = elsewhere / L"old.pmr";
    const std::wstring notes = elsewhere / L"notes.txt";
    ASSERT_TRUE(fixtures::WriteFile(old, std::string("x")));
    ASSERT_TRUE(fixtures::WriteFile(notes, std::string("x")));
    Run([&](HWND window) {
        HWND tree = Control(window, IDC_DATABASE_TREE);
        ClickAt(tree, CheckBoxOf(tree, TreeView_GetChild(tree, TreeView_GetRoot(tree)))); // one unchecked
        SendMessageW(tree, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({old, notes, indexes[0]})), 0);
        const auto items = TreeItems(tree);
        EXPECT_EQ(items.size(), indexes.size() + 1);
        EXPECT_EQ(std::count_if(items.begin(), items.end(), [&](const auto& i) { return i.first == old; }), 1);
        for (const auto& item : items) {
            EXPECT_TRUE(item.second); // the rebuild checks every item again
        }
    });
}

TEST_F(MainWindowGuiTest, ClickActivationPutsTheFocusIntoTheFileList) {
    Run([&](HWND window) {
        SetFocus(Control(window, IDC_DATABASE_TREE));
        SendMessageW(window, WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
        EXPECT_TRUE(PumpUntil([&] { return GetFocus() == Control(window, IDC_FILE_LIST); }, 2000));
    });
}

// A dialog procedure returns the drag icon itself: DWLP_MSGRESULT is not what the system takes for this message.
TEST_F(MainWindowGuiTest, TheMinimisedWindowIsDraggedWithTheProgramIcon) {
    Run([&](HWND window) {
        const LRESULT icon = SendMessageW(window, WM_GETICON, ICON_BIG, 0);
        EXPECT_NE(icon, 0);
        EXPECT_EQ(SendMessageW(window, WM_QUERYDRAGICON, 0, 0), icon);
    });
}

TEST_F(MainWindowGuiTest, SelectionKeysActWhileTheFileListHasTheFocus) {
    Run([&](HWND window) {
        SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
        ShowAllProjects(window);
        HWND files = Control(window, IDC_FILE_LIST);
        SetForegroundWindow(window);
        SetFocus(files);
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == files; }, 2000));
        TypeControlKey('A');
        ASSERT_TRUE(PumpUntil([&] { return ListView_GetSelectedCount(files) == static_cast<UINT>(Rows(files)); }));
        EXPECT_EQ(main->Files()->SelectedSize(), app->catalog.TotalSize());
        ListView_SetItemState(files, 0, 0, LVIS_SELECTED);
        TypeControlKey('I'); // inverts: only the first row stays selected
        ASSERT_TRUE(PumpUntil([&] { return ListView_GetSelectedCount(files) == 1u; }));
        EXPECT_NE(ListView_GetItemState(files, 0, LVIS_SELECTED), 0u);
        EXPECT_EQ(main->Files()->SelectedSize(), RecordOfRow(files, 0)->size);
    });
}

TEST_F(MainWindowGuiTest, ProjectListSortsBySizeAndKeepsItsColumnWidths) {
    Run([&](HWND window) {
        SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
        HWND projects = Control(window, IDC_PROJECT_LIST);
        NMLISTVIEW click{};
        click.hdr.hwndFrom = projects;
        click.hdr.idFrom = IDC_PROJECT_LIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = 1;
        for (int twice = 0; twice < 2; ++twice) {
            SendMessageW(window, WM_NOTIFY, IDC_PROJECT_LIST, reinterpret_cast<LPARAM>(&click));
            for (int row = 1; row < Rows(projects); ++row) {
                LVITEMW a{};
                a.mask = LVIF_PARAM;
                a.iItem = row - 1;
                ListView_GetItem(projects, &a);
                LVITEMW b = a;
                b.iItem = row;
                ListView_GetItem(projects, &b);
                EXPECT_GE(app->catalog.ProjectAt(static_cast<uint32_t>(a.lParam))->totalSize,
                          app->catalog.ProjectAt(static_cast<uint32_t>(b.lParam))->totalSize);
            }
        }
        ListView_SetColumnWidth(projects, 0, 50);
        ListView_SetColumnWidth(projects, 1, 300);
        EXPECT_EQ(ListView_GetColumnWidth(projects, 0), 200);
        EXPECT_EQ(ListView_GetColumnWidth(projects, 1), 83);
    });
}

TEST_F(MainWindowGuiTest, CtrlPReadsUnknownKindsFromTheFilesAndAddsThePrecomputes) {
    const std::map<std::wstring, int32_t> kinds = OwnKinds();
    Run([&](HWND window) {
        SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
        ShowAllProjects(window);
        HWND files = Control(window, IDC_FILE_LIST);
        ForgetMediaInfo(files);
        // Two rows that are no precomputes are selected already; they stay selected.
        std::vector<int> kept;
        for (int row = 0; row < Rows(files) && kept.size() < 2; ++row) {
            if (OwnKind(kinds, *RecordOfRow(files, row)) != 1) {
                ListView_SetItemState(files, row, LVIS_SELECTED, LVIS_SELECTED);
                kept.push_back(row);
            }
        }
        ASSERT_EQ(kept.size(), 2u);
        int precomputes = 0;
        for (int row = 0; row < Rows(files); ++row) {
            precomputes += OwnKind(kinds, *RecordOfRow(files, row)) == 1 ? 1 : 0;
        }
        ASSERT_GT(precomputes, 0);
        bool prompted = false;
        WhenWindowAppears(ShowsText(L"Do you want to cancel current task?"), [&](HWND box) {
            prompted = true;
            ClickButton(box, IDNO);
        });

        SetForegroundWindow(window);
        SetFocus(files);
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == files; }, 2000));
        TypeControlKey('P');
        const UINT expected = static_cast<UINT>(precomputes) + 2;
        ASSERT_TRUE(PumpUntil([&] { return ListView_GetSelectedCount(files) == expected; }, 10000))
            << ListView_GetSelectedCount(files) << " of " << expected;
        EXPECT_FALSE(prompted); // the key press that started the command is no request to stop it
        ForgetSteps();
        EXPECT_TRUE(main->Files()->Unlocked());
        for (int row = 0; row < Rows(files); ++row) {
            const MediaRecord& record = *RecordOfRow(files, row);
            const int32_t kind = OwnKind(kinds, record);
            EXPECT_EQ(record.mediaKind, kind) << row;
            EXPECT_EQ(Cell(files, row, FileColumn::type), MediaKindText(kind)) << row;
            EXPECT_EQ(Selected(files, row), kind == 1 || std::count(kept.begin(), kept.end(), row) == 1) << row;
        }
    });
}

TEST_F(MainWindowGuiTest, CtrlPStopsWhenTheCancelPromptIsAnsweredYes) {
    struct Case {
        int button;
        bool stops;
    };
    for (const Case c : {Case{IDYES, true}, Case{IDNO, false}}) {
        SCOPED_TRACE(c.stops ? "Yes" : "No");
        Run([&](HWND window) {
            SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
            ShowAllProjects(window);
            HWND files = Control(window, IDC_FILE_LIST);
            ForgetMediaInfo(files);
            SetForegroundWindow(window);
            SetFocus(files);
            ASSERT_TRUE(PumpUntil([&] { return GetFocus() == files; }, 2000));
            DropPendingInput();
            TypeKey('Q');
            ASSERT_TRUE(WaitForInput(3000));
            bool asked = false;
            WhenWindowAppears(ShowsText(L"Do you want to cancel current task?"), [&](HWND box) {
                asked = true;
                ClickButton(box, c.button);
            });
            SendMessageW(files, WM_COMMAND, ID_SELECT_PRECOMPUTES, 0);
            EXPECT_TRUE(asked);
            DropPendingInput();
            EXPECT_TRUE(main->Files()->Unlocked());
            int read = 0;
            for (int row = 0; row < Rows(files); ++row) {
                read += RecordOfRow(files, row)->mediaKind != 0 ? 1 : 0;
            }
            // Yes stops before the first row: nothing is read or selected.
            EXPECT_EQ(read == 0, c.stops);
            EXPECT_EQ(ListView_GetSelectedCount(files) == 0, c.stops);
        });
    }
}

TEST_F(MainWindowGuiTest, ASoleSelectionReadsTheRowsOwnFile) {
    const std::map<std::wstring, int32_t> kinds = OwnKinds();
    Run([&](HWND window) {
        SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
        ShowAllProjects(window);
        HWND files = Control(window, IDC_FILE_LIST);
        std::vector<int> omf;
        std::vector<std::wstring> names;
        for (int row = 0; row < Rows(files) && omf.size() < 2; ++row) {
            const MediaRecord& record = *RecordOfRow(files, row);
            if (OwnKind(kinds, record) != 0 && record.nameInBin) {
                omf.push_back(row);
                names.push_back(record.nameInBin.str());
            }
        }
        ASSERT_EQ(omf.size(), 2u);
        ForgetMediaInfo(files);

        ListView_SetItemState(files, omf[0], LVIS_SELECTED, LVIS_SELECTED); // the only selected row: read
        const MediaRecord& first = *RecordOfRow(files, omf[0]);
        EXPECT_EQ(first.nameInBin, names[0]);
        EXPECT_EQ(first.mediaKind, OwnKind(kinds, first));
        EXPECT_EQ(Cell(files, omf[0], FileColumn::nameInBin), names[0]);
        EXPECT_EQ(Cell(files, omf[0], FileColumn::type), MediaKindText(first.mediaKind));

        ListView_SetItemState(files, omf[1], LVIS_SELECTED, LVIS_SELECTED); // one of two: not read
        EXPECT_FALSE(RecordOfRow(files, omf[1])->nameInBin.has_value());
        EXPECT_EQ(Cell(files, omf[1], FileColumn::nameInBin), L"");
    });
}

TEST_F(MainWindowGuiTest, AfterALoadTheProjectsAreListedByNameNoneSelected) {
    Run([&](HWND window) {
        HWND projects = Control(window, IDC_PROJECT_LIST);
        for (int load = 0; load < 2; ++load) {
            SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
            ASSERT_EQ(Rows(projects), static_cast<int>(app->catalog.ProjectCount()));
            ASSERT_GT(Rows(projects), 2);
            for (int row = 1; row < Rows(projects); ++row) {
                wchar_t a[256] = {};
                wchar_t b[256] = {};
                ListView_GetItemText(projects, row - 1, 0, a, 256);
                ListView_GetItemText(projects, row, 0, b, 256);
                EXPECT_LT(lstrcmpiW(a, b), 0)
                    << load << " " << platform::WideToUtf8(a) << " / " << platform::WideToUtf8(b);
            }
            EXPECT_EQ(ListView_GetSelectedCount(projects), 0u);
            EXPECT_EQ(Rows(Control(window, IDC_FILE_LIST)), 0);
            // Sorted by size in between: the next load lists the projects by name again.
            NMLISTVIEW click{};
            click.hdr.hwndFrom = projects;
            click.hdr.idFrom = IDC_PROJECT_LIST;
            click.hdr.code = LVN_COLUMNCLICK;
            click.iItem = -1;
            click.iSubItem = 1;
            SendMessageW(window, WM_NOTIFY, IDC_PROJECT_LIST, reinterpret_cast<LPARAM>(&click));
        }
    });
}

TEST_F(MainWindowGuiTest, EveryChangeThatLeavesNoProjectSelectedEmptiesTheFileList) {
    // Each case brings rows into the file list, then changes the project list so that no row is selected.
    struct Case {
        const char* what;
        bool selectFirst; // the rows come from selecting the first project; otherwise the file list is told directly
        std::function<void(HWND projects)> change;
    };
    const std::vector<Case> cases = {
        {"the row deselected", true, [](HWND projects) { ListView_SetItemState(projects, 0, 0, LVIS_SELECTED); }},
        {"every row at once", true, [](HWND projects) { ListView_SetItemState(projects, -1, 0, LVIS_SELECTED); }},
        {"the focus alone", false,
         [](HWND projects) {
             const int row = ListView_GetNextItem(projects, -1, LVNI_FOCUSED) == 1 ? 2 : 1;
             ListView_SetItemState(projects, row, LVIS_FOCUSED, LVIS_FOCUSED);
         }},
    };
    Run([&](HWND window) {
        SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
        HWND projects = Control(window, IDC_PROJECT_LIST);
        HWND files = Control(window, IDC_FILE_LIST);
        ASSERT_GT(Rows(projects), 2);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            if (c.selectFirst) {
                SelectProject(projects, 0, true);
            } else {
                LVITEMW item{};
                item.mask = LVIF_PARAM;
                ListView_GetItem(projects, &item);
                main->Files()->ShowProject(static_cast<int32_t>(item.lParam));
            }
            ASSERT_TRUE(PumpUntil([&] { return Rows(files) > 0; }, 5000));
            c.change(projects);
            EXPECT_EQ(ListView_GetSelectedCount(projects), 0u);
            EXPECT_EQ(Rows(files), 0); // at once, without waiting for the refresh
            PumpUntil([&] { return Rows(files) > 0; }, 700);
            EXPECT_EQ(Rows(files), 0); // and nothing comes back with the next refresh
        }
    });
}

} // namespace
} // namespace tw::gui
