// What the project list shows of the catalog's projects, independent of the list control.
#pragma once

#include "catalog/media_catalog.h"

#include <cstddef>
#include <string>

namespace tw {

struct ProjectColumn {
    const wchar_t* caption;
    int width; // pixels; the widths are fixed
};
inline constexpr int kProjectColumnCount = 2;
inline constexpr ProjectColumn kProjectColumns[kProjectColumnCount] = {{L"Project Name", 200}, {L"Size", 83}};

// Header click order: column 0 by name without regard to case, ascending; column 1 by total size, larger first.
[[nodiscard]] int CompareProjects(int column, const ProjectEntry* a, const ProjectEntry* b);

// What a change of the project rows asks of the file list: every change that leaves no row selected empties
// it, whatever changed (a focus, or every row at once); otherwise a row that became selected or stopped being
// selected shows or hides its project.
enum class ProjectRowAction { none, clearFileList, showProject, hideProject };
// selectedAfter: rows selected after the change; wasSelected, isSelected: the row's state before and after.
[[nodiscard]] ProjectRowAction ActionForProjectRow(size_t selectedAfter, bool wasSelected, bool isSelected);

// "Projects count:\t%i\nFiles count:\t%i\nTotal size\t%s", the size as byte-size text.
[[nodiscard]] std::wstring CatalogStatistics(const MediaCatalog& catalog);

} // namespace tw
