#include "ui/file_list_model.h"

#include "catalog/media_files.h"

#include "platform/platform.h"

#include <cwchar>

namespace tw {

const FileColumnView kFileColumnViews[kFileColumnCount] = {
    {230}, {250}, {60}, {105}, {60}, {120}, {80}, {120}, {100}, {120},
};

namespace {

int CompareTextNoCase(const SharedText& a, const SharedText& b) {
    if (!a || !b) {
        return a ? -1 : (b ? 1 : 0); // absent texts sort after present ones
    }
    const int order = platform::CompareTextIgnoringCase(*a, *b);
    return order == 0 ? 0 : (order < 0 ? -1 : 1);
}

template <typename T> int LargerFirst(T a, T b) {
    return a == b ? 0 : (a > b ? -1 : 1);
}

} // namespace

RowImage ImageFor(const MediaRecord& record) {
    RowImage image = RowImage::other;
    if (record.fileName) {
        switch (LastThreeExtension(*record.fileName, ExtensionCase::lowerOrUpper)) {
        case MediaExtension::omf:
        case MediaExtension::mxf:
            image = RowImage::media;
            break;
        case MediaExtension::aif:
        case MediaExtension::wav:
            image = RowImage::audio;
            break;
        case MediaExtension::none:
            break;
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

std::vector<std::pair<FileColumn, std::wstring>> CellUpdates(const MediaRecord& record) {
    std::vector<std::pair<FileColumn, std::wstring>> cells;
    if (record.path) {
        cells.emplace_back(FileColumn::path, *record.path);
    }
    if (record.size != 0) {
        cells.emplace_back(FileColumn::size, platform::FormatByteSize(record.size));
    }
    if (record.compUid != 0) {
        cells.emplace_back(FileColumn::compUid, CompUidText(record.compUid));
    }
    if (record.projectName) {
        cells.emplace_back(FileColumn::project, *record.projectName);
    }
    if (record.nameInBin) {
        cells.emplace_back(FileColumn::nameInBin, *record.nameInBin);
    }
    if (record.sourceName) {
        cells.emplace_back(FileColumn::source, *record.sourceName);
    }
    if (record.mediaKind == 1 || record.mediaKind == 7) {
        cells.emplace_back(FileColumn::type, MediaKindText(record.mediaKind));
    }
    const std::wstring date = CreationDateText(record.creationTime, record.IsMissing());
    if (!date.empty()) {
        cells.emplace_back(FileColumn::creationDate, date);
    }
    if (record.compressionName) {
        cells.emplace_back(FileColumn::compression, *record.compressionName);
    }
    return cells;
}

int CompareRecords(FileColumn column, const MediaRecord* a, const MediaRecord* b) {
    if (a == nullptr || b == nullptr) {
        return a ? -1 : (b ? 1 : 0);
    }
    switch (column) {
    case FileColumn::name:
        return CompareTextNoCase(a->fileName, b->fileName);
    case FileColumn::nameInBin:
        return CompareTextNoCase(a->nameInBin, b->nameInBin);
    case FileColumn::size:
        return LargerFirst(a->size, b->size);
    case FileColumn::compUid:
        return LargerFirst(a->compUid, b->compUid);
    case FileColumn::compression:
        return LargerFirst(a->compressionCode, b->compressionCode);
    case FileColumn::path:
        return CompareTextNoCase(a->path, b->path);
    case FileColumn::type:
        return LargerFirst(static_cast<uint32_t>(a->mediaKind), static_cast<uint32_t>(b->mediaKind));
    case FileColumn::creationDate:
        return LargerFirst(a->creationTime, b->creationTime);
    case FileColumn::project:
        return CompareTextNoCase(a->projectName, b->projectName);
    case FileColumn::source:
        break;
    }
    return CompareTextNoCase(a->sourceName, b->sourceName);
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
