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

// One tab-separated line of the texts cell(column) gives for the table's columns.
template <typename Cell> std::wstring Line(Cell&& cell) {
    std::wstring line;
    for (size_t i = 0; i < std::size(kColumns); ++i) {
        if (i != 0) {
            line += L'\t';
        }
        line += cell(kColumns[i]);
    }
    return line;
}

} // namespace

void WriteCatalog(const MediaCatalog& catalog) {
    std::vector<const MediaRecord*> rows;
    rows.reserve(catalog.IndexedRecordCount());
    for (uint32_t i = 0; i < catalog.IndexedRecordCount(); ++i) {
        rows.push_back(catalog.RecordAt(i));
    }
    std::sort(rows.begin(), rows.end(), [](const MediaRecord* a, const MediaRecord* b) {
        if (a->projectName != b->projectName) {
            return a->projectName < b->projectName;
        }
        return a->fileName < b->fileName;
    });
    WriteLine(stdout, Line([](FileColumn column) -> std::wstring {
                  return column == FileColumn::size ? L"Size (bytes)" : FileColumnCaption(column);
              }));
    for (const MediaRecord* record : rows) {
        WriteLine(stdout, Line([&](FileColumn column) {
                      return column == FileColumn::size ? std::to_wstring(record->size) : FileCellText(*record, column);
                  }));
    }
    std::fflush(stdout); // the table ends before the statistics when both streams go to one place
    WriteLine(stderr, CatalogStatistics(catalog));
}

} // namespace tw::cli
