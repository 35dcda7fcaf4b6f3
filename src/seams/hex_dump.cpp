#include "seams/hex_dump.h"

namespace tw {

namespace {

constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
constexpr wchar_t kLowerDigits[] = L"0123456789abcdef";

void AppendAddress(std::wstring& row, uint64_t address) {
    const auto low = static_cast<uint32_t>(address);
    for (int shift = 28; shift >= 0; shift -= 4) {
        row += kLowerDigits[(low >> shift) & 0xF];
    }
    row += L':';
}

bool EndsGroup(size_t column) {
    return column == 3 || column == 7 || column == 11;
}

} // namespace

std::wstring HexDumpRow(const uint8_t* bytes, size_t count, uint64_t firstAddress, bool asciiGroups,
                        bool showSecondAddress, uint64_t secondAddress) {
    if (count > kHexDumpRowBytes) {
        count = kHexDumpRowBytes;
    }
    std::wstring row;
    row.reserve(100);
    AppendAddress(row, firstAddress);
    if (showSecondAddress) {
        AppendAddress(row, secondAddress);
    }
    for (size_t column = 0; column < kHexDumpRowBytes; ++column) {
        if (column < count) {
            row += L' ';
            row += kDigits[bytes[column] >> 4];
            row += kDigits[bytes[column] & 0xF];
        } else {
            row += L"   ";
        }
        if (EndsGroup(column)) {
            row += L"  ";
        }
    }
    row += L"  |  ";
    for (size_t column = 0; column < count; ++column) {
        row += bytes[column] < 0x20 ? L'.' : static_cast<wchar_t>(bytes[column]);
        if (asciiGroups && EndsGroup(column)) {
            row += L"  ";
        }
    }
    return row;
}

} // namespace tw
