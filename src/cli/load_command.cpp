// tarnwick-cli load [--missing] [--bin BIN ...] INDEX...: database folders into one catalog, printed as a table;
// with bins, only the media they reference, as a bin dropped on the project list loads them.
#include "catalog/media_catalog.h"
#include "cli/catalog_table.h"
#include "cli/commands.h"
#include "cli/terminal_progress.h"
#include "discovery/bin_scan.h"

#include <memory>
#include <string>
#include <vector>

namespace tw::cli {

int LoadCommand(const CommandLine& line) {
    const OutputFormat format = line.format;
    const bool includeMissing = line.Has(L"--missing");
    const std::vector<std::wstring> bins = line.Values(L"--bin");
    bool allRead = true;
    std::vector<std::wstring> indexes;
    for (const std::wstring& index : line.operands) {
        if (IsIndexPath(L"load", index)) {
            indexes.push_back(index);
        } else {
            allRead = false;
        }
    }
    // The load's progress on stderr when it is a terminal; console lines appear above it.
    std::unique_ptr<TerminalProgress> progress = TerminalProgress::ForStderr();
    ConsoleAbove console(progress.get());
    BentoContainer container(&console);
    MediaCatalog catalog(&console);
    catalog.SetContainer(&container);
    catalog.Clear();
    if (bins.empty()) {
        for (const std::wstring& index : indexes) {
            allRead = catalog.LoadDatabase(index, includeMissing, progress.get()) == 1 && allRead;
        }
    }
    for (const std::wstring& bin : bins) {
        // Each bin as a dropped bin: its references, then every index for them, missing files included.
        ReferencedIds referencedIds;
        if (!ReadBinReferences(bin, &console, referencedIds)) {
            allRead = false;
            continue;
        }
        for (const std::wstring& index : indexes) {
            allRead = catalog.LoadDatabaseForBin(index, &referencedIds, true, progress.get()) == 1 && allRead;
        }
    }
    progress.reset(); // the progress line is cleared before the table
    WriteCatalog(catalog, format, ProjectFilter(line.Values(L"--project")));
    return allRead ? kExitOk : kExitFailed;
}

} // namespace tw::cli
