// The catalog as the CLI prints it: the table on stdout, then the statistics on stderr. Shared by load,
// load --bin, loose, unused and duplicates.
#pragma once

#include "catalog/media_catalog.h"
#include "cli/table_writer.h"

#include <string>
#include <vector>

namespace tw::cli {

// The table's columns: the file list's columns with Project first and Size as a plain byte count.
[[nodiscard]] std::vector<TableColumn> RecordColumns();
// The cells of a record's row, in the columns' order.
[[nodiscard]] std::vector<std::wstring> RecordCells(const MediaRecord& record);
// The same cells written into cells, whose texts' storage is reused from row to row.
void RecordCells(const MediaRecord& record, std::vector<std::wstring>& cells);
// Every indexed record of the catalog, sorted by project and file name.
[[nodiscard]] std::vector<const MediaRecord*> SortedRecords(const MediaCatalog& catalog);
// The order of the table: by project, then file name.
[[nodiscard]] bool ComesBefore(const MediaRecord& a, const MediaRecord& b);

// Writes every indexed record as a table with a header, sorted by project and file name, then "Projects count",
// "Files count" and "Total size" to stderr.
void WriteCatalog(const MediaCatalog& catalog, OutputFormat format = OutputFormat::tsv);

} // namespace tw::cli
