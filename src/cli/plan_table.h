// A plan as a table: the header names and the cells of each row, read from any of the formats the table
// commands write (found from the text: JSON when it starts with "[" or "{", tab-separated when its header line
// holds a tab, comma- or semicolon-separated otherwise).
#pragma once

#include <cstddef>
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

// How messages name the row a spreadsheet shows as number: "row 12".
[[nodiscard]] std::wstring RowText(size_t number);

} // namespace tw::cli
