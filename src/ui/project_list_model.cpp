#include "ui/project_list_model.h"

#include "platform/platform.h"

#include <cwchar>

namespace tw {

int CompareProjects(int column, const ProjectEntry* a, const ProjectEntry* b) {
    if (a == nullptr || b == nullptr) {
        return a ? -1 : (b ? 1 : 0);
    }
    if (column == 1) {
        return a->totalSize == b->totalSize ? 0 : (a->totalSize > b->totalSize ? -1 : 1);
    }
    const int order = platform::CompareTextIgnoringCase(a->name, b->name);
    return order == 0 ? 0 : (order < 0 ? -1 : 1);
}

ProjectRowAction ActionForProjectRow(size_t selectedAfter, bool wasSelected, bool isSelected) {
    if (selectedAfter == 0) {
        return ProjectRowAction::clearFileList; // whatever changed, no project is left to show
    }
    if (wasSelected == isSelected) {
        return ProjectRowAction::none; // focus only
    }
    return isSelected ? ProjectRowAction::showProject : ProjectRowAction::hideProject;
}

std::wstring CatalogStatistics(const MediaCatalog& catalog) {
    wchar_t buffer[160];
    std::swprintf(buffer, 160, L"Projects count:\t%i\nFiles count:\t%i\nTotal size\t%ls",
                  static_cast<int>(catalog.ProjectCount()), static_cast<int>(catalog.IndexedRecordCount()),
                  platform::FormatByteSize(catalog.TotalSize()).c_str());
    return buffer;
}

} // namespace tw
