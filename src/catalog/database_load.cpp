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
    // Records are read three entries ahead of the one being matched, enriched and handed to the catalog, so
    // that what their lookups read from memory is on its way meanwhile: the first reads of the entry three
    // ahead, the second reads of the entry two ahead, whose first reads have arrived, and the third reads of
    // the next entry. The catalog moves each accepted record into place and leaves it empty for its next
    // turn. The lines the reader writes while reading an entry are held back until the records before it
    // have been handed over, so the console reads as if one entry were read at a time.
    constexpr size_t kTurns = 4;
    MediaRecord turns[kTurns];
    // Each record's file name is hashed once, for the folder's listing and for its project's table.
    uint64_t nameHashes[kTurns] = {};
    std::vector<std::wstring> linesOfRead[kTurns];
    std::vector<std::wstring> linesOfLastRead;
    LineConsole readerLines;
    reader.SetConsole(&readerLines);
    size_t current = 0;
    size_t ahead = 0; // records read and not yet handed over, the current one included
    bool ended = false;
    const auto readAhead = [&] {
        while (!ended && ahead < kTurns) {
            const size_t turn = (current + ahead) % kTurns;
            // the record of an unsuccessful read is never filled
            if (reader.ReadNextRecord(&turns[turn], progress) == 1) {
                linesOfRead[turn] = std::move(readerLines.lines);
                nameHashes[turn] = FileTable::Hash(turns[turn].fileName.view());
                diskFiles.Prefetch(nameHashes[turn]);
                PrefetchMediaObjects(database, turns[turn]);
                ++ahead;
            } else {
                linesOfLastRead = std::move(readerLines.lines);
                ended = true;
            }
            readerLines.lines.clear();
        }
    };
    const auto passOn = [&](std::vector<std::wstring>& lines) {
        for (const std::wstring& line : lines) {
            AppendLine(console, line);
        }
        lines.clear();
    };
    for (readAhead(); ahead != 0; readAhead()) {
        MediaRecord& record = turns[current];
        if (ahead > 1) {
            const size_t next = (current + 1) % kTurns;
            diskFiles.PrefetchName(nameHashes[next]);
            PrefetchMediaEntries(database, turns[next]);
        }
        if (ahead > 2) {
            const size_t second = (current + 2) % kTurns;
            diskFiles.PrefetchEntry(nameHashes[second]);
            PrefetchMediaProperties(database, turns[second]);
        }
        passOn(linesOfRead[current]);
        ReadBinNameAndKind(database, &record);
        ReadCompression(database, &record);
        MatchOnDisk(record, nameHashes[current], true);
        if (ids != nullptr && !IsReferenced(record, *ids)) {
            record = MediaRecord();
        } else {
            Accept(std::move(record), includeMissing, nameHashes[current]);
        }
        current = (current + 1) % kTurns;
        --ahead;
    }
    passOn(linesOfLastRead);
    reader.SetConsole(console);
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
        MatchOnDisk(*record, FileTable::Hash(name), false);
        AddRecord(std::move(record), includeMissing);
    });
}

} // namespace tw
