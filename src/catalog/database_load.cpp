// The load of a database folder: the index msmFMID.pmr entry by entry, each entry matched with one listing
// of the folder taken at the start and enriched from the media database msmMMOB.mdb, then the folder's
// files that the index does not name.
#include "catalog/media_catalog.h"
#include "catalog/media_files.h"
#include "catalog/omf_queries.h"
#include "catalog/pmr_file.h"
#include "platform/platform.h"

namespace tw {

namespace {

constexpr wchar_t kUnreferencedProject[] = L"**UNREFERENCED FILES";

void SetCaption(Progress* progress, const std::wstring& caption) {
    if (progress != nullptr) {
        progress->SetCaption(caption);
    }
}

} // namespace

BentoContainer& MediaCatalog::Container() {
    if (container != nullptr) {
        return *container;
    }
    if (!ownContainer) {
        ownContainer = std::make_unique<BentoContainer>(console);
    }
    return *ownContainer;
}

int MediaCatalog::LoadDatabase(const std::wstring& indexPath, bool includeMissing, Progress* progress) {
    return Load(indexPath, nullptr, includeMissing, progress);
}

int MediaCatalog::LoadDatabaseForBin(const std::wstring& indexPath, const ReferencedIds* ids, bool includeMissing,
                                     Progress* progress) {
    if (ids == nullptr) {
        return 0;
    }
    return Load(indexPath, ids, includeMissing, progress);
}

int MediaCatalog::Load(const std::wstring& indexPath, const ReferencedIds* ids, bool includeMissing,
                       Progress* progress) {
    if (indexPath.empty()) {
        return 0;
    }
    PMRFile reader(console);
    AppendLine(console, L"------------<OPENING FILE>----------------");
    AppendLine(console, indexPath);
    if (reader.OpenIndex(indexPath) != 1) {
        return 0;
    }
    const std::wstring folder = platform::RemoveFileSpec(reader.GetFilePath());
    SetCaption(progress, L"Opening MOB Database...");
    BentoContainer& database = Container();
    // A media database that is missing or not recognised only leaves the records without its fields.
    (void)database.Open(platform::JoinPath(folder, kDatabaseFileName));
    SetCaption(progress, L"Indexing Files...");
    diskFiles.clear();
    ListFolder(folder);
    SetCaption(progress, folder);
    // One record is filled entry after entry; the catalog moves each accepted one into place and leaves it
    // empty for the next.
    MediaRecord record;
    for (;;) {
        record.filled = false;
        if (reader.ReadNextRecord(&record, progress) != 1) {
            break; // the record of the unsuccessful read was never filled
        }
        // The three lookups are independent: their first reads from memory are started together, and the
        // listing's is used last.
        diskFiles.Prefetch(record.fileName.view());
        database.PrefetchLookUp(BentoContainer::UidIndex::comp, UidKey::FromId(record.compUid));
        database.PrefetchLookUp(BentoContainer::UidIndex::fileMob, UidKey::FromId(record.fileMobId));
        ReadBinNameAndKind(database, &record);
        ReadCompression(database, &record);
        MatchOnDisk(record, true);
        if (ids != nullptr) {
            AddReferencedRecord(std::move(record), includeMissing, *ids);
        } else {
            AddRecord(std::move(record), includeMissing);
        }
    }
    reader.Close();
    database.Close();
    if (ids == nullptr) {
        AddUnreferencedFiles(includeMissing);
    }
    SetCaption(progress, L"Creating Media Index...");
    BuildIndex();
    diskFiles.clear();
    AppendLine(console, L"------------------<OK!>-------------------");
    return 1;
}

void MediaCatalog::ListFolder(const std::wstring& folder) {
    diskFiles.SetListedFolder(folder);
    platform::ListFolder(folder, [&](const platform::FolderEntry& entry) {
        DiskFileInfo& info = diskFiles[entry.name];
        info.attributes = entry.attributes;
        info.creationTime = entry.creationTime;
        info.size = entry.size;
        info.folder.clear(); // the listed folder, held once by the table
    });
}

bool MediaCatalog::MatchOnDisk(MediaRecord& record, bool mark) {
    record.size = 0;
    record.attributes = kMissingAttributes;
    const std::wstring_view name = record.fileName.view();
    const DiskFileInfo* info = mark ? diskFiles.FindAndMark(name) : diskFiles.Find(name);
    if (info == nullptr) {
        return false;
    }
    record.size = info->size;
    record.attributes = info->attributes;
    record.creationTime = info->creationTime;
    record.SetPath(diskFiles.FolderOf(*info));
    return true;
}

void MediaCatalog::AddUnreferencedFiles(bool includeMissing) {
    diskFiles.ForEach([&](std::wstring_view name, const DiskFileInfo& info, bool matched) {
        if ((info.attributes & platform::kAttributeDirectory) != 0) {
            return;
        }
        if (name == kIndexFileName || name == kDatabaseFileName) {
            return;
        }
        // An entry that an index record of this load was matched with is in the catalog under its name: the
        // record was accepted, or its project holds that name already. Only the others are looked up.
        if ((matched && info.attributes != kMissingAttributes) || FindByFileName(name) != nullptr) {
            return;
        }
        auto record = std::make_unique<MediaRecord>();
        record->SetProjectName(std::wstring(kUnreferencedProject));
        record->SetFileName(std::wstring(name));
        MatchOnDisk(*record, false);
        AddRecord(std::move(record), includeMissing);
    });
}

} // namespace tw
