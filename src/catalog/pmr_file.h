// PMRFile reads a media file index (msmFMID.pmr) entry by entry into MediaRecords.
//
// Layout. Header of three 32-bit words: byte-order mark 1961 (little-endian when the first four bytes
// read little-endian give 1961, big-endian otherwise), guidLength in 32-bit words (2 or 8), an unused
// word. Then entries back to back, with L = 4 * guidLength:
//   L bytes first identifier (fileMobId) | u16 name length N (1..256) | N bytes file name (8-bit, no
//   terminator) | u16 project length P (0..64) | P bytes project name | L bytes second identifier
//   (compUid) | 4 bytes not interpreted.
// In a big-endian file the header words and both 16-bit lengths are swapped; identifiers never are.
// Of each identifier the 8 bytes at 0 (guidLength 2) or 16 (guidLength 8) are used: the first four
// are the low 32 bits read little-endian, the next four the high 32 bits.
//
// Damaged entries are skipped one byte at a time; a length out of range is reported once, at the end.
#pragma once

#include "catalog/media_record.h"
#include "container/byte_view.h"
#include "container/qrb_file.h"
#include "seams/progress.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

class PMRFile : public QRBFile {
public:
    static constexpr uint16_t kMaxNameLength = 256;
    static constexpr uint16_t kMaxProjectLength = 64;

    explicit PMRFile(Console* console = nullptr) : QRBFile(console) {}

    // 1 when the file is open and its header valid; 0 otherwise (the file is then closed).
    [[nodiscard]] int OpenIndex(const std::wstring& path);
    // 1 when the next valid entry has been stored into record; 0 at the end of the file or when
    // record is null. progress (may be null) follows the read position.
    [[nodiscard]] int ReadNextRecord(MediaRecord* record, Progress* progress);

    [[nodiscard]] bool Swapped() const { return order == ByteOrder::big; }
    [[nodiscard]] bool BadData() const { return badData; }
    [[nodiscard]] uint32_t GuidLength() const { return guidLength; }
    [[nodiscard]] uint32_t HeaderValue() const { return headerValue; }

private:
    // noneLeft: no offset of the file is left to try.
    enum class Attempt { valid, invalid, outOfBytes, noneLeft };

    // The fields of one attempt, viewing the reader's window or the entry buffer.
    struct EntryView {
        ByteView firstId;
        ByteView name;
        ByteView project;
        ByteView secondId;
    };

    uint32_t ReadWord();
    Attempt ReadEntryAt(EntryView& e);
    template <typename Source> Attempt Decode(Source& source, EntryView& e);
    // The tests of an entry's fields that Decode and IsValid make, and that the resynchronisation makes
    // before them, at every offset, to pass over the offsets where they must fail.
    [[nodiscard]] static constexpr bool NameLengthFits(unsigned length) { return length - 1u < kMaxNameLength; }
    [[nodiscard]] static constexpr bool ProjectLengthFits(unsigned length) { return length <= kMaxProjectLength; }
    // The name of length bytes at name has the dot of a three-letter extension.
    [[nodiscard]] static bool HasExtensionDot(const uint8_t* name, size_t length) {
        return length >= 4 && name[length - 4] == '.';
    }
    static bool IsValid(const EntryView& e);
    // How many offsets from bytes on, of available bytes, cannot start an entry: a name length or project
    // length that does not fit, or a name without its extension's dot. The first offset that passes, or whose
    // bytes run past the available ones, is left to a real attempt. damaged is set when one of the offsets
    // passed over held a length that does not fit.
    template <ByteOrder kOrder>
    [[nodiscard]] static uint64_t ImpossibleOffsets(const uint8_t* bytes, uint64_t available, uint64_t idLength,
                                                    bool& damaged);
    // The same in the index's byte order, setting badData for a length that does not fit.
    [[nodiscard]] uint64_t ImpossibleOffsetsIn(const uint8_t* bytes, uint64_t available);
    // Makes, from recordStart on, the attempts whose bytes the window holds, on those bytes in place: after a
    // failed one the next offset past the impossible ones, as the resynchronisation goes. Answers valid (the
    // reader past the entry, recordStart at its start), noneLeft (the last offset of the file failed), or
    // outOfBytes: the window does not hold the bytes of an attempt at recordStart, where the reader stands,
    // and the attempt is left to the reader.
    Attempt AttemptsInWindow(EntryView& e);
    void ClearEntry();

    uint64_t fileLength = 0;
    // Conversion storage.
    std::wstring scratch;
    // Project texts of entries read, with the bytes each came from, placed by the hash of those bytes.
    struct ProjectText {
        std::string bytes;
        SharedText text;
    };
    std::array<ProjectText, 256> projectTexts;
    // The order of the header words and of the two lengths of every entry, decided by the header.
    ByteOrder order = ByteOrder::little;
    bool badData = false;
    uint64_t recordStart = 0;
    uint32_t guidLength = 0;
    uint32_t headerValue = 0;

    // The entry buffer of a read field by field; zeroed before every such attempt.
    std::array<uint8_t, 2> lengthBytes{};
    std::array<uint8_t, kMaxNameLength> name{};
    std::array<uint8_t, kMaxProjectLength + 4> project{};
    std::array<uint8_t, 32> firstId{};
    std::array<uint8_t, 32> secondId{};
};

} // namespace tw
