// tarnwick-cli copy, move, store and delete: a plan (a table that load, loose, unused or duplicates printed, as
// the user left it) carried out by the file operations of the window.
#include "cli/commands.h"
#include "cli/plan_reader.h"
#include "cli/plan_run.h"
#include "cli/terminal.h"
#include "cli/terminal_progress.h"
#include "platform/platform.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace tw::cli {

namespace {

struct NoInterrupts final : Interrupts {
    [[nodiscard]] uint32_t Count() const override { return 0; }
};

const wchar_t* Usage(PlanAction action) {
    switch (action) {
    case PlanAction::copy:
        return L"usage: tarnwick-cli copy --to DIR [--dry-run] [--overwrite=ask|all|skip] [--format F] PLAN";
    case PlanAction::move:
        return L"usage: tarnwick-cli move --to DIR [--dry-run] [--overwrite=ask|all|skip] [--format F] PLAN";
    case PlanAction::store:
        return L"usage: tarnwick-cli store --to DIR [--by-project] [--move] [--dry-run] [--overwrite=ask|all|skip] "
               L"[--format F] PLAN";
    case PlanAction::remove:
        return L"usage: tarnwick-cli delete [--dry-run] [--yes] [--format F] PLAN";
    }
    return L"";
}

// The plan's bytes from a file, or from standard input for "-". False with the reason.
bool ReadPlanText(const std::wstring& plan, std::string& text, std::wstring& error) {
    text.clear();
    char buffer[65536];
    if (plan == L"-") {
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
            text.append(buffer, got);
        }
        if (std::ferror(stdin) != 0) {
            error = L"standard input cannot be read";
            return false;
        }
        return true;
    }
    platform::ReadOnlyFile file;
    uint32_t code = 0;
    if (platform::IsFolder(plan)) {
        error = L"a folder, not a plan";
        return false;
    }
    if (!file.Open(plan, code, error)) {
        return false;
    }
    const uint64_t length = file.Length();
    while (text.size() < length) {
        const uint32_t got = file.Read(buffer, sizeof buffer);
        if (got == 0) {
            error = L"the file cannot be read to its end";
            return false;
        }
        text.append(buffer, got);
    }
    return true;
}

bool TakeOverwrite(const std::wstring& value, OverwriteMode& mode) {
    if (value == L"ask") {
        mode = OverwriteMode::ask;
    } else if (value == L"all") {
        mode = OverwriteMode::all;
    } else if (value == L"skip") {
        mode = OverwriteMode::skip;
    } else {
        return false;
    }
    return true;
}

int PlanCommand(PlanAction action, const Args& given) {
    Args args = given;
    PlanOptions options;
    options.action = action;
    if (!TakeFormatOption(args, options.format)) {
        return kExitUsage;
    }
    std::wstring to;
    std::wstring plan;
    bool overwriteGiven = false;
    bool usage = false;
    const bool transfers = action != PlanAction::remove;
    for (size_t i = 0; i < args.size() && !usage; ++i) {
        const std::wstring& a = args[i];
        if (transfers && a == L"--to" && i + 1 < args.size()) {
            to = args[++i];
        } else if (transfers && a.rfind(L"--to=", 0) == 0) {
            to = a.substr(5);
        } else if (a == L"--dry-run") {
            options.dryRun = true;
        } else if (transfers && a == L"--overwrite" && i + 1 < args.size()) {
            usage = !TakeOverwrite(args[++i], options.overwrite);
            overwriteGiven = true;
        } else if (transfers && a.rfind(L"--overwrite=", 0) == 0) {
            usage = !TakeOverwrite(a.substr(12), options.overwrite);
            overwriteGiven = true;
        } else if (action == PlanAction::store && a == L"--by-project") {
            options.byProject = true;
        } else if (action == PlanAction::store && a == L"--move") {
            options.move = true;
        } else if (action == PlanAction::remove && a == L"--yes") {
            options.yes = true;
        } else if ((a == L"-" || a.empty() || a[0] != L'-') && plan.empty()) {
            plan = a;
        } else {
            usage = true;
        }
    }
    if (usage || plan.empty() || (transfers && to.empty())) {
        WriteLine(stderr, Usage(action));
        return kExitUsage;
    }
    const std::wstring name = PlanCommandName(options);
    // A plan read from standard input leaves nothing there to answer with.
    const bool inputTaken = plan == L"-";
    const bool interactive = !inputTaken && IsTerminalStream(0) && IsTerminalStream(2);
    if (!overwriteGiven) {
        options.overwrite = interactive ? OverwriteMode::ask : OverwriteMode::skip;
    } else if (options.overwrite == OverwriteMode::ask && !interactive && !options.dryRun) {
        WriteLine(stderr, name + L": --overwrite=ask needs a terminal to ask on");
        return kExitUsage;
    }
    if (transfers) {
        options.folder = platform::MakeFullPath(to);
        // A store makes its folder when it is not there; copy and move need one.
        const bool there = platform::PathExists(options.folder);
        if (there ? !platform::IsFolder(options.folder) : action != PlanAction::store) {
            WriteLine(stderr, name + L": " + to + (there ? L": not a folder" : L": no such folder"));
            return kExitUsage;
        }
    }

    std::string text;
    std::wstring error;
    PlanTable table;
    std::vector<PlanRow> rows;
    if (!ReadPlanText(plan, text, error) || !ParseTable(text, table, error) ||
        !TakePlanRows(table, action == PlanAction::store && options.byProject, rows, error)) {
        WriteLine(stderr, name + L": " + (plan == L"-" ? L"standard input" : plan) + L": " + error);
        return kExitFailed;
    }

    // Ctrl+C asks about the run; a dry run it simply ends.
    NoInterrupts none;
    std::optional<InterruptWatch> watch;
    if (!options.dryRun) {
        watch.emplace();
    }
    StandardTerminal terminal(watch ? static_cast<const Interrupts&>(*watch) : none, inputTaken);
    FileSystem files;
    std::unique_ptr<TerminalProgress> display = options.dryRun ? nullptr : TerminalProgress::ForStderr();
    ConsoleAbove console(display.get());
    const PlanServices services{files,   terminal,      watch ? static_cast<const Interrupts&>(*watch) : none,
                                console, display.get(), stdout};
    return options.dryRun ? DryRunPlan(options, rows, services) : RunPlan(options, rows, services);
}

} // namespace

int CopyCommand(const Args& args) {
    return PlanCommand(PlanAction::copy, args);
}

int MoveCommand(const Args& args) {
    return PlanCommand(PlanAction::move, args);
}

int StoreCommand(const Args& args) {
    return PlanCommand(PlanAction::store, args);
}

int DeleteCommand(const Args& args) {
    return PlanCommand(PlanAction::remove, args);
}

} // namespace tw::cli
