// FileTable: a project's records keyed by their exact file name, through a HashIndex over the records in the
// order they were added. A probe passes the records of other names by the hash bits of its slots, and an
// insertion of a new name reads no record at all. The table does not own the records; the catalog does.
#pragma once

#include "catalog/media_record.h"
#include "container/hash_index.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tw {

class FileTable {
public:
    FileTable() = default;
    FileTable(const FileTable&) = delete;
    FileTable& operator=(const FileTable&) = delete;

    // The record of that exact file name, or null.
    [[nodiscard]] MediaRecord* Find(std::wstring_view fileName) const;
    // Files the record under its fileName (absent = empty name) unless the name is present already;
    // then false is returned and the table is unchanged.
    bool Insert(MediaRecord* record) { return Insert(record, HashText(record->fileName.view())); }
    // The same with the name's hash, HashText(record->fileName), already taken.
    bool Insert(MediaRecord* record, uint64_t nameHash);
    // The first stage of a lookup or insertion of a name of that hash: its first slot.
    void PrefetchSlot(uint64_t nameHash) const { index.PrefetchSlot(nameHash); }
    // Forgets every record.
    void Clear();

    [[nodiscard]] size_t Size() const { return records.size(); }
    [[nodiscard]] bool Empty() const { return records.empty(); }

    // The records in the order they were added: a position runs from Begin() up to End().
    [[nodiscard]] size_t Begin() const { return 0; }
    [[nodiscard]] size_t Next(size_t position) const { return position + 1; }
    [[nodiscard]] size_t End() const { return records.size(); }
    [[nodiscard]] MediaRecord* At(size_t position) const { return records[position]; }

private:
    std::vector<MediaRecord*> records;
    HashIndex index;
};

} // namespace tw
