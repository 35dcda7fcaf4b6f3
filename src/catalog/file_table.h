// FileTable: a project's records keyed by their exact file name, in one flat open-addressing array.
// Each slot keeps the name's hash beside the record, so probing and growing never touch the records
// themselves: a catalog of a hundred thousand files loads without chasing a pointer per comparison. The
// table does not own the records; the catalog does.
#pragma once

#include "catalog/media_record.h"
#include "platform/prefetch.h"

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
    bool Insert(MediaRecord* record) { return Insert(record, Hash(record->fileName.view())); }
    // The same with the name's hash, Hash(record->fileName), already taken.
    bool Insert(MediaRecord* record, uint64_t nameHash);
    // Starts bringing the first slot a name of that hash probes into the cache.
    void Prefetch(uint64_t nameHash) const {
        if (!slots.empty()) {
            platform::PrefetchForRead(&slots[static_cast<size_t>(nameHash) & (slots.size() - 1)]);
        }
    }
    // Forgets every record.
    void Clear();

    [[nodiscard]] size_t Size() const { return count; }
    [[nodiscard]] bool Empty() const { return count == 0; }

    // Slot-order iteration: a position is a slot number; End() is past the last slot.
    [[nodiscard]] size_t Begin() const { return Skip(0); }
    [[nodiscard]] size_t Next(size_t position) const { return Skip(position + 1); }
    [[nodiscard]] size_t End() const { return slots.size(); }
    [[nodiscard]] MediaRecord* At(size_t position) const { return slots[position].record; }

    static uint64_t Hash(std::wstring_view text);
    // The same hash over any n bytes.
    static uint64_t HashBytes(const void* data, size_t n);

private:
    struct Slot {
        uint64_t hash = 0;
        MediaRecord* record = nullptr;
    };

    [[nodiscard]] size_t Skip(size_t position) const;
    void Grow();

    std::vector<Slot> slots;
    size_t count = 0;
};

} // namespace tw
