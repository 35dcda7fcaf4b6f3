#include "discovery/database_tree.h"

#include "platform/platform.h"

namespace tw {

void DatabaseTree::ScanAllDrives() {
    list.ClearDatabases();
    RebuildItems();
    const std::vector<std::wstring> drives = ReadDriveList(driveStrings);
    if (drives.empty()) {
        return; // no progress window, no search
    }
    std::unique_ptr<Progress> progress = openProgress ? openProgress() : nullptr;
    if (progress) {
        progress->SetCaption(L"Scanning All drives for databases");
    }
    DatabaseSearch search(list, progress.get());
    for (const std::wstring& root : drives) {
        search.SearchDrive(root);
    }
    progress.reset();
    RebuildItems();
}

void DatabaseTree::RebuildItems() {
    control.DeleteDatabaseItems();
    for (const auto& [id, path] : list.Entries()) {
        control.InsertDatabaseItem(path, id);
    }
}

void DatabaseTree::OnDropFiles(const std::vector<std::wstring>& names) {
    DatabaseSearch search(list, nullptr);
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        const std::wstring& name = *it;
        if (platform::IsFolder(name)) {
            search.SearchFolder(name);
            continue;
        }
        const std::wstring last3 = name.size() >= 3 ? name.substr(name.size() - 3) : std::wstring();
        if (last3 == L"pmr" || last3 == L"PMR") {
            list.AddNew(name);
        }
    }
    RebuildItems();
}

std::vector<std::wstring> DatabaseTree::CheckedDatabases() const {
    std::vector<std::wstring> paths;
    for (const auto& [id, checked] : control.DatabaseItems()) {
        if (!checked) {
            continue;
        }
        if (const std::wstring* path = list.FindDatabase(id)) {
            paths.push_back(*path);
        }
    }
    return paths;
}

void DatabaseTree::DeleteCheckedDatabases(const DeleteDatabaseFunction& deleteFiles) {
    // The items are taken before the walk, so that deleting one does not disturb it.
    for (const auto& [id, checked] : control.DatabaseItems()) {
        const std::wstring* path = checked ? list.FindDatabase(id) : nullptr;
        if (path == nullptr) {
            continue;
        }
        if (deleteFiles(std::wstring(*path))) {
            list.RemoveDatabase(id);
            control.DeleteDatabaseItem(id);
        }
    }
}

void DatabaseTree::LoadCheckedDatabases(MediaCatalog& catalog, bool includeMissing, Progress* progress) const {
    for (const std::wstring& path : CheckedDatabases()) {
        catalog.LoadDatabase(path, includeMissing, progress);
    }
}

void DatabaseTree::LoadCheckedDatabasesForBin(MediaCatalog& catalog, bool includeMissing, Progress* progress,
                                              const ReferencedIds* referencedIds) const {
    for (const std::wstring& path : CheckedDatabases()) {
        catalog.LoadDatabaseForBin(path, referencedIds, includeMissing, progress);
    }
}

} // namespace tw
