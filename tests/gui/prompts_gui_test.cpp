#include "gui_harness.h"
#include "resource.h"
#include "ui/win32/confirm_dialog.h"
#include "ui/win32/prompts.h"
#include "ui/window_layout.h"

#include <gtest/gtest.h>

#include <functional>

namespace tw::gui {
namespace {

// What the confirmation dialog showed while it was open.
struct Seen {
    std::wstring caption;
    std::wstring firstLabel;
    std::wstring firstPath;
    std::wstring secondLabel;
    std::wstring secondPath;
    bool secondLabelVisible = false;
    bool secondPathVisible = false;
    int height = 0;
};

Seen Look(HWND dialog) {
    Seen seen;
    seen.caption = WindowText(dialog);
    seen.firstLabel = ControlText(dialog, IDC_CONFIRM_FIRST_LABEL);
    seen.firstPath = ControlText(dialog, IDC_CONFIRM_FIRST_PATH);
    seen.secondLabel = ControlText(dialog, IDC_CONFIRM_SECOND_LABEL);
    seen.secondPath = ControlText(dialog, IDC_CONFIRM_SECOND_PATH);
    seen.secondLabelVisible = IsWindowVisible(GetDlgItem(dialog, IDC_CONFIRM_SECOND_LABEL)) != 0;
    seen.secondPathVisible = IsWindowVisible(GetDlgItem(dialog, IDC_CONFIRM_SECOND_PATH)) != 0;
    seen.height = OuterSize(dialog).cy;
    return seen;
}

// The outer height of template 159 as the system makes it.
int TemplateHeight() {
    HWND probe = CreateDialogParamW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CONFIRM), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    const int height = OuterSize(probe).cy;
    DestroyWindow(probe);
    return height;
}

// Asks through ask, looks at the dialog with this caption and closes it with a key.
ConfirmAnswer AnswerWithKey(const std::wstring& caption, int key, Seen& seen,
                            const std::function<ConfirmAnswer()>& ask) {
    WhenWindowAppears(CaptionIs(caption), [&seen, key](HWND dialog) {
        seen = Look(dialog);
        PostKeyToFocus(key);
    });
    return ask();
}

class PromptsGuiTest : public testing::Test {
protected:
    void TearDown() override {
        EXPECT_TRUE(AllStepsRan());
        ForgetSteps();
    }
};

TEST_F(PromptsGuiTest, OverwriteShowsBothRowsAndEscapeAnswersCancel) {
    ConfirmDialog confirm(nullptr);
    Seen seen;
    EXPECT_EQ(AnswerWithKey(L"QRB::Confirm file Overwrite", VK_ESCAPE, seen,
                            [&] { return confirm.AskOverwrite(L"D:\\OMFI MediaFiles\\a.omf", L"E:\\target\\a.omf"); }),
              ConfirmAnswer::Cancel);
    EXPECT_EQ(seen.firstLabel, L"Overwrite File:");
    EXPECT_EQ(seen.firstPath, L"D:\\OMFI MediaFiles\\a.omf");
    EXPECT_EQ(seen.secondLabel, L"With File:");
    EXPECT_EQ(seen.secondPath, L"E:\\target\\a.omf");
    EXPECT_TRUE(seen.secondLabelVisible && seen.secondPathVisible);
    EXPECT_EQ(seen.height, TemplateHeight());
}

TEST_F(PromptsGuiTest, DeleteHidesTheSecondRowAndIs60PixelsLowerAndEnterAnswersCancel) {
    ConfirmDialog confirm(nullptr);
    Seen seen;
    EXPECT_EQ(AnswerWithKey(L"QRB::Confirm file delete", VK_RETURN, seen,
                            [&] { return confirm.AskDelete(L"D:\\OMFI MediaFiles\\b.omf"); }),
              ConfirmAnswer::Cancel);
    EXPECT_EQ(seen.firstLabel, L"File:");
    EXPECT_FALSE(seen.secondLabelVisible);
    EXPECT_FALSE(seen.secondPathVisible);
    EXPECT_EQ(seen.height, TemplateHeight() - kConfirmShrink);
}

TEST_F(PromptsGuiTest, ButtonsAnswerAndTextsPersistWithinARun) {
    struct Case {
        int button;
        ConfirmAnswer answer;
    };
    const Case cases[] = {{IDC_CONFIRM_YES, ConfirmAnswer::Yes},
                          {IDC_CONFIRM_YES_TO_ALL, ConfirmAnswer::YesToAll},
                          {IDC_CONFIRM_SKIP, ConfirmAnswer::Skip},
                          {IDC_CONFIRM_SKIP_ALL, ConfirmAnswer::SkipAll},
                          {IDCANCEL, ConfirmAnswer::Cancel}};
    ConfirmDialog confirm(nullptr);
    for (const Case& c : cases) {
        WhenWindowAppears(CaptionIs(L"QRB::Confirm file Overwrite"),
                          [&](HWND dialog) { ClickButton(dialog, c.button); });
        EXPECT_EQ(confirm.AskOverwrite(L"D:\\a.omf", L"E:\\a.omf"), c.answer);
    }
    // A read-only question after an overwrite keeps the second row; the path gets a second line.
    Seen seen;
    WhenWindowAppears(CaptionIs(L"QRB::Confirm file delete"), [&](HWND dialog) {
        seen = Look(dialog);
        ClickButton(dialog, IDC_CONFIRM_YES);
    });
    EXPECT_EQ(confirm.AskDeleteReadOnly(L"D:\\c.omf"), ConfirmAnswer::Yes);
    EXPECT_EQ(seen.firstPath, L"D:\\c.omf \nFILE_ATTRIBUTE_READONLY");
    EXPECT_EQ(seen.secondPath, L"E:\\a.omf");
    EXPECT_TRUE(seen.secondPathVisible);
    // A missing path shows nothing.
    EXPECT_EQ(confirm.AskDelete(L""), ConfirmAnswer::None);
}

TEST_F(PromptsGuiTest, PollCancelAsksOnKeyPressesOnly) {
    TestWindow window(300, 200);
    ASSERT_TRUE(window.TakeFocus());
    DropPendingInput();
    EXPECT_FALSE(PollCancel());

    struct Case {
        int button;
        bool cancel;
    };
    for (const Case c : {Case{IDYES, true}, Case{IDNO, false}}) {
        ASSERT_TRUE(window.TakeFocus());
        TypeKey('Q');
        ASSERT_TRUE(WaitForInput(3000));
        bool asked = false;
        WhenWindowAppears(ShowsText(L"Do you want to cancel current task?"), [&](HWND box) {
            asked = true;
            ClickButton(box, c.button);
        });
        EXPECT_EQ(PollCancel(), c.cancel);
        EXPECT_TRUE(asked);
        MSG left;
        // After No the keyboard messages are all taken; after Yes the key's release may still wait.
        if (!c.cancel) {
            EXPECT_FALSE(PeekMessageW(&left, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
        }
        DropPendingInput();
    }
}

TEST_F(PromptsGuiTest, PollCancelLeavesMouseInputQueued) {
    TestWindow window(300, 200);
    ASSERT_TRUE(window.TakeFocus());
    DropPendingInput();
    RECT r{};
    GetWindowRect(window.Get(), &r);
    ClickMouseAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    MSG message;
    ASSERT_TRUE(WaitForInput(3000));
    EXPECT_FALSE(PollCancel());
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE));
    DropPendingInput();
}

TEST_F(PromptsGuiTest, ChooseFolderWithoutRoomAnswersFalseAtOnce) {
    wchar_t buffer[8] = {};
    EXPECT_FALSE(ChooseFolder(nullptr, buffer, 0));
    EXPECT_FALSE(ChooseFolder(nullptr, nullptr, 8));
}

} // namespace
} // namespace tw::gui
