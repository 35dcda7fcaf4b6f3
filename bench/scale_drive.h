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

// The work no load can avoid: listing the media folders of the indexes with sizes and times, and reading
// every index and media database through.
inline uint64_t ScaleFloor(const std::vector<std::wstring>& indexes) {
    uint64_t sum = 0;
    for (const std::wstring& index : indexes) {
        const std::wstring folder = platform::RemoveFileSpec(index);
        platform::ListFolder(folder, [&](const platform::FolderEntry& e) { sum += e.size + e.creationTime; });
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

// What "Scan!" does: the search of the drive for databases, then every database found loaded into the one
// catalog. Answers the number of databases.
inline uint32_t ScanAndLoad(const std::wstring& drive, MediaCatalog& catalog) {
    const std::vector<std::wstring> indexes = IndexesOn(drive);
    catalog.Clear();
    for (const std::wstring& index : indexes) {
        catalog.LoadDatabase(index, false, nullptr);
    }
    return static_cast<uint32_t>(indexes.size());
}

} // namespace tw::bench
