// The TOC of a container as text lines: one line per entry, in TOC order.
#pragma once

#include "container/bento_container.h"
#include "seams/console.h"

#include <cstdint>
#include <string>

namespace tw {

// The longest line, in UTF-16 code units without the terminator; longer lines are cut.
inline constexpr size_t kTocLineCapacity = 1023;

// The line of one entry: "[ID =0x%X]", the property's name and two spaces, "[" the type's name "]", ":" for a
// stored value, then a text value as ="text" or any other value as " =[ 0x%X : 0x%X ]" (offset, length).
[[nodiscard]] std::wstring TocLine(BentoContainer& container, uint32_t entryIndex);
// Writes every entry's line to the console; nothing unless the container is open and valid.
void DumpToc(BentoContainer& container, Console* console);

} // namespace tw
