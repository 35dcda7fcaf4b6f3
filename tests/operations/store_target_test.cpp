// The store dialog's check of its target folder, on real folders and with the results of folder creation that a
// test cannot make for real.
#include "fixtures/file_io.h"
#include "fixtures/scripted_prompts.h"
#include "operation_doubles.h"
#include "operations/store_target.h"

#include <gtest/gtest.h>

#include <optional>

namespace tw {
namespace {

using Question = fixtures::ScriptedPrompts::Question;

const std::wstring kSep(1, platform::kPathSeparator);
const std::wstring kCreate = L"Target folder does not exist\nwould you like to create it?";

TEST(StoreTargetTest, ExistingFoldersAreTakenWithoutTheirTrailingSeparator) {
    fixtures::ScratchDir dir;
    testing_ops::FaultyFileSystem files;
    fixtures::ScriptedPrompts prompts;
    const StoreTarget plain = ValidateStoreTarget(dir.Path(), files, prompts);
    EXPECT_TRUE(plain.valid);
    EXPECT_EQ(plain.folder, dir.Path());
    const StoreTarget trailing = ValidateStoreTarget(dir.Path() + kSep, files, prompts);
    EXPECT_TRUE(trailing.valid);
    EXPECT_EQ(trailing.folder, dir.Path());
    EXPECT_EQ(trailing.editText, dir.Path());
    // Only existence is looked at: a file passes too.
    ASSERT_TRUE(fixtures::WriteFile(dir / L"notes.txt", std::string("x")));
    EXPECT_TRUE(ValidateStoreTarget(dir / L"notes.txt", files, prompts).valid);
    EXPECT_TRUE(prompts.asked.empty());
}

TEST(StoreTargetTest, RelativeAndEmptyPathsAreAnsweredInTheEditBox) {
    testing_ops::FaultyFileSystem files;
    fixtures::ScriptedPrompts prompts;
    for (const std::wstring& text :
         {std::wstring(L"Store"), std::wstring(L"media" + kSep + L"store"), std::wstring()}) {
        const StoreTarget target = ValidateStoreTarget(text, files, prompts);
        EXPECT_FALSE(target.valid);
        EXPECT_EQ(target.editText, std::wstring(L"Please enter absolute path!"));
    }
    EXPECT_TRUE(prompts.asked.empty());
}

TEST(StoreTargetTest, APathOfMoreThan3500CharactersIsTooLongForStore) {
    fixtures::ScratchDir dir;
    testing_ops::FaultyFileSystem files;
    fixtures::ScriptedPrompts prompts;
    std::wstring text = dir.Path() + kSep;
    text.resize(3501, L'x');
    const StoreTarget target = ValidateStoreTarget(text, files, prompts);
    EXPECT_FALSE(target.valid);
    EXPECT_FALSE(target.editText.has_value());
    EXPECT_EQ(prompts.asked,
              (std::vector<Question>{{L"ShowMessage", L"The path is too long for store....", L"QRB::Store"}}));
    // 3,500 characters pass that check and come to the question whether to make the folder.
    text.resize(3500);
    prompts.asked.clear();
    prompts.messageAnswers = {MessageAnswer::No};
    EXPECT_FALSE(ValidateStoreTarget(text, files, prompts).valid);
    EXPECT_EQ(prompts.asked, (std::vector<Question>{{L"ShowMessage", kCreate, L"QRB::Store"}}));
}

TEST(StoreTargetTest, AMissingFolderIsMadeWithItsParentsOnlyOnYes) {
    fixtures::ScratchDir dir;
    testing_ops::FaultyFileSystem files;
    fixtures::ScriptedPrompts prompts;
    const std::wstring folder = dir / (L"Store" + kSep + L"Harbour");
    prompts.messageAnswers = {MessageAnswer::No};
    const StoreTarget refused = ValidateStoreTarget(folder, files, prompts);
    EXPECT_FALSE(refused.valid);
    EXPECT_FALSE(refused.editText.has_value());
    EXPECT_FALSE(platform::PathExists(dir / L"Store"));

    prompts.messageAnswers = {MessageAnswer::Yes};
    const StoreTarget made = ValidateStoreTarget(folder + kSep, files, prompts);
    EXPECT_TRUE(made.valid);
    EXPECT_EQ(made.folder, folder);
    EXPECT_TRUE(platform::IsFolder(folder));
    EXPECT_EQ(prompts.asked, (std::vector<Question>{{L"ShowMessage", kCreate, L"QRB::Store"},
                                                    {L"ShowMessage", kCreate, L"QRB::Store"}}));
}

TEST(StoreTargetTest, EachResultOfMakingTheFolderHasItsAnswer) {
    struct Case {
        uint32_t result;
        bool valid;
        const wchar_t* message; // null: none
    };
    const Case cases[] = {
        {3, false, L"The path may contain an invalid entry."},
        {80, false, L"( BUG! )\nThe directory exists."},
        {161, false, L"( BUG! )\nThe Path parameter was set to a relative path."},
        {183, false, L"( BUG! )\nThe directory exists. "},
        {206, false, L"The path is too long."},
        {1223, false, nullptr},
        {0, true, nullptr},
        // Any other failure is said in the system's words, and nothing is stored.
        {5, false, L"The folder cannot be made:\n*"},
    };
    fixtures::ScratchDir dir;
    const std::wstring folder = dir / L"Store";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        testing_ops::FaultyFileSystem files;
        files.faults.push_back({testing_ops::FaultyFileSystem::Call::createFolder, folder, c.result});
        fixtures::ScriptedPrompts prompts;
        prompts.messageAnswers = {MessageAnswer::Yes};
        const StoreTarget target = ValidateStoreTarget(folder, files, prompts);
        EXPECT_EQ(target.valid, c.valid);
        EXPECT_EQ(target.editText.has_value(), c.valid);
        std::vector<Question> expected = {{L"ShowMessage", kCreate, L"QRB::Store"}};
        std::wstring message = c.message != nullptr ? c.message : L"";
        if (!message.empty() && message.back() == L'*') {
            // The system's own text follows, with the code.
            message.pop_back();
            ASSERT_EQ(prompts.asked.size(), 2u);
            EXPECT_EQ(prompts.asked[1].first.substr(0, message.size()), message);
            EXPECT_NE(prompts.asked[1].first.find(L"(error " + std::to_wstring(c.result) + L")"), std::wstring::npos);
            message = prompts.asked[1].first;
        }
        if (c.message != nullptr) {
            expected.push_back({L"ShowMessage", message, L"QRB::Store"});
        }
        EXPECT_EQ(prompts.asked, expected);
    }
}

} // namespace
} // namespace tw
