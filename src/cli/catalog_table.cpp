#include "cli/catalog_table.h"

#include "cli/cli_output.h"
#include "platform/platform.h"
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

// A byte count in decimal, written into out.
void Decimal(uint64_t value, std::wstring& out) {
    wchar_t digits[24];
    size_t n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    out.assign(std::make_reverse_iterator(digits + n), std::make_reverse_iterator(digits));
}

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
    RecordCells(record, cells);
    return cells;
}

void RecordCells(const MediaRecord& record, std::vector<std::wstring>& cells) {
    cells.resize(std::size(kColumns));
    for (size_t i = 0; i < std::size(kColumns); ++i) {
        if (kColumns[i] == FileColumn::size) {
            Decimal(record.size, cells[i]);
        } else {
            FileCellText(record, kColumns[i], cells[i]);
        }
    }
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

std::wstring FullPathOf(const MediaRecord& record) {
    std::wstring path;
    record.GetFullPath(path, 4096);
    return path;
}

// True when both records stand for one file: the same file on the running system, or, where that cannot be told,
// the same full path.
bool SameFile(const MediaRecord& a, const MediaRecord& b) {
    const std::wstring first = FullPathOf(a);
    const std::wstring second = FullPathOf(b);
    platform::FileIdentity x;
    platform::FileIdentity y;
    if (platform::QueryFileIdentity(first, x) && platform::QueryFileIdentity(second, y)) {
        return x.volume == y.volume && x.index == y.index;
    }
    return first == second;
}

} // namespace tw::cli
