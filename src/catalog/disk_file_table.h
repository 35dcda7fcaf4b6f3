// DiskFileTable: the listing of the database folder being loaded, keyed by the exact entry name. Names lie
// back to back in one buffer and entries in one array, found through a HashIndex, so that a folder of a
// hundred thousand files costs no allocation per entry. The entries of a listing share the listed folder,
// held once.
#pragma once

#include "catalog/shared_text.h"
#include "container/hash_index.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

// One entry of a folder listing.
struct DiskFileInfo {
    uint32_t attributes = 0;
    uint64_t creationTime = 0; // FILETIME
    uint64_t size = 0;
    // The folder that was listed; empty for the entries of a listing, whose folder the table holds.
    std::wstring folder;
};

class DiskFileTable {
public:
    // The entry of that exact name, made (all zero) when the table holds none.
    DiskFileInfo& operator[](const std::wstring& name) { return Place(name); }
    // The entry of that exact name, or null. nameHash is HashText(name), taken once by a caller that looks
    // the name up in several places.
    [[nodiscard]] const DiskFileInfo* Find(std::wstring_view name, uint64_t nameHash) const {
        const uint32_t at = Locate(name, nameHash);
        return at != HashIndex::kNone ? &entries[at].info : nullptr;
    }
    [[nodiscard]] const DiskFileInfo* Find(std::wstring_view name) const { return Find(name, HashText(name)); }
    // As Find, and remembers that a record has been matched with the entry.
    const DiskFileInfo* FindAndMark(std::wstring_view name, uint64_t nameHash);
    // The stages of a lookup of the name of that hash, each started once what the one before brought has
    // arrived: the first slot, the entry, the entry's name (the key).
    void PrefetchSlot(uint64_t nameHash) const { index.PrefetchSlot(nameHash); }
    void PrefetchEntry(uint64_t nameHash) const { index.PrefetchEntry(nameHash, entries.data()); }
    void PrefetchKey(uint64_t nameHash) const;
    [[nodiscard]] size_t size() const { return entries.size(); }
    [[nodiscard]] bool empty() const { return entries.empty(); }
    // Forgets every entry and the listed folder, and gives their memory back.
    void clear();

    // The folder whose entries are being added; their DiskFileInfo::folder stays empty.
    void SetListedFolder(const std::wstring& folder) { listedFolder = SharedText(folder); }
    // The folder of an entry: its own, or the listed folder, which the records of a load share.
    [[nodiscard]] SharedText FolderOf(const DiskFileInfo& info) const {
        return info.folder.empty() ? listedFolder : SharedText(info.folder);
    }

    // Calls visit(name, info, marked) for every entry, in the order the names were first added; marked
    // tells whether FindAndMark found the entry.
    template <typename Visit> void ForEach(Visit&& visit) const {
        for (const Entry& e : entries) {
            visit(NameOf(e), e.info, e.marked);
        }
    }

private:
    struct Entry {
        DiskFileInfo info;
        size_t nameStart = 0;
        size_t nameLength = 0;
        bool marked = false;
    };

    // The entry number of that exact name; HashIndex::kNone when there is none.
    [[nodiscard]] uint32_t Locate(std::wstring_view name, uint64_t nameHash) const {
        return index.Find(nameHash, [&](uint32_t n) { return NameOf(entries[n]) == name; });
    }

    [[nodiscard]] std::wstring_view NameOf(const Entry& e) const {
        return std::wstring_view(names.data() + e.nameStart, e.nameLength);
    }
    DiskFileInfo& Place(std::wstring_view name);

    std::vector<Entry> entries;
    std::wstring names;
    HashIndex index;
    SharedText listedFolder;
};

} // namespace tw
