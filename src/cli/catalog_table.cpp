#include "cli/catalog_table.h"

#include "cli/cli_output.h"
#include "ui/file_cells.h"
#include "ui/project_list_model.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace tw::cli {

namespace {

// The table's columns in their order; Size is a plain byte count here.
constexpr FileColumn kColumns[] = {
    FileColumn::project,     FileColumn::name, FileColumn::nameInBin, FileColumn::size,         FileColumn::compUid,
    FileColumn::compression, FileColumn::path, FileColumn::type,      FileColumn::creationDate, FileColumn::source};

} // namespace

std::vector<TableColumn> RecordColumns() {
    std::vector<TableColumn> columns;
    for (const FileColumn column : kColumns) {
        columns.push_back(column == FileColumn::size ? TableColumn{L"Size (bytes)", ColumnKind::count}
                                                     : TableColumn{FileColumnCaption(column), ColumnKind::text});
    }
    return columns;
}

std::vector<std::wstring> RecordCells(const MediaRecord& record) {
    std::vector<std::wstring> cells;
    for (const FileColumn column : kColumns) {
        cells.push_back(column == FileColumn::size ? std::to_wstring(record.size) : FileCellText(record, column));
    }
    return cells;
}

bool ComesBefore(const MediaRecord& a, const MediaRecord& b) {
    if (a.projectName != b.projectName) {
        return a.projectName < b.projectName;
    }
    return a.fileName < b.fileName;
}

std::vector<const MediaRecord*> SortedRecords(const MediaCatalog& catalog) {
    std::vector<const MediaRecord*> rows;
    rows.reserve(catalog.IndexedRecordCount());
    for (uint32_t i = 0; i < catalog.IndexedRecordCount(); ++i) {
        rows.push_back(catalog.RecordAt(i));
    }
    std::sort(rows.begin(), rows.end(), [](const MediaRecord* a, const MediaRecord* b) { return ComesBefore(*a, *b); });
    return rows;
}

void WriteCatalog(const MediaCatalog& catalog, OutputFormat format) {
    {
        TableWriter table(stdout, format, RecordColumns());
        for (const MediaRecord* record : SortedRecords(catalog)) {
            table.Row(RecordCells(*record));
        }
    } // the table ends before the statistics when both streams go to one place
    WriteLine(stderr, CatalogStatistics(catalog));
}

} // namespace tw::cli
