// DatabaseTree: the database list and what the user does with it (drive scan, drops, checked loads),
// working on the tree control through a small interface so that it runs without a window in tests and in
// the CLI. The Windows program's tree control implements DatabaseTreeControl.
#pragma once

#include "catalog/media_catalog.h"
#include "discovery/database_list.h"
#include "discovery/database_search.h"
#include "seams/progress.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tw {

// The tree as DatabaseTree sees it: one root, and one checkable item per database under it.
class DatabaseTreeControl {
public:
    virtual ~DatabaseTreeControl() = default;
    // Deletes every child of the root, first to last.
    virtual void DeleteDatabaseItems() = 0;
    // Inserts a checked child of the root with text path and item data id, in text order.
    virtual void InsertDatabaseItem(const std::wstring& path, uint16_t id) = 0;
    // The children of the root in tree order: item data and whether the check box is checked.
    [[nodiscard]] virtual std::vector<std::pair<uint16_t, bool>> DatabaseItems() const = 0;
    // Deletes the child of the root whose item data is id.
    virtual void DeleteDatabaseItem(uint16_t id) = 0;
};

class DatabaseTree {
public:
    // Opens the progress window of a drive scan; may return null (the scan then shows nothing).
    using ScanProgressFactory = std::function<std::unique_ptr<Progress>()>;

    DatabaseTree(DatabaseTreeControl& control, DriveStringsFunction driveStrings, ScanProgressFactory openProgress)
        : control(control), driveStrings(std::move(driveStrings)), openProgress(std::move(openProgress)) {}

    // Replaces the list by a new search of every drive, then rebuilds the items.
    void ScanAllDrives();
    // Deletes every database item and inserts one checked item per list entry.
    void RebuildItems();
    // Folders are searched, files whose last three characters are exactly "pmr" or "PMR" are added;
    // names are taken from the last to the first; the items are rebuilt afterwards.
    void OnDropFiles(const std::vector<std::wstring>& names);
    // The paths of the checked database items, in tree order; items without a path are passed over.
    [[nodiscard]] std::vector<std::wstring> CheckedDatabases() const;
    // Loads every checked database into catalog, in tree order ("Scan!" and "Test"); results are not examined.
    void LoadCheckedDatabases(MediaCatalog& catalog, bool includeMissing, Progress* progress) const;
    // The same for a dropped bin: only the records whose fileMobId the bin references.
    void LoadCheckedDatabasesForBin(MediaCatalog& catalog, bool includeMissing, Progress* progress,
                                    const ReferencedIds* referencedIds) const;

    // Deletes the files of a database, given the path of its index; true when the index file is gone.
    using DeleteDatabaseFunction = std::function<bool(const std::wstring& indexPath)>;
    // "Delete selected databases": for every checked item, first to last, deletes its database's files; an item
    // whose index file was deleted leaves the list and the tree, every other item stays as it is. The catalog is
    // not changed.
    void DeleteCheckedDatabases(const DeleteDatabaseFunction& deleteFiles);

    [[nodiscard]] DatabaseList& List() { return list; }
    [[nodiscard]] const DatabaseList& List() const { return list; }

private:
    DatabaseTreeControl& control;
    DriveStringsFunction driveStrings;
    ScanProgressFactory openProgress;
    DatabaseList list;
};

} // namespace tw
