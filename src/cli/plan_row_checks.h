// A plan row's file as the file operations see it, and whether it is still the file the plan showed.
#pragma once

#include "catalog/media_record.h"
#include "cli/plan_rows.h"
#include "operations/file_system.h"

#include <string>

namespace tw::cli {

// The record the file operations work on for a row: its folder, name, project and size.
[[nodiscard]] MediaRecord RecordOfRow(const PlanRow& row);
// The file's full path as the file operations build it; empty when it cannot be built.
[[nodiscard]] std::wstring FullPathOf(const PlanRow& row);
// Why the file at path is not the one the plan showed (not there, a folder, another size), or empty when it is.
// absent: the row's folder itself is not there (a drive not mounted, a folder renamed), which is no change of the
// file.
[[nodiscard]] std::wstring ChangeOf(FileSystem& files, const PlanRow& row, const std::wstring& path, bool& absent);

} // namespace tw::cli
