// Arbitrary bytes as the media database of a database folder: the folder (index, media files, unreferenced
// files, a subfolder) is written once, the input becomes its msmMMOB.mdb, and the folder is loaded whole and
// for a bin. The one target that reads its files through the system, as the program does.
#include "catalog/media_catalog.h"
#include "catalog/media_files.h"
#include "fixtures/sample_drive.h"
#include "platform/platform.h"

namespace {

struct Folder {
    tw::fixtures::ScratchDir dir{L"tarnwick-load-fuzz"};
    std::wstring index = tw::platform::JoinPath(dir.Path(), tw::kIndexFileName);
    std::wstring database = tw::platform::JoinPath(dir.Path(), tw::kDatabaseFileName);
    tw::ReferencedIds ids;

    Folder() {
        // The first database of the sample drive that tools/fuzz.sh takes its seeds from.
        tw::fixtures::MediaFolder content = tw::fixtures::MakeSampleDrive(40, 9, 0).front().content;
        content.withDatabase = false;
        tw::fixtures::WriteMediaFolder(dir.Path(), content);
        for (const tw::fixtures::MediaFile& f : content.files) {
            ids.insert({static_cast<uint32_t>(f.media.fileMobId), static_cast<uint32_t>(f.media.fileMobId >> 32)});
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Folder folder;
    tw::fixtures::WriteFile(folder.database, tw::fixtures::Bytes(data, data + size));
    tw::LineConsole console;
    tw::MediaCatalog catalog(&console);
    catalog.LoadDatabase(folder.index, true, nullptr);
    catalog.LoadDatabaseForBin(folder.index, &folder.ids, false, nullptr);
    return 0;
}
