// The texts of the confirmation dialog. They persist between the questions of one run: a delete question
// keeps the second row of an earlier overwrite question.
#pragma once

#include <string>

namespace tw {

struct ConfirmTexts {
    std::wstring caption;
    std::wstring firstLabel;
    std::wstring firstPath;
    std::wstring secondLabel;
    std::wstring secondPath;

    // "QRB::Confirm file Overwrite": "Overwrite File:" source, "With File:" target.
    void SetOverwrite(const std::wstring& source, const std::wstring& target);
    // "QRB::Confirm file delete": "File:" path; the second row stays as it is.
    void SetDelete(const std::wstring& path);
    // As SetDelete, with FILE_ATTRIBUTE_READONLY on the line under the path.
    void SetDeleteReadOnly(const std::wstring& path);

    // The dialog hides the second label when its text is empty, and the second path (making the window
    // lower) when that is empty.
    [[nodiscard]] bool ShowsSecondLabel() const { return !secondLabel.empty(); }
    [[nodiscard]] bool ShowsSecondPath() const { return !secondPath.empty(); }
};

// The dialog's text capacities, terminator included; longer texts are cut to capacity − 1.
inline constexpr size_t kConfirmPathCapacity = 4096;
inline constexpr size_t kConfirmLabelCapacity = 64;
inline constexpr size_t kConfirmCaptionCapacity = 1024;

} // namespace tw
