// The dry run: the run itself over a simulated file system that starts from the disk, its outcomes as a table.
#include "cli/plan_file_systems.h"
#include "cli/plan_run.h"
#include "cli/plan_run_adapter.h"
#include "cli/plan_texts.h"
#include "cli/table_writer.h"
#include "operations/simulated_file_system.h"
#include "platform/text.h"

namespace tw::cli {

namespace {

// The dry run's table: one row per plan row, from what the run did with its file, and the totals.
int WriteTable(const PlanRunAdapter& run, const PlanOptions& options, const std::vector<PlanRow>& rows,
               const PlanServices& s) {
    TableWriter table(s.out, options.format,
                      {{L"Row", ColumnKind::count},
                       {L"Action"},
                       {L"Size (bytes)", ColumnKind::count},
                       {L"Source"},
                       {L"Target"},
                       {L"Note"}});
    uint64_t acted = 0;
    uint64_t actedBytes = 0;
    uint64_t asked = 0;
    uint64_t already = 0;
    uint64_t skippedRows = 0;
    uint64_t endedAt = 0;
    for (const PlanRow& row : rows) {
        const RowOutcome line = run.OutcomeOf(row);
        table.Row(
            {std::to_wstring(row.number), line.action, std::to_wstring(row.size), line.source, line.target, line.note});
        const bool passed = row.path.empty();
        const std::wstring& action = line.action;
        if (action == L"ask") {
            ++asked;
        } else if (action == L"skip" && line.note.rfind(L"already done", 0) == 0) {
            ++already;
        } else if (action == L"skip" && !passed) {
            ++skippedRows;
        } else if (action == L"stop" || action == L"fail") {
            endedAt = row.number;
        } else if (action != L"skip" && action != L"not reached") {
            ++acted;
            actedBytes += row.size;
        }
    }
    table.End();
    std::wstring totals = PlanCommandName(options) + L": dry run: " + FilesText(acted) + L" (" +
                          platform::FormatByteSize(actedBytes) + L") would be " + PastVerb(options);
    const auto part = [&](uint64_t count, const std::wstring& text) {
        if (count != 0) {
            totals += L"; " + std::to_wstring(count) + L" " + text;
        }
    };
    part(already, L"already done");
    part(asked, L"asked about");
    part(skippedRows, L"skipped");
    part(run.Tally().passedOver,
         run.Tally().passedOver == 1 ? L"row without a file passed over" : L"rows without a file passed over");
    if (endedAt != 0) {
        totals += L"; the run would end at row " + std::to_wstring(endedAt);
    }
    s.console.AppendLine(totals + L"; nothing was changed");
    return kExitOk;
}

} // namespace

int DryRunPlan(const PlanOptions& options, const std::vector<PlanRow>& rows, const PlanServices& services,
               std::vector<RowOutcome>* outcomes) {
    SimulatedFileSystem whatIf(&services.files);
    WritableCheck checked(whatIf, services.files);
    PlanRunAdapter run(options, rows, services, checked, true);
    if (const std::optional<int> refused = run.Carry()) {
        return *refused;
    }
    if (outcomes != nullptr) {
        for (const PlanRow& row : rows) {
            outcomes->push_back(run.OutcomeOf(row));
        }
    }
    return WriteTable(run, options, rows, services);
}

} // namespace tw::cli
