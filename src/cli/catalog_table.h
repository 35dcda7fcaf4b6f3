// The catalog as the CLI prints it: the table on stdout, then the statistics on stderr. Shared by load,
// load --bin, loose, unused and duplicates.
#pragma once

#include "catalog/media_catalog.h"
#include "cli/table_writer.h"
#include "ui/load_table.h"

#include <string>
#include <utility>
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

// The projects a command was asked to show (--project, repeatable); none given: every project.
class ProjectFilter {
public:
    explicit ProjectFilter(std::vector<std::wstring> names) : names(std::move(names)) {}
    [[nodiscard]] bool Any() const { return !names.empty(); }
    [[nodiscard]] bool Accepts(const MediaRecord& record) const;
    // Names on stderr, after "tarnwick-cli COMMAND: ", each asked-for project that no loaded record has.
    void NameUnknown(const std::wstring& command, const std::vector<const MediaRecord*>& records) const;

private:
    std::vector<std::wstring> names;
};

// Writes every indexed record that filter accepts as a table with a header, sorted by project and file name, then
// "Projects count", "Files count" and "Total size" (of the rows written) to stderr.
void WriteCatalog(const MediaCatalog& catalog, OutputFormat format = OutputFormat::tsv,
                  const ProjectFilter& filter = ProjectFilter({}));

// A byte count in units of 1000, as drives are sold: "999 bytes", "1.50 kB", "12.3 MB", "931 GB".
[[nodiscard]] std::wstring DecimalByteSize(uint64_t bytes);

// True when path may be loaded as a media file index. A media database (.mdb) given in its place is refused with a
// message on stderr, after "tarnwick-cli COMMAND: ", that asks for its index.
[[nodiscard]] bool IsIndexPath(const std::wstring& command, const std::wstring& path);

} // namespace tw::cli
