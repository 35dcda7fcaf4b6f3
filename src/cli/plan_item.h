// One plan row with a file, as a run of the plan tracks it from the check before the row is handled to what the
// file operations did with it.
#pragma once

#include "catalog/media_record.h"
#include "cli/plan_rows.h"
#include "operations/step_report.h"

#include <string>

namespace tw::cli {

struct PlanItem {
    const PlanRow* row = nullptr;
    MediaRecord record;
    bool selected = true;
    bool checked = false;
    bool changed = false;
    bool reported = false;
    bool asked = false;
    bool absent = false;      // the row's folder is not there
    bool alreadyDone = false; // the file is at its target already, from an earlier run
    std::wstring doneTarget;
    std::wstring change;
    StepReport report;
};

} // namespace tw::cli
