// BentoContainer reads the containers of OMF 1.x media: the media database msmMMOB.mdb and single OMF
// media files.
//
// Layout. The file's last 24 bytes are the label, read little-endian: 8 bytes magic A4 43 4D A5 48 64 72 D7,
// 2 bytes flags (not read), 2 bytes byte-order mark ("II" = little-endian, anything else big-endian),
// u16 major version (1 read, 2 refused, others open empty), u16 minor version (not read), u32 TOC offset,
// u32 TOC size. The TOC is TOC size / 24 entries of six little-endian u32 words: objectId, propertyId,
// typeId, valueOffset, valueLength, valueFlags (1: stored at valueOffset; 0x10001: immediate, the bytes of
// the valueOffset field; others: not readable). Entries of property 23 or 24 that are stored name the
// object objectId. Properties 0x101E9, 0x10202 and 0x10216 of object 1 are UID indexes: u16 count, then
// 20-byte elements whose words 1 and 2 are the UID key and word 3 the object id.
// A big-endian container swaps only the u16 count of stored arrays (types 0x1006D and 0x1007C) and the
// numbers read as immediate values; everything else is little-endian as it stands.
//
// Every length in the file is checked against the bytes there: values are cut to the file's end, immediate
// values to their 4-byte field, index arrays to the elements their value holds.
#pragma once

#include "container/byte_view.h"
#include "container/hash_index.h"
#include "container/qrb_file.h"
#include "container/walk_table.h"
#include "seams/console.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tw {

struct TocEntry {
    uint32_t objectId = 0;
    uint32_t propertyId = 0;
    uint32_t typeId = 0;
    uint32_t valueOffset = 0;
    uint32_t valueLength = 0;
    uint32_t valueFlags = 0;
};

// The pair of UID words by which objects are looked up; word 0 of a UID takes no part.
// As a 64-bit identifier: word1 is the low half, word2 the high half.
struct UidKey {
    uint32_t word1 = 0;
    uint32_t word2 = 0;

    static UidKey FromId(uint64_t id) { return {static_cast<uint32_t>(id), static_cast<uint32_t>(id >> 32)}; }
    [[nodiscard]] uint64_t Id() const { return static_cast<uint64_t>(word1) | (static_cast<uint64_t>(word2) << 32); }
};

// Ids the container gives a meaning by number.
namespace bento {
inline constexpr uint32_t kTocObject = 1;
inline constexpr uint32_t kGlobalTypeName = 23;
inline constexpr uint32_t kGlobalPropName = 24;
inline constexpr uint32_t kCompIndex = 0x101E9;
inline constexpr uint32_t kDataIndex = 0x10202;
inline constexpr uint32_t kFileMobIndex = 0x10216;

inline constexpr uint32_t kTypeText7Bit = 21;
inline constexpr uint32_t kTypeText8Bit = 22;
inline constexpr uint32_t kTypeText = 0x10081;
inline constexpr uint32_t kTypeText2 = 0x10090;
inline constexpr uint32_t kTypeIndexArray = 0x1006D;
inline constexpr uint32_t kTypeIdArray = 0x1007C;
inline constexpr uint32_t kTypeReference = 0x10077;
inline constexpr uint32_t kTypeUid = 0x1009F;

inline constexpr uint32_t kStored = 1;
inline constexpr uint32_t kImmediate = 0x10001;

inline constexpr size_t kLabelSize = 24;
// The most bytes of a value that any reader uses: texts (names, names in bin, project names) and index
// arrays (a u16 count of 20-byte elements). Reads are bounded by what their caller needs, never by the
// length an entry claims.
inline constexpr uint32_t kMaxTextLength = 1023;
inline constexpr uint32_t kMaxIndexArrayLength = 2 + 0xFFFF * 20;
inline constexpr size_t kEntrySize = 24;
inline constexpr size_t kIndexElementSize = 20;
inline constexpr std::array<uint8_t, 8> kMagic = {0xA4, 0x43, 0x4D, 0xA5, 0x48, 0x64, 0x72, 0xD7};
} // namespace bento

class BentoContainer {
public:
    using Bytes = std::vector<uint8_t>;

    enum class UidIndex { comp, data, fileMob };

    // An object's property table, as FindObject hands it out; valid until the next Open or Close.
    struct PropertyTable {
        uint32_t objectId = 0;
        // The object's property added last; the others follow through the container's chain.
        uint32_t lastAdded = 0;
    };

    // console (may be null) receives the file reader's lines and "OMFI 2.0 not supported".
    explicit BentoContainer(Console* console = nullptr);
    // Where later lines go, the file reader's included; null drops them.
    void SetConsole(Console* newConsole) {
        console = newConsole;
        reader.SetConsole(newConsole);
    }
    BentoContainer(const BentoContainer&) = delete;
    BentoContainer& operator=(const BentoContainer&) = delete;

    // 1 when the file opened and its label was recognised (also for versions other than 1), 0 otherwise
    // (the container is then closed). Closes whatever was open before.
    [[nodiscard]] int Open(const std::wstring& path);
    void Close();

    [[nodiscard]] bool IsOpen() const { return isOpen; }
    [[nodiscard]] bool IsValid() const { return isValid; }
    // True when a query may answer: open and valid.
    [[nodiscard]] bool CanQuery() const { return isOpen && isValid; }
    [[nodiscard]] uint32_t EntryCount() const { return static_cast<uint32_t>(entries.size()); }
    [[nodiscard]] bool IntelByteOrder() const { return intelByteOrder; }
    [[nodiscard]] uint64_t FileLength() const { return fileLength; }
    // The entry at index (from 0); none beyond EntryCount.
    [[nodiscard]] std::optional<TocEntry> Entry(uint32_t index) const;

    [[nodiscard]] std::optional<PropertyTable> FindObject(uint32_t objectId) const;
    // The index of the entry that holds the property's value (the last such entry in the TOC).
    [[nodiscard]] std::optional<uint32_t> FindProperty(const PropertyTable& table, uint32_t propertyId) const;
    // The same as FindProperty on FindObject(objectId), with one lookup instead of two: an object that does
    // not exist has no properties.
    [[nodiscard]] std::optional<uint32_t> FindProperty(uint32_t objectId, uint32_t propertyId) const;
    // The stages of FindProperty(objectId, propertyId), each started once what the one before brought has
    // arrived: its first slot, then the entry the slot names.
    void PrefetchPropertySlot(uint32_t objectId, uint32_t propertyId) const;
    void PrefetchPropertyEntry(uint32_t objectId, uint32_t propertyId) const;
    // Calls visit(propertyId, entryIndex) for every property of the table, in walk order.
    template <typename Visit> void WalkProperties(const PropertyTable& table, Visit&& visit) const {
        WalkTable::ItemList added;
        PropertiesAdded(table, added);
        WalkTable::WalkInOrder(added.data(), added.size(), [&](const WalkTable::Item& item) {
            visit(static_cast<uint32_t>(item.key), item.value);
        });
    }

    // The value's first bytes, at most maxBytes of them; none when the value is empty. Stored values are
    // cut to the end of the file, immediate values to their 4-byte field; values of other flags are zero
    // bytes (at most the file's length of them). In a big-endian container the u16 count of stored arrays
    // is swapped.
    [[nodiscard]] std::optional<Bytes> ReadValue(uint32_t entryIndex, uint32_t maxBytes);
    // The bytes of a stored value (flags 1) as the file holds them, without any byte-order change: from byte
    // skip of the value on, at most maxBytes, cut to the value's claimed length and to the end of the file.
    // Empty for other flags, for no entry, and when nothing of the value lies in the file.
    [[nodiscard]] Bytes ReadStoredBytes(uint32_t entryIndex, uint32_t skip, uint32_t maxBytes);
    // As ReadValue, into a buffer the container keeps instead of new bytes: the view lasts until the next
    // ViewValue, Open or Close. The load reads two values a record through it, the TOC lines their texts.
    [[nodiscard]] std::optional<ByteView> ViewValue(uint32_t entryIndex, uint32_t maxBytes);
    // The entry's valueOffset field as a number, swapped in a big-endian container; 0 for no entry.
    [[nodiscard]] uint32_t ImmediateValue(uint32_t entryIndex) const;
    // The name of a type, property or standard object; null when none is known.
    [[nodiscard]] const std::wstring* NameOf(uint32_t id) const;

    // The object id a UID index gives for the key; none when absent or when the container cannot answer.
    [[nodiscard]] std::optional<uint32_t> LookUp(UidIndex index, UidKey key) const;
    // The stages of LookUp(index, key), each started once what the one before brought has arrived: its first
    // slot, then the item the slot names.
    void PrefetchLookUpSlot(UidIndex index, UidKey key) const {
        if (CanQuery()) {
            IndexTable(index).PrefetchSlot(key.Id());
        }
    }
    void PrefetchLookUpEntry(UidIndex index, UidKey key) const {
        if (CanQuery()) {
            IndexTable(index).PrefetchEntry(key.Id());
        }
    }
    // The whole index table: its size, its first entry in walk order (key = UidKey::Id(), value = object).
    [[nodiscard]] const WalkTable& IndexTable(UidIndex index) const;

    // A value's bytes as 8-bit text in the system's code page, up to the first zero byte.
    [[nodiscard]] static std::wstring TextOf(const Bytes& value);
    [[nodiscard]] static std::wstring TextOf(ByteView value);

private:
    // The table's properties as (propertyId, entry index) into added, in the order they were added.
    void PropertiesAdded(const PropertyTable& table, WalkTable::ItemList& added) const;
    void BuildChains() const;
    // Enters entries[entryIndex] into propertyIndex.
    void IndexProperty(uint32_t entryIndex);
    bool ReadLabel();
    void ReadToc(uint32_t tocOffset, uint32_t tocSize);
    void ResetNames();
    void ParseToc();
    void AddIndex(WalkTable& table, uint32_t entryIndex);
    // Reads up to length bytes at offset, cut to the end of the file.
    Bytes ReadBytes(uint64_t offset, uint32_t length);
    void ReadBytesInto(uint64_t offset, uint32_t length, Bytes& bytes);
    // The bytes ReadValue hands out, into bytes; false for none.
    bool FillValue(uint32_t entryIndex, uint32_t maxBytes, Bytes& bytes);

    Console* console;
    QRBFile reader;
    uint64_t fileLength = 0;
    bool isValid = false;
    bool isOpen = false;
    bool intelByteOrder = false;
    std::array<uint8_t, bento::kLabelSize> label{};
    std::vector<TocEntry> entries;
    // (objectId, propertyId) -> the index of its last entry, as FindProperty needs it.
    HashIndex propertyIndex;
    // The objects' chains of properties, built by the first FindObject (a load never walks an object):
    // (objectId << 32 | propertyId) -> entry index with the keys in the order the TOC first names them;
    // objectId -> the object's property added last (an item number of properties), and for each item of
    // properties the object's property added before it, itself for the first.
    mutable WalkTable properties;
    mutable WalkTable objects;
    mutable std::vector<uint32_t> nextProperty;
    mutable bool chainsBuilt = false;
    std::unordered_map<uint32_t, std::wstring> names;
    // The bytes of the last ViewValue.
    Bytes scratch;
    WalkTable compIndex;
    WalkTable dataIndex;
    WalkTable fileMobIndex;
};

} // namespace tw
