// The subcommands of tarnwick-cli. Each returns the process exit status:
// 0 success, 1 usage error, 2 the input could not be opened or read; the plan commands add 3, 4 and 5
// (cli/plan_run.h).
#pragma once

#include "cli/cli_output.h"

namespace tw::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFailed = 2;

int PmrCommand(const Args& args);
int ScanCommand(const Args& args);
int TocCommand(const Args& args);
int LoadCommand(const Args& args);
int InfoCommand(const Args& args);
int DumpCommand(const Args& args);
int DrivesCommand(const Args& args);
int BinCommand(const Args& args);
int LooseCommand(const Args& args);
int UnusedCommand(const Args& args);
int DuplicatesCommand(const Args& args);
int CopyCommand(const Args& args);
int MoveCommand(const Args& args);
int StoreCommand(const Args& args);
int DeleteCommand(const Args& args);
int ReportCommand(const Args& args);

} // namespace tw::cli
