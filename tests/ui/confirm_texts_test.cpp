#include "fixtures/scripted_prompts.h"
#include "seams/prompts.h"
#include "ui/banner.h"
#include "ui/confirm_texts.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace tw {
namespace {

TEST(ConfirmTextsTest, DeleteKeepsTheSecondRowOfAnEarlierOverwrite) {
    ConfirmTexts texts;
    texts.SetDelete(L"D:\\a.omf");
    EXPECT_EQ(texts.caption, L"QRB::Confirm file delete");
    EXPECT_EQ(texts.firstLabel, L"File:");
    EXPECT_FALSE(texts.ShowsSecondLabel());
    EXPECT_FALSE(texts.ShowsSecondPath());

    texts.SetOverwrite(L"D:\\src.omf", L"E:\\dst.omf");
    EXPECT_EQ(texts.caption, L"QRB::Confirm file Overwrite");
    EXPECT_EQ(texts.firstLabel, L"Overwrite File:");
    EXPECT_EQ(texts.firstPath, L"D:\\src.omf");
    EXPECT_EQ(texts.secondLabel, L"With File:");
    EXPECT_EQ(texts.secondPath, L"E:\\dst.omf");

    texts.SetDeleteReadOnly(L"D:\\b.omf");
    EXPECT_EQ(texts.firstPath, L"D:\\b.omf \nFILE_ATTRIBUTE_READONLY");
    EXPECT_EQ(texts.secondPath, L"E:\\dst.omf");
    EXPECT_TRUE(texts.ShowsSecondLabel() && texts.ShowsSecondPath());
}

TEST(ConfirmTextsTest, TextsAreCutToTheirCapacity) {
    ConfirmTexts texts;
    texts.SetOverwrite(std::wstring(5000, L'a'), std::wstring(4095, L'b'));
    EXPECT_EQ(texts.firstPath.size(), kConfirmPathCapacity - 1);
    EXPECT_EQ(texts.secondPath.size(), kConfirmPathCapacity - 1);
    texts.SetDeleteReadOnly(std::wstring(4090, L'c'));
    EXPECT_EQ(texts.firstPath.size(), kConfirmPathCapacity - 1);
}

TEST(ConfirmTextsTest, DialogResultsAsAnswers) {
    struct Case {
        intptr_t result;
        ConfirmAnswer answer;
    };
    const Case cases[] = {
        {0, ConfirmAnswer::None},     {2, ConfirmAnswer::Cancel}, {6, ConfirmAnswer::Yes},
        {7, ConfirmAnswer::YesToAll}, {8, ConfirmAnswer::Skip},   {9, ConfirmAnswer::SkipAll},
        {1, ConfirmAnswer::Skip},     {-1, ConfirmAnswer::Skip},  {1000, ConfirmAnswer::Skip},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToConfirmAnswer(c.result), c.answer) << c.result;
    }
}

TEST(ConfirmTextsTest, ScriptedPromptsAnswerInOrderThenStopSafely) {
    fixtures::ScriptedPrompts prompts;
    prompts.confirmAnswers = {ConfirmAnswer::YesToAll};
    EXPECT_EQ(prompts.AskOverwrite(L"a", L"b"), ConfirmAnswer::YesToAll);
    EXPECT_EQ(prompts.AskDelete(L"c"), ConfirmAnswer::Cancel);
    EXPECT_EQ(prompts.AskDeleteReadOnly(L""), ConfirmAnswer::None);
    std::wstring folder;
    EXPECT_FALSE(prompts.ChooseFolder(folder));
    EXPECT_FALSE(prompts.PollCancel());
    EXPECT_EQ(prompts.ShowMessage(L"Sure?", L"QRB", MessageButtons::YesNo), MessageAnswer::No);
    const std::vector<fixtures::ScriptedPrompts::Question> asked = {{L"AskOverwrite", L"a", L"b"},
                                                                    {L"AskDelete", L"c", L""},
                                                                    {L"ChooseFolder", L"", L""},
                                                                    {L"ShowMessage", L"Sure?", L"QRB"}};
    EXPECT_EQ(prompts.asked, asked);
}

TEST(BannerTest, NamesTheProgramAndItsBuildDate) {
    const std::wstring banner = ProgramBanner();
    const std::wstring head = L"Tarnwick for AVID applications (build: ";
    ASSERT_EQ(banner.rfind(head, 0), 0u);
    ASSERT_EQ(banner.size(), head.size() + 11 + 2);
    EXPECT_EQ(banner.substr(banner.size() - 2), L" )");
    const std::wstring date = banner.substr(head.size(), 11); // "Jun 23 2007"
    EXPECT_TRUE(std::iswupper(date[0]) && std::iswlower(date[1]) && date[3] == L' ' && date[6] == L' ');
    EXPECT_TRUE(std::iswdigit(date[5]) && std::iswdigit(date[10]));
    EXPECT_EQ(std::wstring(kConsoleRule), std::wstring(28, L'-'));
}

} // namespace
} // namespace tw
