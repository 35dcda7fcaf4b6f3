// Arbitrary bytes as a media file index: every record is read and handed to a catalog.
#include "catalog/media_catalog.h"
#include "catalog/pmr_file.h"
#include "fuzz_file.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring& path = tw::fuzz::WriteInput(data, size);
    tw::LineConsole console;
    tw::MediaCatalog catalog(&console);
    tw::PMRFile reader(&console);
    if (reader.OpenIndex(path) != 1) {
        return 0;
    }
    for (;;) {
        auto record = std::make_unique<tw::MediaRecord>();
        if (reader.ReadNextRecord(record.get(), nullptr) != 1) {
            break;
        }
        catalog.AddRecord(std::move(record), true);
    }
    catalog.BuildIndex();
    reader.Close();
    return 0;
}
