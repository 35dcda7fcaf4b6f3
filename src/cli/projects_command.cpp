// tarnwick-cli projects [-h] INDEX...: one row per project and database, with its files, bytes and missing files,
// so that a summary needs no script over load's table.
#include "catalog/media_catalog.h"
#include "cli/catalog_table.h"
#include "cli/commands.h"
#include "platform/platform.h"

#include <cstdio>
#include <iterator>
#include <map>
#include <string>

namespace tw::cli {

namespace {

struct ProjectTotals {
    uint64_t files = 0;
    uint64_t bytes = 0;
    uint64_t missing = 0;
};

} // namespace

// A byte count in units of 1000, as drives are sold: "999 bytes", "1.50 kB", "12.3 MB", "931 GB".
std::wstring DecimalByteSize(uint64_t bytes) {
    if (bytes < 1000) {
        return std::to_wstring(bytes) + L" bytes";
    }
    const wchar_t* const units[] = {L"kB", L"MB", L"GB", L"TB", L"PB", L"EB"};
    double value = static_cast<double>(bytes) / 1000.0;
    size_t unit = 0;
    while (value >= 999.995 && unit + 1 < std::size(units)) {
        value /= 1000.0;
        ++unit;
    }
    wchar_t text[32];
    const int decimals = value < 9.995 ? 2 : value < 99.95 ? 1 : 0;
    std::swprintf(text, 32, L"%.*f %ls", decimals, value, units[unit]);
    return text;
}

int ProjectsCommand(const CommandLine& line) {
    const bool human = line.Has(L"--human");
    StderrConsole console;
    BentoContainer container(&console);
    std::vector<TableColumn> columns{{L"Project"},
                                     {L"Index"},
                                     {L"Files", ColumnKind::count},
                                     {L"Size (bytes)", ColumnKind::count},
                                     {L"Missing", ColumnKind::count}};
    if (human) {
        columns.push_back({L"Size (1 kB = 1000 bytes)"});
    }
    bool allRead = true;
    TableWriter table(stdout, line.format, columns);
    for (const std::wstring& index : line.operands) {
        if (!IsIndexPath(L"projects", index)) {
            allRead = false;
            continue;
        }
        MediaCatalog catalog(&console);
        catalog.SetContainer(&container);
        catalog.Clear();
        // Missing files count too: they are what the summary tells of.
        allRead = catalog.LoadDatabase(index, true, nullptr) == 1 && allRead;
        std::map<std::wstring, ProjectTotals> projects;
        for (const MediaRecord* record : SortedRecords(catalog)) {
            ProjectTotals& totals = projects[record->projectName.value_or(L"")];
            if (record->IsMissing() || !record->path) {
                ++totals.missing;
            } else {
                ++totals.files;
                totals.bytes += record->size;
            }
        }
        for (const auto& [name, totals] : projects) {
            std::vector<std::wstring> cells{name, index, std::to_wstring(totals.files), std::to_wstring(totals.bytes),
                                            std::to_wstring(totals.missing)};
            if (human) {
                cells.push_back(DecimalByteSize(totals.bytes));
            }
            table.Row(cells);
        }
    }
    table.End();
    return allRead ? kExitOk : kExitFailed;
}

} // namespace tw::cli
