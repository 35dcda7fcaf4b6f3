#include "catalog/omf_queries.h"

#include "container/byte_view.h"

#include <array>
#include <cwchar>

namespace tw {

namespace {

// The first three bytes of the valueOffset field that mark the project object: "_PJ".
constexpr uint32_t kProjectMark = 0x4A505F;

// The first maxBytes of a property's value: no query uses more of a value than its fixed fields or a text.
// The view lasts until the container's next value read.
std::optional<ByteView> ReadProperty(BentoContainer& container, uint32_t objectId, uint32_t propertyId,
                                     uint32_t maxBytes) {
    const auto entry = container.FindProperty(objectId, propertyId);
    if (!entry) {
        return std::nullopt;
    }
    return container.ViewValue(*entry, maxBytes);
}

// A descriptor reference is one 32-bit word; a UID three.
constexpr uint32_t kReferenceLength = 4;
constexpr uint32_t kUidLength = 12;

bool CanAnswer(const BentoContainer& container, const MediaRecord* record) {
    return record != nullptr && container.CanQuery();
}

} // namespace

std::wstring CompressionName(uint32_t code) {
    switch (code) {
    case 0x4B:
        return L"10:1";
    case 0x4C:
        return L"2:1";
    case 0x4D:
        return L"3:1";
    case 0x4E:
        return L"15:1s";
    case 0x4F:
        return L"4:1s";
    case 0x50:
        return L"2:1s";
    case 0x52:
        return L"20:1";
    case 0x6E:
        return L"10:1m";
    case 0x6F:
        return L"4:1m";
    case 0x8C:
        return L"411";
    case 0x8D:
        return L"420";
    case 0x8E:
        return L"dv50";
    case 0x97:
        return L"1:1";
    case 0xA0:
        return L"mpg50";
    case 0xA1:
        return L"mpg40";
    case 0xA2:
        return L"mpg30";
    default:
        break;
    }
    wchar_t text[16];
    std::swprintf(text, sizeof text / sizeof text[0], L"[0x%X]", code);
    return text;
}

namespace {

// The name of a compression, made once per code of one byte (every named code is one) for every record of
// the process.
SharedText CompressionText(uint32_t code) {
    static const std::array<SharedText, 256> byCode = [] {
        std::array<SharedText, 256> texts;
        for (uint32_t c = 0; c < texts.size(); ++c) {
            texts[c] = CompressionName(c);
        }
        return texts;
    }();
    return code < byCode.size() ? byCode[code] : SharedText(CompressionName(code));
}

// Calls prefetch(object, property) for the first properties the two reads look up.
template <typename Prefetch>
void ForFirstProperties(const BentoContainer& container, const MediaRecord& record, Prefetch&& prefetch) {
    if (const auto comp = container.LookUp(BentoContainer::UidIndex::comp, UidKey::FromId(record.compUid))) {
        prefetch(*comp, omf::kNameInBin);
        prefetch(*comp, omf::kMediaKind);
    }
    if (const auto mob = container.LookUp(BentoContainer::UidIndex::fileMob, UidKey::FromId(record.fileMobId))) {
        prefetch(*mob, omf::kDescriptor);
    }
}

} // namespace

void PrefetchMediaLookUps(const BentoContainer& container, const MediaRecord& record, unsigned stage) {
    const UidKey comp = UidKey::FromId(record.compUid);
    const UidKey fileMob = UidKey::FromId(record.fileMobId);
    switch (stage) {
    case 0:
        container.PrefetchLookUpSlot(BentoContainer::UidIndex::comp, comp);
        container.PrefetchLookUpSlot(BentoContainer::UidIndex::fileMob, fileMob);
        break;
    case 1:
        container.PrefetchLookUpEntry(BentoContainer::UidIndex::comp, comp);
        container.PrefetchLookUpEntry(BentoContainer::UidIndex::fileMob, fileMob);
        break;
    case 2:
        ForFirstProperties(container, record, [&](uint32_t object, uint32_t property) {
            container.PrefetchPropertySlot(object, property);
        });
        break;
    case 3:
        ForFirstProperties(container, record, [&](uint32_t object, uint32_t property) {
            container.PrefetchPropertyEntry(object, property);
        });
        break;
    default:
        break;
    }
}

void ReadBinNameAndKind(BentoContainer& container, MediaRecord* record) {
    if (!CanAnswer(container, record)) {
        return;
    }
    const auto objectId = container.LookUp(BentoContainer::UidIndex::comp, UidKey::FromId(record->compUid));
    if (!objectId) {
        return;
    }
    // An object that does not exist has neither property.
    if (const auto entry = container.FindProperty(*objectId, omf::kNameInBin)) {
        if (const auto value = container.ViewValue(*entry, bento::kMaxTextLength)) {
            record->SetNameInBin(BentoContainer::TextOf(*value));
        }
    }
    if (const auto entry = container.FindProperty(*objectId, omf::kMediaKind)) {
        record->mediaKind = static_cast<int32_t>(container.ImmediateValue(*entry));
    }
}

void ReadCompression(BentoContainer& container, MediaRecord* record) {
    if (!CanAnswer(container, record)) {
        return;
    }
    const auto objectId = container.LookUp(BentoContainer::UidIndex::fileMob, UidKey::FromId(record->fileMobId));
    if (!objectId) {
        return;
    }
    const auto reference = ReadProperty(container, *objectId, omf::kDescriptor, kReferenceLength);
    // A reference shorter than its one word names no descriptor; the word is never swapped.
    const std::optional<uint32_t> descriptor = reference ? reference->Le32(0) : std::nullopt;
    if (!descriptor) {
        return;
    }
    const auto entry = container.FindProperty(*descriptor, omf::kCompression);
    if (!entry) {
        return;
    }
    const uint32_t code = container.ImmediateValue(*entry);
    record->SetCompression(code, CompressionText(code));
}

void ReadFileMediaInfo(BentoContainer& container, MediaRecord* record) {
    if (!CanAnswer(container, record)) {
        return;
    }
    const WalkTable& comps = container.IndexTable(BentoContainer::UidIndex::comp);
    if (comps.Size() != 1) {
        return;
    }
    record->compUid = comps.First()->key;
    ReadBinNameAndKind(container, record);
    const auto data = container.IndexTable(BentoContainer::UidIndex::data).First();
    if (!data) {
        return;
    }
    record->fileMobId = data->key;
    const auto uid = ReadProperty(container, data->value, omf::kMobUid, kUidLength);
    // A UID shorter than its three words is no UID.
    const std::optional<uint64_t> key = uid ? uid->Le64(4) : std::nullopt;
    if (!key) {
        return;
    }
    record->fileMobId = *key;
    ReadCompression(container, record);
}

void ReadProjectName(BentoContainer& container, MediaRecord* record) {
    if (!CanAnswer(container, record)) {
        return;
    }
    for (uint32_t i = 0; i < container.EntryCount(); ++i) {
        const TocEntry e = *container.Entry(i);
        if ((e.valueOffset & 0xFFFFFFu) != kProjectMark) {
            continue;
        }
        if (const auto name = ReadProperty(container, e.objectId, omf::kProjectName, bento::kMaxTextLength)) {
            record->SetProjectName(BentoContainer::TextOf(*name));
        }
        return;
    }
}

} // namespace tw
