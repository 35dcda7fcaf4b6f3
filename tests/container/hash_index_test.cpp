#include "container/hash_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tw {
namespace {

// An owner as the tables are: its entries in an array, found through the index by a hash of their key.
struct Owner {
    std::vector<std::string> keys;
    HashIndex index;
    uint64_t (*hashOf)(const std::string&) = [](const std::string& key) { return HashBytes(key.data(), key.size()); };

    uint32_t Find(const std::string& key) const {
        return index.Find(hashOf(key), [&](uint32_t n) { return keys[n] == key; });
    }
    // The entry of the key, added when new.
    uint32_t Add(const std::string& key) {
        const auto added = static_cast<uint32_t>(keys.size());
        const uint32_t at = index.Place(hashOf(key), added, [&](uint32_t n) { return keys[n] == key; });
        if (at == added) {
            keys.push_back(key);
        }
        return at;
    }
};

TEST(HashIndexTest, FindsEveryKeyThroughGrowthAndNoOther) {
    Owner owner;
    EXPECT_EQ(owner.Find("a"), HashIndex::kNone);
    EXPECT_EQ(owner.index.Candidate(HashBytes("a", 1)), HashIndex::kNone);
    constexpr uint32_t kCount = 20000;
    for (uint32_t i = 0; i < kCount; ++i) {
        ASSERT_EQ(owner.Add("key " + std::to_string(i)), i);
    }
    EXPECT_EQ(owner.Add("key 77"), 77u); // present: the index is unchanged
    EXPECT_EQ(owner.index.Size(), kCount);
    for (uint32_t i = 0; i < kCount; ++i) {
        ASSERT_EQ(owner.Find("key " + std::to_string(i)), i);
    }
    EXPECT_EQ(owner.Find("key 20000"), HashIndex::kNone);
    EXPECT_EQ(owner.index.Candidate(owner.hashOf("key 5")), 5u);

    owner.index.Clear();
    EXPECT_EQ(owner.Find("key 5"), HashIndex::kNone);
    EXPECT_EQ(owner.index.Size(), 0u);
}

TEST(HashIndexTest, KeysWhoseHashesCollideAreToldApartByTheirEntries) {
    // Every key of one hash, and keys whose hashes share only their top bits (the slot's hash bits and the
    // probe's start) or only their low bits: the entries decide, through growth and Reserve alike.
    const std::vector<uint64_t (*)(const std::string&)> hashes = {
        [](const std::string&) { return uint64_t{0x123456789ABCDEF0}; },
        [](const std::string& key) { return (uint64_t{0xFEDCBA98} << 32) | key.size(); },
        [](const std::string& key) { return (uint64_t{key.size()} << 32) | 0x1234; },
    };
    for (size_t h = 0; h < hashes.size(); ++h) {
        Owner owner;
        owner.hashOf = hashes[h];
        owner.index.Reserve(10);
        std::string key;
        for (uint32_t i = 0; i < 100; ++i) {
            key += 'x';
            ASSERT_EQ(owner.Add(key), i) << h;
        }
        key.clear();
        for (uint32_t i = 0; i < 100; ++i) {
            key += 'x';
            ASSERT_EQ(owner.Find(key), i) << h;
        }
        EXPECT_EQ(owner.Find("y"), HashIndex::kNone) << h;
    }
}

TEST(HashIndexTest, APlaceThatReplacesPointsTheKeyAtTheLaterEntry) {
    // As a container's TOC: entries 0 and 2 hold one key; the index names the later.
    const std::vector<std::string> keys = {"p", "q", "p"};
    HashIndex index;
    for (uint32_t n = 0; n < keys.size(); ++n) {
        const std::string& key = keys[n];
        index.Place(
            HashBytes(key.data(), 1), n, [&](uint32_t held) { return keys[held] == key; }, true);
    }
    EXPECT_EQ(index.Size(), 2u);
    EXPECT_EQ(index.Find(HashBytes("p", 1), [&](uint32_t held) { return keys[held] == "p"; }), 2u);
    EXPECT_EQ(index.Find(HashBytes("q", 1), [&](uint32_t held) { return keys[held] == "q"; }), 1u);
}

TEST(HashIndexTest, TheMixerSpreadsKeysThatDifferInFewBits) {
    // Ids of one series differ in their high word only; both halves of every hash must differ, as the top
    // bits place a key and pass others by.
    for (uint64_t i = 1; i < 64; ++i) {
        const uint64_t a = MixHashBits(i << 32 | 7);
        const uint64_t b = MixHashBits((i + 1) << 32 | 7);
        EXPECT_NE(a >> 32, b >> 32) << i;
        EXPECT_NE(a & 0xFFFFFFFF, b & 0xFFFFFFFF) << i;
    }
}

} // namespace
} // namespace tw
