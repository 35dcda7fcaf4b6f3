// Plans: the tables that load, loose, unused and duplicates print, handed back to copy, move, store or delete.
// A plan is read whole, in any of the table formats (found from its text: JSON when it starts with "[" or "{",
// tab-separated when its header line holds a tab, comma-separated otherwise); its columns are found by their
// header names, and every row that names a file must name it by an absolute folder and a plain name, or the plan
// is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tw::cli {

// A table as read: the header names and, per row, one cell per header name (absent: a JSON object without
// that key).
struct PlanTable {
    std::vector<std::wstring> header;
    std::vector<std::vector<std::optional<std::wstring>>> rows;
    // The row a spreadsheet shows each row in: the header is row 1 (a JSON plan's objects count from row 2).
    std::vector<size_t> numbers;
};

// Reads a table from UTF-8 text (a leading byte order mark is passed over) or UTF-16 text with a byte order mark;
// lines may end in LF, CR LF or (old Mac text) CR alone. Separated text is tab-separated when its header line holds
// a tab, else separated by semicolons when the header line holds more of them than commas, else by commas.
// False with a message naming the row when the text is no table: text that is not UTF-8 (named as such, with the
// row that holds the first byte that is not), a row with more or fewer cells than the header, a quote that is not
// closed, JSON that is not an array of objects of texts, numbers and nulls.
[[nodiscard]] bool ParseTable(const std::string& text, PlanTable& table, std::wstring& error);

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
