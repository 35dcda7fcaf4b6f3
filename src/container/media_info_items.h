// The items of the Media Info tree, without a window: an object item and its property items, the objects a
// reference property leads to, and the whole tree to a given depth as the viewer's double clicks unfold it.
#pragma once

#include "container/bento_container.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tw {

// The longest item texts, in UTF-16 code units without the terminator; longer texts are cut.
inline constexpr size_t kObjectItemCapacity = 511;
inline constexpr size_t kPropertyItemCapacity = 1023;

// One property value of an object. number is the value's TOC entry index + 1.
struct PropertyItem {
    std::wstring text;
    uint32_t number = 0;
    // A reference property: its children are the objects it leads to.
    bool bold = false;
};

// One object: always bold, number 0, with its property items in the walk order of its property table.
struct ObjectItem {
    uint32_t objectId = 0;
    std::wstring text;
    std::vector<PropertyItem> properties;
};

// True for the types whose values lead to other objects: 0x1006D, 0x10077, 0x1007C and 0x1009F.
[[nodiscard]] bool IsReferenceType(uint32_t typeId);

// The object's item text: the text of the first of its name properties (0x1029D, 0x10257, 0x10298, 0x102E1)
// that it has, when not empty, and a space; "[ ID=0x%X ]"; the text of property 0x1020C, when not empty, and
// a space; the object's name when the container knows one.
[[nodiscard]] std::wstring ObjectItemText(BentoContainer& container, uint32_t objectId);
// The item of one property value: the property's name and two spaces, "[" the type's name "]" (each when
// known), ":" for a value stored in the file, then nothing for a reference (the item is bold), ="text" for a
// text value that is not empty, or " =[ 0x%X : 0x%X ]" with the value's offset and length.
[[nodiscard]] PropertyItem MakePropertyItem(BentoContainer& container, uint32_t entryIndex);
// The object's item with its property items; none for id 0, a container without entries or that cannot
// answer, or an id the container has no object of.
[[nodiscard]] std::optional<ObjectItem> MakeObjectItem(BentoContainer& container, uint32_t objectId);

// The objects the property item with this number leads to, in the order its value names them: the object
// ids of an index array (0x1006D, the word at 12 of each 20-byte element), of an id array (0x1007C, the word
// at 0 of each 8-byte element), of an object reference (0x10077, the first word), or the object a UID
// (0x1009F) leads to through the file mob, data and composition indexes, in that order, unless that is the
// property's own object. Counts that claim more elements than the value holds are cut to the elements there.
// Empty for number 0, a number beyond the entries and every other type.
[[nodiscard]] std::vector<uint32_t> ReferencedObjects(BentoContainer& container, uint32_t number);

// One item of the tree, as WalkObjectTree hands it out. level counts from 0 at the root object.
struct TreeLine {
    uint32_t level = 0;
    bool bold = false;
    uint32_t number = 0;
    const std::wstring* text = nullptr;
};

// The bounds of a walk of the tree, so that any depth of any container ends in bounded time and memory: at most
// maxLines lines are handed out, and the walk holds at most maxHeldBytes at once (the property lists of the objects
// on the path from the root, the objects each open reference leads to, and the texts of those of them that wait
// to be handed out in the tree's order). Children whose texts do not fit at once are sorted batch by batch, so
// that the order stays the same.
struct TreeWalkBounds {
    uint64_t maxLines = 1000000;
    size_t maxHeldBytes = size_t{32} << 20;
};

// How a walk ended: every line handed out; stopped by visit; or at a bound, with more of the tree to come.
enum class TreeWalkEnd { complete, stopped, lineBound, memoryBound };

// Visits, depth first, the tree the viewer shows for rootObject when every reference is double-clicked down to
// depth levels: the root object item, then each of its property items, each reference followed by the object
// items it leads to (siblings in the tree's alphabetical order), and so on. References are expanded on
// objects fewer than depth references away from the root, and never on an object that is already expanded
// on the path from the root, so that every container ends. visit answers false to stop the walk. Each item is
// built as it is handed out: the text a line points to lasts until the next call of visit.
// complete also when there is no such object.
TreeWalkEnd WalkObjectTree(BentoContainer& container, uint32_t rootObject, uint32_t depth,
                           const std::function<bool(const TreeLine&)>& visit, const TreeWalkBounds& bounds = {});

// The tree's order of sibling object items: alphabetical, ignoring case.
[[nodiscard]] bool ItemTextBefore(const std::wstring& a, const std::wstring& b);

} // namespace tw
