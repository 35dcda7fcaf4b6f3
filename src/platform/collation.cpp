// The platform's order of text without regard to letter case (CompareStringW with NORM_IGNORECASE), for
// systems that do not have it. Strings compare in three passes, each only when the one before found them
// equal: the primary weights of their characters (letters whatever their case and accents, digits,
// symbols); then the secondary weights (accents and variants) one character after the other; then the
// apostrophes, hyphens and dashes, which the first two passes pass over: a string that has none sorts
// first, then the one whose first such mark stands earlier sorts last, then the lighter mark first.
#include "platform/collation.h"

#include "platform/collation_table.h"

#include <algorithm>
#include <vector>

namespace tw::platform {

namespace {

// Characters outside the table sort after every character in it, by code point.
constexpr uint32_t kUnknownBase = 0x10000;
// Combining accents add to the secondary weight of the character before them.
constexpr uint32_t kCombiningFirst = 0x0300;
constexpr uint32_t kCombiningLast = 0x036F;
constexpr uint32_t kCombiningBase = 0x100;

struct Unit {
    uint32_t primary = 0;
    uint32_t secondary = 0;
};

const CollationEntry* Find(uint32_t c) {
    const CollationEntry* first = kCollationTable;
    const CollationEntry* last = kCollationTable + kCollationTableSize;
    const CollationEntry* found =
        std::lower_bound(first, last, c, [](const CollationEntry& e, uint32_t v) { return e.codePoint < v; });
    return found != last && found->codePoint == c ? found : nullptr;
}

// The weights of one string, produced one unit at a time.
class Units {
public:
    explicit Units(std::wstring_view text) : text(text) {}

    bool Next(Unit& unit) {
        if (pending) {
            unit = *pending;
            pending.reset();
            return true;
        }
        while (at < text.size()) {
            const auto c = static_cast<uint32_t>(text[at++]);
            const CollationEntry* e = c > 0xFFFF ? nullptr : Find(c);
            if (e == nullptr) {
                if (c >= kCombiningFirst && c <= kCombiningLast) {
                    continue; // an accent that follows nothing weighs nothing
                }
                unit = {kUnknownBase + c, AccentsAfter(0)};
                return true;
            }
            if (e->kind != CollationKind::weighted) {
                continue;
            }
            const uint32_t secondary = AccentsAfter(e->secondary);
            unit = {e->primary, secondary};
            if (e->secondPrimary != 0) {
                pending = Unit{e->secondPrimary, 0};
            }
            return true;
        }
        return false;
    }

private:
    uint32_t AccentsAfter(uint32_t secondary) {
        while (at < text.size() && static_cast<uint32_t>(text[at]) >= kCombiningFirst &&
               static_cast<uint32_t>(text[at]) <= kCombiningLast) {
            secondary = secondary * kCombiningBase + (static_cast<uint32_t>(text[at]) - kCombiningFirst + 1);
            ++at;
        }
        return secondary;
    }

    std::wstring_view text;
    size_t at = 0;
    std::optional<Unit> pending;
};

struct Mark {
    size_t position;
    uint32_t weight;
};

std::vector<Mark> MarksOf(std::wstring_view text) {
    std::vector<Mark> marks;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<uint32_t>(text[i]);
        if (const CollationEntry* e = c > 0xFFFF ? nullptr : Find(c); e != nullptr && e->kind == CollationKind::mark) {
            marks.push_back({i, e->primary});
        }
    }
    return marks;
}

template <typename Weight> int ComparePass(std::wstring_view a, std::wstring_view b, Weight weight) {
    Units x(a);
    Units y(b);
    for (;;) {
        Unit u;
        Unit v;
        const bool hasU = x.Next(u);
        const bool hasV = y.Next(v);
        if (!hasU || !hasV) {
            return hasU == hasV ? 0 : (hasU ? 1 : -1);
        }
        if (weight(u) != weight(v)) {
            return weight(u) < weight(v) ? -1 : 1;
        }
    }
}

} // namespace

int CollateIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (const int primary = ComparePass(a, b, [](const Unit& u) { return u.primary; }); primary != 0) {
        return primary;
    }
    if (const int secondary = ComparePass(a, b, [](const Unit& u) { return u.secondary; }); secondary != 0) {
        return secondary;
    }
    const std::vector<Mark> x = MarksOf(a);
    const std::vector<Mark> y = MarksOf(b);
    for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
        if (x[i].position != y[i].position) {
            return x[i].position < y[i].position ? 1 : -1;
        }
        if (x[i].weight != y[i].weight) {
            return x[i].weight < y[i].weight ? -1 : 1;
        }
    }
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

} // namespace tw::platform
