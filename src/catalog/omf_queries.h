// The media queries on OMF objects: they fill a MediaRecord's media fields from an open container, either
// the media database (by the identifiers the index gave the record) or a single OMF media file (whose
// identifiers they find themselves). A query that misses a step stops there, leaves the record's other
// fields as they were and writes nothing.
#pragma once

#include "catalog/media_record.h"
#include "container/bento_container.h"

#include <cstdint>
#include <string>

namespace tw {

namespace omf {
inline constexpr uint32_t kNameInBin = 0x1029D;
inline constexpr uint32_t kMediaKind = 0x1033D;
inline constexpr uint32_t kDescriptor = 0x10333;
inline constexpr uint32_t kCompression = 0x108F7;
inline constexpr uint32_t kMobUid = 0x10964;
inline constexpr uint32_t kProjectName = 0x10261;
} // namespace omf

// The label of a compression code: "2:1", "dv50" and so on; "[0x%X]" for codes without a name.
[[nodiscard]] std::wstring CompressionName(uint32_t code);

// nameInBin and mediaKind of the object that compIndex gives for the record's compUid.
void ReadBinNameAndKind(BentoContainer& container, MediaRecord* record);
// compressionCode and compressionName from the descriptor of the object that fileMobIndex gives for the
// record's fileMobId.
void ReadCompression(BentoContainer& container, MediaRecord* record);
// Start bringing what the two reads above take from memory into the cache, so that a loader can have it
// on its way while it works on earlier records. Each stage reads what the one before brought: the record's
// slots in the UID indexes, then the slots of the properties the reads look up first, then their entries.
// None changes anything.
void PrefetchMediaObjects(const BentoContainer& container, const MediaRecord& record);
void PrefetchMediaProperties(const BentoContainer& container, const MediaRecord& record);
void PrefetchMediaEntries(const BentoContainer& container, const MediaRecord& record);
// For a single media file: compUid from its only compIndex entry, fileMobId from its first dataIndex entry,
// and what the two queries above find with them.
void ReadFileMediaInfo(BentoContainer& container, MediaRecord* record);
// For a single media file: projectName from the first object marked "_PJ".
void ReadProjectName(BentoContainer& container, MediaRecord* record);

} // namespace tw
