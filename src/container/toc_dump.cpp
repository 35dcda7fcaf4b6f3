#include "container/toc_dump.h"

#include <cwchar>

namespace tw {

namespace {

// A value is dumped in pieces of whole rows, so that a large value needs no more memory than one piece.
constexpr uint32_t kDumpPiece = 64 * 1024;

bool IsTextType(uint32_t typeId) {
    return typeId == bento::kTypeText7Bit || typeId == bento::kTypeText8Bit || typeId == bento::kTypeText ||
           typeId == bento::kTypeText2;
}

} // namespace

std::wstring TocLine(BentoContainer& container, uint32_t entryIndex) {
    std::wstring line;
    TocLine(container, entryIndex, line);
    return line;
}

void TocLine(BentoContainer& container, uint32_t entryIndex, std::wstring& line) {
    line.clear();
    const auto entry = container.Entry(entryIndex);
    if (!entry) {
        return;
    }
    const TocEntry& e = *entry;
    wchar_t number[48];
    std::swprintf(number, sizeof number / sizeof number[0], L"[ID =0x%X]", e.objectId);
    line = number;
    if (const std::wstring* property = container.NameOf(e.propertyId)) {
        line.append(*property).append(L"  ");
    }
    if (const std::wstring* type = container.NameOf(e.typeId)) {
        line.append(L"[").append(*type).append(L"]");
    }
    if (e.valueFlags == bento::kStored) {
        line += L":";
    }
    if (IsTextType(e.typeId)) {
        // No more of the text than the line can show.
        if (const auto value = container.ViewValue(entryIndex, static_cast<uint32_t>(kTocLineCapacity))) {
            line.append(L"=\"").append(BentoContainer::TextOf(*value)).append(L"\"");
        }
    } else {
        std::swprintf(number, sizeof number / sizeof number[0], L" =[ 0x%X : 0x%X ]", e.valueOffset, e.valueLength);
        line += number;
    }
    if (line.size() > kTocLineCapacity) {
        line.resize(kTocLineCapacity);
    }
}

void DumpToc(BentoContainer& container, Console* console) {
    if (!container.CanQuery() || console == nullptr) {
        return;
    }
    std::wstring line;
    line.reserve(128); // most lines fit
    for (uint32_t i = 0; i < container.EntryCount(); ++i) {
        TocLine(container, i, line);
        console->AppendLine(line);
    }
}

void DumpTocEntry(BentoContainer& container, uint32_t number, Console* console) {
    if (number == 0 || console == nullptr || !container.CanQuery()) {
        return;
    }
    const auto entry = container.Entry(number - 1);
    if (!entry) {
        return;
    }
    const TocEntry& e = *entry;
    console->AppendLine(kTocDumpLine);
    uint8_t bytes[bento::kEntrySize];
    const uint32_t words[] = {e.objectId, e.propertyId, e.typeId, e.valueOffset, e.valueLength, e.valueFlags};
    for (size_t w = 0; w < 6; ++w) {
        for (size_t b = 0; b < 4; ++b) {
            bytes[w * 4 + b] = static_cast<uint8_t>(words[w] >> (8 * b));
        }
    }
    console->HexDump(bytes, sizeof bytes, 0, true, false, 0);
    if (e.valueFlags == bento::kStored) {
        console->AppendLine(kBeginDumpLine);
        for (uint32_t done = 0; done < e.valueLength;) {
            const BentoContainer::Bytes piece = container.ReadStoredBytes(number - 1, done, kDumpPiece);
            if (piece.empty()) {
                break; // the file ends here
            }
            console->HexDump(piece.data(), piece.size(), done, true, true,
                             uint64_t{e.valueOffset} + done);
            done += static_cast<uint32_t>(piece.size());
        }
    }
    console->AppendLine(kEndDumpLine);
}

} // namespace tw
