#include "discovery/bin_scan.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace tw {

namespace {

constexpr uint8_t kTagFirstByte = 'L';
constexpr uint32_t kTag = 0x4D534D4C; // "LMSM" read little-endian
constexpr uint16_t kReference = 0x0202;

// Calls add(first, second) for every record that starts at an offset below starts and lies wholly in bytes.
template <typename Add> void ScanRecords(ByteView bytes, size_t starts, Add&& add) {
    if (bytes.Size() < kBinRecordSize) {
        return;
    }
    starts = std::min(starts, bytes.Size() - kBinRecordSize + 1);
    size_t at = 0;
    while (at < starts) {
        // Offsets that cannot start the tag are skipped at the speed of the library's byte search.
        const void* hit = std::memchr(bytes.Data() + at, kTagFirstByte, starts - at);
        if (hit == nullptr) {
            return;
        }
        at = static_cast<size_t>(static_cast<const uint8_t*>(hit) - bytes.Data());
        if (bytes.Le32(at) == kTag && bytes.Le16(at + 8) == kReference) {
            const std::optional<uint32_t> first = bytes.Le32(at + 10);
            const std::optional<uint32_t> second = bytes.Le32(at + 14);
            if (first && second) {
                add(*first, *second);
            }
        }
        ++at;
    }
}

// Pairs found by the scan, gathered and handed to the set in order, which costs the set far less than one
// insertion at a time; at most kBatch of them wait.
class Found {
public:
    explicit Found(ReferencedIds& ids) : ids(ids) { batch.reserve(kBatch); }
    ~Found() { Flush(); }
    Found(const Found&) = delete;
    Found& operator=(const Found&) = delete;

    void Add(uint32_t first, uint32_t second) {
        batch.emplace_back(first, second);
        if (batch.size() == kBatch) {
            Flush();
        }
    }

private:
    static constexpr size_t kBatch = 1 << 14;

    void Flush() {
        std::sort(batch.begin(), batch.end());
        ids.insert(batch.begin(), std::unique(batch.begin(), batch.end()));
        batch.clear();
    }

    ReferencedIds& ids;
    std::vector<std::pair<uint32_t, uint32_t>> batch;
};

} // namespace

void ScanBinBytes(ByteView bytes, size_t starts, ReferencedIds& referencedIds) {
    ScanRecords(bytes, starts, [&](uint32_t first, uint32_t second) { referencedIds.insert({first, second}); });
}

void ScanBin(QRBFile& reader, ReferencedIds& referencedIds) {
    uint64_t at = 0;
    if (reader.Seek(0, QRBFile::begin) != at) {
        return;
    }
    Found found(referencedIds);
    const auto add = [&](uint32_t first, uint32_t second) { found.Add(first, second); };
    // The records that start in the last 17 bytes of a window run into the next one: they are read across the
    // seam, those 17 bytes and as many of the next window.
    std::array<uint8_t, 2 * kBinRecordSize - 2> seam{};
    for (;;) {
        const ByteView window = reader.Buffered();
        size_t examined = 0;
        if (window.Size() >= kBinRecordSize) {
            examined = window.Size() - (kBinRecordSize - 1);
            ScanRecords(window, examined, add);
        } else {
            const size_t tail = window.Size();
            const auto wanted = static_cast<uint32_t>(std::max(tail + kBinRecordSize - 1, kBinRecordSize));
            const uint32_t got = reader.Read(seam.data(), wanted);
            examined = std::max<size_t>(tail, 1);
            ScanRecords(ByteView(seam.data(), got), examined, add);
            if (got < wanted) {
                return; // the end of the file, or a failed read: no later offset holds a whole record
            }
        }
        at += examined;
        if (reader.Seek(static_cast<int64_t>(at), QRBFile::begin) != at) {
            return;
        }
    }
}

bool ReadBinReferences(const std::wstring& path, Console* console, ReferencedIds& referencedIds) {
    QRBFile bin(console);
    if (bin.Open(path, QRBFile::kOpenReadShared) == 0) {
        return false;
    }
    ScanBin(bin, referencedIds);
    return true;
}

} // namespace tw
