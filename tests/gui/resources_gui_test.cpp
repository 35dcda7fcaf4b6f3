#include "gui_harness.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace tw::gui {
namespace {

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

TEST(ResourcesGuiTest, TemplatesHoldTheirControlsWhereTheyBelong) {
    struct Control {
        int dialog;
        int id;
        const wchar_t* className;
        const wchar_t* text;
        RECT units; // left, top, width, height in dialog units
    };
    const Control controls[] = {
        {IDD_MAIN, IDC_SCAN, L"Button", L"Scan!", {1, 2, 102, 26}},
        {IDD_MAIN, IDC_HINT_STATISTICS, L"Static", L"drag database files into database window", {104, 2, 105, 26}},
        {IDD_MAIN, IDC_SEARCH_DATABASES, L"Button", L"Search for Avid databases", {210, 2, 91, 11}},
        {IDD_MAIN, IDC_DELETE_DATABASES, L"Button", L"Delete selected databases", {210, 16, 91, 11}},
        {IDD_MAIN, IDC_DATABASE_TREE, WC_TREEVIEWW, L"", {1, 28, 300, 100}},
        {IDD_MAIN, IDC_HARDWARE_TOOL, L"Button", L"Hardware tool", {306, 2, 160, 11}},
        {IDD_MAIN, IDC_USED_KEYS, L"Static", L"Used keys:", {306, 28, 160, 99}},
        {IDD_MAIN, IDC_FILE_STATUS, L"Static", L"Static", {195, 129, 412, 11}},
        {IDD_MAIN, IDC_PROJECT_LIST, WC_LISTVIEWW, L"", {1, 151, 193, 172}},
        {IDD_MAIN, IDC_FILE_LIST, WC_LISTVIEWW, L"", {195, 140, 412, 183}},
        {IDD_CONSOLE, IDC_CONSOLE_CLEAR, L"Button", L"Clear", {2, 40, 50, 9}},
        {IDD_CONSOLE, IDC_CONSOLE_HIDE, L"Button", L"Hide", {55, 40, 50, 9}},
        {IDD_CONSOLE, IDC_CONSOLE_LINES, L"ListBox", L"", {2, 3, 287, 35}},
        {IDD_PROGRESS, IDC_PROGRESS_BAR, PROGRESS_CLASSW, L"", {5, 5, 305, 6}},
        {IDD_PROGRESS, IDC_PROGRESS_ELAPSED, L"Static", L"", {5, 12, 83, 10}},
        {IDD_PROGRESS, IDC_PROGRESS_TOTAL_TIME, L"Static", L"", {90, 12, 188, 10}},
        {IDD_PROGRESS, IDC_PROGRESS_PERCENT, L"Static", L"", {279, 12, 31, 10}},
        {IDD_PROGRESS, IDC_PROGRESS_CANCEL, L"Button", L"Cancel", {249, 13, 61, 9}},
        {IDD_MEDIA_INFO, IDC_MEDIA_OPEN, L"Button", L"Open...", {4, 2, 55, 12}},
        {IDD_MEDIA_INFO, IDC_MEDIA_SHOW_CONSOLE, L"Button", L"Show console", {65, 1, 55, 12}},
        {IDD_MEDIA_INFO, IDC_MEDIA_DUMP_TOC, L"Button", L"Dump TOC to Console", {127, 1, 93, 12}},
        {IDD_MEDIA_INFO, IDC_MEDIA_TREE, WC_TREEVIEWW, L"", {4, 16, 296, 189}},
        {IDD_CONFIRM, IDC_CONFIRM_YES, L"Button", L"Yes", {55, 7, 50, 13}},
        {IDD_CONFIRM, IDC_CONFIRM_YES_TO_ALL, L"Button", L"Yes  to All", {109, 7, 50, 13}},
        {IDD_CONFIRM, IDC_CONFIRM_SKIP, L"Button", L"Skip", {163, 7, 50, 13}},
        {IDD_CONFIRM, IDC_CONFIRM_SKIP_ALL, L"Button", L"Skip All", {217, 7, 50, 13}},
        {IDD_CONFIRM, IDCANCEL, L"Button", L"Cancel", {271, 7, 50, 13}},
        {IDD_CONFIRM, IDC_CONFIRM_FIRST_LABEL, L"Static", L"Overwrite File:", {7, 24, 51, 10}},
        {IDD_CONFIRM, IDC_CONFIRM_FIRST_PATH, L"Static", L"line1\nline2\nline3\nline4", {60, 24, 308, 34}},
        {IDD_CONFIRM, IDC_CONFIRM_SECOND_LABEL, L"Static", L"With File:", {7, 59, 51, 10}},
        {IDD_CONFIRM, IDC_CONFIRM_SECOND_PATH, L"Static", L"line1\nline2\nline3\nline4", {60, 59, 308, 34}},
        {IDD_STORE, IDC_STORE_TARGET, L"Edit", L"", {57, 7, 227, 12}},
        {IDD_STORE, IDC_STORE_BROWSE, L"Button", L"...", {286, 7, 19, 13}},
        {IDD_STORE,
         IDC_STORE_MOVE,
         L"Button",
         L"Move files (check this to move files instead of copy)",
         {57, 24, 183, 10}},
        {IDD_STORE, IDC_STORE_TO_FOLDER, L"Button", L"...to the folder", {216, 38, 89, 20}},
        {IDD_STORE, IDC_STORE_BY_PROJECT, L"Button", L"...by project name", {216, 60, 89, 20}},
        {IDD_STORE, IDC_STORE_BY_FORMAT, L"Button", L"... to OMF/MXF folders", {216, 83, 89, 20}},
        {IDD_STORE, IDCANCEL, L"Button", L"Cancel", {255, 106, 50, 14}},
        {IDD_ABOUT, IDOK, L"Button", L"OK", {231, 37, 40, 14}},
    };
    for (int id : {IDD_MAIN, IDD_CONSOLE, IDD_PROGRESS, IDD_MEDIA_INFO, IDD_CONFIRM, IDD_STORE, IDD_ABOUT}) {
        const TemplateWindow dialog(id);
        ASSERT_NE(dialog.window, nullptr) << id;
        for (const Control& c : controls) {
            if (c.dialog != id) {
                continue;
            }
            HWND control = GetDlgItem(dialog.window, c.id);
            ASSERT_NE(control, nullptr) << c.dialog << "/" << c.id;
            EXPECT_EQ(ClassOf(control), c.className) << c.dialog << "/" << c.id;
            EXPECT_EQ(WindowText(control), c.text) << c.dialog << "/" << c.id;
            // The system converts position and size each on its own.
            RECT units = c.units;
            MapDialogRect(dialog.window, &units);
            const RECT expected{units.left, units.top, units.left + units.right, units.top + units.bottom};
            const RECT got = RectInParent(control);
            EXPECT_TRUE(EqualRect(&expected, &got)) << c.dialog << "/" << c.id << ": " << got.left << "," << got.top
                                                    << "," << got.right << "," << got.bottom;
        }
    }
}

TEST(ResourcesGuiTest, TemplateCaptionsAndStyles) {
    struct Template {
        int id;
        const wchar_t* caption;
        LONG_PTR hasStyles;
        LONG_PTR lacksStyles; // not all of these bits
        LONG_PTR exStyles;
    };
    const Template templates[] = {
        {IDD_MAIN, L"Tarnwick 0.3", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0,
         WS_EX_APPWINDOW},
        {IDD_CONSOLE, L"QRB Console", WS_CAPTION | WS_THICKFRAME, WS_SYSMENU, WS_EX_TOOLWINDOW | WS_EX_APPWINDOW},
        {IDD_PROGRESS, L"Please Wait ...", WS_POPUP | WS_CAPTION, WS_SYSMENU, WS_EX_TOOLWINDOW},
        {IDD_HARDWARE, L"Hardware tool", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, WS_EX_TOOLWINDOW},
        {IDD_MEDIA_INFO, L"Media Info -- Double click on bold items to expand",
         WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0, 0},
        {IDD_CONFIRM, L"QRB::Confirm ", WS_POPUP | WS_CAPTION, WS_SYSMENU, 0},
        {IDD_STORE, L"Store selected files...", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0},
        {IDD_ABOUT, L"", WS_POPUP | WS_BORDER, WS_CAPTION, WS_EX_TOOLWINDOW},
    };
    for (const Template& t : templates) {
        const TemplateWindow dialog(t.id);
        ASSERT_NE(dialog.window, nullptr) << t.id;
        EXPECT_EQ(WindowText(dialog.window), t.caption) << t.id;
        const LONG_PTR style = GetWindowLongPtrW(dialog.window, GWL_STYLE);
        EXPECT_EQ(style & t.hasStyles, t.hasStyles) << t.id;
        EXPECT_TRUE(t.lacksStyles == 0 || (style & t.lacksStyles) != t.lacksStyles) << t.id;
        EXPECT_EQ(GetWindowLongPtrW(dialog.window, GWL_EXSTYLE) & t.exStyles, t.exStyles) << t.id;
    }
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(TemplateWindow(IDD_STORE).window, IDC_STORE_BY_FORMAT)));
}

// The entries of a menu, one "text=id" per item, popups as "text{...}".
std::wstring Describe(HMENU menu) {
    std::wstring text;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t name[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), name, 128, MF_BYPOSITION);
        if (HMENU sub = GetSubMenu(menu, i)) {
            text += std::wstring(name) + L"{" + Describe(sub) + L"}";
        } else if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) {
            text += L"-";
        } else {
            text += std::wstring(name) + L"=" + std::to_wstring(GetMenuItemID(menu, i));
        }
        text += L";";
    }
    return text;
}

TEST(ResourcesGuiTest, MenusAcceleratorsAndStrings) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HMENU bar = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAIN_MENU));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(Describe(bar), L"File=32771;Options=32800;Tools{Show Console=32773;Hardware Tool=32775;"
                             L"Media Info (OMFi)=32797;Test=32774;};-;About...=16;");
    MENUITEMINFOW about{};
    about.cbSize = sizeof about;
    about.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(bar, ID_ABOUT, FALSE, &about);
    EXPECT_NE(about.fType & MFT_RIGHTJUSTIFY, 0u);
    DestroyMenu(bar);

    HMENU context = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_CONTEXT_MENUS));
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(Describe(context),
              L"FilelistMenu{Headings{Filename=32779;Size=32780;Name In Bin=32781;Media type=32798;Path=32783;"
              L"Creation Date=32784;Compression=32785;Project Name=32786;Source Name=32787;UID=32799;};"
              L"Scan Media Info=32796;Media Info (OMFi)...=32792;Copy ...=32788;Store...=32791;Move...=32789;"
              L"Delete=32790;};ProjectListMenu{Store..=32793;Show Project Statistics=32794;"
              L"Delete all media for selected projects=32795;};");
    DestroyMenu(context);

    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
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

    wchar_t text[512] = {};
    LoadStringW(instance, IDS_ABOUT_ENTRY, text, 512);
    EXPECT_STREQ(text, L"&About QRB_AVID...");
    LoadStringW(instance, IDS_USED_KEYS, text, 512);
    EXPECT_STREQ(text, L"Shortcut Keys:\n\nF2 - Get additional Media info\nF4 - Copy or Move selected files with "
                       L"options\nF5 - Copy\nF6 - Move\nF8 - Delete\nCtrl-A - Select all\nCtrl-I - Invert "
                       L"selection\nCtrl-P - Select Precomputes");
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
