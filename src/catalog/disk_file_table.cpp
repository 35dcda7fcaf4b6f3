#include "catalog/disk_file_table.h"

#include "platform/prefetch.h"

namespace tw {

void DiskFileTable::PrefetchKey(uint64_t nameHash) const {
    const uint32_t candidate = index.Candidate(nameHash);
    if (candidate != HashIndex::kNone) {
        platform::PrefetchForRead(names.data() + entries[candidate].nameStart);
    }
}

const DiskFileInfo* DiskFileTable::FindAndMark(std::wstring_view name, uint64_t nameHash) {
    const uint32_t at = Locate(name, nameHash);
    if (at == HashIndex::kNone) {
        return nullptr;
    }
    entries[at].marked = true;
    return &entries[at].info;
}

DiskFileInfo& DiskFileTable::Place(std::wstring_view name) {
    const auto added = static_cast<uint32_t>(entries.size());
    const uint32_t at = index.Place(HashText(name), added, [&](uint32_t n) { return NameOf(entries[n]) == name; });
    if (at != added) {
        return entries[at].info;
    }
    Entry entry;
    entry.nameStart = names.size();
    entry.nameLength = name.size();
    names.append(name);
    entries.push_back(std::move(entry));
    return entries.back().info;
}

void DiskFileTable::clear() {
    std::vector<Entry>().swap(entries);
    std::wstring().swap(names);
    index.Clear();
    listedFolder.reset();
}

} // namespace tw
