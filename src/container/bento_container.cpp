#include "container/bento_container.h"

#include "container/byte_view.h"
#include "container/hash_index.h"
#include "platform/platform.h"

#include <algorithm>
#include <array>

namespace tw {

namespace {

// The TOC is read in pieces of whole entries, straight into the entry table.
constexpr uint32_t kTocChunkEntries = 2048;

struct StandardName {
    uint32_t id;
    const wchar_t* name;
};

constexpr StandardName kStandardNames[] = {
    {1, L"CM_StdObjID_TOC"},
    {2, L"CM_StdObjID_TOC_Seed"},
    {3, L"CM_StdObjID_TOC_MinSeed"},
    {4, L"CM_StdObjID_TOC_Object"},
    {5, L"CM_StdObjID_TOC_Container"},
    {6, L"CM_StdObjID_TOC_Deleted"},
    {7, L"CM_StdObjID_TOC_Free"},
    {8, L"CM_StdObjID_TOC_NewValuesTOC"},
    {9, L"CM_StdObjID_TOC_Target"},
    {10, L"CM_StdObjID_TOC_DeleteList"},
    {19, L"CM_StdObjID_TOC_Type"},
    {21, L"CM_StdObjID_7BitASCII"},
    {22, L"CM_StdObjID_8BitASCII"},
    {23, L"CM_StdObjID_GlobalTypeName"},
    {24, L"CM_StdObjID_GlobalPropName"},
    {25, L"CM_StdObjID_DynamicValues"},
    {26, L"CM_StdObjID_BaseTypes"},
    {27, L"CM_StdObjID_BaseTypeList"},
    {28, L"CM_StdObjID_TargetContainer"},
    {29, L"CM_StdObjID_ValueUpdates"},
    {30, L"CM_StdObjID_UpdatesData"},
    {31, L"CM_StdObjID_ObjReferences"},
    {32, L"CM_StdObjID_ObjRefData"},
    {40, L"CM_StdObjID_32BitImmValue"},
    {41, L"CM_StdObjID_16BitImmValue"},
    {42, L"CM_StdObjID_8BitImmValue"},
};

// The standard names by id, made once for every container rather than at every open; empty for none.
constexpr uint32_t kStandardIdEnd = 43;
constexpr bool StandardIdsFit() {
    for (const StandardName& s : kStandardNames) {
        if (s.id >= kStandardIdEnd) {
            return false;
        }
    }
    return true;
}
static_assert(StandardIdsFit(), "a standard id beyond the table");

const std::wstring* StandardNameOf(uint32_t id) {
    static const std::array<std::wstring, kStandardIdEnd> names = [] {
        std::array<std::wstring, kStandardIdEnd> made;
        for (const StandardName& s : kStandardNames) {
            made[s.id] = s.name;
        }
        return made;
    }();
    return id < kStandardIdEnd && !names[id].empty() ? &names[id] : nullptr;
}

uint64_t PropertyKey(uint32_t objectId, uint32_t propertyId) {
    return (static_cast<uint64_t>(objectId) << 32) | propertyId;
}

// The hash of a property key: object and property ids both count in every bit, so that a file that gives
// one object a great many properties gets no longer probes than any other.
uint64_t PropertyHash(uint64_t key) {
    return MixHashBits(key);
}

// The six little-endian words of an entry; all zero, and the cursor failed, when the bytes end before them.
TocEntry DecodeEntry(ByteCursor& cursor) {
    return {cursor.NextU32(), cursor.NextU32(), cursor.NextU32(), cursor.NextU32(), cursor.NextU32(), cursor.NextU32()};
}

// The key words and the object of an element of a UID index: its words 1, 2 and 3 of five.
struct IndexElement {
    UidKey key;
    uint32_t object = 0;
};
IndexElement DecodeIndexElement(ByteCursor& cursor) {
    IndexElement element;
    cursor.Skip(4);
    element.key.word1 = cursor.NextU32();
    element.key.word2 = cursor.NextU32();
    element.object = cursor.NextU32();
    cursor.Skip(4);
    return element;
}

} // namespace

BentoContainer::BentoContainer(Console* console) : console(console), reader(console) {}

int BentoContainer::Open(const std::wstring& path) {
    Close();
    if (reader.Open(path, QRBFile::kOpenReadShared) == 0) {
        return 0;
    }
    isOpen = true;
    fileLength = reader.GetLength();
    if (!ReadLabel()) {
        Close();
        return 0;
    }
    intelByteOrder = label[10] == 0x49 && label[11] == 0x49;
    ResetNames();
    const ByteView fields(label.data(), label.size());
    const uint16_t majorVersion = *fields.Le16(12);
    if (majorVersion == 1) {
        ReadToc(*fields.Le32(16), *fields.Le32(20));
        ParseToc();
    } else if (majorVersion == 2) {
        AppendLine(console, L"OMFI 2.0 not supported");
        isValid = false;
    }
    return 1;
}

void BentoContainer::Close() {
    reader.Close();
    isOpen = false;
    isValid = false;
    fileLength = 0;
    label.fill(0);
    std::vector<TocEntry>().swap(entries);
    objects.Clear();
    propertyIndex.Clear();
    properties.Clear();
    std::vector<uint32_t>().swap(nextProperty);
    chainsBuilt = false;
    compIndex.Clear();
    dataIndex.Clear();
    fileMobIndex.Clear();
}

bool BentoContainer::ReadLabel() {
    label.fill(0);
    // A file shorter than the label makes this seek fail, and the label is read from its start.
    reader.Seek(static_cast<int64_t>(fileLength) - static_cast<int64_t>(bento::kLabelSize), QRBFile::begin);
    (void)reader.Read(label.data(), bento::kLabelSize);
    const bool magic = std::equal(bento::kMagic.begin(), bento::kMagic.end(), label.begin());
    isValid = magic && ByteView(label.data(), label.size()).Le32(20) <= fileLength;
    return isValid;
}

void BentoContainer::ReadToc(uint32_t tocOffset, uint32_t tocSize) {
    // The table is bounded by the bytes the file holds after the TOC's offset, whatever the label claims.
    const uint32_t wanted = tocSize / bento::kEntrySize;
    const uint64_t present = tocOffset < fileLength ? fileLength - tocOffset : 0;
    entries.reserve(static_cast<size_t>(std::min<uint64_t>(wanted, present / bento::kEntrySize)));
    reader.Seek(tocOffset, QRBFile::begin);
    std::vector<uint8_t> chunk(std::min(wanted, kTocChunkEntries) * bento::kEntrySize);
    // Only whole entries that the file delivers are used: a TOC that runs past the end of the file ends
    // with the last entry read.
    for (uint32_t left = wanted; left != 0;) {
        const uint32_t n = std::min(left, kTocChunkEntries);
        const auto bytes = static_cast<uint32_t>(n * bento::kEntrySize);
        const uint32_t got = reader.Read(chunk.data(), bytes);
        ByteCursor cursor(ByteView(chunk.data(), got));
        for (TocEntry entry = DecodeEntry(cursor); !cursor.Failed(); entry = DecodeEntry(cursor)) {
            entries.push_back(entry);
        }
        if (got < bytes) {
            break;
        }
        left -= n;
    }
}

void BentoContainer::ResetNames() {
    names.clear();
}

void BentoContainer::ParseToc() {
    propertyIndex.Reserve(entries.size());
    // The slots of the entries a little further on are fetched from memory while these are entered.
    constexpr uint32_t kAhead = 16;
    for (uint32_t i = 0; i < entries.size(); ++i) {
        if (i + kAhead < entries.size()) {
            const TocEntry& later = entries[i + kAhead];
            propertyIndex.PrefetchSlot(PropertyHash(PropertyKey(later.objectId, later.propertyId)));
        }
        const TocEntry e = entries[i];
        IndexProperty(i);
        if ((e.propertyId == bento::kGlobalTypeName || e.propertyId == bento::kGlobalPropName) &&
            e.valueFlags == bento::kStored) {
            const Bytes text = ReadBytes(e.valueOffset, std::min(e.valueLength, bento::kMaxTextLength));
            names[e.objectId] = TextOf(text);
        }
        if (e.objectId == bento::kTocObject) {
            if (e.propertyId == bento::kCompIndex) {
                AddIndex(compIndex, i);
            } else if (e.propertyId == bento::kDataIndex) {
                AddIndex(dataIndex, i);
            } else if (e.propertyId == bento::kFileMobIndex) {
                AddIndex(fileMobIndex, i);
            }
        }
    }
}

void BentoContainer::AddIndex(WalkTable& table, uint32_t entryIndex) {
    // Whatever its type, the value is read as an index array; a count that claims more elements than the
    // value holds is cut to the elements present. The count is read first, and then no more of the value
    // than the elements it counts, however long the entry claims the value to be.
    const std::optional<Bytes> head = ReadValue(entryIndex, 2);
    const std::optional<uint16_t> counted = head ? ByteCursor{ByteView(*head)}.U16() : std::nullopt;
    if (!counted) {
        return;
    }
    const std::optional<Bytes> value =
        ReadValue(entryIndex, 2 + uint32_t{*counted} * static_cast<uint32_t>(bento::kIndexElementSize));
    if (!value) {
        return;
    }
    const ByteView bytes(*value);
    ByteCursor cursor{bytes};
    const uint16_t count = cursor.NextU16();
    // The slots of the elements a little further on are fetched from memory while these are set.
    constexpr uint32_t kAhead = 16;
    for (uint32_t k = 0; k < count; ++k) {
        const IndexElement element = DecodeIndexElement(cursor);
        if (cursor.Failed()) {
            break;
        }
        ByteCursor later(bytes.Sub(2 + (k + kAhead) * bento::kIndexElementSize, bento::kIndexElementSize));
        const IndexElement ahead = DecodeIndexElement(later);
        if (!later.Failed()) {
            table.PrefetchSlot(ahead.key.Id());
        }
        table.Set(element.key.Id(), element.object);
    }
}

BentoContainer::Bytes BentoContainer::ReadBytes(uint64_t offset, uint32_t length) {
    Bytes bytes;
    ReadBytesInto(offset, length, bytes);
    return bytes;
}

void BentoContainer::ReadBytesInto(uint64_t offset, uint32_t length, Bytes& bytes) {
    if (offset >= fileLength) {
        bytes.clear();
        return;
    }
    bytes.resize(static_cast<size_t>(std::min<uint64_t>(length, fileLength - offset)));
    reader.Seek(static_cast<int64_t>(offset), QRBFile::begin);
    bytes.resize(reader.Read(bytes.data(), static_cast<uint32_t>(bytes.size())));
}

std::optional<TocEntry> BentoContainer::Entry(uint32_t index) const {
    if (index >= entries.size()) {
        return std::nullopt;
    }
    return entries[index];
}

std::optional<BentoContainer::PropertyTable> BentoContainer::FindObject(uint32_t objectId) const {
    if (!CanQuery()) {
        return std::nullopt;
    }
    BuildChains();
    const std::optional<uint32_t> lastAdded = objects.Find(objectId);
    if (!lastAdded) {
        return std::nullopt;
    }
    return PropertyTable{objectId, *lastAdded};
}

std::optional<uint32_t> BentoContainer::FindProperty(const PropertyTable& table, uint32_t propertyId) const {
    return FindProperty(table.objectId, propertyId);
}

void BentoContainer::PrefetchPropertySlot(uint32_t objectId, uint32_t propertyId) const {
    if (CanQuery()) {
        propertyIndex.PrefetchSlot(PropertyHash(PropertyKey(objectId, propertyId)));
    }
}

void BentoContainer::PrefetchPropertyEntry(uint32_t objectId, uint32_t propertyId) const {
    if (CanQuery()) {
        propertyIndex.PrefetchEntry(PropertyHash(PropertyKey(objectId, propertyId)), entries.data());
    }
}

std::optional<uint32_t> BentoContainer::FindProperty(uint32_t objectId, uint32_t propertyId) const {
    if (!CanQuery()) {
        return std::nullopt;
    }
    const uint64_t key = PropertyKey(objectId, propertyId);
    const uint32_t entryIndex = propertyIndex.Find(
        PropertyHash(key), [&](uint32_t n) { return PropertyKey(entries[n].objectId, entries[n].propertyId) == key; });
    return entryIndex == HashIndex::kNone ? std::nullopt : std::optional<uint32_t>(entryIndex);
}

void BentoContainer::IndexProperty(uint32_t entryIndex) {
    const uint64_t key = PropertyKey(entries[entryIndex].objectId, entries[entryIndex].propertyId);
    // A later entry for the same object and property replaces an earlier one.
    (void)propertyIndex.Place(
        PropertyHash(key), entryIndex,
        [&](uint32_t n) { return PropertyKey(entries[n].objectId, entries[n].propertyId) == key; },
        /*replace=*/true);
}

void BentoContainer::BuildChains() const {
    if (chainsBuilt) {
        return;
    }
    chainsBuilt = true;
    properties.Reserve(entries.size()); // an entry names one property of one object, rarely one named before
    for (uint32_t i = 0; i < entries.size(); ++i) {
        properties.Set(PropertyKey(entries[i].objectId, entries[i].propertyId), i);
    }
    // Items are numbered in the order their keys were first added, as the TOC first names each property
    // of an object; each object's chain starts at its property added last.
    nextProperty.reserve(properties.Size());
    for (uint32_t item = 0; item < properties.Size(); ++item) {
        const auto objectId = static_cast<uint32_t>(properties.KeyAt(item) >> 32);
        const std::optional<uint32_t> previous = objects.Exchange(objectId, item);
        nextProperty.push_back(previous ? *previous : item);
    }
}

void BentoContainer::PropertiesAdded(const PropertyTable& table, WalkTable::ItemList& added) const {
    BuildChains();
    // A table from an earlier open may no longer match the chain: it then has no properties.
    for (uint32_t p = table.lastAdded; CanQuery() && p < properties.Size(); p = nextProperty[p]) {
        const uint64_t key = properties.KeyAt(p);
        if (static_cast<uint32_t>(key >> 32) != table.objectId) {
            break;
        }
        added.push_back({key & 0xFFFFFFFFu, *properties.Find(key)});
        if (nextProperty[p] == p) {
            break;
        }
    }
    std::reverse(added.data(), added.data() + added.size());
}

std::optional<BentoContainer::Bytes> BentoContainer::ReadValue(uint32_t entryIndex, uint32_t maxBytes) {
    Bytes bytes;
    if (!FillValue(entryIndex, maxBytes, bytes)) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<ByteView> BentoContainer::ViewValue(uint32_t entryIndex, uint32_t maxBytes) {
    if (!FillValue(entryIndex, maxBytes, scratch)) {
        return std::nullopt;
    }
    return ByteView(scratch);
}

bool BentoContainer::FillValue(uint32_t entryIndex, uint32_t maxBytes, Bytes& bytes) {
    if (!CanQuery() || entryIndex >= entries.size()) {
        return false;
    }
    const TocEntry e = entries[entryIndex];
    const uint32_t wanted = std::min(e.valueLength, maxBytes);
    if (e.valueFlags == bento::kImmediate) {
        // The value's bytes are those of the valueOffset field as stored; never more than its four.
        const std::array<uint8_t, 4> field = LittleEndianBytes(e.valueOffset);
        bytes.assign(field.begin(), field.begin() + std::min<uint32_t>(wanted, 4));
    } else if (e.valueFlags == bento::kStored) {
        ReadBytesInto(e.valueOffset, wanted, bytes);
        const bool array = e.typeId == bento::kTypeIndexArray || e.typeId == bento::kTypeIdArray;
        if (!intelByteOrder && array && bytes.size() >= 2) {
            std::swap(bytes[0], bytes[1]);
        }
    } else {
        bytes.assign(static_cast<size_t>(std::min<uint64_t>(wanted, fileLength)), 0);
    }
    return !bytes.empty();
}

BentoContainer::Bytes BentoContainer::ReadStoredBytes(uint32_t entryIndex, uint32_t skip, uint32_t maxBytes) {
    if (!CanQuery() || entryIndex >= entries.size()) {
        return {};
    }
    const TocEntry e = entries[entryIndex];
    if (e.valueFlags != bento::kStored || skip >= e.valueLength) {
        return {};
    }
    return ReadBytes(uint64_t{e.valueOffset} + skip, std::min(e.valueLength - skip, maxBytes));
}

uint32_t BentoContainer::ImmediateValue(uint32_t entryIndex) const {
    if (!CanQuery() || entryIndex >= entries.size()) {
        return 0;
    }
    // The field's bytes as they stand in the file, read in the container's byte order.
    const std::array<uint8_t, 4> field = LittleEndianBytes(entries[entryIndex].valueOffset);
    return unchecked::U32(field.data(), intelByteOrder ? ByteOrder::little : ByteOrder::big);
}

const std::wstring* BentoContainer::NameOf(uint32_t id) const {
    if (!CanQuery()) {
        return nullptr;
    }
    // A name the file gives comes before the standard one.
    const auto found = names.find(id);
    return found == names.end() ? StandardNameOf(id) : &found->second;
}

const WalkTable& BentoContainer::IndexTable(UidIndex index) const {
    switch (index) {
    case UidIndex::comp:
        return compIndex;
    case UidIndex::data:
        return dataIndex;
    case UidIndex::fileMob:
        break;
    }
    return fileMobIndex;
}

std::optional<uint32_t> BentoContainer::LookUp(UidIndex index, UidKey key) const {
    if (!CanQuery()) {
        return std::nullopt;
    }
    return IndexTable(index).Find(key.Id());
}

std::wstring BentoContainer::TextOf(const Bytes& value) {
    return platform::AnsiToWide(reinterpret_cast<const char*>(value.data()), value.size());
}

std::wstring BentoContainer::TextOf(ByteView value) {
    return platform::AnsiToWide(reinterpret_cast<const char*>(value.Data()), value.Size());
}

} // namespace tw
