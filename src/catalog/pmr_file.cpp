#include "catalog/pmr_file.h"

#include "container/byte_order.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstring>

namespace tw {

namespace {

constexpr uint32_t kByteOrderMark = 1961;
constexpr uint64_t kMinimumLength = 30;
constexpr char kNullProject[] = "**NULL_PROJECT";

constexpr uint32_t Ext(const char (&e)[4]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(e[0])) |
           (static_cast<uint32_t>(static_cast<uint8_t>(e[1])) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(e[2])) << 16);
}

// The eight extensions an index may name, compared byte for byte (mixed case fails).
bool IsAcceptedExtension(const uint8_t* last3) {
    const uint32_t v = last3[0] | (last3[1] << 8) | (last3[2] << 16);
    switch (v) {
    case Ext("aif"):
    case Ext("omf"):
    case Ext("mxf"):
    case Ext("wav"):
    case Ext("AIF"):
    case Ext("OMF"):
    case Ext("MXF"):
    case Ext("WAV"):
        return true;
    default:
        return false;
    }
}

// No zero byte among the bytes and none below 0x20 (0x80..0xFF are allowed).
bool IsPrintable(const uint8_t* text, size_t length) {
    unsigned control = 0;
    for (size_t i = 0; i < length; ++i) {
        control |= text[i] < 0x20 ? 1u : 0u;
    }
    return control == 0;
}

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
    swapped = LoadLe32(mark) != kByteOrderMark;
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
    return swapped ? LoadBe32(bytes) : LoadLe32(bytes);
}

void PMRFile::ClearEntry() {
    lengthBytes.fill(0);
    name.fill(0);
    project.fill(0);
    firstId.fill(0);
    secondId.fill(0);
}

namespace {

// Field sources for one attempt. Take returns n bytes of the entry, or null when the file cannot
// deliver them whole: the attempt then ran out of bytes (a truncated entry, or an attempt that
// started in garbage), and its half-read fields must not be used.

// The entry's bytes straight from the reader's window, when the window holds the longest entry there
// can be (or the rest of the file).
struct WindowSource {
    const uint8_t* p;
    uint32_t left;
    uint32_t consumed = 0;
    const uint8_t* Take(uint32_t n, uint8_t* /*buffer*/) {
        if (n > left) {
            return nullptr;
        }
        const uint8_t* at = p + consumed;
        consumed += n;
        left -= n;
        return at;
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
    const uint8_t* bytes = nullptr;
    if ((e.firstId = source.Take(idLength, firstId.data())) == nullptr ||
        (bytes = source.Take(2, lengthBytes.data())) == nullptr) {
        return Attempt::outOfBytes;
    }
    e.nameLength = swapped ? LoadBe16(bytes) : LoadLe16(bytes);
    if (e.nameLength == 0 || e.nameLength > kMaxNameLength) {
        badData = true;
        return Attempt::invalid;
    }
    if ((e.name = source.Take(e.nameLength, name.data())) == nullptr ||
        (bytes = source.Take(2, lengthBytes.data())) == nullptr) {
        return Attempt::outOfBytes;
    }
    e.projectLength = swapped ? LoadBe16(bytes) : LoadLe16(bytes);
    if (e.projectLength > kMaxProjectLength) {
        badData = true;
        return Attempt::invalid;
    }
    if (e.projectLength == 0) {
        e.project = reinterpret_cast<const uint8_t*>(kNullProject);
        e.projectLength = static_cast<uint16_t>(sizeof kNullProject - 1);
    } else if ((e.project = source.Take(e.projectLength, project.data())) == nullptr) {
        return Attempt::outOfBytes;
    }
    if ((e.secondId = source.Take(idLength, secondId.data())) == nullptr) {
        return Attempt::outOfBytes;
    }
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
            Seek(source.consumed, current);
        }
        return result;
    }
    ClearEntry();
    ReaderSource source{*this};
    return Decode(source, e);
}

bool PMRFile::IsValid(const EntryView& e) {
    if (!IsPrintable(e.project, e.projectLength)) {
        return false;
    }
    if (e.nameLength < 4) {
        return false;
    }
    if (!IsPrintable(e.name, e.nameLength)) {
        return false;
    }
    if (e.name[e.nameLength - 4u] != '.') {
        return false;
    }
    return IsAcceptedExtension(e.name + e.nameLength - 3);
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
            record->SetFileName(platform::AnsiToWide(reinterpret_cast<const char*>(e.name), e.nameLength));
            record->SetProjectName(platform::AnsiToWide(reinterpret_cast<const char*>(e.project), e.projectLength));
            record->fileMobId = LoadLe64(e.firstId + offset);
            record->compUid = LoadLe64(e.secondId + offset);
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
        reachedEnd = recordStart >= fileLength;
    }
    if (badData) {
        AppendLine(console, L"PMR File::Bad data detected, please rebuild your databases");
    }
    return 0;
}

} // namespace tw
