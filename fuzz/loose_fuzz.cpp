// Arbitrary bytes as a loose media file dropped on the project list: its directory entry and its own container
// are read into a record of the catalog.
#include "catalog/media_catalog.h"
#include "disk_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tw::LineConsole console;
    tw::MediaCatalog catalog(&console);
    std::wstring path = tw::fuzz::WriteInputToDisk(data, size);
    catalog.AddLooseOmfFile(path);
    return 0;
}
