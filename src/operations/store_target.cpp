#include "operations/store_target.h"

#include "platform/platform.h"

namespace tw {

namespace {

constexpr wchar_t kCaption[] = L"QRB::Store";

// The results of creating the folder that refuse the target, each with its message (none: refused silently).
struct CreateReaction {
    uint32_t result;
    const wchar_t* message;
};

constexpr CreateReaction kRefusals[] = {
    {platform::kFolderPathNotFound, L"The path may contain an invalid entry."},
    {platform::kFolderFileExists, L"( BUG! )\nThe directory exists."},
    {platform::kFolderBadPathName, L"( BUG! )\nThe Path parameter was set to a relative path."},
    {platform::kFolderAlreadyExists, L"( BUG! )\nThe directory exists. "},
    {platform::kFolderNameTooLong, L"The path is too long."},
    {platform::kFolderCancelled, nullptr},
};

// The system's text for code without the line break it ends with, or the code when the system has no text.
std::wstring TrimmedErrorText(uint32_t code) {
    std::wstring text = platform::SystemErrorText(code);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return text.empty() ? L"error " + std::to_wstring(code) : text + L" (error " + std::to_wstring(code) + L")";
}

StoreTarget Accepted(const std::wstring& path) {
    StoreTarget target;
    target.valid = true;
    target.folder = platform::RemoveTrailingSeparator(path);
    target.editText = target.folder;
    return target;
}

} // namespace

StoreTarget ValidateStoreTarget(const std::wstring& text, FileSystem& files, Prompts& prompts) {
    const std::wstring path = text.substr(0, kStoreTargetCapacity - 1);
    if (path.size() > kStoreTargetMaxLength) {
        prompts.ShowMessage(L"The path is too long for store....", kCaption, MessageButtons::Ok);
        return {};
    }
    if (platform::IsRelativePath(path)) {
        StoreTarget refused;
        refused.editText = L"Please enter absolute path!";
        return refused;
    }
    if (files.PathExists(path)) {
        return Accepted(path);
    }
    if (prompts.ShowMessage(L"Target folder does not exist\nwould you like to create it?", kCaption,
                            MessageButtons::YesNo) != MessageAnswer::Yes) {
        return {};
    }
    const uint32_t result = files.CreateFolderWithParents(path);
    for (const CreateReaction& refusal : kRefusals) {
        if (refusal.result == result) {
            if (refusal.message != nullptr) {
                prompts.ShowMessage(refusal.message, kCaption, MessageButtons::Ok);
            }
            return {};
        }
    }
    // Any other failure (access denied, a full disk, a drive that went away) is said in the system's words: a run
    // into a folder that was not made would fail at its first file.
    if (result != 0 && !files.PathExists(path)) {
        prompts.ShowMessage(L"The folder cannot be made:\n" + TrimmedErrorText(result), kCaption, MessageButtons::Ok);
        return {};
    }
    return Accepted(path);
}

} // namespace tw
