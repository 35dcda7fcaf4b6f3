#include "container/media_info_items.h"

#include "container/byte_view.h"
#include "platform/platform.h"

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

bool WalkObjectTree(BentoContainer& container, uint32_t rootObject, uint32_t depth,
                    const std::function<bool(const TreeLine&)>& visit) {
    // One frame per object item on the path from the root: the object, the property it stands at, and the
    // objects (text, id) that property leads to, in the tree's order.
    struct Frame {
        ObjectItem object;
        bool expands = false;
        size_t property = 0;
        std::vector<std::pair<std::wstring, uint32_t>> children;
        size_t child = 0;
    };
    std::optional<ObjectItem> root = MakeObjectItem(container, rootObject);
    if (!root) {
        return true;
    }
    std::unordered_map<uint32_t, uint32_t> onPath; // object id -> frames of it on the path
    std::vector<Frame> path;
    const auto enter = [&](ObjectItem object, uint32_t level) {
        if (!visit(TreeLine{level, true, 0, &object.text})) {
            return false;
        }
        Frame frame;
        frame.expands = path.size() < depth && onPath[object.objectId] == 0;
        ++onPath[object.objectId];
        frame.object = std::move(object);
        path.push_back(std::move(frame));
        return true;
    };
    if (!enter(std::move(*root), 0)) {
        return false;
    }
    while (!path.empty()) {
        Frame& frame = path.back();
        const auto level = static_cast<uint32_t>(2 * (path.size() - 1));
        if (frame.child < frame.children.size()) {
            const uint32_t id = frame.children[frame.child++].second;
            std::optional<ObjectItem> object = MakeObjectItem(container, id);
            if (object && !enter(std::move(*object), level + 2)) {
                return false;
            }
            continue;
        }
        if (frame.property < frame.object.properties.size()) {
            const PropertyItem& p = frame.object.properties[frame.property++];
            if (!visit(TreeLine{level + 1, p.bold, p.number, &p.text})) {
                return false;
            }
            frame.children.clear();
            frame.child = 0;
            if (p.bold && frame.expands) {
                for (const uint32_t id : ReferencedObjects(container, p.number)) {
                    if (id != 0 && container.FindObject(id)) {
                        frame.children.emplace_back(ObjectItemText(container, id), id);
                    }
                }
                std::stable_sort(frame.children.begin(), frame.children.end(),
                                 [](const auto& a, const auto& b) { return ItemTextBefore(a.first, b.first); });
            }
            continue;
        }
        --onPath[frame.object.objectId];
        path.pop_back();
    }
    return true;
}

} // namespace tw
