// A drive at scale, as the scale benchmarks measure it natively and under Wine: the floor of its load and
// the load itself ("Scan!").
#pragma once

#include "bench_core.h"
#include "catalog/media_catalog.h"
#include "catalog/media_files.h"
#include "discovery/database_search.h"
#include "platform/platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tw::bench {

// Lists a folder with sizes and times; a sum of them, so that nothing is left out.
inline uint64_t ListThrough(const std::wstring& folder) {
    uint64_t sum = 0;
    platform::ListFolder(folder, [&](const platform::FolderEntry& e) { sum += e.size + e.creationTime; });
    return sum;
}

// The work no load can avoid: listing the media folders of the indexes with sizes and times, and reading
// every index and media database through.
inline uint64_t ScaleFloor(const std::vector<std::wstring>& indexes) {
    uint64_t sum = 0;
    for (const std::wstring& index : indexes) {
        const std::wstring folder = platform::RemoveFileSpec(index);
        sum += ListThrough(folder);
        sum += ReadThrough(index) + ReadThrough(platform::JoinPath(folder, kDatabaseFileName));
    }
    return sum;
}

// The indexes the search finds on the drive.
inline std::vector<std::wstring> IndexesOn(const std::wstring& drive) {
    DatabaseList list;
    DatabaseSearch search(list, nullptr);
    search.SearchDrive(drive);
    std::vector<std::wstring> indexes;
    for (const auto& [id, index] : list.Entries()) {
        indexes.push_back(index);
    }
    return indexes;
}

// What the program's "Scan!" button does with the databases of the tree: every one loaded into the one catalog,
// emptied first. Answers the catalog's records.
inline uint32_t LoadAll(const std::vector<std::wstring>& indexes, MediaCatalog& catalog) {
    catalog.Clear();
    for (const std::wstring& index : indexes) {
        catalog.LoadDatabase(index, false, nullptr);
    }
    return catalog.IndexedRecordCount();
}

// The search of the drive for databases, then every database found loaded into the one catalog, as the program
// does at its start and at "Scan!". Answers the number of databases.
inline uint32_t ScanAndLoad(const std::wstring& drive, MediaCatalog& catalog) {
    const std::vector<std::wstring> indexes = IndexesOn(drive);
    LoadAll(indexes, catalog);
    return static_cast<uint32_t>(indexes.size());
}

} // namespace tw::bench
