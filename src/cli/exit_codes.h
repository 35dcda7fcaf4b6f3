// The exit statuses of tarnwick-cli, one list for every command (the README lists them too).
#pragma once

namespace tw::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;      // the command line is wrong; the usage line says how it goes
inline constexpr int kExitFailed = 2;     // an input (index, bin, plan, root) could not be opened or read
inline constexpr int kExitCancelled = 3;  // Ctrl+C confirmed, Cancel answered, or the delete not confirmed
inline constexpr int kExitRunFailed = 4;  // a failure ended the run
inline constexpr int kExitChanged = 5;    // files changed since the plan was made, or their folder is not there
inline constexpr int kExitGroupsKept = 6; // a delete kept groups of which the plan held every copy

} // namespace tw::cli
