// DatabaseList: every known database, as the full path of its msmFMID.pmr under a 16-bit id.
// Ids count up for the whole run and are never reused while the counter has not wrapped.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace tw {

class DatabaseList {
public:
    // Stores path under id, replacing what id held. An absent path is refused (false).
    bool AddDatabase(uint16_t id, const std::optional<std::wstring>& path);
    // Paths compare exactly: two spellings that differ in letter case are two databases.
    [[nodiscard]] bool ContainsDatabase(const std::wstring& path) const { return paths.count(path) != 0; }
    // The path of id, or null.
    [[nodiscard]] const std::wstring* FindDatabase(uint16_t id) const;
    void RemoveDatabase(uint16_t id);
    void ClearDatabases();

    // Adds path under the next id unless the list holds it already; true when it was added.
    bool AddNew(const std::wstring& path);
    [[nodiscard]] uint16_t NextId() const { return nextId; }

    [[nodiscard]] const std::map<uint16_t, std::wstring>& Entries() const { return entries; }

private:
    std::map<uint16_t, std::wstring> entries;
    std::multiset<std::wstring> paths; // a wrapped id may briefly hold a path twice
    uint16_t nextId = 0;
};

} // namespace tw
