// A plan carried out on the disk: the run, then its summary.
#include "cli/plan_run.h"

#include "cli/plan_run_adapter.h"
#include "cli/plan_texts.h"
#include "platform/text.h"

namespace tw::cli {

namespace {

// The run's summary on the console, and its exit status.
int Finish(const PlanRunAdapter& run, const PlanOptions& options, Console& console) {
    const PlanTally& t = run.Tally();
    const std::wstring name = PlanCommandName(options);
    const int stopped = run.FirstSelected();
    const size_t notHandled = run.NotHandled();
    std::wstring summary =
        name + L": " + FilesText(t.done) + L" " + PastVerb(options) + L", " + platform::FormatByteSize(t.doneBytes);
    const auto part = [&](uint64_t count, const wchar_t* text) {
        if (count != 0) {
            summary += L"; " + std::to_wstring(count) + L" " + text;
        }
    };
    part(t.alreadyDone, L"already done");
    part(t.skipped, L"skipped");
    part(t.changed, L"changed since the plan was made");
    part(t.absentFolders, t.absentFolders == 1 ? L"in a folder that is not there" : L"in folders that are not there");
    part(run.KeptRows(), L"kept as the last copies of their groups");
    part(notHandled, L"not handled");
    part(t.passedOver, t.passedOver == 1 ? L"row without a file passed over" : L"rows without a file passed over");
    if (stopped >= 0 && !run.Cancelled() && !run.EndedAsAsked()) {
        console.AppendLine(name + L": the run ended at " + run.PathOfItem(stopped) + L" (the lines above say why)");
    } else if (run.Cancelled() && stopped >= 0) {
        console.AppendLine(name + L": cancelled");
    }
    console.AppendLine(summary);
    if (run.Cancelled()) {
        return kExitCancelled;
    }
    if (stopped >= 0 && !run.EndedAsAsked()) {
        return kExitRunFailed;
    }
    if (t.changed != 0 || t.absentFolders != 0) {
        return kExitChanged;
    }
    return run.KeptGroups() ? kExitGroupsKept : kExitOk;
}

} // namespace

int RunPlan(const PlanOptions& options, const std::vector<PlanRow>& rows, const PlanServices& services,
            std::vector<RowOutcome>* outcomes) {
    PlanRunAdapter run(options, rows, services, services.files, false);
    if (const std::optional<int> refused = run.Carry()) {
        return *refused;
    }
    if (outcomes != nullptr) {
        for (const PlanRow& row : rows) {
            outcomes->push_back(run.OutcomeOf(row));
        }
    }
    return Finish(run, options, services.console);
}

} // namespace tw::cli
