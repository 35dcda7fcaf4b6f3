#include "catalog/pmr_file.h"

#include "catalog/media_files.h"
#include "container/hash_index.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstring>

namespace tw {

namespace {

constexpr uint32_t kByteOrderMark = 1961;
constexpr uint64_t kMinimumLength = 30;
// The project of entries that name none, "**NULL_PROJECT".
constexpr uint8_t kNullProject[] = {'*', '*', 'N', 'U', 'L', 'L', '_', 'P', 'R', 'O', 'J', 'E', 'C', 'T'};

// No zero byte among the bytes and none below 0x20 (0x80..0xFF are allowed).
bool IsPrintable(ByteView text) {
    // Eight bytes at a time: (x - 0x20 in each byte) & ~x has a byte's top bit set exactly when some byte of
    // x is below 0x20. The last eight bytes are tested as one more group, overlapping the one before.
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kTopBits = 0x8080808080808080ull;
    const uint8_t* bytes = text.Data();
    const size_t n = text.Size();
    const auto controlIn = [&](size_t at) {
        uint64_t x;
        std::memcpy(&x, bytes + at, 8);
        return (x - kOnes * 0x20) & ~x & kTopBits;
    };
    if (n < 8) {
        unsigned control = 0;
        for (size_t i = 0; i < n; ++i) {
            control |= bytes[i] < 0x20 ? 1u : 0u;
        }
        return control == 0;
    }
    uint64_t found = controlIn(n - 8);
    for (size_t i = 0; i + 8 < n; i += 8) {
        found |= controlIn(i);
    }
    return found == 0;
}

constexpr ByteView kNullProjectView(kNullProject, sizeof kNullProject);

} // namespace

int PMRFile::OpenIndex(const std::wstring& path) {
    fileLength = 0;
    recordStart = 0;
    badData = false;
    if (Open(path, kOpenReadShared) == 0) {
        return 0;
    }
    fileLength = GetLength();
    if (fileLength < kMinimumLength) {
        Close();
        fileLength = 0;
        AppendLine(console, L"PMRFile: too small");
        return 0;
    }
    uint8_t mark[4] = {};
    if (Read(mark, 4) != 4) {
        Close();
        fileLength = 0;
        AppendLine(console, L"PMRFile: too small");
        return 0;
    }
    order = ByteView(mark, sizeof mark).Le32(0) == kByteOrderMark ? ByteOrder::little : ByteOrder::big;
    guidLength = ReadWord();
    if (guidLength != 2 && guidLength != 8) {
        Close();
        fileLength = 0;
        AppendLine(console, L"PMRFile: bad GUID Length");
        return 0;
    }
    headerValue = ReadWord();
    return 1;
}

uint32_t PMRFile::ReadWord() {
    uint8_t bytes[4] = {};
    (void)Read(bytes, 4);
    return *ByteView(bytes, sizeof bytes, order).U32(0);
}

void PMRFile::ClearEntry() {
    lengthBytes.fill(0);
    name.fill(0);
    project.fill(0);
    firstId.fill(0);
    secondId.fill(0);
}

namespace {

// Field sources for one attempt. Take returns the next n bytes of the entry, or null when the file cannot
// deliver them whole: the attempt then ran out of bytes (a truncated entry, or an attempt that started in
// garbage), and its half-read fields must not be used.

// The entry's bytes straight from the reader's window, when the window holds the longest entry there can
// be (or the rest of the file).
struct WindowSource {
    const uint8_t* data;
    uint32_t size;
    uint32_t offset = 0;
    const uint8_t* Take(uint32_t n, uint8_t* /*buffer*/) {
        if (n > size - offset) {
            return nullptr;
        }
        const uint8_t* taken = data + offset;
        offset += n;
        return taken;
    }
};

// One read of the buffered reader per field, into the entry buffer.
struct ReaderSource {
    QRBFile& reader;
    const uint8_t* Take(uint32_t n, uint8_t* buffer) { return reader.Read(buffer, n) == n ? buffer : nullptr; }
};

} // namespace

template <typename Source> PMRFile::Attempt PMRFile::Decode(Source& source, EntryView& e) {
    const uint32_t idLength = 4 * guidLength;
    const uint8_t* firstIdBytes = source.Take(idLength, firstId.data());
    const uint8_t* nameLengthBytes = firstIdBytes != nullptr ? source.Take(2, lengthBytes.data()) : nullptr;
    if (nameLengthBytes == nullptr) {
        return Attempt::outOfBytes;
    }
    const uint16_t nameLength = unchecked::U16(nameLengthBytes, order);
    if (!NameLengthFits(nameLength)) {
        badData = true;
        return Attempt::invalid;
    }
    const uint8_t* nameBytes = source.Take(nameLength, name.data());
    const uint8_t* projectLengthBytes = nameBytes != nullptr ? source.Take(2, lengthBytes.data()) : nullptr;
    if (projectLengthBytes == nullptr) {
        return Attempt::outOfBytes;
    }
    const uint16_t projectLength = unchecked::U16(projectLengthBytes, order);
    if (!ProjectLengthFits(projectLength)) {
        badData = true;
        return Attempt::invalid;
    }
    const uint8_t* projectBytes = projectLength == 0 ? kNullProject : source.Take(projectLength, project.data());
    const uint8_t* secondIdBytes = projectBytes != nullptr ? source.Take(idLength, secondId.data()) : nullptr;
    if (secondIdBytes == nullptr) {
        return Attempt::outOfBytes;
    }
    e.firstId = ByteView(firstIdBytes, idLength);
    e.name = ByteView(nameBytes, nameLength);
    e.project = projectLength == 0 ? kNullProjectView : ByteView(projectBytes, projectLength);
    e.secondId = ByteView(secondIdBytes, idLength);
    return IsValid(e) ? Attempt::valid : Attempt::invalid;
}

PMRFile::Attempt PMRFile::ReadEntryAt(EntryView& e) {
    const uint64_t position = GetPosition();
    const uint32_t longest = 2 * 4 * guidLength + 4 + kMaxNameLength + kMaxProjectLength;
    const auto want = static_cast<uint32_t>(std::min<uint64_t>(longest, fileLength - position));
    if (const uint8_t* window = Peek(want)) {
        WindowSource source{window, want};
        const Attempt result = Decode(source, e);
        if (result == Attempt::valid) {
            Seek(static_cast<int64_t>(source.offset), current);
        }
        return result;
    }
    ClearEntry();
    ReaderSource source{*this};
    return Decode(source, e);
}

bool PMRFile::IsValid(const EntryView& e) {
    if (!IsPrintable(e.project)) {
        return false;
    }
    if (!HasExtensionDot(e.name.Data(), e.name.Size()) || !IsPrintable(e.name)) {
        return false;
    }
    // One of the four media extensions, all in lower or all in upper case.
    return MediaExtensionOf(e.name.end() - 3, ExtensionCase::lowerOrUpper) != MediaExtension::none;
}

template <ByteOrder kOrder>
uint64_t PMRFile::ImpossibleOffsets(const uint8_t* bytes, uint64_t available, uint64_t idLength, bool& damaged) {
    const uint64_t nameStart = idLength + 2; // past the name length, from an entry's start
    if (available < nameStart) {
        return 0;
    }
    // The offset's name length lies in the bytes for every offset up to last.
    const uint64_t last = available - nameStart;
    uint64_t skipped = 0;
    for (; skipped <= last; ++skipped) {
        // The offset-by-offset search reads a length at every offset of a damaged stretch, each of whose
        // bounds the loop has checked: unchecked decoding.
        const unsigned nameLength = unchecked::U16<kOrder>(bytes + skipped + idLength);
        if (!NameLengthFits(nameLength)) {
            damaged = true;
            continue;
        }
        const uint64_t projectLengthAt = skipped + nameStart + nameLength;
        if (projectLengthAt + 2 > available) {
            break;
        }
        const unsigned projectLength = unchecked::U16<kOrder>(bytes + projectLengthAt);
        if (!ProjectLengthFits(projectLength)) {
            damaged = true;
            continue;
        }
        if (projectLengthAt + 2 + projectLength + idLength > available) {
            break;
        }
        if (HasExtensionDot(bytes + skipped + nameStart, nameLength)) {
            break;
        }
    }
    return skipped;
}

uint64_t PMRFile::ImpossibleOffsetsIn(const uint8_t* bytes, uint64_t available) {
    const uint64_t idLength = uint64_t{4} * guidLength;
    bool damaged = false;
    const uint64_t skipped = order == ByteOrder::little
                                 ? ImpossibleOffsets<ByteOrder::little>(bytes, available, idLength, damaged)
                                 : ImpossibleOffsets<ByteOrder::big>(bytes, available, idLength, damaged);
    if (damaged) {
        badData = true;
    }
    return skipped;
}

PMRFile::Attempt PMRFile::AttemptsInWindow(EntryView& e) {
    // The same attempts as ReadEntryAt makes on the window, one offset after another, without moving the
    // reader between them.
    const ByteView window = Buffered();
    const uint32_t longest = 2 * 4 * guidLength + 4 + kMaxNameLength + kMaxProjectLength;
    uint64_t at = 0; // from recordStart; at most window.Size()
    for (;;) {
        const uint64_t offset = recordStart + at;
        const auto want = static_cast<uint32_t>(std::min<uint64_t>(longest, fileLength - offset));
        if (window.Size() - at < want) {
            break;
        }
        WindowSource source{window.Data() + at, want};
        if (Decode(source, e) == Attempt::valid) {
            Seek(static_cast<int64_t>(at + source.offset), current);
            recordStart = offset;
            return Attempt::valid;
        }
        // Resynchronise one byte further on, past the offsets at which an attempt must fail (and sets
        // badData where it would).
        if (offset + 1 >= fileLength) {
            Seek(static_cast<int64_t>(at), current);
            recordStart = GetPosition();
            return Attempt::noneLeft;
        }
        ++at;
        at += ImpossibleOffsetsIn(window.Data() + at,
                                  std::min<uint64_t>(window.Size() - at, fileLength - (recordStart + at)));
    }
    if (at != 0) {
        Seek(static_cast<int64_t>(at), current);
        recordStart = GetPosition();
    }
    return Attempt::outOfBytes;
}

int PMRFile::ReadNextRecord(MediaRecord* record, Progress* progress) {
    if (record == nullptr) {
        return 0;
    }
    record->filled = false;

    recordStart = GetPosition();
    bool reachedEnd = !IsOpen() || recordStart >= fileLength;
    EntryView e;
    while (!reachedEnd) {
        Attempt result = AttemptsInWindow(e);
        if (result == Attempt::noneLeft) {
            break;
        }
        if (result == Attempt::outOfBytes) {
            result = ReadEntryAt(e); // through the reader, beyond the window
        }
        if (result == Attempt::valid) {
            if (progress != nullptr) {
                progress->SetProgress(recordStart, fileLength);
            }
            const size_t offset = guidLength == 8 ? 16 : 0;
            platform::AnsiToWide(reinterpret_cast<const char*>(e.name.Data()), e.name.Size(), scratch);
            record->SetFileName(SharedText(scratch));
            // An index names few projects: each one's text is made once and shared by its entries for as
            // long as the cache keeps it.
            const std::string_view projectBytes(reinterpret_cast<const char*>(e.project.Data()), e.project.Size());
            ProjectText& cached =
                projectTexts[HashBytes(projectBytes.data(), projectBytes.size()) % projectTexts.size()];
            if (!cached.text || projectBytes != cached.bytes) {
                platform::AnsiToWide(projectBytes.data(), projectBytes.size(), scratch);
                cached.text = SharedText(scratch);
                cached.bytes.assign(projectBytes);
            }
            record->SetProjectName(cached.text);
            // Identifiers are stored little-endian whatever the order of the index.
            record->fileMobId = e.firstId.Le64(offset).value_or(0);
            record->compUid = e.secondId.Le64(offset).value_or(0);
            record->filled = true;
            Seek(4, current); // the entry's last four bytes are not interpreted
            return 1;
        }
        // Resynchronise one byte further on; an attempt that ran out of bytes is treated alike, so
        // that valid entries after a damaged stretch near the end are still found. The attempts in the
        // window pass over the offsets at which an attempt must fail.
        const uint64_t next = recordStart + 1;
        if (next >= fileLength) {
            break;
        }
        Seek(static_cast<int64_t>(next), begin);
        recordStart = GetPosition();
        reachedEnd = recordStart >= fileLength;
    }
    if (badData) {
        AppendLine(console, L"PMR File::Bad data detected, please rebuild your databases");
    }
    return 0;
}

} // namespace tw
