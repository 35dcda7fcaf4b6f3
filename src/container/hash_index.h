// HashIndex: the one hash table of the readers and the catalog. It finds entries that its owner keeps in an
// array of its own, in the order they were added, by a 64-bit hash of their key:
//
//   slot (64 bits) = the hash's top 32 bits << 32 | (entry number + 1);   0 marks a free slot.
//
// A key's probe starts at the slot that the top bits of its hash pick and walks on to the next slot,
// wrapping, until it reaches a free one. The hash bits in each slot let a probe pass other keys without
// reading their entries, and let the index grow without asking its owner for a single key: every bit that
// places an entry is in its slot. The slots are a power of two, at most two thirds of them used, so that a
// probe seldom leaves its first cache line.
//
// The owner says which entry holds a key: Find and Place take a test matches(entry number) that compares the
// entry's key with the key looked for. An owner hashes its keys with the functions below: HashText
// for names, MixHashBits for numbers.
//
// A lookup reads two places in memory that a loader can fetch ahead, in stages, each what the one before
// brought leads to: PrefetchSlot(hash), then PrefetchEntry(hash, entries); an owner whose key lies outside
// its entry (a name in a buffer) adds a third stage through Candidate.
#pragma once

#include "platform/prefetch.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace tw {

// The bits of a word spread over the whole word (the finaliser of splitmix64), so that keys which differ
// only in a few bits, such as the ids of one series or of one object's properties, still fall apart.
[[nodiscard]] constexpr uint64_t MixHashBits(uint64_t key) {
    key ^= key >> 30;
    key *= 0xBF58476D1CE4E5B9ull;
    key ^= key >> 27;
    key *= 0x94D049BB133111EBull;
    return key ^ (key >> 31);
}

// A hash of n bytes: eight at a time folded in with a multiply, the last with the tail, then its high bits
// folded into the low ones. The index places a key by the top bits, which the multiply has mixed; the full
// mixer would cost the index-to-catalog step some 7 % (two hashes a record) and place no better.
[[nodiscard]] inline uint64_t HashBytes(const void* data, size_t n) {
    constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
    const auto* bytes = static_cast<const unsigned char*>(data);
    uint64_t h = n * kMul;
    for (; n >= 8; bytes += 8, n -= 8) {
        uint64_t chunk;
        std::memcpy(&chunk, bytes, 8);
        h = (h ^ chunk) * kMul;
        h ^= h >> 32;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, bytes, n);
    h = (h ^ tail) * kMul;
    return h ^ (h >> 29);
}

[[nodiscard]] inline uint64_t HashText(std::wstring_view text) {
    return HashBytes(text.data(), text.size() * sizeof(wchar_t));
}

class HashIndex {
public:
    // No entry: what Find and Candidate answer when none matches.
    static constexpr uint32_t kNone = UINT32_MAX;

    // The entry whose key has that hash and passes matches(entry); kNone when there is none.
    template <typename Matches> [[nodiscard]] uint32_t Find(uint64_t hash, Matches&& matches) const {
        if (slots.empty()) {
            return kNone;
        }
        const uint64_t slot = slots[Probe(hash, matches)];
        return slot == 0 ? kNone : EntryOf(slot);
    }
    // The entry of that key when the index holds one; otherwise entry, which the index enters. With replace,
    // entry takes the place of the one that held the key (a later entry for the same key wins).
    template <typename Matches> uint32_t Place(uint64_t hash, uint32_t entry, Matches&& matches, bool replace = false) {
        if ((used + 1) * 3 > slots.size() * 2) {
            Rehash(slots.empty() ? kFewestSlots : slots.size() * 2);
        }
        uint64_t& slot = slots[Probe(hash, matches)];
        if (slot != 0 && !replace) {
            return EntryOf(slot);
        }
        used += slot == 0 ? 1 : 0;
        slot = (hash & kHashBits) | (uint64_t{entry} + 1);
        return entry;
    }

    // The first stage of a lookup: starts bringing its first slot into the cache.
    void PrefetchSlot(uint64_t hash) const {
        if (!slots.empty()) {
            platform::PrefetchForRead(&slots[Home(hash)]);
        }
    }
    // The second stage, once the slot is there: starts bringing the entry it names, of entries (the owner's
    // array), into the cache.
    template <typename Entry> void PrefetchEntry(uint64_t hash, const Entry* entries) const {
        const uint32_t entry = Candidate(hash);
        if (entry != kNone) {
            platform::PrefetchForRead(entries + entry);
        }
    }
    // The entry of the first slot whose hash bits agree with the hash: the one a lookup reads first, and
    // most likely the key's own; kNone when there is none.
    [[nodiscard]] uint32_t Candidate(uint64_t hash) const {
        if (slots.empty()) {
            return kNone;
        }
        for (size_t i = Home(hash);; i = (i + 1) & (slots.size() - 1)) {
            if (slots[i] == 0) {
                return kNone;
            }
            if ((slots[i] & kHashBits) == (hash & kHashBits)) {
                return EntryOf(slots[i]);
            }
        }
    }

    // Entries entered.
    [[nodiscard]] size_t Size() const { return used; }
    // Makes room for count entries at once, so that entering them moves nothing.
    void Reserve(size_t count) {
        size_t size = slots.empty() ? kFewestSlots : slots.size();
        while (count * 3 > size * 2) {
            size *= 2;
        }
        if (size != slots.size()) {
            Rehash(size);
        }
    }
    // Forgets every entry and gives the slots' memory back.
    void Clear() {
        std::vector<uint64_t>().swap(slots);
        used = 0;
    }

private:
    static constexpr uint64_t kHashBits = 0xFFFFFFFF00000000ull;
    static constexpr size_t kFewestSlots = 16;

    static uint32_t EntryOf(uint64_t slot) { return static_cast<uint32_t>(slot) - 1; }
    // The slot where a probe for the hash starts: its top bits, as many as the slot count needs.
    [[nodiscard]] size_t Home(uint64_t hash) const { return static_cast<size_t>(hash >> shift); }

    // The slot of the key that matches, or the free slot where its probe ends; the index has slots.
    template <typename Matches> [[nodiscard]] size_t Probe(uint64_t hash, Matches& matches) const {
        const size_t mask = slots.size() - 1;
        size_t i = Home(hash);
        for (; slots[i] != 0; i = (i + 1) & mask) {
            if ((slots[i] & kHashBits) == (hash & kHashBits) && matches(EntryOf(slots[i]))) {
                break;
            }
        }
        return i;
    }

    // Places every entry anew in size slots (a power of two, at most 2^32), from the hash bits of its slot.
    void Rehash(size_t size) {
        std::vector<uint64_t> old(size, 0);
        old.swap(slots);
        shift = 64;
        for (size_t s = size; s > 1; s >>= 1) {
            --shift;
        }
        const size_t mask = size - 1;
        for (const uint64_t slot : old) {
            if (slot == 0) {
                continue;
            }
            size_t i = Home(slot);
            while (slots[i] != 0) {
                i = (i + 1) & mask;
            }
            slots[i] = slot;
        }
    }

    std::vector<uint64_t> slots;
    // 64 minus the bits of a slot number: Home's shift.
    unsigned shift = 64;
    size_t used = 0;
};

} // namespace tw
