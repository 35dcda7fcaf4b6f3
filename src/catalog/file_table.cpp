#include "catalog/file_table.h"

#include <cstring>

namespace tw {

namespace {

std::wstring_view NameOf(const MediaRecord& record) {
    return record.fileName.view();
}

} // namespace

uint64_t FileTable::Hash(std::wstring_view text) {
    return HashBytes(text.data(), text.size() * sizeof(wchar_t));
}

uint64_t FileTable::HashBytes(const void* data, size_t n) {
    // Eight bytes at a time, each folded in with a multiply and a shift; the top bit is set so that a
    // used slot never holds hash 0.
    constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
    const auto* bytes = static_cast<const unsigned char*>(data);
    uint64_t h = n * kMul;
    while (n >= 8) {
        uint64_t chunk;
        std::memcpy(&chunk, bytes, 8);
        h = (h ^ chunk) * kMul;
        h ^= h >> 32;
        bytes += 8;
        n -= 8;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, bytes, n);
    h = (h ^ tail) * kMul;
    h ^= h >> 29;
    return h | (1ull << 63);
}

MediaRecord* FileTable::Find(std::wstring_view fileName) const {
    if (count == 0) {
        return nullptr;
    }
    const uint64_t h = Hash(fileName);
    const size_t mask = slots.size() - 1;
    for (size_t i = static_cast<size_t>(h) & mask;; i = (i + 1) & mask) {
        const Slot& s = slots[i];
        if (s.record == nullptr) {
            return nullptr;
        }
        if (s.hash == h && NameOf(*s.record) == fileName) {
            return s.record;
        }
    }
}

bool FileTable::Insert(MediaRecord* record, uint64_t nameHash) {
    if ((count + 1) * 4 > slots.size() * 3) {
        Grow();
    }
    const uint64_t h = nameHash;
    const size_t mask = slots.size() - 1;
    for (size_t i = static_cast<size_t>(h) & mask;; i = (i + 1) & mask) {
        Slot& s = slots[i];
        if (s.record == nullptr) {
            s.hash = h;
            s.record = record;
            ++count;
            return true;
        }
        if (s.hash == h && NameOf(*s.record) == NameOf(*record)) {
            return false;
        }
    }
}

void FileTable::Clear() {
    std::vector<Slot>().swap(slots);
    count = 0;
}

size_t FileTable::Skip(size_t position) const {
    while (position < slots.size() && slots[position].record == nullptr) {
        ++position;
    }
    return position;
}

void FileTable::Grow() {
    std::vector<Slot> old = std::move(slots);
    slots = std::vector<Slot>(old.empty() ? 8 : old.size() * 2);
    const size_t mask = slots.size() - 1;
    for (Slot& s : old) {
        if (s.record == nullptr) {
            continue;
        }
        size_t i = static_cast<size_t>(s.hash) & mask;
        while (slots[i].record != nullptr) {
            i = (i + 1) & mask;
        }
        slots[i] = s;
    }
}

} // namespace tw
