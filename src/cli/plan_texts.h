// The words the plan commands' messages share: counts of files, what the run did, the system's error texts.
#pragma once

#include "cli/plan_run.h"

#include <cstdint>
#include <string>

namespace tw::cli {

// "1 file", "12 files".
[[nodiscard]] std::wstring FilesText(uint64_t count);
// What the plan's action did to a file: "copied", "moved", "stored (copied)", "stored (moved)", "deleted".
[[nodiscard]] const wchar_t* PastVerb(const PlanOptions& options);
// True when the run moves its files (move, or store --move).
[[nodiscard]] bool MovesFiles(const PlanOptions& options);
// The system's text for a code, without its line break, or "error CODE" when it has none.
[[nodiscard]] std::wstring ErrorText(uint32_t code);

} // namespace tw::cli
