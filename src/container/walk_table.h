// WalkTable: 64-bit keys to 32-bit values, kept in the order they were first added, looked up through a
// HashIndex and walked in the container's fixed order. The walk has 17 buckets: a key falls in bucket
// (low 32 bits >> 4) mod 17; buckets are visited from 0 to 16, and within a bucket the key added last comes
// first. Setting the value of a key that is present already keeps its place in the walk.
#pragma once

#include "container/hash_index.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tw {

class WalkTable {
public:
    static constexpr uint32_t kBuckets = 17;

    struct Item {
        uint64_t key = 0;
        uint32_t value = 0;
    };

    static uint32_t BucketOf(uint64_t key) { return (static_cast<uint32_t>(key) >> 4) % kBuckets; }

    // Sets key to value. Returns the key's item number: its place in the order keys were first added.
    uint32_t Set(uint64_t key, uint32_t value);
    // Sets key to value and returns the value it had before; none when the key is new.
    std::optional<uint32_t> Exchange(uint64_t key, uint32_t value);
    [[nodiscard]] std::optional<uint32_t> Find(uint64_t key) const {
        const uint32_t item = Locate(key);
        return item == HashIndex::kNone ? std::nullopt : std::optional<uint32_t>(items[item].value);
    }
    // The stages of Find(key), each started once what the one before brought has arrived: its first slot,
    // then the item (key and value) the slot names.
    void PrefetchSlot(uint64_t key) const { index.PrefetchSlot(HashOf(key)); }
    void PrefetchEntry(uint64_t key) const { index.PrefetchEntry(HashOf(key), items.data()); }
    [[nodiscard]] size_t Size() const { return items.size(); }
    // The key of an item number (below Size()).
    [[nodiscard]] uint64_t KeyAt(uint32_t item) const { return items[item].key; }
    // The first item in walk order; none when the table is empty.
    [[nodiscard]] std::optional<Item> First() const;
    // Calls visit(item) for every item in walk order.
    template <typename Visit> void Walk(Visit&& visit) const { WalkInOrder(items, visit); }
    void Clear();
    // Makes room for count keys at once, so that adding them moves nothing.
    void Reserve(size_t count);

    // Items kept in place while they are few, as most objects' properties are, and on the heap beyond.
    class ItemList {
    public:
        void push_back(const Item& item) {
            if (count < few.size()) {
                few[count] = item;
            } else {
                if (count == few.size()) {
                    many.assign(few.begin(), few.end());
                }
                many.push_back(item);
            }
            ++count;
        }
        [[nodiscard]] Item* data() { return count <= few.size() ? few.data() : many.data(); }
        [[nodiscard]] const Item* data() const { return count <= few.size() ? few.data() : many.data(); }
        [[nodiscard]] size_t size() const { return count; }

    private:
        std::array<Item, 16> few;
        std::vector<Item> many;
        size_t count = 0;
    };

    // Calls visit(item) in walk order for items listed in the order their keys were added.
    template <typename Visit> static void WalkInOrder(const std::vector<Item>& added, Visit&& visit) {
        WalkInOrder(added.data(), added.size(), visit);
    }
    template <typename Visit> static void WalkInOrder(const Item* items, size_t n, Visit&& visit) {
        // Sorted by bucket in one pass: each bucket's items take their places from the last added on.
        std::array<size_t, kBuckets + 1> start{};
        for (size_t i = 0; i < n; ++i) {
            ++start[BucketOf(items[i].key) + 1];
        }
        for (uint32_t bucket = 1; bucket <= kBuckets; ++bucket) {
            start[bucket] += start[bucket - 1];
        }
        // Most objects have a few properties: their order needs no memory of its own.
        std::array<uint32_t, 32> few;
        std::vector<uint32_t> many;
        uint32_t* order = few.data();
        if (n > few.size()) {
            many.resize(n);
            order = many.data();
        }
        for (size_t i = n; i-- > 0;) {
            order[start[BucketOf(items[i].key)]++] = static_cast<uint32_t>(i);
        }
        for (size_t k = 0; k < n; ++k) {
            visit(items[order[k]]);
        }
    }

private:
    static uint64_t HashOf(uint64_t key) { return MixHashBits(key); }
    // The item number of the key; HashIndex::kNone when the table holds none.
    [[nodiscard]] uint32_t Locate(uint64_t key) const {
        return index.Find(HashOf(key), [&](uint32_t n) { return items[n].key == key; });
    }
    // The key's item, made (with value 0) when the key is new.
    Item& Place(uint64_t key);

    // The items in the order their keys were first added.
    std::vector<Item> items;
    HashIndex index;
};

} // namespace tw
