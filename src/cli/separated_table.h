// Plans as separated text: tab-separated lines as the table commands write them, and comma- (or semicolon-)
// separated records as spreadsheets save them.
#pragma once

#include "cli/plan_table.h"

#include <string>

namespace tw::cli {

// Tab-separated lines: each line a row, cells as they are (the tables write no quotes). False with a message
// naming the row when a row has more or fewer cells than the header.
[[nodiscard]] bool ParseTabSeparated(const std::string& text, PlanTable& table, std::wstring& error);
// Records as RFC 4180 has them, separated by separator (spreadsheets of languages that write a decimal comma save
// them with semicolons): a cell in quotes may hold separators, line breaks and doubled quotes. False with a
// message naming the row as above, or when a quote is not closed.
[[nodiscard]] bool ParseCommaSeparated(const std::string& text, char separator, PlanTable& table, std::wstring& error);

} // namespace tw::cli
