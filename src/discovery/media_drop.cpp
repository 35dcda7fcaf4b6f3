#include "discovery/media_drop.h"

#include "discovery/bin_scan.h"
#include "discovery/drop_rules.h"
#include "discovery/folder_walk.h"
#include "platform/platform.h"

namespace tw {

namespace {

// Hands a copy of the path to the catalog, which cuts the copy to its folder.
void AddLoose(MediaCatalog& catalog, DropAction action, const std::wstring& path) {
    std::wstring cut = path;
    if (action == DropAction::looseOmf) {
        catalog.AddLooseOmfFile(cut);
    } else if (action == DropAction::looseMxf) {
        catalog.AddLooseMxfFile(cut);
    }
}

} // namespace

void MediaDrop::AddDroppedNames(const std::vector<std::wstring>& names) {
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (platform::IsFolder(*name)) {
            AddFolderMedia(*name);
            continue;
        }
        const DropAction action = DroppedFileAction(*name);
        if (action == DropAction::bin) {
            LoadBinMedia(*name);
        } else {
            AddLoose(catalog, action, *name);
        }
    }
}

void MediaDrop::AddFolderMedia(const std::wstring& path) {
    WalkFolderTree(
        path,
        [&](const platform::FolderEntry&, const std::wstring& full) {
            AddLoose(catalog, FolderFileAction(full), full);
        },
        nullptr);
}

bool MediaDrop::LoadBinMedia(const std::wstring& path) {
    if (path.empty()) {
        return false;
    }
    std::unique_ptr<Progress> progress = services.openProgress ? services.openProgress() : nullptr;
    ReferencedIds referencedIds;
    if (!ReadBinReferences(path, console, referencedIds)) {
        return false;
    }
    if (services.loadCheckedForBin) {
        services.loadCheckedForBin(referencedIds, progress.get());
    }
    progress.reset();
    if (services.binLoaded) {
        services.binLoaded();
    }
    return true;
}

} // namespace tw
