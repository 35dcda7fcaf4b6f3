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

namespace {

void AppendCompUid(std::wstring& out, uint64_t compUid) {
    // Lower-case hexadecimal digits without leading zeros; nothing for 0.
    wchar_t digits[16];
    int n = 0;
    for (; compUid != 0; compUid >>= 4) {
        digits[n++] = L"0123456789abcdef"[compUid & 0xF];
    }
    while (n > 0) {
        out += digits[--n];
    }
}

const wchar_t* MediaKindName(int32_t mediaKind) {
    switch (mediaKind) {
    case 1:
        return L"Precomp";
    case 7:
        return L"Source";
    default:
        return L"";
    }
}

void AppendCreationDate(std::wstring& out, uint64_t creationTime, bool missing) {
    platform::LocalTime t;
    if (creationTime == 0 || missing || !platform::FileTimeToLocal(creationTime, t)) {
        return;
    }
    // "%02d.%02d.%04d/%02d:%02d:%02d": day, month, year, hour, minute, second.
    AppendDecimal(out, t.day, 2);
    out += L'.';
    AppendDecimal(out, t.month, 2);
    out += L'.';
    AppendDecimal(out, t.year, 4);
    out += L'/';
    AppendDecimal(out, t.hour, 2);
    out += L':';
    AppendDecimal(out, t.minute, 2);
    out += L':';
    AppendDecimal(out, t.second, 2);
}

} // namespace

std::wstring CompUidText(uint64_t compUid) {
    std::wstring text;
    AppendCompUid(text, compUid);
    return text;
}

std::wstring MediaKindText(int32_t mediaKind) {
    return MediaKindName(mediaKind);
}

std::wstring CreationDateText(uint64_t creationTime, bool missing) {
    std::wstring text;
    AppendCreationDate(text, creationTime, missing);
    return text;
}

std::wstring FileCellText(const MediaRecord& record, FileColumn column) {
    std::wstring text;
    FileCellText(record, column, text);
    return text;
}

void FileCellText(const MediaRecord& record, FileColumn column, std::wstring& out) {
    out.clear();
    switch (column) {
    case FileColumn::name:
        out.append(record.fileName.view());
        return;
    case FileColumn::nameInBin:
        out.append(record.nameInBin.view());
        return;
    case FileColumn::size:
        if (record.size != 0) {
            out.append(platform::FormatByteSize(record.size));
        }
        return;
    case FileColumn::compUid:
        AppendCompUid(out, record.compUid);
        return;
    case FileColumn::compression:
        out.append(record.compressionName.view());
        return;
    case FileColumn::path:
        out.append(record.path.view());
        return;
    case FileColumn::type:
        out.append(MediaKindName(record.mediaKind));
        return;
    case FileColumn::creationDate:
        AppendCreationDate(out, record.creationTime, record.IsMissing());
        return;
    case FileColumn::project:
        out.append(record.projectName.view());
        return;
    case FileColumn::source:
        break;
    }
    out.append(record.sourceName.view());
}

} // namespace tw
