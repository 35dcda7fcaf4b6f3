#include "fixtures/file_io.h"
#include "gui_harness.h"
#include "platform/platform.h"
#include "resource.h"
#include "ui/win32/progress_dialog.h"
#include "ui/win32/text_progress_bar.h"
#include "ui/window_layout.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cwctype>

namespace tw::gui {
namespace {

struct BarState {
    int lower;
    int upper;
    int position;
};

BarState ReadBar(HWND bar) {
    return {static_cast<int>(SendMessageW(bar, PBM_GETRANGE, TRUE, 0)),
            static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0)),
            static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0))};
}

// "hh:mm:ss.t"
bool IsDuration(const std::wstring& text) {
    if (text.size() != 10 || text[2] != L':' || text[5] != L':' || text[8] != L'.') {
        return false;
    }
    for (size_t i : {0, 1, 3, 4, 6, 7, 9}) {
        if (!std::iswdigit(text[i])) {
            return false;
        }
    }
    return true;
}

class ProgressGuiTest : public testing::Test {
protected:
    void SetUp() override {
        dialog = ProgressDialog::Open(GetModuleHandleW(nullptr));
        ASSERT_NE(dialog, nullptr);
        bar = GetDlgItem(dialog->Window(), IDC_PROGRESS_BAR);
    }
    std::wstring Percent() const { return ControlText(dialog->Window(), IDC_PROGRESS_PERCENT); }

    std::unique_ptr<ProgressDialog> dialog;
    HWND bar = nullptr;
};

TEST_F(ProgressGuiTest, OpensShownWithItsCaptionAndAPercentRange) {
    EXPECT_TRUE(IsWindowVisible(dialog->Window()));
    EXPECT_EQ(WindowText(dialog->Window()), L"Please Wait ...");
    const BarState s = ReadBar(bar);
    EXPECT_EQ(s.upper, 100);
    dialog->SetCaption(L"Copying files....");
    EXPECT_EQ(WindowText(dialog->Window()), L"Copying files....");
    // Cancel sits below the client area until the file bar is added.
    RECT client{};
    GetClientRect(dialog->Window(), &client);
    EXPECT_GE(RectInParent(GetDlgItem(dialog->Window(), IDC_PROGRESS_CANCEL)).top, client.bottom);
}

TEST_F(ProgressGuiTest, LabelsAndBarAfterSetProgress) {
    dialog->SetProgress(0, 1000);
    BarState s = ReadBar(bar);
    EXPECT_EQ(s.upper, 250);
    EXPECT_EQ(s.position, 0);
    EXPECT_EQ(Percent(), L""); // the position did not move, so the label was not touched
    dialog->SetProgress(500, 1000);
    s = ReadBar(bar);
    EXPECT_EQ(s.position, 125);
    EXPECT_EQ(Percent(), L"50 %");
    dialog->SetProgress(5000000000ull, 10000000000ull);
    EXPECT_EQ(ReadBar(bar).upper, 149);
    EXPECT_EQ(ReadBar(bar).position, 74);
    EXPECT_EQ(Percent(), L"49 %");
}

TEST_F(ProgressGuiTest, FirstCallWithoutTotalCountsPercent) {
    dialog->SetProgress(7, 0);
    const BarState s = ReadBar(bar);
    EXPECT_EQ(s.upper, 100);
    EXPECT_EQ(s.position, 7);
    EXPECT_EQ(Percent(), L"7 %");
}

TEST_F(ProgressGuiTest, TimerShowsElapsedAndProjectedTimes) {
    dialog->SetProgress(0, 1000);
    HWND window = dialog->Window();
    ASSERT_TRUE(PumpUntil([&] { return !ControlText(window, IDC_PROGRESS_ELAPSED).empty(); }));
    EXPECT_TRUE(IsDuration(ControlText(window, IDC_PROGRESS_ELAPSED))) << ControlText(window, IDC_PROGRESS_ELAPSED);
    EXPECT_EQ(ControlText(window, IDC_PROGRESS_TOTAL_TIME), L"00:00:00.0"); // nothing done yet
    dialog->SetProgress(500, 1000);
    ASSERT_TRUE(PumpUntil([&] { return ControlText(window, IDC_PROGRESS_TOTAL_TIME) != L"00:00:00.0"; }));
    EXPECT_TRUE(IsDuration(ControlText(window, IDC_PROGRESS_TOTAL_TIME)));
}

TEST_F(ProgressGuiTest, TransferModeAddsTheFileBarAndShowsCancel) {
    const SIZE before = OuterSize(dialog->Window());
    dialog->AddFileBar();
    const SIZE after = OuterSize(dialog->Window());
    EXPECT_EQ(after.cx, before.cx);
    EXPECT_EQ(after.cy, before.cy + kFileBarExtraHeight);
    HWND file = GetDlgItem(dialog->Window(), IDC_FILE_BAR);
    ASSERT_NE(file, nullptr);
    const RECT main = RectInParent(bar);
    const Rect expected = FileBarFromMainBar({main.left, main.top, main.right, main.bottom});
    const RECT got = RectInParent(file);
    EXPECT_EQ(got.left, expected.left);
    EXPECT_EQ(got.top, expected.top);
    EXPECT_EQ(got.right, expected.right);
    EXPECT_EQ(got.bottom, expected.bottom);
    RECT client{};
    GetClientRect(dialog->Window(), &client);
    EXPECT_LE(RectInParent(GetDlgItem(dialog->Window(), IDC_PROGRESS_CANCEL)).bottom, client.bottom);

    dialog->SetFileText(L"D:\\OMFI MediaFiles\\clip 100%.omf");
    EXPECT_EQ(WindowText(file), L"D:\\OMFI MediaFiles\\clip 100%.omf");
    EXPECT_EQ(static_cast<uint32_t>(GetWindowLongPtrW(file, GWL_STYLE)) & kBarTextMask, kBarTextOnly);
    dialog->SetFileProgress(50, 100);
    EXPECT_EQ(ReadBar(file).upper, 100);
    EXPECT_EQ(ReadBar(file).position, 50);
    dialog->SetFileProgress(3000000, 6000000);
    EXPECT_EQ(ReadBar(file).upper, 183);
    EXPECT_EQ(ReadBar(file).position, 91);
}

TEST_F(ProgressGuiTest, CancelSetsTheFlagForGoodAndStopsLaterCopies) {
    dialog->AddFileBar();
    HWND cancel = GetDlgItem(dialog->Window(), IDC_PROGRESS_CANCEL);
    const RECT r = RectInParent(cancel);
    const LPARAM inside = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    PostMessageW(cancel, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    PostMessageW(cancel, WM_LBUTTONUP, 0, inside);
    // The task's own progress reports pump the clicks, one message per bar movement.
    for (uint64_t done = 1; done <= 100 && dialog->cancelFlag == 0; ++done) {
        dialog->SetProgress(done, 100);
    }
    EXPECT_EQ(dialog->cancelFlag, 1);

    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::WriteFile(dir / L"clip.omf", std::string(100000, 'c')));
    for (const wchar_t* target : {L"first.omf", L"second.omf"}) {
        EXPECT_EQ(platform::CopyFileWithProgress(dir / L"clip.omf", dir / target, CopyProgress(dialog.get()),
                                                 CancelFlagOf(dialog.get())),
                  platform::kErrorRequestAborted);
        EXPECT_FALSE(platform::PathExists(dir / target));
    }
    EXPECT_EQ(dialog->cancelFlag, 1);
}

TEST_F(ProgressGuiTest, CopyProgressFeedsTheFileBar) {
    dialog->AddFileBar();
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::WriteFile(dir / L"clip.omf", std::string(300000, 'c')));
    EXPECT_EQ(platform::CopyFileWithProgress(dir / L"clip.omf", dir / L"copy.omf", CopyProgress(dialog.get()),
                                             CancelFlagOf(dialog.get())),
              0u);
    const BarState s = ReadBar(GetDlgItem(dialog->Window(), IDC_FILE_BAR));
    EXPECT_EQ(s.position, s.upper);
    EXPECT_EQ(s.upper, static_cast<int>(300000 >> ShiftFor(300000, 255)));
}

// Renders a bar through WM_PRINTCLIENT and reads pixels back.
class BarPixels {
public:
    explicit BarPixels(HWND bar) {
        RECT client{};
        GetClientRect(bar, &client);
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        SendMessageW(bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        width = client.right;
        height = client.bottom;
    }
    ~BarPixels() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    BarPixels(const BarPixels&) = delete;
    BarPixels& operator=(const BarPixels&) = delete;
    [[nodiscard]] COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    // How many pixels of the whole bar have this colour.
    [[nodiscard]] int Count(COLORREF colour) const {
        int n = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                n += At(x, y) == colour ? 1 : 0;
            }
        }
        return n;
    }
    int width = 0;
    int height = 0;

private:
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

// A 300 by 20 bar with the file bar's gradient, the given background, white text over the bar and black
// text over the background.
std::unique_ptr<TextProgressBar> MakeBar(const TestWindow& parent, COLORREF background) {
    auto bar = TextProgressBar::Create(parent.Get(), IDC_FILE_BAR, {10, 10, 310, 30});
    if (bar != nullptr) {
        bar->SetBackground(FromColorRef(background));
        bar->SetGradient({{15, 15, 239}, {115, 115, 115}});
        bar->SetTextColours({255, 255, 255}, {0, 0, 0});
    }
    return bar;
}

TEST(TextProgressBarGuiTest, PaintsGradientBackgroundAndText) {
    TestWindow parent(400, 120);
    const COLORREF background = RGB(223, 255, 223);
    auto bar = MakeBar(parent, background);
    ASSERT_NE(bar, nullptr);
    bar->SetRange(100);
    bar->SetPosition(50);
    {
        const BarPixels pixels(bar->Window());
        EXPECT_EQ(pixels.At(0, 10), RGB(15, 15, 239));
        EXPECT_EQ(pixels.At(pixels.width - 1, 10), background);
        EXPECT_EQ(pixels.At(pixels.width / 2 + 1, 10), background);
        EXPECT_NE(pixels.At(pixels.width / 2 - 2, 10), background);
    }
    // Borders keep the bar off the control's edge.
    bar->SetBorders(3, 3, 3, 3);
    {
        const BarPixels pixels(bar->Window());
        EXPECT_EQ(pixels.At(1, 10), background);
        EXPECT_EQ(pixels.At(3, 10), RGB(15, 15, 239));
    }
    // PBM_SETBARCOLOR with one colour makes a plain bar.
    SendMessageW(bar->Window(), PBM_SETBARCOLOR, 0, RGB(200, 0, 0));
    {
        const BarPixels pixels(bar->Window());
        EXPECT_EQ(pixels.At(3, 10), RGB(200, 0, 0));
        EXPECT_EQ(pixels.At(pixels.width / 2 - 4, 10), RGB(200, 0, 0));
    }
    // Text over both parts: white over the bar, black over the background.
    bar->SetAlignment(BarAlign::Centre);
    bar->SetTextFormat(L"MMMMMMMMMMMM", kBarTextOnly);
    {
        const BarPixels pixels(bar->Window());
        EXPECT_GT(pixels.Count(RGB(255, 255, 255)), 0);
        EXPECT_GT(pixels.Count(RGB(0, 0, 0)), 0);
    }
}

TEST(TextProgressBarGuiTest, EmptyRangeShowsOnlyBackgroundAndText) {
    TestWindow parent(400, 120);
    const COLORREF background = RGB(255, 223, 255);
    auto bar = MakeBar(parent, background);
    ASSERT_NE(bar, nullptr);
    SendMessageW(bar->Window(), PBM_SETRANGE32, 0, 0);
    bar->SetTextFormat(L"465 GB", kBarTextOnly);
    const BarPixels pixels(bar->Window());
    const int total = pixels.width * pixels.height;
    const int plain = pixels.Count(background);
    const int text = pixels.Count(RGB(0, 0, 0));
    EXPECT_GT(text, 0);
    EXPECT_EQ(pixels.Count(RGB(15, 15, 239)), 0);
    EXPECT_EQ(pixels.Count(RGB(255, 255, 255)), 0); // no filled part, so no text colour over the bar
    // Everything else is the background or the anti-aliased edge of the text.
    EXPECT_GT(plain + text, total * 8 / 10);
}

} // namespace
} // namespace tw::gui
