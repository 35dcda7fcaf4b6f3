// The bin scan: the media that a bin of the editing application references.
//
// Layout. Of a bin only its media reference records are read: 18 bytes, little-endian, that may start at any
// byte offset (unaligned, and overlapping one another): 4 bytes "LMSM", 4 bytes not examined, u16 0x0202,
// u32 first and u32 second, the low and high halves of the referenced fileMobId. Every offset from 0 to the
// file's length minus 18 is examined once.
#pragma once

#include "catalog/media_catalog.h"
#include "container/byte_view.h"
#include "container/qrb_file.h"
#include "seams/console.h"

#include <cstddef>
#include <string>

namespace tw {

inline constexpr size_t kBinRecordSize = 18;

// Adds the pair (first, second) of every media reference record of the bin open in reader to referencedIds,
// positioning the reader from offset 0 on. The bytes are examined inside the reader's window, one platform read
// per window. The scan ends at the end of the file or at the first read or positioning that fails.
void ScanBin(QRBFile& reader, ReferencedIds& referencedIds);

// Opens the bin at path (read access, others may keep writing it) and scans it into referencedIds. False when it
// cannot be opened: the reader has written "QRB File->Open error : " and the cause to console (may be null).
bool ReadBinReferences(const std::wstring& path, Console* console, ReferencedIds& referencedIds);

// The same for bytes in memory: the records that start at an offset below starts and lie wholly in bytes.
void ScanBinBytes(ByteView bytes, size_t starts, ReferencedIds& referencedIds);

} // namespace tw
