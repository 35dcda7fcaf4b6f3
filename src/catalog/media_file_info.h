// The media read of one media file on demand: a record's name in bin, kind and compression read from its own
// file rather than from the media database. The file list reads a record when its row becomes the only
// selected one, and when Ctrl+P looks for precomputes whose kind is not known yet.
#pragma once

#include "catalog/media_record.h"
#include "container/bento_container.h"
#include "seams/progress.h"
#include "seams/prompts.h"

#include <cstddef>

namespace tw {

// The capacity, in characters, in which the full path of a single media file is built.
inline constexpr size_t kMediaFilePathCapacity = 1024;

// Opens the record's own file (its full path, built in 1,024 characters) with container and fills the record
// from it (ReadFileMediaInfo). The container stays open afterwards, for Media Info. False, with the record
// unchanged, when the record has no full path, the path does not fit or the file does not open as a container.
bool ReadOwnMediaInfo(BentoContainer& container, MediaRecord& record);

// The read when a row has just become selected: only when it is now the only selected row (selectedRows is
// the count after the change) and its file is not missing. True when the record was read from its file.
bool ReadOnSoleSelection(BentoContainer& container, MediaRecord& record, size_t selectedRows);

// The rows the precompute step walks: the file list, or a plain list of records.
class SelectableRows {
public:
    virtual ~SelectableRows() = default;
    [[nodiscard]] virtual size_t RowCount() const = 0;
    // The record a row stands for; null when the catalog has none.
    [[nodiscard]] virtual MediaRecord* RecordOfRow(size_t row) const = 0;
    // Shows the record's fields again after it was read from its file.
    virtual void RefreshRow(size_t row, const MediaRecord& record) = 0;
    // Adds the row to the selection.
    virtual void SelectRow(size_t row) = 0;
};

// Ctrl+P: adds the precomputes to the selection (rows already selected stay selected), walking the rows from
// the last to the first. Before each row, prompts may stop the walk (PollCancel) and progress shows k of n
// rows, k counting from 1. A row without a record or whose file is missing is passed over; a record whose
// kind is not known yet (mediaKind 0) is first read from its own file through container (its row refreshed
// when the read succeeds); a precompute (mediaKind 1) is selected. container, progress and prompts may be
// null: no reads, no display, no stop. False when the walk was stopped.
bool AddPrecomputesToSelection(SelectableRows& rows, BentoContainer* container, Progress* progress, Prompts* prompts);

} // namespace tw
