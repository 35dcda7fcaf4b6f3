#include "ui/file_cells.h"

#include "platform/platform.h"

#include <cwchar>

namespace tw {

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
    wchar_t text[24];
    std::swprintf(text, sizeof text / sizeof text[0], L"%llx", static_cast<unsigned long long>(compUid));
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
    wchar_t text[48];
    std::swprintf(text, sizeof text / sizeof text[0], L"%02d.%02d.%04d/%02d:%02d:%02d", t.day, t.month, t.year, t.hour,
                  t.minute, t.second);
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
