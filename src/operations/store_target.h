// The store dialog's check of its target folder, as typed or chosen: the texts it answers with and the folder it
// creates when the user wants it.
#pragma once

#include "operations/file_system.h"
#include "seams/prompts.h"

#include <cstddef>
#include <optional>
#include <string>

namespace tw {

// The edit box is read into this many characters (its terminator included).
inline constexpr size_t kStoreTargetCapacity = 4096;
// A longer target is refused.
inline constexpr size_t kStoreTargetMaxLength = 3500;

struct StoreTarget {
    bool valid = false;
    // The folder to store into, without a trailing separator (valid only).
    std::wstring folder;
    // The edit box's new text, when it changes: the cleaned folder, or "Please enter absolute path!".
    std::optional<std::wstring> editText;
};

// Checks the edit box's text: too long ("The path is too long for store...."), relative, existing, or missing and
// then created with its parents when the user answers Yes. Messages go through prompts with caption "QRB::Store".
[[nodiscard]] StoreTarget ValidateStoreTarget(const std::wstring& text, FileSystem& files, Prompts& prompts);

} // namespace tw
