#include "cli/catalog_table.h"

#include "cli/cli_output.h"
#include "platform/platform.h"
#include "ui/file_cells.h"
#include "ui/load_table.h"
#include "ui/project_list_model.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tw::cli {

std::vector<TableColumn> RecordColumns() {
    const std::vector<std::wstring> names = LoadTableColumnNames();
    std::vector<TableColumn> columns;
    for (size_t i = 0; i < names.size(); ++i) {
        columns.push_back({names[i], kLoadTableColumns[i] == FileColumn::size ? ColumnKind::count : ColumnKind::text});
    }
    return columns;
}

std::vector<std::wstring> RecordCells(const MediaRecord& record) {
    std::vector<std::wstring> cells;
    RecordCells(record, cells);
    return cells;
}

void RecordCells(const MediaRecord& record, std::vector<std::wstring>& cells) {
    LoadTableCells(record, cells);
}

bool ComesBefore(const MediaRecord& a, const MediaRecord& b) {
    if (a.projectName != b.projectName) {
        return a.projectName < b.projectName;
    }
    return a.fileName < b.fileName;
}

std::vector<const MediaRecord*> SortedRecords(const MediaCatalog& catalog) {
    // In the order of ComesBefore: the projects are put in order once, and each record is ranked by its
    // project, whose name it bears.
    std::vector<uint32_t> projectRank(catalog.ProjectCount(), 0);
    {
        std::vector<const ProjectEntry*> projects;
        for (uint32_t id = 0; id < catalog.ProjectCount(); ++id) {
            projects.push_back(catalog.ProjectAt(id));
        }
        std::sort(projects.begin(), projects.end(),
                  [](const ProjectEntry* a, const ProjectEntry* b) { return a->name < b->name; });
        for (uint32_t rank = 0; rank < projects.size(); ++rank) {
            projectRank[static_cast<size_t>(projects[rank]->id)] = rank;
        }
    }
    std::vector<const MediaRecord*> rows;
    rows.reserve(catalog.IndexedRecordCount());
    for (uint32_t i = 0; i < catalog.IndexedRecordCount(); ++i) {
        rows.push_back(catalog.RecordAt(i));
    }
    std::sort(rows.begin(), rows.end(), [&](const MediaRecord* a, const MediaRecord* b) {
        const uint32_t rankA = projectRank[static_cast<size_t>(a->projectId)];
        const uint32_t rankB = projectRank[static_cast<size_t>(b->projectId)];
        if (rankA != rankB) {
            return rankA < rankB;
        }
        return a->fileName < b->fileName;
    });
    return rows;
}

bool ProjectFilter::Accepts(const MediaRecord& record) const {
    return names.empty() || std::find(names.begin(), names.end(), record.projectName.value_or(L"")) != names.end();
}

void ProjectFilter::NameUnknown(const std::wstring& command, const std::vector<const MediaRecord*>& records) const {
    for (const std::wstring& name : names) {
        const bool known = std::any_of(records.begin(), records.end(), [&name](const MediaRecord* record) {
            return record->projectName.value_or(L"") == name;
        });
        if (!known) {
            WriteLine(stderr, L"tarnwick-cli " + command + L": no project \"" + name + L"\" in the databases loaded");
        }
    }
}

void WriteCatalog(const MediaCatalog& catalog, OutputFormat format, const ProjectFilter& filter) {
    const std::vector<const MediaRecord*> records = SortedRecords(catalog);
    uint64_t files = 0;
    uint64_t bytes = 0;
    std::vector<std::wstring> projects;
    {
        TableWriter table(stdout, format, RecordColumns());
        std::vector<std::wstring> cells;
        for (const MediaRecord* record : records) {
            if (!filter.Accepts(*record)) {
                continue;
            }
            RecordCells(*record, cells);
            table.Row(cells);
            ++files;
            bytes += record->size;
            if (projects.empty() || projects.back() != record->projectName.value_or(L"")) {
                projects.push_back(record->projectName.value_or(L""));
            }
        }
    } // the table ends before the statistics when both streams go to one place
    if (!filter.Any()) {
        WriteLine(stderr, CatalogStatistics(catalog));
        return;
    }
    filter.NameUnknown(L"load", records);
    WriteLine(stderr, L"Projects count:\t" + std::to_wstring(projects.size()) + L"\nFiles count:\t" +
                          std::to_wstring(files) + L"\nTotal size\t" + platform::FormatByteSize(bytes));
}

bool IsIndexPath(const std::wstring& command, const std::wstring& path) {
    if (!platform::EqualIgnoringCase(platform::FindExtension(path), L".mdb")) {
        return true;
    }
    WriteLine(stderr, L"tarnwick-cli " + command + L": " + path +
                          L": this is a media database; give its msmFMID.pmr (the index in the same folder)");
    return false;
}

} // namespace tw::cli
