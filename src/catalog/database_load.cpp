// The load of a database folder: the index msmFMID.pmr entry by entry, each entry matched with one listing
// of the folder taken at the start and enriched from the media database msmMMOB.mdb, then the folder's
// files that the index does not name.
#include "catalog/index_look_ahead.h"
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

// The record's fields from the media database: its name in bin and kind, its compression.
void Enrich(BentoContainer& database, MediaRecord& record) {
    ReadBinNameAndKind(database, &record);
    ReadCompression(database, &record);
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
    // Each record's lookups are fetched from memory a stage a turn, from its read on, so that what they read
    // has arrived when the record's turn comes: the folder's listing (slot, entry, name) and the media
    // database (the UID indexes' slots and items, then the properties' slots and entries).
    static_assert(kMediaLookUpStages <= IndexLookAhead::kStages, "the look-ahead holds every stage");
    const auto prefetch = [&](const IndexLookAhead::Turn& turn, unsigned stage) {
        switch (stage) {
        case 0:
            diskFiles.PrefetchSlot(turn.nameHash);
            break;
        case 1:
            diskFiles.PrefetchEntry(turn.nameHash);
            break;
        case 2:
            diskFiles.PrefetchKey(turn.nameHash);
            break;
        default:
            break;
        }
        PrefetchMediaLookUps(database, turn.record, stage);
    };
    {
        IndexLookAhead ahead(reader, console);
        while (IndexLookAhead::Turn* turn = ahead.Next(progress, prefetch)) {
            MediaRecord& record = turn->record;
            MatchOnDisk(record, turn->nameHash, true);
            Enrich(database, record);
            if (ids == nullptr || IsReferenced(record, *ids)) {
                Accept(std::move(record), includeMissing, turn->nameHash);
            } else {
                record = MediaRecord();
            }
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

bool MediaCatalog::MatchOnDisk(MediaRecord& record, uint64_t nameHash, bool mark) {
    record.size = 0;
    record.attributes = kMissingAttributes;
    const std::wstring_view name = record.fileName.view();
    const DiskFileInfo* info = mark ? diskFiles.FindAndMark(name, nameHash) : diskFiles.Find(name, nameHash);
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
        MatchOnDisk(*record, HashText(name), false);
        AddRecord(std::move(record), includeMissing);
    });
}

} // namespace tw
