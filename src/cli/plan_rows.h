// What the file operations take of a plan: its rows, each naming one file by an absolute folder and a plain
// name, with the plan's paths moved where --rebase says.
#pragma once

#include "cli/plan_table.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tw::cli {

// One row of a plan with what the file operations use of it.
struct PlanRow {
    size_t number = 0; // the row a spreadsheet shows it in (the header is row 1)
    std::wstring project;
    std::wstring name;
    std::wstring path; // the folder; empty for a file that was missing when the plan was made
    uint64_t size = 0;
    // A plan of duplicates: the row's group (absent when the plan has no column Group), and the full path of the
    // copy that is kept of it (empty when the plan does not say).
    std::optional<std::wstring> group;
    std::wstring kept;
};

// --rebase OLD=NEW: a plan's paths that start with the folder OLD start with NEW instead.
struct Rebase {
    std::wstring from;
    std::wstring to; // a full path
};
// False when text is not OLD=NEW with both sides given.
[[nodiscard]] bool ParseRebase(const std::wstring& text, Rebase& rebase);
// path with the first rebase whose OLD folder it starts with applied: OLD is compared without regard to letter case
// and with '/' and '\' alike (a plan made on Windows, "M:\Media", read elsewhere), and the rest of the path takes
// this system's separator. path itself when none applies.
[[nodiscard]] std::wstring Rebased(const std::wstring& path, const std::vector<Rebase>& rebases);

// The header names a plan's columns are found by.
inline constexpr wchar_t kPlanProject[] = L"Project";
inline constexpr wchar_t kPlanName[] = L"Name";
inline constexpr wchar_t kPlanSize[] = L"Size (bytes)";
inline constexpr wchar_t kPlanPath[] = L"Path";
inline constexpr wchar_t kPlanGroup[] = L"Group";
inline constexpr wchar_t kPlanKept[] = L"Kept";

// The rows of a plan, in its order. Name, Size (bytes) and Path must be columns, and Project too when
// needProject is set. Rows with an empty Path are taken as they are; every other row needs an absolute Path, a
// Name that is one plain name (not empty, not "." or "..", no '/' or '\'), a Size that is a whole number, and no
// zero character in either text. Paths (and the Kept copies) are rebased first. False with a message for the first
// row or column that fails.
[[nodiscard]] bool TakePlanRows(const PlanTable& table, bool needProject, std::vector<PlanRow>& rows,
                                std::wstring& error, const std::vector<Rebase>& rebases = {});

} // namespace tw::cli
