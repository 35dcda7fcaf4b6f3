#include "catalog/disk_file_table.h"

#include "platform/prefetch.h"

namespace tw {

namespace {

// A slot holds the entry number + 1 in its low half and the high half of the name's hash in its high half
// (0: free), so that a probe reads an entry only when the hash halves agree.
constexpr uint64_t kCheckBits = 0xFFFFFFFF00000000ull;

} // namespace

size_t DiskFileTable::Probe(std::wstring_view name, uint64_t h) const {
    const size_t mask = slots.size() - 1;
    size_t i = static_cast<size_t>(h) & mask;
    for (; slots[i] != 0; i = (i + 1) & mask) {
        if ((slots[i] & kCheckBits) != (h & kCheckBits)) {
            continue;
        }
        const Entry& e = entries[static_cast<uint32_t>(slots[i]) - 1];
        if (e.hash == h && NameOf(e) == name) {
            break;
        }
    }
    return i;
}

size_t DiskFileTable::Locate(std::wstring_view name, uint64_t h) const {
    if (slots.empty()) {
        return entries.size();
    }
    const uint64_t slot = slots[Probe(name, h)];
    return slot == 0 ? entries.size() : static_cast<uint32_t>(slot) - 1;
}

void DiskFileTable::Prefetch(uint64_t nameHash) const {
    if (!slots.empty()) {
        platform::PrefetchForRead(&slots[static_cast<size_t>(nameHash) & (slots.size() - 1)]);
    }
}

const DiskFileTable::Entry* DiskFileTable::FirstCandidate(uint64_t h) const {
    if (slots.empty()) {
        return nullptr;
    }
    const size_t mask = slots.size() - 1;
    for (size_t i = static_cast<size_t>(h) & mask; slots[i] != 0; i = (i + 1) & mask) {
        if ((slots[i] & kCheckBits) == (h & kCheckBits)) {
            return &entries[static_cast<uint32_t>(slots[i]) - 1];
        }
    }
    return nullptr;
}

void DiskFileTable::PrefetchEntry(uint64_t nameHash) const {
    if (const Entry* e = FirstCandidate(nameHash)) {
        platform::PrefetchForRead(e);
    }
}

void DiskFileTable::PrefetchName(uint64_t nameHash) const {
    if (const Entry* e = FirstCandidate(nameHash)) {
        platform::PrefetchForRead(names.data() + e->nameStart);
    }
}

const DiskFileInfo* DiskFileTable::FindAndMark(std::wstring_view name, uint64_t nameHash) {
    const size_t at = Locate(name, nameHash);
    if (at == entries.size()) {
        return nullptr;
    }
    entries[at].marked = true;
    return &entries[at].info;
}

DiskFileInfo& DiskFileTable::Place(std::wstring_view name) {
    if ((entries.size() + 1) * 2 > slots.size()) {
        Grow();
    }
    const uint64_t h = FileTable::Hash(name);
    const size_t i = Probe(name, h);
    if (slots[i] != 0) {
        return entries[static_cast<uint32_t>(slots[i]) - 1].info;
    }
    Entry added;
    added.hash = h;
    added.nameStart = names.size();
    added.nameLength = name.size();
    names.append(name);
    entries.push_back(std::move(added));
    slots[i] = (h & kCheckBits) | entries.size();
    return entries.back().info;
}

void DiskFileTable::Grow() {
    std::vector<uint64_t>(slots.empty() ? 64 : slots.size() * 2, 0).swap(slots);
    const size_t mask = slots.size() - 1;
    for (size_t n = 0; n < entries.size(); ++n) {
        size_t i = static_cast<size_t>(entries[n].hash) & mask;
        while (slots[i] != 0) {
            i = (i + 1) & mask;
        }
        slots[i] = (entries[n].hash & kCheckBits) | (n + 1);
    }
}

void DiskFileTable::clear() {
    std::vector<Entry>().swap(entries);
    std::wstring().swap(names);
    std::vector<uint64_t>().swap(slots);
    listedFolder.reset();
}

} // namespace tw
