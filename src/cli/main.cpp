// tarnwick-cli: the Tarnwick engine from the command line.
#include "cli/commands.h"
#include "platform/platform.h"
#include "platform/wide_main.h"

#include <cstdio>
#include <cstring>

namespace tw::cli {
namespace {

struct Command {
    const wchar_t* name;
    const wchar_t* synopsis;
    const wchar_t* help;
    int (*run)(const Args&);
    // The command prints a table: --format chooses how.
    bool table = false;
};

constexpr wchar_t kFormatHelp[] =
    L"\n\n--format tsv|csv|json writes the table tab-separated (the default), comma-separated as RFC 4180 has it,\n"
    L"or as JSON, an array of objects keyed by the header names.";

constexpr wchar_t kPlanHelp[] =
    L"PLAN is a table that load, loose, unused or duplicates printed (a file, or - for standard input), filtered or\n"
    L"edited at will; tab-separated, comma-separated and JSON plans are told apart by their text. Its columns are\n"
    L"found by their header names (Path, Name and Size (bytes); Project for --by-project). Rows run in the plan's\n"
    L"order with the window's file operations, their console lines on stderr. Right before each file is handled it\n"
    L"must still be at the row's Path and Name with the row's Size, or the row is skipped as changed since the plan\n"
    L"was made; rows without a Path (missing files) are passed over. A plan whose rows name a relative Path or a\n"
    L"Name that is not one plain name is refused. --dry-run prints what each row would do and changes nothing.\n"
    L"On a terminal a progress line shows the files and bytes done, the rate and the time left, and Ctrl+C asks\n"
    L"\"Do you want to cancel current task?\"; without one, Ctrl+C cancels. A cancelled run leaves every file whole.\n"
    L"Exit status: 0 every row done, skipped as asked or passed over; 1 usage error; 2 the plan cannot be read or\n"
    L"lacks a column; 3 cancelled; 4 a failure ended the run; 5 files changed since the plan was made.";

constexpr wchar_t kOverwriteHelp[] =
    L"\n--overwrite=ask|all|skip: what a file already at the target gets: the window's question (Yes, Yes to All,\n"
    L"Skip, Skip All, Cancel) on a terminal, overwritten, or kept. The default: ask on a terminal, skip otherwise.";

const Command kCommands[] = {
    {L"pmr", L"pmr FILE",
     L"Reads a media file index (msmFMID.pmr) and prints one line per valid entry, tab-separated:\n"
     L"fileMobId, compUid (16 hexadecimal digits each), project and file name. Damaged entries are\n"
     L"skipped; the reader's console lines go to stderr. Exit status 2 when the index cannot be opened.",
     PmrCommand, true},
    {L"scan", L"scan [ROOT...]",
     L"Searches the media folders (\"OMFI MediaFiles\" and \"AVID MediaFiles\", in any letter case) at the\n"
     L"given roots, or at the root of every drive, for media file indexes (msmFMID.pmr, exact name) at any\n"
     L"depth, and prints each path found, one per line, in the order the database tree lists them.",
     ScanCommand},
    {L"toc", L"toc FILE",
     L"Lists the table of contents of a container (msmMMOB.mdb, an OMF media file), one line per entry:\n"
     L"object id, property name, type name, \":\" for a value stored in the file, then a text value or the\n"
     L"value's offset and length. Exit status 2 when the file cannot be opened, is not a container or\n"
     L"is a container of a version that is not supported.",
     TocCommand},
    {L"load", L"load [--missing] [--bin BIN ...] INDEX...",
     L"Loads the database folders of the given indexes (msmFMID.pmr) into one catalog, in the order given,\n"
     L"and prints every media file as a tab-separated table sorted by project and file name. The load's\n"
     L"console lines and the catalog's statistics go to stderr. --missing keeps index entries whose files\n"
     L"are not in their folder. With --bin (once per bin), only the media each bin references are loaded,\n"
     L"missing files included, as a bin dropped on the project list loads them from the checked databases.\n"
     L"Exit status 2 when an index or a bin could not be opened (the others still load).",
     LoadCommand, true},
    {L"info", L"info FILE [--depth N]",
     L"Prints the object tree the Media Info window shows for a container: object 1 and its properties, with\n"
     L"references expanded N levels deep (0: object 1 and its properties only; default 1), one item per line,\n"
     L"indented two spaces per level, bold items (objects and references) marked with a leading \"*\". An object\n"
     L"already expanded on the path from the root is not expanded again. Exit status 2 when the file cannot be\n"
     L"opened, is not a container or is a container of a version that is not supported.",
     InfoCommand},
    {L"dump", L"dump FILE ENTRY",
     L"Writes TOC entry ENTRY (counted from 1) of a container as hexadecimal rows, and the value it stores in\n"
     L"the file, as far as the file holds it, as the Media Info window writes them to its console. Exit status\n"
     L"2 when the file cannot be opened or is not a container, 1 when it has no such entry.",
     DumpCommand},
    {L"drives", L"drives",
     L"Lists every drive as the Hardware tool shows it, one tab-separated row per drive after a header: root,\n"
     L"volume label, type, total, used and free bytes (empty when the drive does not answer), and the label\n"
     L"text beside the drive's bar. On Linux and macOS the drives are the mount points of real file systems.",
     DrivesCommand, true},
    {L"bin", L"bin FILE...",
     L"Reads bins (.avb) and prints the media they reference, one line per distinct reference after the\n"
     L"header line fileMobId: the fileMobId each reference stands for, 16 lower-case hexadecimal digits, in\n"
     L"ascending order. Exit status 2 when a bin could not be opened (the reason is on stderr; the others are\n"
     L"still read).",
     BinCommand, true},
    {L"loose", L"loose PATH...",
     L"Puts media files and folders into one catalog as a drop on the project list does, and prints it as\n"
     L"load does: OMF, AIFF and WAV files (by the last three characters of their names) with what their own\n"
     L"containers say, under their project or \"**UNKNOWN**\", MXF files under \"**UNKNOWN_MXF**\", and the\n"
     L"media files (by their extension) found in folders at any depth. Paths are taken from the last to the\n"
     L"first; other files are ignored with a note on stderr. Exit status 2 when a path does not exist.",
     LooseCommand, true},
    {L"unused", L"unused --bins PATH... [--] INDEX...",
     L"Loads the databases of the given indexes as load does, reads every bin given or found below the given\n"
     L"folders (files ending in .avb, in any letter case, at any depth, links to folders followed), and prints\n"
     L"the media that no bin references, as load prints them; the files the index does not name are unused by\n"
     L"definition. Without \"--\" the bins end at the first path that is neither a folder nor a .avb file. On stderr:\n"
     L"the number of bins read and the count and size of the unused media. A bin or folder that cannot be read,\n"
     L"or a folder without bins, is named on stderr and ends the command with exit status 2 before anything is\n"
     L"printed. Exit status 2 also when an index could not be opened (the others still load).",
     UnusedCommand, true},
    {L"duplicates", L"duplicates INDEX...",
     L"Loads each database of the given indexes and prints the media files that share a fileMobId (not zero) with\n"
     L"a file elsewhere, as load prints them with a first column Group: the groups numbered from 1, the largest\n"
     L"total size first. On stderr: the number of groups and the bytes that keeping one copy of each (the largest)\n"
     L"would free. Exit status 2 when an index could not be opened (the others still load).",
     DuplicatesCommand, true},
    {L"copy", L"copy --to DIR [--dry-run] [--overwrite=ask|all|skip] PLAN",
     L"Copies the files of a plan into the folder DIR, as F5 copies the selected files.", CopyCommand},
    {L"move", L"move --to DIR [--dry-run] [--overwrite=ask|all|skip] PLAN",
     L"Moves the files of a plan into the folder DIR, as F6 moves the selected files: a rename on the same drive,\n"
     L"otherwise a copy whose source is deleted once the copy is on the disk and as long as the source.",
     MoveCommand},
    {L"store", L"store --to DIR [--by-project] [--move] [--dry-run] [--overwrite=ask|all|skip] PLAN",
     L"Stores the files of a plan as the store dialog does: into DIR (made with its parents when it is not there),\n"
     L"or with --by-project each into a subfolder of DIR named after its project; copied, or moved with --move. A\n"
     L"project name that cannot be a folder name ends the run (\"Aborted!\").",
     StoreCommand},
    {L"delete", L"delete [--dry-run] [--yes] PLAN",
     L"Deletes the files of a plan, as F8 deletes the selected files. It first says how many files and bytes it\n"
     L"will delete and asks once (y/N); without a terminal it refuses unless --yes is given. Read-only files are\n"
     L"deleted only with --yes or a Yes to the question about each.",
     DeleteCommand},
    {L"report", L"report [--bins PATH...] [--missing] [-o FILE] [INDEX | FOLDER ...]",
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

bool IsPlanCommand(const Command& c) {
    return c.run == CopyCommand || c.run == MoveCommand || c.run == StoreCommand || c.run == DeleteCommand;
}

void PrintUsage(std::FILE* stream) {
    WriteLine(stream, L"usage: tarnwick-cli COMMAND [ARGUMENTS]\n\ncommands:");
    for (const Command& c : kCommands) {
        WriteLine(stream, std::wstring(L"  ") + c.synopsis);
    }
    WriteLine(stream, L"\ntarnwick-cli COMMAND --help explains a command. Commands that print a table take\n"
                      L"--format tsv|csv|json.\n"
                      L"Exit status: 0 success, 1 usage error, 2 the input could not be opened; copy, move, store\n"
                      L"and delete: 3 cancelled, 4 a failure ended the run, 5 files changed since the plan was made.");
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
    for (const Command& c : kCommands) {
        if (args[0] != c.name) {
            continue;
        }
        Args rest(args.begin() + 1, args.end());
        for (const std::wstring& a : rest) {
            if (a == L"--help" || a == L"-h") {
                std::wstring help = std::wstring(L"usage: tarnwick-cli ") + c.synopsis + L"\n\n" + c.help;
                if (IsPlanCommand(c)) {
                    help += std::wstring(L"\n\n") + kPlanHelp + (c.run != DeleteCommand ? kOverwriteHelp : L"") +
                            L"\n--format tsv|csv|json: how the dry run's table is written.";
                } else if (c.table) {
                    help += kFormatHelp;
                }
                WriteLine(stdout, help);
                return kExitOk;
            }
        }
        return c.run(rest);
    }
    WriteLine(stderr, L"tarnwick-cli: unknown command '" + args[0] + L"'");
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
