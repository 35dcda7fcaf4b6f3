// The rows of the load table: the columns and cells of a media record as tarnwick-cli's tables and the report page
// write them, and when two records stand for one file.
#pragma once

#include "catalog/media_record.h"
#include "ui/file_cells.h"

#include <string>
#include <vector>

namespace tw {

// The columns in their order: the file list's columns with Project first.
inline constexpr FileColumn kLoadTableColumns[] = {
    FileColumn::project,     FileColumn::name, FileColumn::nameInBin, FileColumn::size,         FileColumn::compUid,
    FileColumn::compression, FileColumn::path, FileColumn::type,      FileColumn::creationDate, FileColumn::source};

// The columns' captions: the file list's, but "Size (bytes)" for Size, which the table writes as a byte count.
[[nodiscard]] std::vector<std::wstring> LoadTableColumnNames();
// The cells of a record's row, in the columns' order, written into cells, whose texts' storage is reused from row to
// row.
void LoadTableCells(const MediaRecord& record, std::vector<std::wstring>& cells);

// The record's full path (its folder and file name), or empty when it has none.
[[nodiscard]] std::wstring FullPathOf(const MediaRecord& record);
// True when both records stand for one file: the same file on the running system, or, where that cannot be told,
// the same full path.
[[nodiscard]] bool SameFile(const MediaRecord& a, const MediaRecord& b);

} // namespace tw
