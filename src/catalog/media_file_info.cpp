#include "catalog/media_file_info.h"

#include "catalog/omf_queries.h"

namespace tw {

namespace {

constexpr int32_t kUnknownKind = 0;
constexpr int32_t kPrecomputeKind = 1;

} // namespace

bool ReadOwnMediaInfo(BentoContainer& container, MediaRecord& record) {
    std::wstring path;
    // GetFullPath leaves path empty when the path does not fit.
    if (record.GetFullPath(path, kMediaFilePathCapacity) == 0 || path.empty() || container.Open(path) == 0) {
        return false;
    }
    ReadFileMediaInfo(container, &record);
    return true;
}

bool ReadOnSoleSelection(BentoContainer& container, MediaRecord& record, size_t selectedRows) {
    return selectedRows == 1 && !record.IsMissing() && ReadOwnMediaInfo(container, record);
}

bool AddPrecomputesToSelection(SelectableRows& rows, BentoContainer* container, Progress* progress, Prompts* prompts) {
    const size_t count = rows.RowCount();
    uint64_t k = 1;
    for (size_t row = count; row-- > 0; ++k) {
        if (prompts != nullptr && prompts->PollCancel()) {
            return false;
        }
        if (progress != nullptr) {
            progress->SetProgress(k, count);
        }
        MediaRecord* record = rows.RecordOfRow(row);
        if (record == nullptr || record->IsMissing()) {
            continue;
        }
        if (record->mediaKind == kUnknownKind && container != nullptr && ReadOwnMediaInfo(*container, *record)) {
            rows.RefreshRow(row, *record);
        }
        if (record->mediaKind == kPrecomputeKind) {
            rows.SelectRow(row);
        }
    }
    return true;
}

} // namespace tw
