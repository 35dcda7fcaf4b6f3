// The console's hexadecimal rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw {

inline constexpr uint32_t kHexDumpRowBytes = 16;

// One row of up to 16 bytes: "%08x:" of the low 32 bits of firstAddress (and of secondAddress when
// showSecondAddress), then " %X%X" per byte with two spaces after columns 3, 7 and 11, then "  |  " and the
// bytes as characters (below 0x20 as ".", others as U+0020..U+00FF), grouped like the hex part when
// asciiGroups. A short row is padded before the bar so that its bar stands where a full row's does.
// count above 16 is taken as 16.
[[nodiscard]] std::wstring HexDumpRow(const uint8_t* bytes, size_t count, uint64_t firstAddress, bool asciiGroups,
                                      bool showSecondAddress, uint64_t secondAddress);

// Calls row(offset, count) for each row of a dump of length bytes, in order: offsets 0, 16, 32 and on, count 16
// except in a shorter last row. Offsets are 64-bit and nothing is added past length, so no length wraps them.
template <typename RowFunction> void ForEachHexDumpRow(uint64_t length, RowFunction row) {
    for (uint64_t offset = 0; offset < length;) {
        const uint64_t left = length - offset;
        const auto count = static_cast<size_t>(left < kHexDumpRowBytes ? left : kHexDumpRowBytes);
        row(offset, count);
        offset += count;
    }
}

} // namespace tw
