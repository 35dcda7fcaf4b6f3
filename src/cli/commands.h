// The subcommands of tarnwick-cli. Each takes its parsed command line and returns the process exit status
// (cli/exit_codes.h); a command that returns kExitUsage has said what is wrong, and its usage line follows.
#pragma once

#include "cli/arguments.h"
#include "cli/cli_output.h"
#include "cli/exit_codes.h"

namespace tw::cli {

int PmrCommand(const CommandLine& line);
int ScanCommand(const CommandLine& line);
int TocCommand(const CommandLine& line);
int LoadCommand(const CommandLine& line);
int InfoCommand(const CommandLine& line);
int DumpCommand(const CommandLine& line);
int DrivesCommand(const CommandLine& line);
int BinCommand(const CommandLine& line);
int LooseCommand(const CommandLine& line);
int UnusedCommand(const CommandLine& line);
int DuplicatesCommand(const CommandLine& line);
int CopyCommand(const CommandLine& line);
int MoveCommand(const CommandLine& line);
int StoreCommand(const CommandLine& line);
int DeleteCommand(const CommandLine& line);
int ProjectsCommand(const CommandLine& line);
int ReportCommand(const CommandLine& line);

} // namespace tw::cli
