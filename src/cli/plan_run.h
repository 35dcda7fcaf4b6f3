// A plan carried out by the file operations of the window, row by row in the plan's order: copy, move, store or
// delete, with the window's conflict rule, console lines, cancel and guarantees. A row is acted on only while its
// file is still the one the plan showed: right before the row is handled, the file at its Path and Name must exist
// and have its Size, otherwise the row is skipped as changed since the plan was made. Rows without a Path (files
// that were missing) are passed over.
#pragma once

#include "cli/exit_codes.h"
#include "cli/plan_rows.h"
#include "cli/table_writer.h"
#include "cli/terminal.h"
#include "cli/terminal_progress.h"
#include "operations/file_system.h"
#include "seams/console.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tw::cli {

enum class PlanAction { copy, move, store, remove };
// What a file that is already at the target gets: asked about, overwritten (Yes to All), or kept (Skip All).
enum class OverwriteMode { ask, all, skip };

struct PlanOptions {
    PlanAction action = PlanAction::copy;
    // copy, move, store: the target folder, a full path.
    std::wstring folder;
    // store: move instead of copy, and into one folder per project.
    bool move = false;
    bool byProject = false;
    bool dryRun = false;
    OverwriteMode overwrite = OverwriteMode::skip;
    // delete: no question before the run, and read-only files deleted without asking.
    bool yes = false;
    // delete: a group whose every copy the plan holds is deleted all the same.
    bool deleteWholeGroups = false;
    // copy, move, store: each copy read back and compared with its source before it takes the file's name.
    bool verify = false;
    // A line per file on the console: what was done with it, or why not.
    bool verbose = false;
    // The dry run's table.
    OutputFormat format = OutputFormat::tsv;
};

// What a run works with. display may be null (no terminal): nothing is drawn.
struct PlanServices {
    FileSystem& files;
    Terminal& terminal;
    const Interrupts& interrupts;
    Console& console;
    TerminalProgress* display = nullptr;
    std::FILE* out = stdout;
};

// What a run did, or a dry run would do, with one plan row: its Action, Source, Target and Note as the dry run's
// table shows them ("copy", "move", "delete", "ask", "skip", "stop", "fail", "not reached").
struct RowOutcome {
    std::wstring action;
    std::wstring source;
    std::wstring target;
    std::wstring note;
    bool operator==(const RowOutcome& other) const {
        return action == other.action && source == other.source && target == other.target && note == other.note;
    }
};

// "tarnwick-cli copy" and the like: how messages of the command start.
[[nodiscard]] std::wstring PlanCommandName(const PlanOptions& options);

// Carries out the plan and writes a summary line to the console. The exit status: 0 when every row was done,
// skipped as asked or passed over; kExitCancelled, kExitRunFailed or kExitChanged; 1 when a delete is not
// confirmed because there is no terminal to ask on and no --yes.
// outcomes (may be null) receives one outcome per plan row, in the plan's order.
[[nodiscard]] int RunPlan(const PlanOptions& options, const std::vector<PlanRow>& rows, const PlanServices& services,
                          std::vector<RowOutcome>* outcomes = nullptr);

// Writes one row per plan row to services.out (Row, Action, Size (bytes), Source, Target, Note: what the run
// would do, from where, to where, or why it would skip the row) and the totals to the console; changes nothing.
// It is the run itself, carried out over a simulated file system that starts from the disk. 0, or kExitRunFailed
// when the store target cannot be used. outcomes (may be null) receives the table's rows.
[[nodiscard]] int DryRunPlan(const PlanOptions& options, const std::vector<PlanRow>& rows, const PlanServices& services,
                             std::vector<RowOutcome>* outcomes = nullptr);

} // namespace tw::cli
