#include "container/byte_view.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace tw {
namespace {

const std::vector<uint8_t> kBytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};

TEST(ByteViewTest, NumbersFollowTheViewsOrderAndNeverReadPastItsEnd) {
    const ByteView little(kBytes);
    const ByteView big = little.WithOrder(ByteOrder::big);
    struct Case {
        size_t offset;
        std::optional<uint16_t> le16, be16;
        std::optional<uint32_t> le32, be32;
        std::optional<uint64_t> le64;
    };
    const std::vector<Case> cases = {
        {0, 0x0201, 0x0102, 0x04030201, 0x01020304, 0x0807060504030201},
        {1, 0x0302, 0x0203, 0x05040302, 0x02030405, 0x0908070605040302},
        {2, 0x0403, 0x0304, 0x06050403, 0x03040506, std::nullopt},
        {5, 0x0706, 0x0607, 0x09080706, 0x06070809, std::nullopt},
        {6, 0x0807, 0x0708, std::nullopt, std::nullopt, std::nullopt},
        {8, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {9, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {SIZE_MAX - 1, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(little.U16(c.offset), c.le16);
        EXPECT_EQ(big.U16(c.offset), c.be16);
        EXPECT_EQ(little.U32(c.offset), c.le32);
        EXPECT_EQ(big.U32(c.offset), c.be32);
        // Fixed-order readers ignore the view's order.
        EXPECT_EQ(big.Le32(c.offset), c.le32);
        EXPECT_EQ(big.Le64(c.offset), c.le64);
    }
    EXPECT_EQ(little.U8(8), 0x09);
    EXPECT_EQ(little.U8(9), std::nullopt);
}

TEST(ByteViewTest, SubViewsAreCutToTheBytesPresent) {
    const ByteView view(kBytes, ByteOrder::big);
    EXPECT_EQ(view.Sub(7).Size(), 2u);
    EXPECT_EQ(view.Sub(7, 100).Size(), 2u);
    EXPECT_EQ(view.Sub(2, 3).Size(), 3u);
    EXPECT_EQ(view.Sub(2, 3).U16(1), 0x0405);
    EXPECT_EQ(view.Sub(2, 3).U32(0), std::nullopt); // the parent's bytes beyond the sub-view stay out of reach
    EXPECT_TRUE(view.Sub(9).Empty());
    EXPECT_TRUE(view.Sub(10, 1).Empty());
    EXPECT_EQ(view.Sub(1).Order(), ByteOrder::big);
    EXPECT_TRUE(ByteView(nullptr, 5).Empty());
}

TEST(ByteViewTest, ACursorMovesOnlyPastWhatItDeliversAndFailsForGood) {
    ByteCursor cursor{ByteView(kBytes)};
    EXPECT_EQ(cursor.U16(), 0x0201);
    const auto taken = cursor.Take(3);
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->U8(0), 0x03);
    EXPECT_EQ(cursor.NextU32(), 0x09080706u);
    EXPECT_FALSE(cursor.Failed());
    EXPECT_EQ(cursor.Left(), 0u);
    EXPECT_TRUE(cursor.Take(0).has_value());

    // A read past the end fails the cursor where it stands, and every read after it, even one that would fit.
    ByteCursor partial{ByteView(kBytes)};
    partial.Skip(4);
    EXPECT_EQ(partial.Take(6), std::nullopt); // five are left
    EXPECT_TRUE(partial.Failed());
    EXPECT_EQ(partial.Offset(), 4u);
    EXPECT_EQ(partial.U16(), std::nullopt);
    EXPECT_EQ(partial.NextU32(), 0u);
    EXPECT_FALSE(partial.Take(0).has_value());
    EXPECT_EQ(partial.Offset(), 4u);
}

TEST(ByteViewTest, ACursorDecodesFieldsInTheViewsOrderAndChecksOnceAtTheEnd) {
    // A record of a 16-bit count and a 32-bit word, read whole and cut one byte short, in both orders.
    struct Case {
        ByteOrder order;
        size_t size;
        uint16_t count;
        uint32_t word;
        bool failed;
    };
    const Case cases[] = {
        {ByteOrder::little, 6, 0x0201, 0x06050403, false},
        {ByteOrder::big, 6, 0x0102, 0x03040506, false},
        {ByteOrder::little, 5, 0x0201, 0, true},
        {ByteOrder::big, 1, 0, 0, true},
    };
    for (const Case& c : cases) {
        ByteCursor cursor{ByteView(kBytes.data(), c.size, c.order)};
        const uint16_t count = cursor.NextU16();
        const uint32_t word = cursor.NextU32();
        EXPECT_EQ(cursor.Failed(), c.failed) << c.size;
        EXPECT_EQ(count, c.count) << c.size;
        EXPECT_EQ(word, c.word) << c.size;
    }
    // The split of a word into a little-endian field, read back in either order.
    EXPECT_EQ(unchecked::U32<ByteOrder::little>(LittleEndianBytes(0x04030201).data()), 0x04030201u);
    EXPECT_EQ(unchecked::U32(LittleEndianBytes(0x04030201).data(), ByteOrder::big), 0x01020304u);
}

} // namespace
} // namespace tw
