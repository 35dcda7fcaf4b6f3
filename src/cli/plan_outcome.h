// What a run did, or a dry run would do, with one plan row: the Action, Target and Note of the dry run's table,
// which the run's own lines with --verbose repeat.
#pragma once

#include "cli/plan_item.h"
#include "cli/plan_run.h"

#include <string>

namespace tw::cli {

struct RowDescription {
    const wchar_t* action;
    std::wstring target;
    std::wstring note;
};

// What the run did with the item's file; item is null for a row without a file.
[[nodiscard]] RowDescription DescribeItem(const PlanItem* item, const PlanOptions& options);

} // namespace tw::cli
