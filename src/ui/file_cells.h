// The cell texts of the file list: one text per column of a MediaRecord's row.
#pragma once

#include "catalog/media_record.h"

#include <cstdint>
#include <string>

namespace tw {

// Column ids of the file list; an id is the column's place when the list is built and its sort key.
enum class FileColumn : int {
    name = 0,
    nameInBin = 1,
    size = 2,
    compUid = 3,
    compression = 4,
    path = 5,
    type = 6,
    creationDate = 7,
    project = 8,
    source = 9,
};
inline constexpr int kFileColumnCount = 10;

// The column's caption: "Name", "Name in Bin", "Size", ...
[[nodiscard]] const wchar_t* FileColumnCaption(FileColumn column);
// The text of one cell of the record's row: Size as the platform's byte-size text (empty when 0), Comp UID
// in lower-case hexadecimal (empty when 0), Type "Precomp" or "Source", Creation Date in local time.
[[nodiscard]] std::wstring FileCellText(const MediaRecord& record, FileColumn column);
// The same text written into out, whose storage is reused: a table of many rows allocates nothing a cell.
void FileCellText(const MediaRecord& record, FileColumn column, std::wstring& out);

// The pieces, for callers that show a column their own way.
[[nodiscard]] std::wstring CompUidText(uint64_t compUid);
[[nodiscard]] std::wstring MediaKindText(int32_t mediaKind);
// "%d.%m.%Y/%H:%M:%S" in local time; empty when the time is 0, the file is missing or the time cannot be
// converted.
[[nodiscard]] std::wstring CreationDateText(uint64_t creationTime, bool missing);

} // namespace tw
