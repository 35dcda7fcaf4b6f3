#include "container/walk_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace tw {
namespace {

std::vector<uint64_t> WalkedKeys(const WalkTable& table) {
    std::vector<uint64_t> keys;
    table.Walk([&](const WalkTable::Item& item) { keys.push_back(item.key); });
    return keys;
}

TEST(WalkTableTest, WalksBucketsInOrderAndTheLastAddedKeyFirst) {
    // Buckets: 0x10 -> 1, 0x120 -> 1 (0x12 mod 17), 0x05 -> 0, 0x110 -> 0 (0x11 mod 17), 0x1020 -> 3.
    // The high word takes no part in the bucket.
    WalkTable table;
    const std::vector<uint64_t> added = {0x10, 0x05, 0x1020, 0x120, 0x7777777700000110ull};
    for (uint32_t i = 0; i < added.size(); ++i) {
        EXPECT_EQ(table.Set(added[i], i), i);
    }
    EXPECT_EQ(WalkedKeys(table), (std::vector<uint64_t>{0x7777777700000110ull, 0x05, 0x120, 0x10, 0x1020}));
    ASSERT_TRUE(table.First().has_value());
    EXPECT_EQ(table.First()->key, 0x7777777700000110ull);

    // Replacing a value keeps the key's place.
    EXPECT_EQ(table.Set(0x05, 99), 1u);
    EXPECT_EQ(WalkedKeys(table).at(1), 0x05u);
    EXPECT_EQ(table.Find(0x05), 99u);
    EXPECT_EQ(table.Exchange(0x05, 7), 99u);
    EXPECT_FALSE(table.Exchange(0x06, 8).has_value()); // new: added last, to bucket 0
    EXPECT_EQ(WalkedKeys(table).front(), 0x06u);
    EXPECT_EQ(table.Find(0x06), 8u);
    EXPECT_EQ(table.Size(), added.size() + 1);
    EXPECT_FALSE(table.Find(0x07).has_value());

    table.Clear();
    EXPECT_FALSE(table.First().has_value());
    EXPECT_FALSE(table.Find(0x10).has_value());
}

TEST(WalkTableTest, WalkOrderHoldsForTablesOfEverySize) {
    // The order by its definition: bucket by bucket, and within a bucket from the last added key back.
    for (const uint32_t count : {1u, 31u, 32u, 33u, 500u}) {
        WalkTable table;
        std::vector<uint64_t> added;
        uint64_t key = 0x9E3779B97F4A7C15ull;
        for (uint32_t i = 0; i < count; ++i) {
            key = key * 6364136223846793005ull + 1442695040888963407ull;
            added.push_back(key);
            table.Set(key, i);
        }
        std::vector<uint64_t> expected;
        for (uint32_t bucket = 0; bucket < WalkTable::kBuckets; ++bucket) {
            for (size_t i = added.size(); i-- > 0;) {
                if (WalkTable::BucketOf(added[i]) == bucket) {
                    expected.push_back(added[i]);
                }
            }
        }
        EXPECT_EQ(WalkedKeys(table), expected) << count << " keys";
    }
}

TEST(WalkTableTest, FindsEveryKeyOfALargeTable) {
    WalkTable table;
    constexpr uint32_t kCount = 50000;
    for (uint32_t i = 0; i < kCount; ++i) {
        table.Set((static_cast<uint64_t>(i) << 32) | 0x060A2B34u, i);
    }
    for (uint32_t i = 0; i < kCount; i += 7) {
        ASSERT_EQ(table.Find((static_cast<uint64_t>(i) << 32) | 0x060A2B34u), i);
    }
    EXPECT_EQ(table.Size(), kCount);
    EXPECT_EQ(WalkedKeys(table).size(), kCount);
}

} // namespace
} // namespace tw
