// What the file list shows of a media record, independent of the list control: columns, row images,
// the cells a row refresh writes, the sort order of each column and the status line.
#pragma once

#include "catalog/media_record.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tw {

struct FileColumn {
    const wchar_t* caption;
    int width;                // pixels
    uint32_t menuCommand;     // the Headings menu entry that shows and hides the column
    const wchar_t* menuEntry; // its text
};

// Column ids 0..9: Name, Name in Bin, Size, Comp UID, Compression, Path, Type, Creation Date, Project, Source.
inline constexpr int kFileColumnCount = 10;
extern const FileColumn kFileColumns[kFileColumnCount];
enum FileColumnId : int {
    kColumnName = 0,
    kColumnNameInBin = 1,
    kColumnSize = 2,
    kColumnCompUid = 3,
    kColumnCompression = 4,
    kColumnPath = 5,
    kColumnType = 6,
    kColumnCreationDate = 7,
    kColumnProject = 8,
    kColumnSource = 9,
};

// Row images, in the order of the list's image list.
enum class RowImage : int { media = 0, audio = 1, readOnly = 2, precompute = 3, missing = 4, other = 5 };

// The image a row refresh gives a record: missing over read-only over precompute over the file type.
[[nodiscard]] RowImage ImageFor(const MediaRecord& record);

// "Precomp" for kind 1, "Source" for kind 7, otherwise empty.
[[nodiscard]] std::wstring MediaKindText(int32_t mediaKind);
// compUid in lower-case hexadecimal without leading zeros; empty when 0.
[[nodiscard]] std::wstring CompUidText(uint64_t compUid);
// The creation time in local time as "%d.%m.%Y/%H:%M:%S" (two digits each, four for the year); empty
// when 0 or when the file is missing.
[[nodiscard]] std::wstring CreationDateText(const MediaRecord& record);

// The cell text of a column as a freshly inserted row shows it after a refresh.
[[nodiscard]] std::wstring CellText(int column, const MediaRecord& record);
// The cells a row refresh writes, in the order it writes them: an absent field or a zero number leaves
// its cell as it was, so it is not in the list.
[[nodiscard]] std::vector<std::pair<int, std::wstring>> CellUpdates(const MediaRecord& record);

// The order of a header click on column: text columns ascending without regard to case (absent texts
// last), number columns larger first. Negative, zero or positive; equal keys compare equal.
[[nodiscard]] int CompareRecords(int column, const MediaRecord* a, const MediaRecord* b);

// " %s in %i item(s)" with the listed size, or " %s in %i selected item(s)" with the selected size.
[[nodiscard]] std::wstring FileStatusLine(size_t rows, size_t selectedRows, uint64_t listedSize, uint64_t selectedSize);

} // namespace tw
