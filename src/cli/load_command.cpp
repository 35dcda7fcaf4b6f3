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

int LoadCommand(const Args& given) {
    Args args = given;
    OutputFormat format = OutputFormat::tsv;
    if (!TakeFormatOption(args, format)) {
        return kExitUsage;
    }
    bool includeMissing = false;
    std::vector<std::wstring> bins;
    std::vector<std::wstring> indexes;
    bool usage = false;
    for (size_t i = 0; i < args.size() && !usage; ++i) {
        const std::wstring& a = args[i];
        if (a == L"--missing") {
            includeMissing = true;
        } else if (a == L"--bin" && i + 1 < args.size()) {
            bins.push_back(args[++i]);
        } else if (!a.empty() && a[0] == L'-') {
            usage = true;
        } else {
            indexes.push_back(a);
        }
    }
    if (usage || indexes.empty()) {
        WriteLine(stderr, L"usage: tarnwick-cli load [--missing] [--bin BIN ...] INDEX...");
        return kExitUsage;
    }
    // The load's progress on stderr when it is a terminal; console lines appear above it.
    std::unique_ptr<TerminalProgress> progress = TerminalProgress::ForStderr();
    ConsoleAbove console(progress.get());
    BentoContainer container(&console);
    MediaCatalog catalog(&console);
    catalog.SetContainer(&container);
    catalog.Clear();
    bool allRead = true;
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
    WriteCatalog(catalog, format);
    return allRead ? kExitOk : kExitFailed;
}

} // namespace tw::cli
