#include "catalog/file_table.h"

namespace tw {

MediaRecord* FileTable::Find(std::wstring_view fileName) const {
    const uint32_t at =
        index.Find(HashText(fileName), [&](uint32_t n) { return records[n]->fileName.view() == fileName; });
    return at == HashIndex::kNone ? nullptr : records[at];
}

bool FileTable::Insert(MediaRecord* record, uint64_t nameHash) {
    const std::wstring_view name = record->fileName.view();
    const auto added = static_cast<uint32_t>(records.size());
    if (index.Place(nameHash, added, [&](uint32_t n) { return records[n]->fileName.view() == name; }) != added) {
        return false;
    }
    records.push_back(record);
    return true;
}

void FileTable::Clear() {
    std::vector<MediaRecord*>().swap(records);
    index.Clear();
}

} // namespace tw
