// The weights by which the platform orders text without regard to letter case, for the characters whose order
// the tree and list controls of the Windows program show: Latin (with its extensions and the additional
// letters), Greek, Cyrillic, punctuation, currency and letterlike symbols. Generated from the platform's own
// order by tools/collation/make_table.py.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tw::platform {

enum class CollationKind : uint8_t {
    ignorable, // takes no part in the order
    mark,      // apostrophe, hyphen and dashes: they break ties only, by their weight and position
    weighted,  // a letter, digit or symbol: primary weights (a second one for letters such as "ae"), secondary
};

struct CollationEntry {
    uint16_t codePoint;
    CollationKind kind;
    uint16_t primary;       // the base character's rank, shared by its cases and accented forms; the mark's weight
    uint16_t secondPrimary; // the second letter of an expansion ("ss" for the sharp s); 0 for none
    uint8_t secondary;      // the rank among the characters of the same primary (accents and variants)
};

// Sorted by code point.
extern const CollationEntry kCollationTable[];
extern const size_t kCollationTableSize;

} // namespace tw::platform
