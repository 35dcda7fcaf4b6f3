#include "container/toc_dump.h"

#include <cwchar>

namespace tw {

namespace {

bool IsTextType(uint32_t typeId) {
    return typeId == bento::kTypeText7Bit || typeId == bento::kTypeText8Bit || typeId == bento::kTypeText ||
           typeId == bento::kTypeText2;
}

} // namespace

std::wstring TocLine(BentoContainer& container, uint32_t entryIndex) {
    const auto entry = container.Entry(entryIndex);
    if (!entry) {
        return {};
    }
    const TocEntry& e = *entry;
    wchar_t number[48];
    std::swprintf(number, sizeof number / sizeof number[0], L"[ID =0x%X]", e.objectId);
    std::wstring line = number;
    if (const std::wstring* property = container.NameOf(e.propertyId)) {
        line += *property + L"  ";
    }
    if (const std::wstring* type = container.NameOf(e.typeId)) {
        line += L"[" + *type + L"]";
    }
    if (e.valueFlags == bento::kStored) {
        line += L":";
    }
    if (IsTextType(e.typeId)) {
        // No more of the text than the line can show.
        if (const auto value = container.ReadValue(entryIndex, static_cast<uint32_t>(kTocLineCapacity))) {
            line += L"=\"" + BentoContainer::TextOf(*value) + L"\"";
        }
    } else {
        std::swprintf(number, sizeof number / sizeof number[0], L" =[ 0x%X : 0x%X ]", e.valueOffset, e.valueLength);
        line += number;
    }
    if (line.size() > kTocLineCapacity) {
        line.resize(kTocLineCapacity);
    }
    return line;
}

void DumpToc(BentoContainer& container, Console* console) {
    if (!container.CanQuery() || console == nullptr) {
        return;
    }
    for (uint32_t i = 0; i < container.EntryCount(); ++i) {
        console->AppendLine(TocLine(container, i));
    }
}

} // namespace tw
