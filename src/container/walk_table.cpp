#include "container/walk_table.h"

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
        if (slots[i] == 0 || items[slots[i] - 1].key == key) {
            return i;
        }
    }
}

uint32_t WalkTable::Set(uint64_t key, uint32_t value) {
    if ((items.size() + 1) * 2 > slots.size()) {
        Grow();
    }
    const size_t slot = SlotOf(key);
    if (slots[slot] != 0) {
        items[slots[slot] - 1].value = value;
        return slots[slot] - 1;
    }
    items.push_back({key, value});
    slots[slot] = static_cast<uint32_t>(items.size());
    return slots[slot] - 1;
}

std::optional<uint32_t> WalkTable::Find(uint64_t key) const {
    if (items.empty()) {
        return std::nullopt;
    }
    const uint32_t at = slots[SlotOf(key)];
    if (at == 0) {
        return std::nullopt;
    }
    return items[at - 1].value;
}

std::optional<WalkTable::Item> WalkTable::First() const {
    // The lowest bucket wins; within it, the key added last.
    std::optional<Item> first;
    uint32_t firstBucket = kBuckets;
    for (size_t i = items.size(); i-- > 0 && firstBucket != 0;) {
        const uint32_t bucket = BucketOf(items[i].key);
        if (bucket < firstBucket) {
            firstBucket = bucket;
            first = items[i];
        }
    }
    return first;
}

void WalkTable::Clear() {
    std::vector<Item>().swap(items);
    std::vector<uint32_t>().swap(slots);
}

void WalkTable::Grow() {
    slots.assign(slots.empty() ? 16 : slots.size() * 2, 0);
    const size_t mask = slots.size() - 1;
    for (size_t n = 0; n < items.size(); ++n) {
        size_t i = static_cast<size_t>(Mix(items[n].key)) & mask;
        while (slots[i] != 0) {
            i = (i + 1) & mask;
        }
        slots[i] = static_cast<uint32_t>(n + 1);
    }
}

} // namespace tw
