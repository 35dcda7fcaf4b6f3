// The decoding of the bytes of outside files, in one place.
//
// ByteView: a read-only view of bytes that cannot be read past its end, with the byte order of its numbers
// decided once, when the view is made. ByteCursor reads a view from front to back, and fails for good at the
// first read that the view cannot deliver, so that a decoder reads all its fields and checks once.
//
// Every reader of a view checks the bytes it needs against the view's size and yields nothing when they are
// not all there; a reader of outside bytes therefore cannot forget a bound. Integers are decoded with
// shifts, independent of the host's byte order, by the unchecked decoders below, which the checked readers
// use too. A loop may call the unchecked ones itself only on bytes whose bounds it has checked once for many
// reads (an offset-by-offset search, a whole element of an array).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tw {

enum class ByteOrder : uint8_t { little, big };

namespace unchecked {

// The number at bytes, all of whose bytes the caller knows to be there, in the byte order given.
template <ByteOrder kOrder> [[nodiscard]] constexpr uint16_t U16(const uint8_t* bytes) {
    return kOrder == ByteOrder::little ? static_cast<uint16_t>(bytes[0] | (bytes[1] << 8))
                                       : static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}
template <ByteOrder kOrder> [[nodiscard]] constexpr uint32_t U32(const uint8_t* bytes) {
    return kOrder == ByteOrder::little
               ? static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                     (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24)
               : (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
                     (static_cast<uint32_t>(bytes[2]) << 8) | static_cast<uint32_t>(bytes[3]);
}
[[nodiscard]] constexpr uint16_t U16(const uint8_t* bytes, ByteOrder order) {
    return order == ByteOrder::little ? U16<ByteOrder::little>(bytes) : U16<ByteOrder::big>(bytes);
}
[[nodiscard]] constexpr uint32_t U32(const uint8_t* bytes, ByteOrder order) {
    return order == ByteOrder::little ? U32<ByteOrder::little>(bytes) : U32<ByteOrder::big>(bytes);
}

} // namespace unchecked

// The four bytes of a word as a little-endian field holds them: the split that undoes U32<little>.
[[nodiscard]] constexpr std::array<uint8_t, 4> LittleEndianBytes(uint32_t word) {
    return {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word >> 16),
            static_cast<uint8_t>(word >> 24)};
}

class ByteView {
public:
    constexpr ByteView() = default;
    // The view does not own the bytes: they must outlive it.
    constexpr ByteView(const uint8_t* data, size_t size, ByteOrder order = ByteOrder::little)
        : data(data), size(data != nullptr ? size : 0), order(order) {}
    explicit ByteView(const std::vector<uint8_t>& bytes, ByteOrder order = ByteOrder::little)
        : ByteView(bytes.data(), bytes.size(), order) {}

    [[nodiscard]] constexpr size_t Size() const { return size; }
    [[nodiscard]] constexpr bool Empty() const { return size == 0; }
    [[nodiscard]] constexpr ByteOrder Order() const { return order; }
    // The first byte; with Size() the whole extent of the view.
    [[nodiscard]] constexpr const uint8_t* Data() const { return data; }
    [[nodiscard]] constexpr const uint8_t* begin() const { return data; }
    [[nodiscard]] constexpr const uint8_t* end() const { return data + size; }

    // True when count bytes from offset on are all in the view.
    [[nodiscard]] constexpr bool Has(size_t offset, size_t count) const {
        return offset <= size && count <= size - offset;
    }
    // The bytes from offset on, at most count of them; empty when offset lies beyond the end.
    [[nodiscard]] constexpr ByteView Sub(size_t offset, size_t count = SIZE_MAX) const {
        if (offset > size) {
            return ByteView(nullptr, 0, order);
        }
        const size_t left = size - offset;
        return ByteView(data + offset, count < left ? count : left, order);
    }
    // The same bytes, their numbers read in another byte order.
    [[nodiscard]] constexpr ByteView WithOrder(ByteOrder newOrder) const { return ByteView(data, size, newOrder); }

    [[nodiscard]] std::optional<uint8_t> U8(size_t offset) const {
        if (!Has(offset, 1)) {
            return std::nullopt;
        }
        return data[offset];
    }
    // Numbers in the view's byte order.
    [[nodiscard]] std::optional<uint16_t> U16(size_t offset) const {
        return order == ByteOrder::little ? Le16(offset) : Be16(offset);
    }
    [[nodiscard]] std::optional<uint32_t> U32(size_t offset) const {
        return order == ByteOrder::little ? Le32(offset) : Be32(offset);
    }
    // Numbers that a format stores in one byte order whatever the order of the rest of the file.
    [[nodiscard]] std::optional<uint16_t> Le16(size_t offset) const {
        return Read<uint16_t, ByteOrder::little>(offset);
    }
    [[nodiscard]] std::optional<uint16_t> Be16(size_t offset) const { return Read<uint16_t, ByteOrder::big>(offset); }
    [[nodiscard]] std::optional<uint32_t> Le32(size_t offset) const {
        return Read<uint32_t, ByteOrder::little>(offset);
    }
    [[nodiscard]] std::optional<uint32_t> Be32(size_t offset) const { return Read<uint32_t, ByteOrder::big>(offset); }
    // Eight bytes as the low 32 bits (the first four, little-endian) and the high 32 bits (the next four).
    [[nodiscard]] std::optional<uint64_t> Le64(size_t offset) const {
        const std::optional<uint32_t> low = Le32(offset);
        const std::optional<uint32_t> high = low ? Le32(offset + 4) : std::nullopt;
        if (!high) {
            return std::nullopt;
        }
        return static_cast<uint64_t>(*low) | (static_cast<uint64_t>(*high) << 32);
    }

private:
    template <typename T, ByteOrder kOrder> [[nodiscard]] std::optional<T> Read(size_t offset) const {
        if (!Has(offset, sizeof(T))) {
            return std::nullopt;
        }
        if constexpr (sizeof(T) == 2) {
            return unchecked::U16<kOrder>(data + offset);
        } else {
            return unchecked::U32<kOrder>(data + offset);
        }
    }

    const uint8_t* data = nullptr;
    size_t size = 0;
    ByteOrder order = ByteOrder::little;
};

// Reads a view from front to back. A read that the view cannot deliver whole fails the cursor: it stays where
// it is, and every later read fails too. A decoder may therefore read all its fields with the Next readers
// (0 once failed) and ask Failed() once at the end, as a decoder through the optional readers may stop at
// the first that yields nothing.
class ByteCursor {
public:
    explicit constexpr ByteCursor(ByteView view) : view(view) {}

    // The next count bytes, moving past them; none when fewer are left.
    [[nodiscard]] std::optional<ByteView> Take(size_t count) {
        if (!Claim(count)) {
            return std::nullopt;
        }
        return view.Sub(offset - count, count);
    }
    // The next number in the view's byte order, moving past it; none when its bytes are not there.
    [[nodiscard]] std::optional<uint16_t> U16() {
        const uint16_t value = NextU16();
        return failed ? std::nullopt : std::optional<uint16_t>(value);
    }
    [[nodiscard]] std::optional<uint32_t> U32() {
        const uint32_t value = NextU32();
        return failed ? std::nullopt : std::optional<uint32_t>(value);
    }
    // The same numbers, 0 once the cursor has failed; for decoders that check Failed() at their end.
    [[nodiscard]] uint16_t NextU16() { return Claim(2) ? unchecked::U16(view.Data() + offset - 2, view.Order()) : 0; }
    [[nodiscard]] uint32_t NextU32() { return Claim(4) ? unchecked::U32(view.Data() + offset - 4, view.Order()) : 0; }
    // Moves past count bytes that the decoder does not read.
    void Skip(size_t count) { (void)Claim(count); }

    // True once a read has asked for more than was left.
    [[nodiscard]] constexpr bool Failed() const { return failed; }
    // Bytes taken so far, and bytes left.
    [[nodiscard]] constexpr size_t Offset() const { return offset; }
    [[nodiscard]] constexpr size_t Left() const { return view.Size() - offset; }

private:
    // Moves past count bytes when the cursor has not failed and they are there; fails it otherwise.
    bool Claim(size_t count) {
        if (failed || !view.Has(offset, count)) {
            failed = true;
            return false;
        }
        offset += count;
        return true;
    }

    ByteView view;
    size_t offset = 0;
    bool failed = false;
};

} // namespace tw
