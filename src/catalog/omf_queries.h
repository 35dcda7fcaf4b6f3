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
// The stages of the two reads above: each starts bringing what they take from memory into the cache, so that
// a loader can have it on its way while it works on earlier records, once what the stage before brought has
// arrived. Stage 0 fetches the slots of the record's UIDs in the UID indexes, 1 the items those slots name,
// 2 the slots of the properties the reads look up first in the objects the items give, 3 those properties'
// entries. None changes anything.
inline constexpr unsigned kMediaLookUpStages = 4;
void PrefetchMediaLookUps(const BentoContainer& container, const MediaRecord& record, unsigned stage);
// For a single media file: compUid from its only compIndex entry, fileMobId from its first dataIndex entry,
// and what the two queries above find with them.
void ReadFileMediaInfo(BentoContainer& container, MediaRecord* record);
// For a single media file: projectName from the first object marked "_PJ".
void ReadProjectName(BentoContainer& container, MediaRecord* record);

} // namespace tw
