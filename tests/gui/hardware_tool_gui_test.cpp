// The Hardware tool on Wine's drives: one bar and one label per drive, the window grown to hold them, the texts,
// fonts and colours of a row, a drive that does not answer, and the teardown. Also the main window's three ways
// of opening the tools.
#include "app/application.h"
#include "app/main_window.h"
#include "discovery/database_search.h"
#include "fixtures/drive_list.h"
#include "gui_harness.h"
#include "platform/platform.h"
#include "resource.h"
#include "ui/banner.h"
#include "ui/hardware_tool_model.h"
#include "ui/win32/hardware_tool_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <iterator>

namespace tw::gui {
namespace {

// What one run of the window showed.
struct Shown {
    SIZE outer{};
    std::vector<HWND> bars;
    std::vector<std::wstring> labels;
    std::vector<RECT> labelRects;
    std::vector<LOGFONTW> labelFonts;
    HFONT barFont = nullptr;
};

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// Runs the window on the drive list; inspect runs inside its message loop.
Shown RunTool(const DriveStringsFunction& drives, const std::function<void(HWND, const Shown&)>& inspect = {},
              Console* console = nullptr, DriveQuestion<DriveInfo> question = DriveDetails()) {
    Shown shown;
    HardwareToolWindow tool(GetModuleHandleW(nullptr), drives, console, std::move(question));
    WhenWindowAppears(CaptionIs(L"Hardware tool"), [&](HWND window) {
        shown.outer = OuterSize(window);
        for (int r = 0; HWND bar = GetDlgItem(window, IDC_DRIVE_BAR_FIRST + r); ++r) {
            shown.bars.push_back(bar);
        }
        EnumChildWindows(
            window,
            [](HWND child, LPARAM data) -> BOOL {
                wchar_t name[32] = {};
                GetClassNameW(child, name, 32);
                if (lstrcmpiW(name, L"Static") == 0) {
                    auto* s = reinterpret_cast<Shown*>(data);
                    s->labels.push_back(WindowText(child));
                    s->labelRects.push_back(RectInParent(child));
                    s->labelFonts.push_back(FontOf(child));
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&shown));
        if (!shown.bars.empty()) {
            shown.barFont = reinterpret_cast<HFONT>(SendMessageW(shown.bars[0], WM_GETFONT, 0, 0));
        }
        if (inspect) {
            inspect(window, shown);
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    tool.Run(nullptr);
    EXPECT_TRUE(AllStepsRan());
    ForgetSteps();
    return shown;
}

// A root where no drive is.
const wchar_t* const kNoDrive = L"B:\\";

TEST(HardwareToolGuiTest, OneRowPerDriveInAWindowGrownToHoldThem) {
    const Shown empty = RunTool(fixtures::DriveList({}));
    EXPECT_TRUE(empty.bars.empty());
    EXPECT_TRUE(empty.labels.empty());

    const std::vector<DriveInfo> drives = QueryDrives(platform::DriveStrings);
    ASSERT_FALSE(drives.empty());
    const std::vector<DriveRow> rows = LayOutDriveRows(drives);
    const DriveScale scale = ScaleDrives(drives);
    const Shown shown = RunTool(platform::DriveStrings, [&](HWND, const Shown& s) {
        ASSERT_EQ(s.bars.size(), drives.size());
        for (size_t r = 0; r < s.bars.size(); ++r) {
            EXPECT_EQ(SendMessageW(s.bars[r], PBM_GETRANGE, FALSE, 0), static_cast<LRESULT>(rows[r].range)) << r;
            const RECT bar = RectInParent(s.bars[r]);
            EXPECT_EQ(bar.left, rows[r].bar.left);
            EXPECT_EQ(bar.right, rows[r].bar.right);
            EXPECT_EQ(bar.bottom, 23 + 18 * static_cast<int>(r));
            // The free space on the bar, in text-only mode.
            EXPECT_EQ(GetWindowLongPtrW(s.bars[r], GWL_STYLE) & kBarTextMask, static_cast<LONG_PTR>(kBarTextOnly));
            EXPECT_FALSE(WindowText(s.bars[r]).empty());
        }
    });
    ASSERT_EQ(shown.labels.size(), drives.size());
    EXPECT_EQ(shown.outer.cy, empty.outer.cy + 18 * static_cast<int>(drives.size()));
    EXPECT_EQ(shown.outer.cx, empty.outer.cx + static_cast<int>(scale.largest));
    for (size_t r = 0; r < drives.size(); ++r) {
        // The used space may move between two looks at a busy drive; the rest of the text may not.
        const std::wstring& expected = rows[r].labelText;
        const std::wstring& label = shown.labels[r];
        const size_t used = expected.find(L" total / ");
        ASSERT_NE(used, std::wstring::npos);
        EXPECT_EQ(label.substr(0, used + 9), expected.substr(0, used + 9)) << r;
        EXPECT_EQ(label.substr(label.size() - 5), L" used");
        EXPECT_EQ(shown.labelRects[r].left, static_cast<LONG>(scale.largest) + 20);
        EXPECT_EQ(shown.labelRects[r].right, static_cast<LONG>(scale.largest) + 320);
        EXPECT_EQ(shown.labelFonts[r].lfWeight, FW_NORMAL);
    }
    // Closing deleted the bars, the labels and both fonts.
    EXPECT_FALSE(IsWindow(shown.bars[0]));
    EXPECT_EQ(GetObjectType(shown.barFont), 0u);
}

TEST(HardwareToolGuiTest, ADriveThatDoesNotAnswerShowsAnEmptyBarWithoutText) {
    wchar_t first[512] = {};
    (void)platform::DriveStrings(512, first);
    RunTool(fixtures::DriveList({kNoDrive, first}), [&](HWND, const Shown& s) {
        ASSERT_EQ(s.bars.size(), 2u);
        ASSERT_EQ(s.labels.size(), 2u);
        EXPECT_EQ(s.labels[0], std::wstring(kNoDrive) + L" -  Device Not ready");
        EXPECT_EQ(GetWindowLongPtrW(s.bars[0], GWL_STYLE) & kBarTextMask, 0);
        EXPECT_EQ(WindowText(s.bars[0]), L"");
        EXPECT_EQ(SendMessageW(s.bars[0], PBM_GETRANGE, FALSE, 0), 0);
        const RECT bar = RectInParent(s.bars[0]);
        EXPECT_EQ(bar.right - bar.left, 80);
        // The bars' bold font.
        const LOGFONTW font = FontOf(s.bars[1]);
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_EQ(font.lfHeight, -10);
        EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    });
}

// Renders a bar through WM_PRINTCLIENT, as the window paints it, and reads one pixel.
COLORREF BarPixel(HWND bar, int x, int y) {
    RECT client{};
    GetClientRect(bar, &client);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    const COLORREF pixel = GetPixel(dc, x < 0 ? client.right + x : x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixel;
}

// Each drive type's bar on its own background: light green for a network drive, light yellow for an optical
// drive, light pink for every other type, whether the drive answers or not. The drives are answered by the test,
// so every type is there on any machine.
TEST(HardwareToolGuiTest, EachDriveTypeHasItsBarBackground) {
    struct Case {
        const wchar_t* root;
        uint32_t type;
        bool ready;
    };
    const Case cases[] = {
        {L"C:\\", platform::kDriveFixed, true},     {L"N:\\", platform::kDriveRemote, true},
        {L"O:\\", platform::kDriveOptical, true},   {L"P:\\", platform::kDriveOptical, false},
        {L"R:\\", platform::kDriveRemovable, true}, {L"S:\\", platform::kDriveRamDisk, true},
        {L"U:\\", platform::kDriveUnknown, true},   {L"X:\\", platform::kDriveNoRootDir, false},
    };
    std::vector<std::wstring> roots;
    for (const Case& c : cases) {
        roots.push_back(c.root);
    }
    DriveQuestion<DriveInfo> question;
    question.ask = [&cases](const std::wstring& root) {
        DriveInfo drive;
        drive.root = root;
        for (const Case& c : cases) {
            if (root == c.root) {
                drive.type = c.type;
                drive.ready = c.ready;
                drive.totalBytes = c.ready ? 300 : 0;
                drive.freeBytes = c.ready ? 300 : 0; // nothing used: the whole bar shows its background
            }
        }
        return drive;
    };
    question.bounded = [](const std::wstring&) { return false; };
    RunTool(
        fixtures::DriveList(roots),
        [&](HWND, const Shown& s) {
            ASSERT_EQ(s.bars.size(), std::size(cases));
            for (size_t r = 0; r < s.bars.size(); ++r) {
                const Colour expected = DriveBackground(cases[r].type);
                // The bar's last pixels, clear of its centred text and its frame.
                EXPECT_EQ(BarPixel(s.bars[r], -3, 9), RGB(expected.red, expected.green, expected.blue))
                    << "row " << r << ", type " << cases[r].type;
            }
        },
        nullptr, question);
}

// A network drive whose server is away is not waited for: its row shows it not ready, the console names it.
TEST(HardwareToolGuiTest, ASilentNetworkDriveIsShownNotReadyAfterABoundedWait) {
    wchar_t first[512] = {};
    (void)platform::DriveStrings(512, first);
    const std::wstring silent = L"N:\\";
    DriveQuestion<DriveInfo> question = DriveDetails();
    question.ask = [ask = question.ask, silent](const std::wstring& root) {
        if (root == silent) {
            Sleep(5000);
        }
        return ask(root);
    };
    question.bounded = [silent](const std::wstring& root) { return root == silent; };
    question.limitMs = 300;
    LineConsole console;
    const ULONGLONG start = GetTickCount64();
    const Shown shown = RunTool(fixtures::DriveList({first, silent}), {}, &console, question);
    EXPECT_LT(GetTickCount64() - start, 4000u);
    ASSERT_EQ(shown.labels.size(), 2u);
    EXPECT_EQ(shown.labels[1], silent + L" -  Device Not ready");
    EXPECT_NE(shown.labels[0].find(L" total / "), std::wstring::npos);
    EXPECT_EQ(console.lines, std::vector<std::wstring>{DriveNotAnsweringLine(silent)});
}

TEST(HardwareToolGuiTest, TheMainWindowOpensBothToolsFromItsButtonAndMenu) {
    Application app(GetModuleHandleW(nullptr));
    app.driveStrings = fixtures::DriveList({});
    MainWindow main(app);
    std::vector<std::wstring> opened;
    WhenWindowAppears(CaptionIs(ProgramBanner()), [&](HWND window) {
        for (const auto& [command, caption] : std::vector<std::pair<WORD, std::wstring>>{
                 {IDC_HARDWARE_TOOL, L"Hardware tool"},
                 {ID_HARDWARE_TOOL, L"Hardware tool"},
                 {ID_MEDIA_INFO, L"Media Info -- Double click on bold items to expand"}}) {
            // The tools are owned by the main window.
            const auto owned = [caption, window](HWND w) {
                return GetWindow(w, GW_OWNER) == window && WindowText(w) == caption;
            };
            WhenWindowAppears(owned, [&opened](HWND tool) {
                opened.push_back(WindowText(tool));
                PostMessageW(tool, WM_CLOSE, 0, 0);
            });
            SendMessageW(window, WM_COMMAND, command, 0);
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    main.Run();
    EXPECT_TRUE(AllStepsRan());
    ForgetSteps();
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"Hardware tool", L"Hardware tool",
                                                 L"Media Info -- Double click on bold items to expand"}));
}

} // namespace
} // namespace tw::gui
