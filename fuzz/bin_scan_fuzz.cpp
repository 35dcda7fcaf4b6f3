// Arbitrary bytes as a bin: scanned through the reader's windows from the file, and scanned in memory, the two
// must find the same references.
#include "discovery/bin_scan.h"
#include "fuzz_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tw::ReferencedIds fromFile;
    if (!tw::ReadBinReferences(tw::fuzz::WriteInput(data, size), nullptr, fromFile)) {
        return 0;
    }
    tw::ReferencedIds inMemory;
    tw::ScanBinBytes(tw::ByteView(data, size), size, inMemory);
    if (fromFile != inMemory) {
        std::abort();
    }
    return 0;
}
