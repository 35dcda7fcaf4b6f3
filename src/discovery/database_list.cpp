#include "discovery/database_list.h"

namespace tw {

bool DatabaseList::AddDatabase(uint16_t id, const std::optional<std::wstring>& path) {
    if (!path) {
        return false;
    }
    RemoveDatabase(id);
    entries.emplace(id, *path);
    paths.insert(*path);
    return true;
}

const std::wstring* DatabaseList::FindDatabase(uint16_t id) const {
    auto found = entries.find(id);
    return found == entries.end() ? nullptr : &found->second;
}

void DatabaseList::RemoveDatabase(uint16_t id) {
    auto found = entries.find(id);
    if (found == entries.end()) {
        return;
    }
    paths.erase(paths.find(found->second));
    entries.erase(found);
}

void DatabaseList::ClearDatabases() {
    entries.clear();
    paths.clear();
}

bool DatabaseList::AddNew(const std::wstring& path) {
    if (ContainsDatabase(path)) {
        return false;
    }
    AddDatabase(nextId, path);
    ++nextId; // wraps past 65,535; an id still in use is then replaced
    return true;
}

} // namespace tw
