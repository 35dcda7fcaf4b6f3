// What the file list shows of a media record, independent of the list control: columns, row images,
// the cells a row refresh writes, the sort order of each column and the status line.
#pragma once

#include "catalog/media_record.h"
#include "ui/file_cells.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tw {

// How the list shows a column: its default width in pixels, which showing it again restores.
struct FileColumnView {
    int width;
};
// By column id (FileColumn); captions come from FileColumnCaption.
extern const FileColumnView kFileColumnViews[kFileColumnCount];

// Row images, in the order of the list's image list.
enum class RowImage : int { media = 0, audio = 1, readOnly = 2, precompute = 3, missing = 4, other = 5 };

// The image a row refresh gives a record: missing over read-only over precompute over the file type.
[[nodiscard]] RowImage ImageFor(const MediaRecord& record);

// The cells a row refresh writes, in the order it writes them: an absent field or a zero number leaves
// its cell as it was, so it is not in the list.
[[nodiscard]] std::vector<std::pair<FileColumn, std::wstring>> CellUpdates(const MediaRecord& record);

// The order of a header click on column: text columns ascending without regard to case (absent texts
// last), number columns larger first. Negative, zero or positive; equal keys compare equal.
[[nodiscard]] int CompareRecords(FileColumn column, const MediaRecord* a, const MediaRecord* b);

// " %s in %i item(s)" with the listed size, or " %s in %i selected item(s)" with the selected size.
[[nodiscard]] std::wstring FileStatusLine(size_t rows, size_t selectedRows, uint64_t listedSize, uint64_t selectedSize);

} // namespace tw
