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

// A byte count in decimal.
std::wstring Decimal(uint64_t value) {
    wchar_t digits[24];
    size_t n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    return std::wstring(std::make_reverse_iterator(digits + n), std::make_reverse_iterator(digits));
}

} // namespace

void WriteCatalog(const MediaCatalog& catalog) {
    // Sorted by project name, then file name: the projects are put in order once, and each record is
    // ranked by its project, whose name it bears.
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
    WriteLine(stdout, Line([](FileColumn column) -> std::wstring {
                  return column == FileColumn::size ? L"Size (bytes)" : FileColumnCaption(column);
              }));
    for (const MediaRecord* record : rows) {
        WriteLine(stdout, Line([&](FileColumn column) {
                      return column == FileColumn::size ? Decimal(record->size) : FileCellText(*record, column);
                  }));
    }
    std::fflush(stdout); // the table ends before the statistics when both streams go to one place
    WriteLine(stderr, CatalogStatistics(catalog));
}

} // namespace tw::cli
