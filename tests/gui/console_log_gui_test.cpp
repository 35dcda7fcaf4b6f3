#include "gui_harness.h"
#include "resource.h"
#include "ui/banner.h"
#include "ui/win32/console_log.h"
#include "ui/window_layout.h"

#include <gtest/gtest.h>

namespace tw::gui {
namespace {

class ConsoleLogGuiTest : public testing::Test {
protected:
    void SetUp() override {
        console = ConsoleLog::Create(GetModuleHandleW(nullptr),
                                     LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM)));
        ASSERT_NE(console, nullptr);
        lines = GetDlgItem(console->Window(), IDC_CONSOLE_LINES);
    }

    // The last line lies inside the list's visible area.
    bool LastLineVisible() const {
        const auto count = static_cast<int>(SendMessageW(lines, LB_GETCOUNT, 0, 0));
        RECT item{};
        RECT client{};
        SendMessageW(lines, LB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&item));
        GetClientRect(lines, &client);
        return item.top >= client.top && item.bottom <= client.bottom;
    }

    std::unique_ptr<ConsoleLog> console;
    HWND lines = nullptr;
};

TEST_F(ConsoleLogGuiTest, StartsHiddenWithBannerAndRule) {
    EXPECT_FALSE(IsWindowVisible(console->Window()));
    EXPECT_EQ(WindowText(console->Window()), L"QRB Console");
    EXPECT_EQ(ListBoxLines(lines), (std::vector<std::wstring>{ProgramBanner(), kConsoleRule}));
    EXPECT_NE(SendMessageW(console->Window(), WM_GETICON, ICON_SMALL, 0), 0);
    // No system menu, so no close box.
    EXPECT_EQ(GetWindowLongPtrW(console->Window(), GWL_STYLE) & WS_SYSMENU, 0);
}

TEST_F(ConsoleLogGuiTest, LinesAreKeptAsTheyAreThroughEveryWriter) {
    console->ClearConsole();
    console->AppendLine(L"");
    console->AppendLine(L"tab\there\nand a break");
    console->LogSystemError(0, L"QRB::Delete");
    console->LogSystemError(5, L"QRB::Delete");
    const uint8_t entry[24] = {'A', 0x0A, 0xE9};
    console->HexDump(entry, 24, 0, true, false, 0);
    const std::vector<std::wstring> shown = ListBoxLines(lines);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0], L"");
    EXPECT_EQ(shown[1], L"tab\there\nand a break");
    EXPECT_EQ(shown[2].rfind(L"QRB::Delete : error 5: ", 0), 0u);
    EXPECT_EQ(shown[3].rfind(L"00000000: 41 0A E9 00", 0), 0u);
    EXPECT_EQ(shown[3].find(L'|'), shown[4].find(L'|'));
}

TEST_F(ConsoleLogGuiTest, HoldsAtMost65536LinesDroppingTheOldest) {
    console->ClearConsole();
    for (int i = 1; i <= ConsoleLog::kMaxLines + 1; ++i) {
        console->AppendLine(std::to_wstring(i));
    }
    EXPECT_EQ(SendMessageW(lines, LB_GETCOUNT, 0, 0), ConsoleLog::kMaxLines);
    const std::vector<std::wstring> shown = ListBoxLines(lines);
    EXPECT_EQ(shown.front(), L"2");
    EXPECT_EQ(shown.back(), L"65537");
    console->ShowConsole();
    EXPECT_TRUE(LastLineVisible());
}

TEST_F(ConsoleLogGuiTest, HideAppendShowAndClearWhileHidden) {
    console->ShowConsole();
    EXPECT_TRUE(IsWindowVisible(console->Window()));
    ClickButton(console->Window(), IDC_CONSOLE_HIDE);
    EXPECT_FALSE(IsWindowVisible(console->Window()));
    for (int i = 0; i < 200; ++i) {
        console->AppendLine(L"while hidden " + std::to_wstring(i));
    }
    console->ShowConsole();
    EXPECT_TRUE(IsWindowVisible(console->Window()));
    EXPECT_EQ(ListBoxLines(lines).back(), L"while hidden 199");
    EXPECT_TRUE(LastLineVisible());

    console->HideConsole();
    ClickButton(console->Window(), IDC_CONSOLE_CLEAR);
    console->ShowConsole();
    EXPECT_EQ(SendMessageW(lines, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ConsoleLogGuiTest, FrameKeepsItsMinimumAndControlsFollowTheSize) {
    RECT dragged{300, 200, 350, 230}; // right and bottom dragged far inward
    SendMessageW(console->Window(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&dragged));
    EXPECT_EQ(dragged.right - dragged.left, kConsoleMinWidth);
    EXPECT_EQ(dragged.bottom - dragged.top, kConsoleMinHeight);
    RECT leftDragged{500, 200, 560, 400}; // the left edge dragged past the limit moves the right one along
    SendMessageW(console->Window(), WM_SIZING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&leftDragged));
    EXPECT_EQ(leftDragged.left, 500);
    EXPECT_EQ(leftDragged.right, 700);

    SetWindowPos(console->Window(), nullptr, 10, 10, 640, 320, SWP_NOZORDER | SWP_NOACTIVATE);
    const ConsoleLayout layout = LayOutConsole(640, 320);
    const auto same = [](RECT r, const Rect& expected) {
        return r.left == expected.left && r.top == expected.top && r.right == expected.right &&
               r.bottom == expected.bottom;
    };
    EXPECT_TRUE(same(RectInParent(lines), layout.lines));
    EXPECT_TRUE(same(RectInParent(GetDlgItem(console->Window(), IDC_CONSOLE_CLEAR)), layout.clear));
    EXPECT_TRUE(same(RectInParent(GetDlgItem(console->Window(), IDC_CONSOLE_HIDE)), layout.hide));
}

TEST_F(ConsoleLogGuiTest, ConsoleWhoseWindowIsGoneWritesNothing) {
    DestroyWindow(console->Window());
    EXPECT_EQ(console->Window(), nullptr);
    console->AppendLine(L"after the window");
    console->ShowConsole();
    console->ClearConsole();
    ConsoleLog none;
    none.AppendLine(L"nothing");
    none.ShowConsole();
    EXPECT_EQ(none.Window(), nullptr);
}

} // namespace
} // namespace tw::gui
