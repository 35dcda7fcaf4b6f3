#include "ui/load_table.h"

#include "platform/platform.h"

#include <iterator>

namespace tw {

namespace {

// A byte count in decimal, written into out.
void Decimal(uint64_t value, std::wstring& out) {
    wchar_t digits[24];
    size_t n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    out.assign(std::make_reverse_iterator(digits + n), std::make_reverse_iterator(digits));
}

} // namespace

std::vector<std::wstring> LoadTableColumnNames() {
    std::vector<std::wstring> names;
    for (const FileColumn column : kLoadTableColumns) {
        names.emplace_back(column == FileColumn::size ? L"Size (bytes)" : FileColumnCaption(column));
    }
    return names;
}

void LoadTableCells(const MediaRecord& record, std::vector<std::wstring>& cells) {
    cells.resize(std::size(kLoadTableColumns));
    for (size_t i = 0; i < std::size(kLoadTableColumns); ++i) {
        if (kLoadTableColumns[i] == FileColumn::size) {
            Decimal(record.size, cells[i]);
        } else {
            FileCellText(record, kLoadTableColumns[i], cells[i]);
        }
    }
}

std::wstring FullPathOf(const MediaRecord& record) {
    std::wstring path;
    record.GetFullPath(path, 4096);
    return path;
}

bool SameFile(const MediaRecord& a, const MediaRecord& b) {
    const std::wstring first = FullPathOf(a);
    const std::wstring second = FullPathOf(b);
    platform::FileIdentity x;
    platform::FileIdentity y;
    if (platform::QueryFileIdentity(first, x) && platform::QueryFileIdentity(second, y)) {
        return x.volume == y.volume && x.index == y.index;
    }
    return first == second;
}

} // namespace tw
