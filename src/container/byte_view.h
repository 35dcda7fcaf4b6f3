// ByteView: a read-only view of bytes that cannot be read past its end, with the byte order of its numbers
// decided once, when the view is made. ByteCursor reads a view from front to back.
//
// Every reader checks the bytes it needs against the view's size and yields nothing when they are not all
// there; a reader of outside bytes therefore cannot forget a bound. Integers are decoded with shifts,
// independent of the host's byte order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tw {

enum class ByteOrder : uint8_t { little, big };

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
        if (!Has(offset, 2)) {
            return std::nullopt;
        }
        return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
    }
    [[nodiscard]] std::optional<uint16_t> Be16(size_t offset) const {
        if (!Has(offset, 2)) {
            return std::nullopt;
        }
        return static_cast<uint16_t>((data[offset] << 8) | data[offset + 1]);
    }
    [[nodiscard]] std::optional<uint32_t> Le32(size_t offset) const {
        if (!Has(offset, 4)) {
            return std::nullopt;
        }
        const uint8_t* p = data + offset;
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
               (static_cast<uint32_t>(p[3]) << 24);
    }
    [[nodiscard]] std::optional<uint32_t> Be32(size_t offset) const {
        if (!Has(offset, 4)) {
            return std::nullopt;
        }
        const uint8_t* p = data + offset;
        return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
               (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
    }
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
    const uint8_t* data = nullptr;
    size_t size = 0;
    ByteOrder order = ByteOrder::little;
};

class ByteCursor {
public:
    explicit constexpr ByteCursor(ByteView view) : view(view) {}

    // The next count bytes, moving past them; none (and no move) when fewer are left.
    [[nodiscard]] std::optional<ByteView> Take(size_t count) {
        if (!view.Has(offset, count)) {
            return std::nullopt;
        }
        const ByteView taken = view.Sub(offset, count);
        offset += count;
        return taken;
    }
    // The next number in the view's byte order, moving past it; none (and no move) when its bytes are not there.
    [[nodiscard]] std::optional<uint16_t> U16() { return Advance(view.U16(offset), 2); }
    [[nodiscard]] std::optional<uint32_t> U32() { return Advance(view.U32(offset), 4); }

    // Bytes taken so far, and bytes left.
    [[nodiscard]] constexpr size_t Offset() const { return offset; }
    [[nodiscard]] constexpr size_t Left() const { return view.Size() - offset; }

private:
    template <typename T> std::optional<T> Advance(std::optional<T> value, size_t width) {
        if (value) {
            offset += width;
        }
        return value;
    }

    ByteView view;
    size_t offset = 0;
};

} // namespace tw
