#include "ui/file_cells.h"

#include "platform/platform.h"

namespace tw {

namespace {

// Appends value in decimal with at least width digits, zero-padded.
void AppendDecimal(std::wstring& out, int value, int width) {
    wchar_t digits[16];
    int n = 0;
    auto rest = static_cast<unsigned>(value < 0 ? -value : value);
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0) {
        out += L'-';
        --width;
    }
    for (; width > n; --width) {
        out += L'0';
    }
    while (n > 0) {
        out += digits[--n];
    }
}

} // namespace

const wchar_t* FileColumnCaption(FileColumn column) {
    switch (column) {
    case FileColumn::name:
        return L"Name";
    case FileColumn::nameInBin:
        return L"Name in Bin";
    case FileColumn::size:
        return L"Size";
    case FileColumn::compUid:
        return L"Comp UID";
    case FileColumn::compression:
        return L"Compression";
    case FileColumn::path:
        return L"Path";
    case FileColumn::type:
        return L"Type";
    case FileColumn::creationDate:
        return L"Creation Date";
    case FileColumn::project:
        return L"Project";
    case FileColumn::source:
        break;
    }
    return L"Source";
}

std::wstring CompUidText(uint64_t compUid) {
    if (compUid == 0) {
        return {};
    }
    // Lower-case hexadecimal digits without leading zeros.
    wchar_t digits[16];
    int n = 0;
    for (; compUid != 0; compUid >>= 4) {
        digits[n++] = L"0123456789abcdef"[compUid & 0xF];
    }
    std::wstring text;
    text.reserve(static_cast<size_t>(n));
    while (n > 0) {
        text += digits[--n];
    }
    return text;
}

std::wstring MediaKindText(int32_t mediaKind) {
    switch (mediaKind) {
    case 1:
        return L"Precomp";
    case 7:
        return L"Source";
    default:
        return {};
    }
}

std::wstring CreationDateText(uint64_t creationTime, bool missing) {
    platform::LocalTime t;
    if (creationTime == 0 || missing || !platform::FileTimeToLocal(creationTime, t)) {
        return {};
    }
    // "%02d.%02d.%04d/%02d:%02d:%02d": day, month, year, hour, minute, second.
    std::wstring text;
    text.reserve(20);
    AppendDecimal(text, t.day, 2);
    text += L'.';
    AppendDecimal(text, t.month, 2);
    text += L'.';
    AppendDecimal(text, t.year, 4);
    text += L'/';
    AppendDecimal(text, t.hour, 2);
    text += L':';
    AppendDecimal(text, t.minute, 2);
    text += L':';
    AppendDecimal(text, t.second, 2);
    return text;
}

std::wstring FileCellText(const MediaRecord& record, FileColumn column) {
    switch (column) {
    case FileColumn::name:
        return record.fileName.value_or(L"");
    case FileColumn::nameInBin:
        return record.nameInBin.value_or(L"");
    case FileColumn::size:
        return record.size == 0 ? std::wstring() : platform::FormatByteSize(record.size);
    case FileColumn::compUid:
        return CompUidText(record.compUid);
    case FileColumn::compression:
        return record.compressionName.value_or(L"");
    case FileColumn::path:
        return record.path.value_or(L"");
    case FileColumn::type:
        return MediaKindText(record.mediaKind);
    case FileColumn::creationDate:
        return CreationDateText(record.creationTime, record.IsMissing());
    case FileColumn::project:
        return record.projectName.value_or(L"");
    case FileColumn::source:
        break;
    }
    return record.sourceName.value_or(L"");
}

} // namespace tw
