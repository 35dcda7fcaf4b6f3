// MediaDrop: what a drop on the project list puts into the catalog. Single media files become loose records,
// folders are searched at every depth for media files, and a bin loads exactly the media it references from the
// checked databases. The window around it (busy state, clearing and refilling the lists, the statistics) is the
// main window's; the CLI's loose and load --bin commands use the same engine.
#pragma once

#include "catalog/media_catalog.h"
#include "seams/console.h"
#include "seams/progress.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tw {

class MediaDrop {
public:
    struct Services {
        // Loads the media of the checked databases that the ids reference, missing files included (the
        // database tree's LoadCheckedDatabasesForBin); may be empty: a bin then adds nothing.
        std::function<void(const ReferencedIds& ids, Progress* progress)> loadCheckedForBin;
        // Opens the progress window of a bin's load; may be empty or answer null (nothing is shown).
        std::function<std::unique_ptr<Progress>()> openProgress;
        // Runs after each bin has loaded (the main window shows the statistics and lists the projects); may be empty.
        std::function<void()> binLoaded;
    };

    // catalog receives the records; console (may be null) the bin reader's open-error lines.
    MediaDrop(MediaCatalog& catalog, Console* console, Services services)
        : catalog(catalog), console(console), services(std::move(services)) {}

    // The dropped names, from the last to the first: a folder is searched (AddFolderMedia), other names go by
    // DroppedFileAction to AddLooseOmfFile, AddLooseMxfFile or LoadBinMedia, or are ignored. Adds to what the
    // catalog holds; a drop clears it first.
    void AddDroppedNames(const std::vector<std::wstring>& names);
    // Adds the media files below path at every depth (WalkFolderTree), by FolderFileAction; bins are not read.
    void AddFolderMedia(const std::wstring& path);
    // Adds every record of the checked databases whose fileMobId the bin at path references, missing files
    // included, with a progress window. False when the path is empty or the bin cannot be opened (the reader
    // has written why); nothing is added then.
    bool LoadBinMedia(const std::wstring& path);

private:
    MediaCatalog& catalog;
    Console* console;
    Services services;
};

} // namespace tw
