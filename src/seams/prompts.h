// The prompt seam: the questions a file operation asks the user. The Windows program answers them with
// its confirmation dialog, the shell's folder browser, the keyboard cancel prompt and message boxes; the
// CLI with its flags; tests with scripted answers.
#pragma once

#include <cstdint>
#include <string>

namespace tw {

// The button that closed the confirmation dialog (its dialog result).
enum class ConfirmAnswer : int {
    None = 0, // not asked (yet)
    Cancel = 2,
    Yes = 6,
    YesToAll = 7,
    Skip = 8,
    SkipAll = 9,
};

// A dialog result as an answer: 0, 2, 6, 7, 8 and 9 are themselves, any other result counts as Skip.
[[nodiscard]] inline ConfirmAnswer ToConfirmAnswer(intptr_t result) {
    switch (result) {
    case 0:
    case 2:
    case 6:
    case 7:
    case 8:
    case 9:
        return static_cast<ConfirmAnswer>(result);
    default:
        return ConfirmAnswer::Skip;
    }
}

enum class MessageButtons { Ok, YesNo };
// The button that closed a message box (IDOK, IDYES, IDNO).
enum class MessageAnswer : int { Ok = 1, Yes = 6, No = 7 };

// One object serves one run: the confirmation texts it shows persist between the questions of that run.
class Prompts {
public:
    virtual ~Prompts() = default;
    // "Overwrite File:" source, "With File:" target. None without asking when source is empty.
    virtual ConfirmAnswer AskOverwrite(const std::wstring& source, const std::wstring& target) = 0;
    // "File:" path; the second row keeps what the run showed last. None without asking when path is empty.
    virtual ConfirmAnswer AskDelete(const std::wstring& path) = 0;
    // As AskDelete, with FILE_ATTRIBUTE_READONLY on a second line under the path.
    virtual ConfirmAnswer AskDeleteReadOnly(const std::wstring& path) = 0;
    // Lets the user pick a folder; false when cancelled or when the choice has no file-system path.
    virtual bool ChooseFolder(std::wstring& folder) = 0;
    // Called between the items of a long loop: true when the user pressed a key and then confirmed
    // "Do you want to cancel current task?".
    virtual bool PollCancel() = 0;
    // A message box with the given buttons.
    virtual MessageAnswer ShowMessage(const std::wstring& text, const std::wstring& caption,
                                      MessageButtons buttons) = 0;
};

} // namespace tw
