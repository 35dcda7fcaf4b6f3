#include "container/walk_table.h"

namespace tw {

WalkTable::Item& WalkTable::Place(uint64_t key) {
    const auto added = static_cast<uint32_t>(items.size());
    const uint32_t at = index.Place(HashOf(key), added, [&](uint32_t n) { return items[n].key == key; });
    if (at == added) {
        items.push_back({key, 0});
    }
    return items[at];
}

uint32_t WalkTable::Set(uint64_t key, uint32_t value) {
    Item& item = Place(key);
    item.value = value;
    return static_cast<uint32_t>(&item - items.data());
}

std::optional<uint32_t> WalkTable::Exchange(uint64_t key, uint32_t value) {
    const size_t before = items.size();
    Item& item = Place(key);
    const std::optional<uint32_t> previous =
        items.size() == before ? std::optional<uint32_t>(item.value) : std::nullopt;
    item.value = value;
    return previous;
}

std::optional<WalkTable::Item> WalkTable::First() const {
    // The lowest bucket wins; within it, the key added last.
    const Item* first = nullptr;
    uint32_t firstBucket = kBuckets;
    for (size_t i = items.size(); i-- > 0 && firstBucket != 0;) {
        const uint32_t bucket = BucketOf(items[i].key);
        if (bucket < firstBucket) {
            firstBucket = bucket;
            first = &items[i];
        }
    }
    if (first == nullptr) {
        return std::nullopt;
    }
    return *first;
}

void WalkTable::Clear() {
    std::vector<Item>().swap(items);
    index.Clear();
}

void WalkTable::Reserve(size_t count) {
    items.reserve(count);
    index.Reserve(count);
}

} // namespace tw
