// Loose media files: single files outside any database. What is known of them comes from their own directory
// entry and, for OMF-family files, from their own container; the rest are grouped under pseudo-projects.
#include "catalog/media_catalog.h"
#include "catalog/omf_queries.h"
#include "platform/platform.h"

namespace tw {

namespace {

constexpr wchar_t kUnknownProject[] = L"**UNKNOWN**";
constexpr wchar_t kUnknownMxfProject[] = L"**UNKNOWN_MXF**";

} // namespace

int MediaCatalog::AddLooseOmfFile(std::wstring& fullPath) {
    return AddLooseFile(fullPath, true);
}

int MediaCatalog::AddLooseMxfFile(std::wstring& fullPath) {
    return AddLooseFile(fullPath, false);
}

int MediaCatalog::AddLooseFile(std::wstring& fullPath, bool readContainer) {
    if (fullPath.empty() || platform::IsFolder(fullPath)) {
        return 0;
    }
    platform::FolderEntry entry;
    if (!platform::GetEntry(fullPath, entry)) {
        return 0;
    }
    auto record = std::make_unique<MediaRecord>();
    record->attributes = entry.attributes;
    record->creationTime = entry.creationTime;
    record->size = entry.size;
    if (readContainer) {
        BentoContainer& file = Container();
        // AIFF and WAVE files are no containers: they open as nothing and keep only their directory entry.
        if (file.Open(fullPath) != 0) {
            ReadFileMediaInfo(file, record.get());
            ReadProjectName(file, record.get());
            file.Close();
        }
    }
    if (!record->projectName) {
        record->SetProjectName(std::wstring(readContainer ? kUnknownProject : kUnknownMxfProject));
    }
    record->SplitFullPath(fullPath);
    AddRecord(std::move(record), false);
    BuildIndex();
    return 1;
}

} // namespace tw
