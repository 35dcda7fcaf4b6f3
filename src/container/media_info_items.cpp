#include "container/media_info_items.h"

#include "container/byte_view.h"
#include "platform/text.h"

#include <algorithm>
#include <cwchar>
#include <unordered_map>

namespace tw {

namespace {

// Properties whose text names an object, tried in this order; only the first one present counts.
constexpr uint32_t kNameProperties[] = {0x1029D, 0x10257, 0x10298, 0x102E1};
// A property whose text follows the object's id.
constexpr uint32_t kDescriptionProperty = 0x1020C;

// Elements of the reference arrays: size and where the object id lies in each.
constexpr size_t kIdElementSize = 8;
constexpr uint32_t kMaxIdArrayLength = 2 + 0xFFFF * kIdElementSize;
constexpr size_t kUidSize = 12;

bool IsItemTextType(uint32_t typeId) {
    return typeId == bento::kTypeText || typeId == bento::kTypeText2;
}

// The value of the entry as text; none when the value is empty.
std::optional<std::wstring> TextValue(BentoContainer& container, uint32_t entryIndex, size_t capacity) {
    const auto value = container.ReadValue(entryIndex, static_cast<uint32_t>(capacity));
    if (!value) {
        return std::nullopt;
    }
    return BentoContainer::TextOf(*value);
}

void CutTo(std::wstring& text, size_t capacity) {
    if (text.size() > capacity) {
        text.resize(capacity);
    }
}

// The object ids of an array value: a u16 count, then elements of elementSize with the id at idOffset.
void AppendArrayIds(const BentoContainer::Bytes& value, size_t elementSize, size_t idOffset,
                    std::vector<uint32_t>& ids) {
    ByteCursor cursor{ByteView(value)};
    const std::optional<uint16_t> count = cursor.U16();
    for (uint32_t k = 0; count && k < *count; ++k) {
        const std::optional<ByteView> element = cursor.Take(elementSize);
        if (!element) {
            break;
        }
        ids.push_back(*element->Le32(idOffset));
    }
}

} // namespace

bool IsReferenceType(uint32_t typeId) {
    return typeId == bento::kTypeIndexArray || typeId == bento::kTypeReference || typeId == bento::kTypeIdArray ||
           typeId == bento::kTypeUid;
}

std::wstring ObjectItemText(BentoContainer& container, uint32_t objectId) {
    std::wstring text;
    for (const uint32_t property : kNameProperties) {
        const std::optional<uint32_t> entry = container.FindProperty(objectId, property);
        if (!entry) {
            continue;
        }
        if (const auto name = TextValue(container, *entry, kObjectItemCapacity)) {
            text += *name + L" ";
        }
        break;
    }
    wchar_t id[32];
    std::swprintf(id, sizeof id / sizeof id[0], L"[ ID=0x%X ]", objectId);
    text += id;
    if (const std::optional<uint32_t> entry = container.FindProperty(objectId, kDescriptionProperty)) {
        if (const auto description = TextValue(container, *entry, kObjectItemCapacity)) {
            text += *description + L" ";
        }
    }
    if (const std::wstring* name = container.NameOf(objectId)) {
        text += *name;
    }
    CutTo(text, kObjectItemCapacity);
    return text;
}

PropertyItem MakePropertyItem(BentoContainer& container, uint32_t entryIndex) {
    PropertyItem item;
    item.number = entryIndex + 1;
    const auto entry = container.Entry(entryIndex);
    if (!entry) {
        return item;
    }
    const TocEntry& e = *entry;
    if (const std::wstring* property = container.NameOf(e.propertyId)) {
        item.text += *property + L"  ";
    }
    if (const std::wstring* type = container.NameOf(e.typeId)) {
        item.text += L"[" + *type + L"]";
    }
    if (e.valueFlags == bento::kStored) {
        item.text += L":";
    }
    if (IsReferenceType(e.typeId)) {
        item.bold = true;
    } else if (IsItemTextType(e.typeId)) {
        if (const auto value = TextValue(container, entryIndex, kPropertyItemCapacity)) {
            item.text += L"=\"" + *value + L"\"";
        }
    } else {
        wchar_t extent[48];
        std::swprintf(extent, sizeof extent / sizeof extent[0], L" =[ 0x%X : 0x%X ]", e.valueOffset, e.valueLength);
        item.text += extent;
    }
    CutTo(item.text, kPropertyItemCapacity);
    return item;
}

std::optional<ObjectItem> MakeObjectItem(BentoContainer& container, uint32_t objectId) {
    if (objectId == 0 || container.EntryCount() == 0) {
        return std::nullopt;
    }
    const auto table = container.FindObject(objectId);
    if (!table) {
        return std::nullopt;
    }
    ObjectItem item;
    item.objectId = objectId;
    item.text = ObjectItemText(container, objectId);
    container.WalkProperties(*table, [&](uint32_t, uint32_t entryIndex) {
        item.properties.push_back(MakePropertyItem(container, entryIndex));
    });
    return item;
}

std::vector<uint32_t> ReferencedObjects(BentoContainer& container, uint32_t number) {
    std::vector<uint32_t> ids;
    if (number == 0) {
        return ids;
    }
    const auto entry = container.Entry(number - 1);
    if (!entry || !container.CanQuery()) {
        return ids;
    }
    const uint32_t index = number - 1;
    switch (entry->typeId) {
    case bento::kTypeIndexArray:
        if (const auto value = container.ReadValue(index, bento::kMaxIndexArrayLength)) {
            AppendArrayIds(*value, bento::kIndexElementSize, 12, ids);
        }
        break;
    case bento::kTypeIdArray:
        if (const auto value = container.ReadValue(index, kMaxIdArrayLength)) {
            AppendArrayIds(*value, kIdElementSize, 0, ids);
        }
        break;
    case bento::kTypeReference:
        if (const auto value = container.ReadValue(index, 4)) {
            if (const auto id = ByteView(*value).Le32(0)) {
                ids.push_back(*id);
            }
        }
        break;
    case bento::kTypeUid:
        if (const auto value = container.ReadValue(index, kUidSize)) {
            const ByteView uid(*value);
            if (!uid.Has(0, kUidSize)) {
                break;
            }
            const UidKey key{*uid.Le32(4), *uid.Le32(8)};
            for (const auto table :
                 {BentoContainer::UidIndex::fileMob, BentoContainer::UidIndex::data, BentoContainer::UidIndex::comp}) {
                if (const auto object = container.LookUp(table, key)) {
                    if (*object != entry->objectId) {
                        ids.push_back(*object);
                    }
                    break;
                }
            }
        }
        break;
    default:
        break;
    }
    return ids;
}

bool ItemTextBefore(const std::wstring& a, const std::wstring& b) {
    return platform::CompareTextIgnoringCase(a, b) < 0;
}

namespace {

// A child object of a reference property as the walk orders it: by its item text, then by its place in the
// property's value, which keeps children of equal texts in the order a stable sort keeps them.
struct Child {
    std::wstring text;
    uint32_t place = 0;
};

bool ChildBefore(const Child& a, const Child& b) {
    const int order = platform::CompareTextIgnoringCase(a.text, b.text);
    return order != 0 ? order < 0 : a.place < b.place;
}

size_t HeldBytes(const Child& child) {
    return sizeof(Child) + (child.text.capacity() + 1) * sizeof(wchar_t);
}

// Children of at most this many bytes are sorted at once; more wait for a later batch.
constexpr size_t kMaxBatchBytes = size_t{8} << 20;
// A batch smaller than this is not worth its pass over the children: the walk stops at its memory bound instead.
constexpr size_t kMinBatchBytes = size_t{64} << 10;

// The next children in the tree's order after `after` (from the first when none): as many as budget bytes hold,
// one at least, sorted. Answers whether more children follow them. One pass over ids, whose texts are built
// again on every pass, so that the ones not taken take no memory.
bool NextChildren(BentoContainer& container, const std::vector<uint32_t>& ids, const std::optional<Child>& after,
                  size_t budget, std::vector<Child>& batch) {
    batch.clear();
    size_t bytes = 0;
    std::optional<Child> ceiling; // this child and those after it wait for a later batch
    for (size_t place = 0; place < ids.size(); ++place) {
        Child child{ObjectItemText(container, ids[place]), static_cast<uint32_t>(place)};
        if ((after && !ChildBefore(*after, child)) || (ceiling && !ChildBefore(child, *ceiling))) {
            continue;
        }
        bytes += HeldBytes(child);
        batch.push_back(std::move(child));
        if (bytes <= budget || batch.size() == 1) {
            continue;
        }
        // Keep the first half of the budget's worth; the rest come in later batches.
        std::sort(batch.begin(), batch.end(), ChildBefore);
        size_t keep = 0;
        bytes = 0;
        while (keep < batch.size() && (keep == 0 || bytes + HeldBytes(batch[keep]) <= budget / 2)) {
            bytes += HeldBytes(batch[keep++]);
        }
        ceiling = std::move(batch[keep]);
        batch.erase(batch.begin() + static_cast<std::ptrdiff_t>(keep), batch.end());
    }
    std::sort(batch.begin(), batch.end(), ChildBefore);
    return ceiling.has_value();
}

} // namespace

TreeWalkEnd WalkObjectTree(BentoContainer& container, uint32_t rootObject, uint32_t depth,
                           const std::function<bool(const TreeLine&)>& visit, const TreeWalkBounds& bounds) {
    // One frame per object item on the path from the root: the object's properties as entry indexes, the
    // property it stands at, and the objects that property leads to, handed out batch by batch in the tree's
    // order. Item texts are built as they are handed out.
    struct Frame {
        uint32_t objectId = 0;
        bool expands = false;
        std::vector<uint32_t> properties;
        size_t property = 0;
        std::vector<uint32_t> children;
        std::vector<Child> batch;
        size_t next = 0;
        std::optional<Child> last; // the child handed out last
        bool more = false; // children follow the batch
        size_t held = 0;   // bytes of the above
    };
    if (rootObject == 0 || container.EntryCount() == 0 || !container.FindObject(rootObject)) {
        return TreeWalkEnd::complete;
    }
    std::unordered_map<uint32_t, uint32_t> onPath; // object id -> frames of it on the path
    std::vector<Frame> path;
    size_t held = 0;
    uint64_t lines = 0;
    // Hands out a line, unless the walk ends at it.
    std::optional<TreeWalkEnd> end;
    const auto hand = [&](uint32_t level, bool bold, uint32_t number, const std::wstring& text) {
        if (lines == bounds.maxLines) {
            end = TreeWalkEnd::lineBound;
        } else if (!visit(TreeLine{level, bold, number, &text})) {
            end = TreeWalkEnd::stopped;
        }
        ++lines;
        return !end;
    };
    // The frame's share of held changes to bytes.
    const auto hold = [&held](Frame& frame, size_t bytes) {
        held = held - frame.held + bytes;
        frame.held = bytes;
    };
    const auto frameBytes = [](const Frame& f) {
        size_t bytes = sizeof(Frame) + 32 + (f.properties.capacity() + f.children.capacity()) * sizeof(uint32_t) +
                       f.batch.capacity() * sizeof(Child);
        for (size_t i = f.next; i < f.batch.size(); ++i) {
            bytes += HeldBytes(f.batch[i]) - sizeof(Child);
        }
        if (f.last) {
            bytes += HeldBytes(*f.last);
        }
        return bytes;
    };
    const auto enter = [&](uint32_t objectId, const std::wstring& text, uint32_t level) {
        if (!hand(level, true, 0, text)) {
            return false;
        }
        Frame frame;
        frame.objectId = objectId;
        frame.expands = path.size() < depth && onPath[objectId] == 0;
        if (const auto table = container.FindObject(objectId)) {
            container.WalkProperties(*table, [&](uint32_t, uint32_t entry) { frame.properties.push_back(entry); });
        }
        const size_t bytes = frameBytes(frame);
        if (held + bytes > bounds.maxHeldBytes) {
            end = TreeWalkEnd::memoryBound;
            return false;
        }
        ++onPath[objectId];
        path.push_back(std::move(frame));
        hold(path.back(), bytes);
        return true;
    };
    if (!enter(rootObject, ObjectItemText(container, rootObject), 0)) {
        return *end;
    }
    while (!path.empty()) {
        Frame& frame = path.back();
        const auto level = static_cast<uint32_t>(2 * (path.size() - 1));
        if (frame.next == frame.batch.size() && frame.more) {
            hold(frame, frameBytes(frame));
            const size_t room = bounds.maxHeldBytes > held ? bounds.maxHeldBytes - held : 0;
            const size_t budget = std::min(kMaxBatchBytes, room / 2);
            if (budget < kMinBatchBytes) {
                return TreeWalkEnd::memoryBound;
            }
            frame.more = NextChildren(container, frame.children, frame.last, budget, frame.batch);
            frame.next = 0;
            hold(frame, frameBytes(frame));
        }
        if (frame.next < frame.batch.size()) {
            frame.last = std::move(frame.batch[frame.next++]);
            hold(frame, frameBytes(frame));
            const std::wstring text = frame.last->text; // the frame may move when the child's is pushed
            if (!enter(frame.children[frame.last->place], text, level + 2)) {
                return *end;
            }
            continue;
        }
        if (frame.property < frame.properties.size()) {
            const PropertyItem p = MakePropertyItem(container, frame.properties[frame.property++]);
            if (!hand(level + 1, p.bold, p.number, p.text)) {
                return *end;
            }
            frame.children.clear();
            frame.batch.clear();
            frame.next = 0;
            frame.last.reset();
            frame.more = false;
            if (p.bold && frame.expands) {
                for (const uint32_t id : ReferencedObjects(container, p.number)) {
                    if (id != 0 && container.FindObject(id)) {
                        frame.children.push_back(id);
                    }
                }
                hold(frame, frameBytes(frame));
                if (held > bounds.maxHeldBytes) {
                    return TreeWalkEnd::memoryBound;
                }
                // The first batch is made on the next turn, as every later one.
                frame.more = !frame.children.empty();
            }
            continue;
        }
        --onPath[frame.objectId];
        held -= frame.held;
        path.pop_back();
    }
    return TreeWalkEnd::complete;
}

} // namespace tw
