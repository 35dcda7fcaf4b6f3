#include "ui/file_list_model.h"

#include "platform/platform.h"

#include <cwchar>
#include <cwctype>

namespace tw {

const FileColumn kFileColumns[kFileColumnCount] = {
    {L"Name", 230, 32779, L"Filename"},
    {L"Name in Bin", 250, 32781, L"Name In Bin"},
    {L"Size", 60, 32780, L"Size"},
    {L"Comp UID", 105, 32799, L"UID"},
    {L"Compression", 60, 32785, L"Compression"},
    {L"Path", 120, 32783, L"Path"},
    {L"Type", 80, 32798, L"Media type"},
    {L"Creation Date", 120, 32784, L"Creation Date"},
    {L"Project", 100, 32786, L"Project Name"},
    {L"Source", 120, 32787, L"Source Name"},
};

namespace {

// The last three characters, compared exactly against the two spellings the list knows.
bool EndsWithOneOf(const std::wstring& name, std::initializer_list<const wchar_t*> endings) {
    if (name.size() < 3) {
        return false;
    }
    const wchar_t* last3 = name.c_str() + name.size() - 3;
    for (const wchar_t* e : endings) {
        if (std::wcscmp(last3, e) == 0) {
            return true;
        }
    }
    return false;
}

int CompareTextNoCase(const std::optional<std::wstring>& a, const std::optional<std::wstring>& b) {
    if (!a || !b) {
        return a ? -1 : (b ? 1 : 0); // absent texts sort after present ones
    }
    const size_t n = std::min(a->size(), b->size());
    for (size_t i = 0; i < n; ++i) {
        const wint_t x = std::towlower(static_cast<wint_t>((*a)[i]));
        const wint_t y = std::towlower(static_cast<wint_t>((*b)[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a->size() == b->size() ? 0 : (a->size() < b->size() ? -1 : 1);
}

template <typename T> int LargerFirst(T a, T b) {
    return a == b ? 0 : (a > b ? -1 : 1);
}

} // namespace

RowImage ImageFor(const MediaRecord& record) {
    RowImage image = RowImage::other;
    if (record.fileName) {
        if (EndsWithOneOf(*record.fileName, {L"omf", L"OMF", L"mxf", L"MXF"})) {
            image = RowImage::media;
        } else if (EndsWithOneOf(*record.fileName, {L"aif", L"AIF", L"wav", L"WAV"})) {
            image = RowImage::audio;
        }
    }
    if (record.mediaKind == 1) {
        image = RowImage::precompute;
    }
    if (record.IsMissing()) {
        image = RowImage::missing;
    } else if ((record.attributes & platform::kAttributeReadOnly) != 0) {
        image = RowImage::readOnly;
    }
    return image;
}

std::wstring MediaKindText(int32_t mediaKind) {
    if (mediaKind == 1) {
        return L"Precomp";
    }
    if (mediaKind == 7) {
        return L"Source";
    }
    return std::wstring();
}

std::wstring CompUidText(uint64_t compUid) {
    if (compUid == 0) {
        return std::wstring();
    }
    wchar_t buffer[24];
    std::swprintf(buffer, 24, L"%llx", static_cast<unsigned long long>(compUid));
    return buffer;
}

std::wstring CreationDateText(const MediaRecord& record) {
    platform::LocalTime t;
    if (record.creationTime == 0 || record.IsMissing() || !platform::FileTimeToLocal(record.creationTime, t)) {
        return std::wstring();
    }
    wchar_t buffer[128];
    std::swprintf(buffer, 128, L"%02d.%02d.%04d/%02d:%02d:%02d", t.day, t.month, t.year, t.hour, t.minute, t.second);
    return buffer;
}

std::wstring CellText(int column, const MediaRecord& record) {
    switch (column) {
    case kColumnName:
        return record.fileName.value_or(std::wstring());
    case kColumnNameInBin:
        return record.nameInBin.value_or(std::wstring());
    case kColumnSize:
        return record.size == 0 ? std::wstring() : platform::FormatByteSize(record.size);
    case kColumnCompUid:
        return CompUidText(record.compUid);
    case kColumnCompression:
        return record.compressionName.value_or(std::wstring());
    case kColumnPath:
        return record.path.value_or(std::wstring());
    case kColumnType:
        return MediaKindText(record.mediaKind);
    case kColumnCreationDate:
        return CreationDateText(record);
    case kColumnProject:
        return record.projectName.value_or(std::wstring());
    case kColumnSource:
        return record.sourceName.value_or(std::wstring());
    default:
        return std::wstring();
    }
}

std::vector<std::pair<int, std::wstring>> CellUpdates(const MediaRecord& record) {
    std::vector<std::pair<int, std::wstring>> cells;
    if (record.path) {
        cells.emplace_back(kColumnPath, *record.path);
    }
    if (record.size != 0) {
        cells.emplace_back(kColumnSize, platform::FormatByteSize(record.size));
    }
    if (record.compUid != 0) {
        cells.emplace_back(kColumnCompUid, CompUidText(record.compUid));
    }
    if (record.projectName) {
        cells.emplace_back(kColumnProject, *record.projectName);
    }
    if (record.nameInBin) {
        cells.emplace_back(kColumnNameInBin, *record.nameInBin);
    }
    if (record.sourceName) {
        cells.emplace_back(kColumnSource, *record.sourceName);
    }
    if (record.mediaKind == 1 || record.mediaKind == 7) {
        cells.emplace_back(kColumnType, MediaKindText(record.mediaKind));
    }
    const std::wstring date = CreationDateText(record);
    if (!date.empty()) {
        cells.emplace_back(kColumnCreationDate, date);
    }
    if (record.compressionName) {
        cells.emplace_back(kColumnCompression, *record.compressionName);
    }
    return cells;
}

int CompareRecords(int column, const MediaRecord* a, const MediaRecord* b) {
    if (a == nullptr || b == nullptr) {
        return a ? -1 : (b ? 1 : 0);
    }
    switch (column) {
    case kColumnName:
        return CompareTextNoCase(a->fileName, b->fileName);
    case kColumnNameInBin:
        return CompareTextNoCase(a->nameInBin, b->nameInBin);
    case kColumnSize:
        return LargerFirst(a->size, b->size);
    case kColumnCompUid:
        return LargerFirst(a->compUid, b->compUid);
    case kColumnCompression:
        return LargerFirst(a->compressionCode, b->compressionCode);
    case kColumnPath:
        return CompareTextNoCase(a->path, b->path);
    case kColumnType:
        return LargerFirst(static_cast<uint32_t>(a->mediaKind), static_cast<uint32_t>(b->mediaKind));
    case kColumnCreationDate:
        return LargerFirst(a->creationTime, b->creationTime);
    case kColumnProject:
        return CompareTextNoCase(a->projectName, b->projectName);
    case kColumnSource:
        return CompareTextNoCase(a->sourceName, b->sourceName);
    default:
        return 0;
    }
}

std::wstring FileStatusLine(size_t rows, size_t selectedRows, uint64_t listedSize, uint64_t selectedSize) {
    wchar_t buffer[160];
    if (selectedRows == 0) {
        std::swprintf(buffer, 160, rows == 1 ? L" %ls in %i item" : L" %ls in %i items",
                      platform::FormatByteSize(listedSize).c_str(), static_cast<int>(rows));
    } else {
        std::swprintf(buffer, 160, selectedRows == 1 ? L" %ls in %i selected item" : L" %ls in %i selected items",
                      platform::FormatByteSize(selectedSize).c_str(), static_cast<int>(selectedRows));
    }
    return buffer;
}

} // namespace tw
