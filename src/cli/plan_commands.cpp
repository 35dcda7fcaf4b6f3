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

OverwriteMode OverwriteOf(const std::wstring& value) {
    return value == L"ask" ? OverwriteMode::ask : value == L"all" ? OverwriteMode::all : OverwriteMode::skip;
}

int PlanCommand(PlanAction action, const CommandLine& line) {
    PlanOptions options;
    options.action = action;
    options.format = line.format;
    options.dryRun = line.Has(L"--dry-run");
    options.byProject = line.Has(L"--by-project");
    options.move = line.Has(L"--move");
    options.yes = line.Has(L"--yes");
    options.verify = line.Has(L"--verify");
    options.verbose = line.Has(L"--verbose");
    options.deleteWholeGroups = line.Has(L"--delete-whole-groups");
    const bool overwriteGiven = line.Has(L"--overwrite");
    options.overwrite = OverwriteOf(line.Value(L"--overwrite"));
    const bool transfers = action != PlanAction::remove;
    const std::wstring to = line.Value(L"--to");
    const std::wstring plan = line.operands[0];
    std::vector<Rebase> rebases;
    for (const std::wstring& text : line.Values(L"--rebase")) {
        Rebase rebase;
        if (!ParseRebase(text, rebase)) {
            WriteLine(stderr, PlanCommandName(options) + L": --rebase takes OLD=NEW, two folders, not \"" + text +
                                  L"\"");
            return kExitUsage;
        }
        rebases.push_back(rebase);
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
        !TakePlanRows(table, action == PlanAction::store && options.byProject, rows, error, rebases)) {
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

int CopyCommand(const CommandLine& line) {
    return PlanCommand(PlanAction::copy, line);
}

int MoveCommand(const CommandLine& line) {
    return PlanCommand(PlanAction::move, line);
}

int StoreCommand(const CommandLine& line) {
    return PlanCommand(PlanAction::store, line);
}

int DeleteCommand(const CommandLine& line) {
    return PlanCommand(PlanAction::remove, line);
}

} // namespace tw::cli
