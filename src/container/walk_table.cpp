#include "container/walk_table.h"

#include "platform/prefetch.h"

namespace tw {

namespace {

// Mixes every bit of the key into the low bits that pick the slot, so that keys which differ only in
// their high words (UIDs of one series) spread as well as any others.
uint64_t Mix(uint64_t key) {
    key ^= key >> 33;
    key *= 0xFF51AFD7ED558CCDull;
    key ^= key >> 33;
    key *= 0xC4CEB9FE1A85EC53ull;
    key ^= key >> 33;
    return key;
}

} // namespace

size_t WalkTable::SlotOf(uint64_t key) const {
    const size_t mask = slots.size() - 1;
    for (size_t i = static_cast<size_t>(Mix(key)) & mask;; i = (i + 1) & mask) {
        if (slots[i].item == 0 || slots[i].key == key) {
            return i;
        }
    }
}

WalkTable::Slot& WalkTable::Place(uint64_t key) {
    if ((keys.size() + 1) * 4 > slots.size() * 3) {
        Grow();
    }
    Slot& slot = slots[SlotOf(key)];
    if (slot.item == 0) {
        keys.push_back(key);
        slot.key = key;
        slot.item = static_cast<uint32_t>(keys.size());
        slot.value = 0;
    }
    return slot;
}

uint32_t WalkTable::Set(uint64_t key, uint32_t value) {
    Slot& slot = Place(key);
    slot.value = value;
    return slot.item - 1;
}

std::optional<uint32_t> WalkTable::Exchange(uint64_t key, uint32_t value) {
    const size_t before = keys.size();
    Slot& slot = Place(key);
    const std::optional<uint32_t> previous = keys.size() == before ? std::optional<uint32_t>(slot.value) : std::nullopt;
    slot.value = value;
    return previous;
}

void WalkTable::Prefetch(uint64_t key) const {
    if (!slots.empty()) {
        platform::PrefetchForRead(&slots[static_cast<size_t>(Mix(key)) & (slots.size() - 1)]);
    }
}

std::optional<uint32_t> WalkTable::Find(uint64_t key) const {
    if (keys.empty()) {
        return std::nullopt;
    }
    const Slot& slot = slots[SlotOf(key)];
    if (slot.item == 0) {
        return std::nullopt;
    }
    return slot.value;
}

std::optional<WalkTable::Item> WalkTable::First() const {
    // The lowest bucket wins; within it, the key added last.
    std::optional<uint64_t> first;
    uint32_t firstBucket = kBuckets;
    for (size_t i = keys.size(); i-- > 0 && firstBucket != 0;) {
        const uint32_t bucket = BucketOf(keys[i]);
        if (bucket < firstBucket) {
            firstBucket = bucket;
            first = keys[i];
        }
    }
    if (!first) {
        return std::nullopt;
    }
    return Item{*first, *Find(*first)};
}

void WalkTable::Clear() {
    std::vector<uint64_t>().swap(keys);
    std::vector<Slot>().swap(slots);
}

void WalkTable::Reserve(size_t count) {
    keys.reserve(count);
    size_t size = slots.empty() ? 16 : slots.size();
    while (count * 4 > size * 3) {
        size *= 2;
    }
    if (size != slots.size()) {
        Rehash(size);
    }
}

void WalkTable::Grow() {
    Rehash(slots.empty() ? 16 : slots.size() * 2);
}

void WalkTable::Rehash(size_t size) {
    std::vector<Slot> old(size);
    old.swap(slots);
    const size_t mask = slots.size() - 1;
    for (const Slot& s : old) {
        if (s.item == 0) {
            continue;
        }
        size_t i = static_cast<size_t>(Mix(s.key)) & mask;
        while (slots[i].item != 0) {
            i = (i + 1) & mask;
        }
        slots[i] = s;
    }
}

} // namespace tw
