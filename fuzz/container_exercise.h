// What the fuzz targets do with a container: open it, then run every query, the TOC lines and the property
// walks on it.
#pragma once

#include "catalog/omf_queries.h"
#include "container/toc_dump.h"
#include "discard_console.h"

#include <algorithm>
#include <string>

namespace tw::fuzz {

inline void ExerciseContainer(const std::wstring& path) {
    DiscardConsole console;
    tw::BentoContainer container(&console);
    if (container.Open(path) == 0 || !container.CanQuery()) {
        return;
    }
    // The media database's queries, with identifiers the container indexes itself.
    tw::MediaRecord record;
    if (const auto comp = container.IndexTable(tw::BentoContainer::UidIndex::comp).First()) {
        record.compUid = comp->key;
    }
    if (const auto mob = container.IndexTable(tw::BentoContainer::UidIndex::fileMob).First()) {
        record.fileMobId = mob->key;
    }
    tw::ReadBinNameAndKind(container, &record);
    tw::ReadCompression(container, &record);
    // A single media file's queries.
    tw::MediaRecord single;
    tw::ReadFileMediaInfo(container, &single);
    tw::ReadProjectName(container, &single);

    tw::DumpToc(container, &console);
    // ReadValue once, on the first entry; the walk views the values in the container's own buffer.
    (void)container.ReadValue(0, tw::bento::kMaxTextLength);
    const uint32_t walked = std::min<uint32_t>(container.EntryCount(), 64);
    for (uint32_t i = 0; i < walked; ++i) {
        const auto object = container.FindObject(container.Entry(i)->objectId);
        if (!object) {
            continue;
        }
        container.WalkProperties(*object, [&](uint32_t propertyId, uint32_t entry) {
            (void)container.NameOf(propertyId);
            (void)container.ImmediateValue(entry);
            (void)container.ViewValue(entry, tw::bento::kMaxTextLength);
        });
    }
    container.Close();
}

} // namespace tw::fuzz
