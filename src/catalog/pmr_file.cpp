#include "catalog/pmr_file.h"

#include "catalog/media_files.h"

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
    unsigned control = 0;
    for (const uint8_t c : text) {
        control |= c < 0x20 ? 1u : 0u;
    }
    return control == 0;
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

// Field sources for one attempt. Take returns the next n bytes of the entry, or none when the file cannot
// deliver them whole: the attempt then ran out of bytes (a truncated entry, or an attempt that started in
// garbage), and its half-read fields must not be used.

// The entry's bytes straight from the reader's window, when the window holds the longest entry there can
// be (or the rest of the file).
struct WindowSource {
    ByteCursor cursor;
    std::optional<ByteView> Take(uint32_t n, uint8_t* /*buffer*/) { return cursor.Take(n); }
};

// One read of the buffered reader per field, into the entry buffer.
struct ReaderSource {
    QRBFile& reader;
    ByteOrder order;
    std::optional<ByteView> Take(uint32_t n, uint8_t* buffer) {
        if (reader.Read(buffer, n) != n) {
            return std::nullopt;
        }
        return ByteView(buffer, n, order);
    }
};

} // namespace

template <typename Source> PMRFile::Attempt PMRFile::Decode(Source& source, EntryView& e) {
    const uint32_t idLength = 4 * guidLength;
    const std::optional<ByteView> firstIdBytes = source.Take(idLength, firstId.data());
    const std::optional<ByteView> nameLengthBytes = firstIdBytes ? source.Take(2, lengthBytes.data()) : std::nullopt;
    if (!nameLengthBytes) {
        return Attempt::outOfBytes;
    }
    e.firstId = *firstIdBytes;
    const uint16_t nameLength = *nameLengthBytes->U16(0);
    if (nameLength == 0 || nameLength > kMaxNameLength) {
        badData = true;
        return Attempt::invalid;
    }
    const std::optional<ByteView> nameBytes = source.Take(nameLength, name.data());
    const std::optional<ByteView> projectLengthBytes = nameBytes ? source.Take(2, lengthBytes.data()) : std::nullopt;
    if (!projectLengthBytes) {
        return Attempt::outOfBytes;
    }
    e.name = *nameBytes;
    const uint16_t projectLength = *projectLengthBytes->U16(0);
    if (projectLength > kMaxProjectLength) {
        badData = true;
        return Attempt::invalid;
    }
    if (projectLength == 0) {
        e.project = kNullProjectView;
    } else if (const std::optional<ByteView> projectBytes = source.Take(projectLength, project.data())) {
        e.project = *projectBytes;
    } else {
        return Attempt::outOfBytes;
    }
    const std::optional<ByteView> secondIdBytes = source.Take(idLength, secondId.data());
    if (!secondIdBytes) {
        return Attempt::outOfBytes;
    }
    e.secondId = *secondIdBytes;
    return IsValid(e) ? Attempt::valid : Attempt::invalid;
}

PMRFile::Attempt PMRFile::ReadEntryAt(EntryView& e) {
    const uint64_t position = GetPosition();
    const uint32_t longest = 2 * 4 * guidLength + 4 + kMaxNameLength + kMaxProjectLength;
    const auto want = static_cast<uint32_t>(std::min<uint64_t>(longest, fileLength - position));
    if (const uint8_t* window = Peek(want)) {
        WindowSource source{ByteCursor(ByteView(window, want, order))};
        const Attempt result = Decode(source, e);
        if (result == Attempt::valid) {
            Seek(static_cast<int64_t>(source.cursor.Offset()), current);
        }
        return result;
    }
    ClearEntry();
    ReaderSource source{*this, order};
    return Decode(source, e);
}

bool PMRFile::IsValid(const EntryView& e) {
    if (!IsPrintable(e.project)) {
        return false;
    }
    const size_t nameLength = e.name.Size();
    if (nameLength < 4) {
        return false;
    }
    if (!IsPrintable(e.name)) {
        return false;
    }
    if (e.name.U8(nameLength - 4) != '.') {
        return false;
    }
    // One of the four media extensions, all in lower or all in upper case.
    return MediaExtensionOf(e.name.Data() + nameLength - 3, ExtensionCase::lowerOrUpper) != MediaExtension::none;
}

void PMRFile::SkipOutOfRangeNames() {
    // Every attempt at these offsets would end at its name length, 0 or above 256, and set badData; they
    // are passed over in the window with that one test, as long as the file holds the length's bytes.
    const ByteView window = Buffered().WithOrder(order);
    const uint32_t lengthAt = 4 * guidLength;
    uint32_t skipped = 0;
    while (recordStart + skipped + lengthAt + 2 <= fileLength) {
        const std::optional<uint16_t> nameLength = window.U16(skipped + lengthAt);
        if (!nameLength || (*nameLength != 0 && *nameLength <= kMaxNameLength)) {
            break;
        }
        badData = true;
        ++skipped;
    }
    if (skipped != 0) {
        Seek(skipped, current);
        recordStart = GetPosition();
    }
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
        if (ReadEntryAt(e) == Attempt::valid) {
            if (progress != nullptr) {
                progress->SetProgress(recordStart, fileLength);
            }
            const size_t offset = guidLength == 8 ? 16 : 0;
            platform::AnsiToWide(reinterpret_cast<const char*>(e.name.Data()), e.name.Size(), scratch);
            record->SetFileName(SharedText(scratch));
            // Entries of one project come in runs: the text of the last project is reused while its bytes
            // repeat.
            const std::string_view projectBytes(reinterpret_cast<const char*>(e.project.Data()), e.project.Size());
            if (!lastProject || projectBytes != lastProjectBytes) {
                platform::AnsiToWide(projectBytes.data(), projectBytes.size(), scratch);
                lastProject = SharedText(scratch);
                lastProjectBytes.assign(projectBytes);
            }
            record->SetProjectName(lastProject);
            // Identifiers are stored little-endian whatever the order of the index.
            record->fileMobId = e.firstId.Le64(offset).value_or(0);
            record->compUid = e.secondId.Le64(offset).value_or(0);
            record->filled = true;
            Seek(4, current); // the entry's last four bytes are not interpreted
            return 1;
        }
        // Resynchronise one byte further on; an attempt that ran out of bytes is treated alike, so
        // that valid entries after a damaged stretch near the end are still found.
        const uint64_t next = recordStart + 1;
        if (next >= fileLength) {
            break;
        }
        Seek(static_cast<int64_t>(next), begin);
        recordStart = GetPosition();
        SkipOutOfRangeNames();
        reachedEnd = recordStart >= fileLength;
    }
    if (badData) {
        AppendLine(console, L"PMR File::Bad data detected, please rebuild your databases");
    }
    return 0;
}

} // namespace tw
