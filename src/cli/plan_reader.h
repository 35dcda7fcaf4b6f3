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
};

// Reads a table from UTF-8 text (a leading byte order mark is passed over; lines may end in LF or CR LF).
// False with a message naming the row when the text is no table: a row with more or fewer cells than the
// header, a quote that is not closed, JSON that is not an array of objects of texts, numbers and nulls.
[[nodiscard]] bool ParseTable(const std::string& text, PlanTable& table, std::wstring& error);

// One row of a plan with what the file operations use of it.
struct PlanRow {
    size_t number = 0; // the row's place in the plan, from 1
    std::wstring project;
    std::wstring name;
    std::wstring path; // the folder; empty for a file that was missing when the plan was made
    uint64_t size = 0;
};

// The header names a plan's columns are found by.
inline constexpr wchar_t kPlanProject[] = L"Project";
inline constexpr wchar_t kPlanName[] = L"Name";
inline constexpr wchar_t kPlanSize[] = L"Size (bytes)";
inline constexpr wchar_t kPlanPath[] = L"Path";

// The rows of a plan, in its order. Name, Size (bytes) and Path must be columns, and Project too when
// needProject is set. Rows with an empty Path are taken as they are; every other row needs an absolute Path, a
// Name that is one plain name (not empty, not "." or "..", no '/' or '\'), a Size that is a whole number, and no
// zero character in either text. False with a message for the first row or column that fails.
[[nodiscard]] bool TakePlanRows(const PlanTable& table, bool needProject, std::vector<PlanRow>& rows,
                                std::wstring& error);

} // namespace tw::cli
