// Plans as JSON, as the table commands write them with --format json.
#pragma once

#include "cli/plan_table.h"

#include <string>

namespace tw::cli {

// An array of objects whose values are texts, numbers, true, false or null: the keys of the objects, in the order
// they first appear, become the header, and a key an object lacks an absent cell. False with a message naming the
// row for anything else.
[[nodiscard]] bool ParseJsonTable(const std::string& text, PlanTable& table, std::wstring& error);

} // namespace tw::cli
