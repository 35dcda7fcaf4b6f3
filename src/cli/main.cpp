// tarnwick-cli: the Tarnwick engine from the command line.
#include "cli/commands.h"
#include "cli/revision.h"
#include "platform/platform.h"
#include "platform/wide_main.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace tw::cli {
namespace {

// One entry per command: its options and operands are declared here once, and its usage line, its --help and the
// parsing of its command line all come from them.
struct Command {
    const wchar_t* name;
    std::vector<OptionSpec> options;
    const wchar_t* operands; // as the usage line names them
    size_t minOperands;
    size_t maxOperands;
    const wchar_t* help;
    int (*run)(const CommandLine&);
    // The command prints a table: --format chooses how.
    bool table = false;
    // copy, move, store and delete: the help of plans follows the command's own.
    bool plan = false;
};

constexpr size_t kAny = static_cast<size_t>(-1);

constexpr wchar_t kFormatHelp[] =
    L"\n\n--format tsv|csv|json writes the table tab-separated (the default), comma-separated as RFC 4180 has it,\n"
    L"or as JSON, an array of objects keyed by the header names.";

constexpr wchar_t kPlanHelp[] =
    L"PLAN is a table that load, loose, unused or duplicates printed (a file, or - for standard input), filtered or\n"
    L"edited at will; tab-separated, comma-separated (also with semicolons, as spreadsheets of some languages save\n"
    L"it) and JSON plans are told apart by their text, in UTF-8 or in UTF-16 with a byte order mark; other text is\n"
    L"refused. Its columns are found by their header names (Path, Name and Size (bytes); Project for --by-project).\n"
    L"Rows are numbered as a spreadsheet shows them, the header being row 1. Rows run in the plan's order with the\n"
    L"window's file operations, their console lines on stderr. Right before each file is handled it must still be at\n"
    L"the row's Path and Name with the row's Size, or the row is skipped as changed since the plan was made (or as in\n"
    L"a folder that is not there, when the drive is not mounted); rows without a Path (missing files) are passed\n"
    L"over. A file already at its target, whole, and gone from its source (a move run again), or at its target with\n"
    L"the same bytes (a copy run again), is already done. A plan whose rows name a relative Path or a Name that is\n"
    L"not one plain name is refused. --rebase OLD=NEW (repeatable) reads every Path that starts with the folder OLD\n"
    L"as starting with NEW instead, for a drive mounted elsewhere than when the plan was made (M:\\ included).\n"
    L"--dry-run prints what each row would do and changes nothing; it says \"fail\" where the run would fail, a\n"
    L"target folder that cannot be made or written included. -v adds one line per file: \"copied SOURCE -> TARGET\",\n"
    L"\"deleted PATH\", \"skipped PATH: reason\". On a terminal a progress line shows the files done and skipped,\n"
    L"the bytes, the rate and the time left, and Ctrl+C asks \"Do you want to cancel current task?\"; without one,\n"
    L"Ctrl+C cancels. A cancelled run leaves every file whole.\n"
    L"Exit status: 0 every row done, already done, skipped as asked or passed over; 1 usage error; 2 the plan cannot\n"
    L"be read or lacks a column; 3 cancelled; 4 a failure ended the run; 5 files changed since the plan was made or\n"
    L"their folder is not there; 6 (delete) groups kept whole.";

constexpr wchar_t kTransferHelp[] =
    L"\n--overwrite ask|all|skip: what a file already at the target gets: the window's question (Yes, Yes to All,\n"
    L"Skip, Skip All, Cancel) on a terminal, overwritten, or kept. The default: ask on a terminal, skip otherwise.\n"
    L"--verify reads each copy back and compares it with its source byte for byte before it takes the file's name\n"
    L"(and before a move deletes the source); a copy that differs is a failure, and the source stays.";

const OptionSpec kDryRun{L"--dry-run"};
const OptionSpec kVerbose{L"--verbose", nullptr, false, false, false, L"-v"};
const OptionSpec kRebase{L"--rebase", L"OLD=NEW", false, true};
const OptionSpec kProject{L"--project", L"NAME", false, true};

std::vector<OptionSpec> TransferOptions(std::vector<OptionSpec> own) {
    std::vector<OptionSpec> options{{L"--to", L"DIR", true}};
    options.insert(options.end(), own.begin(), own.end());
    for (const OptionSpec& o : {kDryRun, OptionSpec{L"--overwrite", L"ask|all|skip"}, OptionSpec{L"--verify"},
                                kRebase, kVerbose}) {
        options.push_back(o);
    }
    return options;
}

const Command kCommands[] = {
    {L"pmr", {}, L"FILE", 1, 1,
     L"Reads a media file index (msmFMID.pmr) and prints one line per valid entry, tab-separated:\n"
     L"fileMobId, compUid (16 hexadecimal digits each), project and file name. Damaged entries are\n"
     L"skipped; the reader's console lines go to stderr. Exit status 2 when the index cannot be opened.",
     PmrCommand, true},
    {L"scan", {}, L"[ROOT...]", 0, kAny,
     L"Searches the media folders (\"OMFI MediaFiles\" and \"AVID MediaFiles\", in any letter case) at the\n"
     L"given roots, or at the root of every drive, for media file indexes (msmFMID.pmr, exact name) at any\n"
     L"depth, and prints each path found, one per line, in the order the database tree lists them. A root may\n"
     L"also be a media folder itself. A root with no media folder is named on stderr. Exit status 2 when a root\n"
     L"is not there.",
     ScanCommand},
    {L"toc", {}, L"FILE", 1, 1,
     L"Lists the table of contents of a container (msmMMOB.mdb, an OMF media file), one line per entry:\n"
     L"object id, property name, type name, \":\" for a value stored in the file, then a text value or the\n"
     L"value's offset and length. Exit status 2 when the file cannot be opened, is not a container or\n"
     L"is a container of a version that is not supported.",
     TocCommand},
    {L"load", {{L"--missing"}, {L"--bin", L"BIN", false, true}, kProject}, L"INDEX...", 1, kAny,
     L"Loads the database folders of the given indexes (msmFMID.pmr) into one catalog, in the order given,\n"
     L"and prints every media file as a tab-separated table sorted by project and file name. The load's\n"
     L"console lines and the catalog's statistics go to stderr. --missing keeps index entries whose files\n"
     L"are not in their folder. With --bin (once per bin), only the media each bin references are loaded,\n"
     L"missing files included, as a bin dropped on the project list loads them from the checked databases.\n"
     L"--project NAME (repeatable) prints only the files of those projects.\n"
     L"Exit status 2 when an index or a bin could not be opened (the others still load).",
     LoadCommand, true},
    {L"info", {{L"--depth", L"N"}}, L"FILE", 1, 1,
     L"Prints the object tree the Media Info window shows for a container: object 1 and its properties, with\n"
     L"references expanded N levels deep (0: object 1 and its properties only; default 1), one item per line,\n"
     L"indented two spaces per level, bold items (objects and references) marked with a leading \"*\". An object\n"
     L"already expanded on the path from the root is not expanded again. Exit status 2 when the file cannot be\n"
     L"opened, is not a container or is a container of a version that is not supported.",
     InfoCommand},
    {L"dump", {}, L"FILE ENTRY", 2, 2,
     L"Writes TOC entry ENTRY (counted from 1) of a container as hexadecimal rows, and the value it stores in\n"
     L"the file, as far as the file holds it, as the Media Info window writes them to its console. Exit status\n"
     L"2 when the file cannot be opened or is not a container, 1 when it has no such entry.",
     DumpCommand},
    {L"drives", {}, L"", 0, 0,
     L"Lists every drive as the Hardware tool shows it, one tab-separated row per drive after a header: root,\n"
     L"volume label, type, total, used and free bytes (empty when the drive does not answer), and the label\n"
     L"text beside the drive's bar. On Linux and macOS the drives are the mount points of real file systems.",
     DrivesCommand, true},
    {L"bin", {}, L"FILE...", 1, kAny,
     L"Reads bins (.avb) and prints the media they reference, one line per distinct reference after the\n"
     L"header line fileMobId: the fileMobId each reference stands for, 16 lower-case hexadecimal digits, in\n"
     L"ascending order. Exit status 2 when a bin could not be opened (the reason is on stderr; the others are\n"
     L"still read).",
     BinCommand, true},
    {L"loose", {}, L"PATH...", 1, kAny,
     L"Puts media files and folders into one catalog as a drop on the project list does, and prints it as\n"
     L"load does: OMF, AIFF and WAV files (by the last three characters of their names) with what their own\n"
     L"containers say, under their project or \"**UNKNOWN**\", MXF files under \"**UNKNOWN_MXF**\", and the\n"
     L"media files (by their extension) found in folders at any depth. Paths are taken from the last to the\n"
     L"first; other files are ignored with a note on stderr. Exit status 2 when a path does not exist.",
     LooseCommand, true},
    {L"unused", {{L"--bins", L"PATH", true, false, true}, kProject}, L"[--] INDEX...", 0, kAny,
     L"Loads the databases of the given indexes as load does, reads every bin given or found below the given\n"
     L"folders (files ending in .avb, in any letter case, at any depth, links to folders followed), and prints\n"
     L"the media that no bin references, as load prints them; the files the index does not name are unused by\n"
     L"definition. Without \"--\" the bins end at the first path that is neither a folder nor a .avb file. On stderr:\n"
     L"the number of bins read and the count and size of the unused media. A bin or folder that cannot be read,\n"
     L"or a folder without bins, is named on stderr and ends the command with exit status 2 before anything is\n"
     L"printed. --project NAME (repeatable) prints only the files of those projects. Exit status 2 also when an\n"
     L"index could not be opened (the others still load).",
     UnusedCommand, true},
    {L"duplicates", {{L"--keep", L"RULE"}, kProject}, L"INDEX...", 1, kAny,
     L"Loads each database of the given indexes and prints the media files that share a fileMobId (not zero) with\n"
     L"a file elsewhere, as load prints them with a first column Group: the groups numbered from 1, the largest\n"
     L"total size first. On stderr: the number of groups and the bytes that keeping one copy of each (the largest)\n"
     L"would free. --project NAME (repeatable) looks only at the files of those projects.\n"
     L"--keep first|largest|newest|under=FOLDER prints only the copies to delete, a plan for delete: of each group\n"
     L"it keeps the first copy listed, the largest, the newest (by creation date), or every copy below FOLDER (a\n"
     L"group with no copy there is left out whole); each kept file is named on stderr and in the column Kept, by\n"
     L"which delete makes sure the kept copy is still there before it deletes the others.\n"
     L"Exit status 2 when an index could not be opened (the others still load).",
     DuplicatesCommand, true},
    {L"projects", {{L"--human", nullptr, false, false, false, L"-h"}}, L"INDEX...", 1, kAny,
     L"Loads each database of the given indexes and prints one row per project and database: the project, the\n"
     L"index, the number of files, their bytes and the number of files the index names that are not in the folder.\n"
     L"-h adds the size in units of 1000 bytes (kB, MB, GB, TB, as drives are sold). Exit status 2 when an index\n"
     L"could not be opened (the others still load).",
     ProjectsCommand, true},
    {L"copy", TransferOptions({}), L"PLAN", 1, 1,
     L"Copies the files of a plan into the folder DIR, as F5 copies the selected files.", CopyCommand, true, true},
    {L"move", TransferOptions({}), L"PLAN", 1, 1,
     L"Moves the files of a plan into the folder DIR, as F6 moves the selected files: a rename on the same drive,\n"
     L"otherwise a copy whose source is deleted once the copy is on the disk and as long as the source.",
     MoveCommand, true, true},
    {L"store", TransferOptions({{L"--by-project"}, {L"--move"}}), L"PLAN", 1, 1,
     L"Stores the files of a plan as the store dialog does: into DIR (made with its parents when it is not there),\n"
     L"or with --by-project each into a subfolder of DIR named after its project; copied, or moved with --move. A\n"
     L"project name that cannot be a folder name ends the run (\"Aborted!\", then the name). A run that ends before\n"
     L"its first file leaves no empty folder it made.",
     StoreCommand, true, true},
    {L"delete", {kDryRun, {L"--yes"}, {L"--delete-whole-groups"}, kRebase, kVerbose}, L"PLAN", 1, 1,
     L"Deletes the files of a plan, as F8 deletes the selected files. It first says how many files and bytes it\n"
     L"will delete and asks once (y/N); without a terminal it refuses unless --yes is given. Read-only files are\n"
     L"deleted only with --yes or a Yes to the question about each.\n"
     L"A plan with a column Group (duplicates) never loses a group's last copy: a group whose every copy in the plan\n"
     L"would be deleted is kept whole and named on stderr, unless the plan's column Kept names a copy that is still\n"
     L"there and not in the plan, or --delete-whole-groups is given.",
     DeleteCommand, true, true},
    {L"report",
     {{L"--bins", L"PATH", false, false, true}, {L"--missing"}, {L"--output", L"FILE", false, false, false, L"-o"}},
     L"[INDEX | FOLDER ...]", 0, kAny,
     L"Writes one HTML page of the media of the given indexes (loaded as load loads them), of the databases found\n"
     L"in the given folders (searched as scan searches), or, with neither, of every database on every drive: a\n"
     L"summary of the databases, projects, files, bytes and drives, a treemap of the bytes by drive, media folder,\n"
     L"project and file, and tables of the projects and files, from whose selections the page makes plans for copy,\n"
     L"move, store and delete. --bins takes bins and folders of bins, as unused does, and marks every file used or\n"
     L"unused by them (the bins end at \"--\", an option, or a folder with a media folder in it); --missing keeps\n"
     L"index entries whose files are missing. -o FILE names the page (default tarnwick-report.html; - for stdout);\n"
     L"its path is printed. The page needs no network and runs nothing from outside; it touches no file. Exit\n"
     L"status 2 when a path does not exist, a bin cannot be read (nothing is written) or an index cannot be opened\n"
     L"(the page shows the others).",
     ReportCommand},
};

std::wstring UsageLine(const Command& c) {
    return L"usage: tarnwick-cli " + Synopsis(c.name, c.options, c.table, c.operands);
}

void PrintUsage(std::FILE* stream) {
    WriteLine(stream, L"usage: tarnwick-cli COMMAND [ARGUMENTS]\n\ncommands:");
    for (const Command& c : kCommands) {
        WriteLine(stream, L"  " + Synopsis(c.name, c.options, c.table, c.operands));
    }
    WriteLine(stream, L"\ntarnwick-cli COMMAND --help explains a command; tarnwick-cli --version tells the version.\n"
                      L"Commands that print a table take --format tsv|csv|json. Options take their value as\n"
                      L"--name VALUE or --name=VALUE; -- ends the options.\n"
                      L"Exit status: 0 success, 1 usage error, 2 the input could not be opened; copy, move, store\n"
                      L"and delete: 3 cancelled, 4 a failure ended the run, 5 files changed since the plan was made,\n"
                      L"6 groups kept whole by delete.");
}

int RunCommand(const Command& c, const Args& args) {
    CommandLine line;
    std::wstring error;
    const ParseOutcome outcome = ParseCommandLine(c.options, c.table, args, line, error);
    if (outcome == ParseOutcome::help) {
        std::wstring help = UsageLine(c) + L"\n\n" + c.help;
        if (c.plan) {
            help += std::wstring(L"\n\n") + kPlanHelp + (c.run != DeleteCommand ? kTransferHelp : L"") +
                    L"\n--format tsv|csv|json: how the dry run's table is written.";
        } else if (c.table) {
            help += kFormatHelp;
        }
        WriteLine(stdout, help);
        return kExitOk;
    }
    const size_t operands = line.operands.size();
    if (outcome == ParseOutcome::usage || operands < c.minOperands || (c.maxOperands != kAny && operands > c.maxOperands)) {
        if (!error.empty()) {
            WriteLine(stderr, std::wstring(L"tarnwick-cli ") + c.name + L": " + error);
        }
        WriteLine(stderr, UsageLine(c));
        return kExitUsage;
    }
    const int status = c.run(line);
    if (status == kExitUsage) {
        WriteLine(stderr, UsageLine(c));
    }
    return status;
}

int Run(const Args& args) {
    if (args.empty()) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    if (args[0] == L"--help" || args[0] == L"-h" || args[0] == L"help") {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (args[0] == L"--version" || args[0] == L"-V") {
        WriteLine(stdout, std::wstring(L"tarnwick-cli ") + TW_VERSION + L" (" + TW_REVISION + L")");
        return kExitOk;
    }
    std::vector<std::wstring> names;
    for (const Command& c : kCommands) {
        if (args[0] == c.name) {
            return RunCommand(c, Args(args.begin() + 1, args.end()));
        }
        names.emplace_back(c.name);
    }
    const std::wstring near = NearestOf(args[0], names);
    WriteLine(stderr, L"tarnwick-cli: unknown command '" + args[0] + L"'" +
                          (near.empty() ? L"" : L"; did you mean " + near + L"?"));
    PrintUsage(stderr);
    return kExitUsage;
}

} // namespace
} // namespace tw::cli

int WideMain(const std::vector<std::wstring>& args) {
    // Tables that go to a file, a pipe or the null device are written in large pieces. The C runtime on
    // Windows takes any character device, the NUL device included, for a terminal and writes each line on
    // its own: a table of 300,000 rows sent to NUL then took minutes.
    // The C runtime's text mode would still cut them into pieces of 2 KB as it turns line feeds into CR LF:
    // where it would, the output helpers turn them themselves, into the same bytes.
    if (!tw::platform::IsTerminal(1)) {
        static char buffer[1 << 16];
        std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
        if (tw::platform::TakeOverLineEnds(1)) {
            tw::cli::WriteStdoutLineFeedsAsCrLf();
        }
    }
    return tw::cli::Run(args);
}
