// FileSelection: the selected rows of the file list as the file operations see them. The Windows file list
// implements it; tests and the command line use plain lists.
#pragma once

#include "catalog/media_record.h"

#include <cstddef>
#include <cstdint>

namespace tw {

class FileSelection {
public:
    virtual ~FileSelection() = default;
    // The first selected item in list order, or -1.
    [[nodiscard]] virtual int FirstSelected() const = 0;
    // The next selected item after item, or -1.
    [[nodiscard]] virtual int NextSelected(int item) const = 0;
    [[nodiscard]] virtual size_t SelectedCount() const = 0;
    // The record an item stands for; null when the catalog has none.
    [[nodiscard]] virtual MediaRecord* RecordOf(int item) const = 0;
    virtual void Deselect(int item) = 0;
    // Shows the record's fields in the item's row again.
    virtual void RefreshItem(int item, const MediaRecord& record) = 0;
    // The running total of the sizes of the selected files.
    [[nodiscard]] virtual uint64_t SelectedSize() const = 0;
};

} // namespace tw
