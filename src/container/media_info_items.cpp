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

// The objects of a reference property that share one item text, which the tree shows in the order the property
// names them (as a stable sort by text leaves them). Objects of different ids have different texts unless a text
// is cut before its id.
struct TextClass {
    std::wstring text;
    std::vector<uint32_t> ids;
};

size_t HeldBytes(const TextClass& c) {
    return sizeof(TextClass) + (c.text.capacity() + 1) * sizeof(wchar_t) + c.ids.capacity() * sizeof(uint32_t);
}

// Sorts the classes by their texts and makes one class of those whose texts compare equal.
void SortAndMerge(std::vector<TextClass>& classes) {
    std::sort(classes.begin(), classes.end(), [](const TextClass& a, const TextClass& b) {
        return platform::CompareTextIgnoringCase(a.text, b.text) < 0;
    });
    size_t kept = 0;
    for (size_t i = 0; i < classes.size(); ++i) {
        if (kept > 0 && platform::CompareTextIgnoringCase(classes[kept - 1].text, classes[i].text) == 0) {
            classes[kept - 1].ids.insert(classes[kept - 1].ids.end(), classes[i].ids.begin(), classes[i].ids.end());
            continue;
        }
        if (kept != i) {
            classes[kept] = std::move(classes[i]);
        }
        ++kept;
    }
    classes.resize(kept);
}

// Children of at most this many bytes of text are sorted at once; more wait for a later batch.
constexpr size_t kMaxBatchBytes = size_t{8} << 20;
// A batch smaller than this is not worth its pass over the children: the walk stops at its memory bound instead.
constexpr size_t kMinBatchBytes = size_t{64} << 10;

// The next text classes, in the tree's order, of the objects byId holds (object id and place, sorted by id) whose
// texts sort after `after` (from the first when none): as many as budget bytes hold, one at least. Answers whether
// more follow them. One pass over the objects, whose texts are built again on every pass, so that the ones not
// taken take no memory.
bool NextClasses(BentoContainer& container, const std::vector<std::pair<uint32_t, uint32_t>>& byId,
                 const std::optional<std::wstring>& after, size_t budget, std::vector<TextClass>& batch) {
    batch.clear();
    size_t bytes = 0;
    std::optional<std::wstring> ceiling; // texts from this one on wait for a later batch
    for (size_t i = 0; i < byId.size(); ++i) {
        const uint32_t id = byId[i].first;
        if (i > 0 && byId[i - 1].first == id) {
            continue;
        }
        std::wstring text = ObjectItemText(container, id);
        if ((after && platform::CompareTextIgnoringCase(text, *after) <= 0) ||
            (ceiling && platform::CompareTextIgnoringCase(text, *ceiling) >= 0)) {
            continue;
        }
        batch.push_back({std::move(text), {id}});
        bytes += HeldBytes(batch.back());
        if (bytes <= budget) {
            continue;
        }
        // Keep the classes of the first half of the budget; the rest come in later batches.
        SortAndMerge(batch);
        size_t keep = 0;
        bytes = 0;
        while (keep < batch.size() && (keep == 0 || bytes + HeldBytes(batch[keep]) <= budget / 2)) {
            bytes += HeldBytes(batch[keep++]);
        }
        if (keep < batch.size()) {
            ceiling = std::move(batch[keep].text);
            batch.erase(batch.begin() + static_cast<std::ptrdiff_t>(keep), batch.end());
        }
    }
    SortAndMerge(batch);
    return ceiling.has_value();
}

} // namespace

TreeWalkEnd WalkObjectTree(BentoContainer& container, uint32_t rootObject, uint32_t depth,
                           const std::function<bool(const TreeLine&)>& visit, const TreeWalkBounds& bounds) {
    // One frame per object item on the path from the root: the object's properties as entry indexes, the
    // property it stands at, and the objects that property leads to (id and place, by id), handed out class by
    // class of equal texts in the tree's order, the classes made batch by batch. Item texts are built as they are
    // handed out.
    struct Frame {
        uint32_t objectId = 0;
        bool expands = false;
        std::vector<uint32_t> properties;
        size_t property = 0;
        std::vector<std::pair<uint32_t, uint32_t>> byId;
        std::vector<TextClass> batch;
        size_t nextClass = 0;
        bool more = false;                                 // classes follow the batch
        std::optional<std::wstring> after;                 // the text of the batch before
        std::vector<std::pair<uint32_t, uint32_t>> places; // the current class's objects: place and id, by place
        size_t nextPlace = 0;
        size_t held = 0; // bytes of the above
    };
    if (rootObject == 0 || container.EntryCount() == 0 || !container.FindObject(rootObject)) {
        return TreeWalkEnd::complete;
    }
    std::unordered_map<uint32_t, uint32_t> onPath; // object id -> frames of it on the path
    std::vector<Frame> path;
    size_t held = 0;
    uint64_t lines = 0;
    std::optional<TreeWalkEnd> end;
    // Hands out a line, unless the walk ends at it.
    const auto hand = [&](uint32_t level, bool bold, uint32_t number, const std::wstring& text) {
        if (lines == bounds.maxLines) {
            end = TreeWalkEnd::lineBound;
        } else if (!visit(TreeLine{level, bold, number, &text})) {
            end = TreeWalkEnd::stopped;
        }
        ++lines;
        return !end;
    };
    const auto frameBytes = [](const Frame& f) {
        size_t bytes = sizeof(Frame) + 32 + f.properties.capacity() * sizeof(uint32_t) +
                       (f.byId.capacity() + f.places.capacity()) * sizeof(std::pair<uint32_t, uint32_t>);
        for (const TextClass& c : f.batch) {
            bytes += HeldBytes(c);
        }
        if (f.after) {
            bytes += (f.after->capacity() + 1) * sizeof(wchar_t);
        }
        return bytes;
    };
    // Counts the frame's bytes again; false when the walk now holds more than its bound.
    const auto hold = [&](Frame& frame) {
        const size_t bytes = frameBytes(frame);
        held = held - frame.held + bytes;
        frame.held = bytes;
        return held <= bounds.maxHeldBytes;
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
        ++onPath[objectId];
        path.push_back(std::move(frame));
        if (!hold(path.back())) {
            end = TreeWalkEnd::memoryBound;
            return false;
        }
        return true;
    };
    if (!enter(rootObject, ObjectItemText(container, rootObject), 0)) {
        return *end;
    }
    while (!path.empty()) {
        Frame& frame = path.back();
        const auto level = static_cast<uint32_t>(2 * (path.size() - 1));
        if (frame.nextPlace < frame.places.size()) {
            const uint32_t id = frame.places[frame.nextPlace++].second;
            const std::wstring text = frame.batch[frame.nextClass - 1].text; // the frame may move below
            if (!enter(id, text, level + 2)) {
                return *end;
            }
            continue;
        }
        if (frame.nextClass < frame.batch.size()) {
            frame.places.clear();
            for (const uint32_t id : frame.batch[frame.nextClass++].ids) {
                const auto first = std::lower_bound(frame.byId.begin(), frame.byId.end(), std::make_pair(id, 0u));
                for (auto at = first; at != frame.byId.end() && at->first == id; ++at) {
                    frame.places.emplace_back(at->second, id);
                }
            }
            std::sort(frame.places.begin(), frame.places.end());
            frame.nextPlace = 0;
            if (!hold(frame)) {
                return TreeWalkEnd::memoryBound;
            }
            continue;
        }
        if (frame.more) {
            if (!frame.batch.empty()) {
                frame.after = std::move(frame.batch.back().text);
            }
            frame.batch.clear();
            (void)hold(frame);
            const size_t room = bounds.maxHeldBytes > held ? bounds.maxHeldBytes - held : 0;
            const size_t budget = std::min(kMaxBatchBytes, room / 2);
            if (budget < kMinBatchBytes) {
                return TreeWalkEnd::memoryBound;
            }
            frame.more = NextClasses(container, frame.byId, frame.after, budget, frame.batch);
            frame.nextClass = 0;
            if (!hold(frame)) {
                return TreeWalkEnd::memoryBound;
            }
            continue;
        }
        if (frame.property < frame.properties.size()) {
            const PropertyItem p = MakePropertyItem(container, frame.properties[frame.property++]);
            if (!hand(level + 1, p.bold, p.number, p.text)) {
                return *end;
            }
            frame.byId.clear();
            frame.batch.clear();
            frame.places.clear();
            frame.after.reset();
            frame.nextClass = 0;
            frame.nextPlace = 0;
            frame.more = false;
            if (p.bold && frame.expands) {
                const std::vector<uint32_t> ids = ReferencedObjects(container, p.number);
                for (size_t place = 0; place < ids.size(); ++place) {
                    if (ids[place] != 0 && container.FindObject(ids[place])) {
                        frame.byId.emplace_back(ids[place], static_cast<uint32_t>(place));
                    }
                }
                std::sort(frame.byId.begin(), frame.byId.end());
                // The first batch is made on the next turn, as every later one.
                frame.more = !frame.byId.empty();
            }
            if (!hold(frame)) {
                return TreeWalkEnd::memoryBound;
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
