// The TOC of a container as text lines (one line per entry, in TOC order), and single entries with their
// stored values as hexadecimal rows.
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
// The same line written into line, whose storage is reused: a dump of many entries allocates once.
void TocLine(BentoContainer& container, uint32_t entryIndex, std::wstring& line);
// Writes every entry's line to the console; nothing unless the container is open and valid.
void DumpToc(BentoContainer& container, Console* console);

// The lines that frame the dumps of one entry.
inline constexpr const wchar_t* kTocDumpLine = L"-----------------------TOC hex dump-----------------------";
inline constexpr const wchar_t* kBeginDumpLine = L"----------------------begin hex dump------------------------";
inline constexpr const wchar_t* kEndDumpLine = L"-----------------------end hex dump-------------------------";

// Writes entry number - 1 (numbers count from 1, as the Media Info items carry them) to the console: the
// TOC dump line, the entry's 24 bytes as hex rows with ASCII groups, and for a value stored in the file the
// begin line and the value's bytes as the file holds them (row addresses from 0 and from the value's
// offset); then the end line. The value is bounded by the file, whatever length the entry claims, and read
// piece by piece. Nothing for number 0, a number beyond the entries, no console, or a container that
// cannot answer.
void DumpTocEntry(BentoContainer& container, uint32_t number, Console* console);

} // namespace tw
