// What the code relies on in the resources: every template creates, its controls lie inside it with ids of
// their own, every control the code addresses is there with the class and styles the code drives it by, the
// menus hold the commands the code handles where the code looks for them, the accelerators send the
// commands the lists act on, and every string the code loads is there and fits where the code reads it.
#include "gui_harness.h"
#include "resource.h"
#include "ui/file_cells.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace tw::gui {
namespace {

constexpr int kTemplates[] = {IDD_ABOUT,    IDD_MAIN,       IDD_CONSOLE, IDD_PROGRESS,
                              IDD_HARDWARE, IDD_MEDIA_INFO, IDD_CONFIRM, IDD_STORE};

// A template as the system builds it, with no code of ours running on it.
class TemplateWindow {
public:
    explicit TemplateWindow(int id)
        : window(CreateDialogParamW(
              GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr,
              [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0)) {}
    ~TemplateWindow() { DestroyWindow(window); }
    TemplateWindow(const TemplateWindow&) = delete;
    TemplateWindow& operator=(const TemplateWindow&) = delete;
    HWND window;
};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The controls of a dialog itself, not those inside them.
std::vector<HWND> ControlsOf(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        controls.push_back(c);
    }
    return controls;
}

TEST(ResourcesGuiTest, EveryTemplateHoldsItsControlsInsideWithIdsOfTheirOwn) {
    for (int id : kTemplates) {
        SCOPED_TRACE(id);
        const TemplateWindow dialog(id);
        ASSERT_NE(dialog.window, nullptr);
        RECT client{};
        GetClientRect(dialog.window, &client);
        std::set<int> ids;
        for (HWND control : ControlsOf(dialog.window)) {
            const int controlId = GetDlgCtrlID(control);
            const RECT r = RectInParent(control);
            SCOPED_TRACE(controlId);
            EXPECT_GT(r.right, r.left);
            EXPECT_GT(r.bottom, r.top);
            // A picture takes its own size in pixels, whatever its template says (the pictures' sizes are
            // checked below); everything else keeps to the dialog.
            const LONG type = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
            if (ClassOf(control) != L"Static" || (type != SS_BITMAP && type != SS_ICON)) {
                EXPECT_GE(r.left, client.left);
                EXPECT_GE(r.top, client.top);
                EXPECT_LE(r.right, client.right);
                EXPECT_LE(r.bottom, client.bottom);
            }
            // Labels the code never addresses share the id -1.
            if (controlId != -1 && controlId != 0xFFFF) {
                EXPECT_TRUE(ids.insert(controlId).second) << "two controls with the id";
            }
        }
    }
}

TEST(ResourcesGuiTest, ControlsTheCodeAddressesAreInTheirTemplates) {
    struct Control {
        int dialog;
        int id;
        const wchar_t* className;
        LONG styleMask; // the code relies on style & styleMask == style
        LONG style;
    };
    const Control controls[] = {
        {IDD_MAIN, IDC_SCAN, L"Button", 0, 0},
        {IDD_MAIN, IDC_HINT_STATISTICS, L"Static", 0, 0},
        {IDD_MAIN, IDC_SEARCH_DATABASES, L"Button", 0, 0},
        {IDD_MAIN, IDC_DELETE_DATABASES, L"Button", 0, 0},
        {IDD_MAIN, IDC_HARDWARE_TOOL, L"Button", 0, 0},
        {IDD_MAIN, IDC_USED_KEYS, L"Static", 0, 0},
        {IDD_MAIN, IDC_FILE_STATUS, L"Static", 0, 0},
        {IDD_MAIN, IDC_DATABASE_TREE, WC_TREEVIEWW, TVS_CHECKBOXES, TVS_CHECKBOXES},
        {IDD_MAIN, IDC_PROJECT_LIST, WC_LISTVIEWW, LVS_TYPEMASK, LVS_REPORT},
        {IDD_MAIN, IDC_FILE_LIST, WC_LISTVIEWW, LVS_TYPEMASK, LVS_REPORT},
        {IDD_CONSOLE, IDC_CONSOLE_CLEAR, L"Button", 0, 0},
        {IDD_CONSOLE, IDC_CONSOLE_HIDE, L"Button", 0, 0},
        {IDD_CONSOLE, IDC_CONSOLE_LINES, L"ListBox", 0, 0},
        {IDD_PROGRESS, IDC_PROGRESS_BAR, PROGRESS_CLASSW, 0, 0},
        {IDD_PROGRESS, IDC_PROGRESS_ELAPSED, L"Static", 0, 0},
        {IDD_PROGRESS, IDC_PROGRESS_TOTAL_TIME, L"Static", 0, 0},
        {IDD_PROGRESS, IDC_PROGRESS_PERCENT, L"Static", 0, 0},
        {IDD_PROGRESS, IDC_PROGRESS_CANCEL, L"Button", 0, 0},
        {IDD_MEDIA_INFO, IDC_MEDIA_OPEN, L"Button", 0, 0},
        {IDD_MEDIA_INFO, IDC_MEDIA_SHOW_CONSOLE, L"Button", 0, 0},
        {IDD_MEDIA_INFO, IDC_MEDIA_DUMP_TOC, L"Button", 0, 0},
        {IDD_MEDIA_INFO, IDC_MEDIA_TREE, WC_TREEVIEWW, 0, 0},
        {IDD_CONFIRM, IDC_CONFIRM_YES, L"Button", 0, 0},
        {IDD_CONFIRM, IDC_CONFIRM_YES_TO_ALL, L"Button", 0, 0},
        {IDD_CONFIRM, IDC_CONFIRM_SKIP, L"Button", 0, 0},
        {IDD_CONFIRM, IDC_CONFIRM_SKIP_ALL, L"Button", 0, 0},
        // Enter answers Cancel.
        {IDD_CONFIRM, IDCANCEL, L"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON},
        {IDD_CONFIRM, IDC_CONFIRM_FIRST_LABEL, L"Static", 0, 0},
        {IDD_CONFIRM, IDC_CONFIRM_FIRST_PATH, L"Static", 0, 0},
        {IDD_CONFIRM, IDC_CONFIRM_SECOND_LABEL, L"Static", 0, 0},
        {IDD_CONFIRM, IDC_CONFIRM_SECOND_PATH, L"Static", 0, 0},
        {IDD_STORE, IDC_STORE_TARGET, L"Edit", 0, 0},
        {IDD_STORE, IDC_STORE_BROWSE, L"Button", 0, 0},
        {IDD_STORE, IDC_STORE_MOVE, L"Button", BS_TYPEMASK, BS_AUTOCHECKBOX},
        {IDD_STORE, IDC_STORE_TO_FOLDER, L"Button", 0, 0},
        {IDD_STORE, IDC_STORE_BY_PROJECT, L"Button", 0, 0},
        // Storing into format folders is not offered.
        {IDD_STORE, IDC_STORE_BY_FORMAT, L"Button", WS_DISABLED, WS_DISABLED},
        {IDD_STORE, IDCANCEL, L"Button", 0, 0},
        {IDD_ABOUT, IDOK, L"Button", 0, 0},
    };
    for (int id : kTemplates) {
        const TemplateWindow dialog(id);
        ASSERT_NE(dialog.window, nullptr) << id;
        for (const Control& c : controls) {
            if (c.dialog != id) {
                continue;
            }
            SCOPED_TRACE(std::to_string(c.dialog) + "/" + std::to_string(c.id));
            HWND control = GetDlgItem(dialog.window, c.id);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(ClassOf(control), c.className);
            EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & c.styleMask, c.style);
        }
    }
}

TEST(ResourcesGuiTest, WindowStylesTheWindowsRelyOn) {
    struct Template {
        int id;
        LONG_PTR hasStyles;
        LONG_PTR lacksStyles; // not all of these bits
        LONG_PTR exStyles;
    };
    const Template templates[] = {
        // The main window is resized, its controls follow.
        {IDD_MAIN, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, WS_EX_APPWINDOW},
        // The console is resized down to its minimum and hidden with its Hide button, never closed.
        {IDD_CONSOLE, WS_CAPTION | WS_THICKFRAME, WS_SYSMENU, WS_EX_TOOLWINDOW | WS_EX_APPWINDOW},
        // A task's progress cannot be closed, only cancelled.
        {IDD_PROGRESS, WS_POPUP | WS_CAPTION, WS_SYSMENU, WS_EX_TOOLWINDOW},
        {IDD_HARDWARE, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, WS_EX_TOOLWINDOW},
        {IDD_MEDIA_INFO, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0, 0},
        // A question is answered with one of its buttons.
        {IDD_CONFIRM, WS_POPUP | WS_CAPTION, WS_SYSMENU, 0},
        {IDD_STORE, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0},
        {IDD_ABOUT, WS_POPUP | WS_BORDER, WS_CAPTION, WS_EX_TOOLWINDOW},
    };
    for (const Template& t : templates) {
        const TemplateWindow dialog(t.id);
        ASSERT_NE(dialog.window, nullptr) << t.id;
        const LONG_PTR style = GetWindowLongPtrW(dialog.window, GWL_STYLE);
        EXPECT_EQ(style & t.hasStyles, t.hasStyles) << t.id;
        EXPECT_TRUE(t.lacksStyles == 0 || (style & t.lacksStyles) != t.lacksStyles) << t.id;
        EXPECT_EQ(GetWindowLongPtrW(dialog.window, GWL_EXSTYLE) & t.exStyles, t.exStyles) << t.id;
    }
}

// Every command id of a menu and its popups, in order.
void CollectCommands(HMENU menu, std::vector<UINT>& commands) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            CollectCommands(sub, commands);
        } else if ((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) == 0) {
            commands.push_back(GetMenuItemID(menu, i));
        }
    }
}

std::set<UINT> CommandsOf(HMENU menu) {
    std::vector<UINT> commands;
    CollectCommands(menu, commands);
    return {commands.begin(), commands.end()};
}

bool Holds(const std::set<UINT>& commands, std::initializer_list<UINT> wanted) {
    return std::all_of(wanted.begin(), wanted.end(), [&](UINT id) { return commands.count(id) == 1; });
}

TEST(ResourcesGuiTest, MenusHoldTheCommandsWhereTheCodeLooksForThem) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HMENU bar = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAIN_MENU));
    ASSERT_NE(bar, nullptr);
    std::vector<UINT> all;
    CollectCommands(bar, all);
    EXPECT_TRUE(Holds(CommandsOf(bar),
                      {ID_FILE, ID_OPTIONS, ID_SHOW_CONSOLE, ID_HARDWARE_TOOL, ID_MEDIA_INFO, ID_TEST, ID_ABOUT}));
    DestroyMenu(bar);

    // The file list's menu is the first popup, its first popup the Headings; the project list's is the second.
    HMENU context = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_CONTEXT_MENUS));
    ASSERT_NE(context, nullptr);
    HMENU files = GetSubMenu(context, 0);
    HMENU projects = GetSubMenu(context, 1);
    ASSERT_NE(files, nullptr);
    ASSERT_NE(projects, nullptr);
    HMENU headings = GetSubMenu(files, 0);
    ASSERT_NE(headings, nullptr);
    EXPECT_TRUE(
        Holds(CommandsOf(files), {ID_SCAN_MEDIA_INFO, ID_MEDIA_INFO_FILE, ID_COPY, ID_STORE, ID_MOVE, ID_DELETE}));
    EXPECT_TRUE(Holds(CommandsOf(projects), {ID_PROJECT_STORE, ID_PROJECT_STATISTICS, ID_PROJECT_DELETE_MEDIA}));

    // One Headings entry per column of the file list.
    const std::set<UINT> columnCommands = {ID_HEADING_FILENAME,   ID_HEADING_NAME_IN_BIN,   ID_HEADING_SIZE,
                                           ID_HEADING_UID,        ID_HEADING_COMPRESSION,   ID_HEADING_PATH,
                                           ID_HEADING_MEDIA_TYPE, ID_HEADING_CREATION_DATE, ID_HEADING_PROJECT_NAME,
                                           ID_HEADING_SOURCE_NAME};
    EXPECT_EQ(columnCommands.size(), static_cast<size_t>(kFileColumnCount));
    EXPECT_EQ(CommandsOf(headings), columnCommands);

    // No command is in two places, in either menu.
    CollectCommands(context, all);
    EXPECT_EQ(std::set<UINT>(all.begin(), all.end()).size(), all.size());
    DestroyMenu(context);
}

TEST(ResourcesGuiTest, AcceleratorsSendTheSelectionCommandsOfTheLists) {
    HACCEL accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(accelerators, nullptr);
    ACCEL keys[8] = {};
    ASSERT_EQ(CopyAcceleratorTableW(accelerators, keys, 8), 3);
    const ACCEL expected[] = {{FVIRTKEY | FCONTROL | FNOINVERT, 'A', ID_SELECT_ALL},
                              {FVIRTKEY | FCONTROL | FNOINVERT, 'I', ID_INVERT_SELECTION},
                              {FVIRTKEY | FCONTROL | FNOINVERT, 'P', ID_SELECT_PRECOMPUTES}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(keys[i].fVirt & ~0x80, expected[i].fVirt); // 0x80 marks the table's last entry
        EXPECT_EQ(keys[i].key, expected[i].key);
        EXPECT_EQ(keys[i].cmd, expected[i].cmd);
    }
    DestroyAcceleratorTable(accelerators);
}

TEST(ResourcesGuiTest, StringsTheCodeLoadsAreThereAndFitItsBuffers) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    struct Loaded {
        int id;
        int capacity; // units of the buffer the main window loads the string into, its end included
    };
    for (const Loaded s : {Loaded{IDS_USED_KEYS, 1024}, Loaded{IDS_ABOUT_ENTRY, 256}}) {
        const wchar_t* text = nullptr;
        // With no buffer the call answers the string's length and where it lies in the resources.
        const int length = LoadStringW(instance, static_cast<UINT>(s.id), reinterpret_cast<LPWSTR>(&text), 0);
        EXPECT_GT(length, 0) << s.id;
        EXPECT_LT(length, s.capacity) << s.id;
    }
    // The used keys name every selection key of the accelerators.
    std::vector<wchar_t> keys(1024);
    ASSERT_GT(LoadStringW(instance, IDS_USED_KEYS, keys.data(), 1024), 0);
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(accelerators, nullptr);
    ACCEL table[8] = {};
    const int count = CopyAcceleratorTableW(accelerators, table, 8);
    for (int i = 0; i < count; ++i) {
        ASSERT_NE(table[i].fVirt & FCONTROL, 0);
        const std::wstring name = std::wstring(L"Ctrl-") + static_cast<wchar_t>(table[i].key);
        EXPECT_NE(std::wstring(keys.data()).find(name), std::wstring::npos) << table[i].key;
    }
    DestroyAcceleratorTable(accelerators);
}

TEST(ResourcesGuiTest, IconsAndBitmapsLoadAtTheirSizes) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (int id : {IDI_PROGRAM, IDI_DATABASES, IDI_DATABASE, IDI_ROW_MISSING, IDI_ROW_READONLY, IDI_ROW_PRECOMPUTE,
                   IDI_ROW_OK, IDI_ROW_WARNING, IDI_ROW_FOLDER, IDI_ROW_MEDIA, IDI_ROW_AUDIO, IDI_ROW_OTHER}) {
        HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0);
        EXPECT_NE(icon, nullptr) << id;
        DestroyIcon(static_cast<HICON>(icon));
    }
    struct Bitmap {
        int id;
        LONG width;
        LONG height;
    };
    for (const Bitmap b : {Bitmap{IDB_SORTED, 7, 4}, Bitmap{IDB_UNSORTED, 7, 4}, Bitmap{IDB_ABOUT, 100, 81}}) {
        HBITMAP bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(b.id));
        ASSERT_NE(bitmap, nullptr) << b.id;
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, b.width) << b.id;
        EXPECT_EQ(info.bmHeight, b.height) << b.id;
        DeleteObject(bitmap);
    }
}

} // namespace
} // namespace tw::gui
