// tarnwick-cli loose PATH...: what a drop of media files and folders on the project list puts into the catalog.
#include "catalog/media_catalog.h"
#include "cli/catalog_table.h"
#include "cli/commands.h"
#include "discovery/drop_rules.h"
#include "discovery/media_drop.h"
#include "platform/platform.h"

#include <string>
#include <vector>

namespace tw::cli {

int LooseCommand(const CommandLine& line) {
    const Args& args = line.operands;
    const OutputFormat format = line.format;
    // A drop hands over full paths; the loose records keep the folder part of the path they are given.
    std::vector<std::wstring> names;
    bool allFound = true;
    for (const std::wstring& a : args) {
        const std::wstring path = platform::MakeFullPath(a);
        if (!platform::PathExists(path)) {
            WriteLine(stderr, L"tarnwick-cli loose: " + a + L": no such file or folder");
            allFound = false;
            continue;
        }
        const DropAction action = platform::IsFolder(path) ? DropAction::ignore : DroppedFileAction(path);
        if (action == DropAction::bin) {
            WriteLine(stderr, L"tarnwick-cli loose: " + a + L": a bin, ignored (bins load with load --bin)");
            continue;
        }
        if (action == DropAction::ignore && !platform::IsFolder(path)) {
            WriteLine(stderr, L"tarnwick-cli loose: " + a + L": not a media file, ignored");
            continue;
        }
        names.push_back(path);
    }
    StderrConsole console;
    BentoContainer container(&console);
    MediaCatalog catalog(&console);
    catalog.SetContainer(&container);
    catalog.Clear();
    MediaDrop(catalog, &console, MediaDrop::Services{}).AddDroppedNames(names);
    WriteCatalog(catalog, format);
    return allFound ? kExitOk : kExitFailed;
}

} // namespace tw::cli
