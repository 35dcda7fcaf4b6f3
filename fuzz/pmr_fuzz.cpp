// Arbitrary bytes as a media file index: every record is read and handed to a catalog.
#include "catalog/media_catalog.h"
#include "catalog/pmr_file.h"
#include "discard_console.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring& path = tw::fuzz::WriteInput(data, size);
    tw::fuzz::DiscardConsole console;
    tw::MediaCatalog catalog(&console);
    tw::PMRFile reader(&console);
    if (reader.OpenIndex(path) != 1) {
        return 0;
    }
    // One record filled and handed over in turn, as the load does.
    tw::MediaRecord record;
    while (reader.ReadNextRecord(&record, nullptr) == 1) {
        catalog.AddRecord(std::move(record), true);
    }
    catalog.BuildIndex();
    reader.Close();
    return 0;
}
