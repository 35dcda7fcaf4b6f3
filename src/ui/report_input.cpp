#include "ui/report_input.h"

#include "platform/platform.h"
#include "ui/load_table.h"

#include <algorithm>
#include <ctime>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tw {

namespace {

// Console lines go on to the next console, and the index reader's report of damaged data is noted.
class DamageNotingConsole : public Console {
public:
    explicit DamageNotingConsole(Console* next) : next(next) {}
    void AppendLine(const std::wstring& text) override {
        damaged = damaged || text == kBadDataLine;
        tw::AppendLine(next, text);
    }
    bool damaged = false;

private:
    Console* next;
};

// Puts the files in the order of the load table (by project, then file name), then by folder. The projects are put
// in order once, and each file is ranked by its project.
void SortAsLoadTable(std::vector<ReportFile>& files) {
    std::unordered_map<std::wstring_view, uint32_t> projectRank;
    for (const ReportFile& file : files) {
        projectRank.emplace(file.record->projectName.view(), 0);
    }
    std::vector<std::wstring_view> projects;
    for (const auto& entry : projectRank) {
        projects.push_back(entry.first);
    }
    std::sort(projects.begin(), projects.end());
    for (uint32_t rank = 0; rank < projects.size(); ++rank) {
        projectRank[projects[rank]] = rank;
    }
    std::vector<std::pair<uint32_t, ReportFile>> ranked;
    ranked.reserve(files.size());
    for (const ReportFile& file : files) {
        ranked.emplace_back(projectRank[file.record->projectName.view()], file);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        if (a.first != b.first) {
            return a.first < b.first;
        }
        const int name = a.second.record->fileName.view().compare(b.second.record->fileName.view());
        if (name != 0) {
            return name < 0;
        }
        return a.second.record->path.view() < b.second.record->path.view();
    });
    for (size_t i = 0; i < files.size(); ++i) {
        files[i] = ranked[i].second;
    }
}

// Marks the files on disk that share a fileMobId with a file in another place, and numbers their groups from 1, the
// largest total size first, as duplicates does.
void MarkDuplicates(std::vector<ReportFile>& files) {
    std::vector<const MediaRecord*> onDisk;
    std::vector<size_t> placeOf;
    for (size_t i = 0; i < files.size(); ++i) {
        if (!files[i].record->IsMissing()) {
            onDisk.push_back(files[i].record);
            placeOf.push_back(i);
        }
    }
    const std::vector<DuplicateGroup> groups = GroupDuplicates(onDisk);
    for (size_t g = 0; g < groups.size(); ++g) {
        for (const size_t member : groups[g].members) {
            files[placeOf[member]].states |= kStateDuplicate;
            files[placeOf[member]].duplicateGroup = static_cast<uint32_t>(g + 1);
        }
    }
}

} // namespace

LoadedDatabase LoadDatabaseForReport(MediaCatalog& catalog, const std::wstring& indexPath, bool includeMissing,
                                     const ReferencedIds* bin, Progress* progress, Console* console) {
    DamageNotingConsole noting(console);
    catalog.SetConsole(&noting);
    LoadedDatabase loaded;
    loaded.firstRecord = catalog.IndexedRecordCount();
    ReportDatabase& database = loaded.database;
    database.indexPath = indexPath;
    database.folder = platform::RemoveFileSpec(platform::MakeFullPath(indexPath));
    database.opened = (bin != nullptr ? catalog.LoadDatabaseForBin(indexPath, bin, includeMissing, progress)
                                      : catalog.LoadDatabase(indexPath, includeMissing, progress)) == 1;
    catalog.SetConsole(console);
    database.damaged = noting.damaged;
    database.entries = catalog.IndexedRecordCount() - loaded.firstRecord;
    return loaded;
}

uint32_t ReportStatesOf(const MediaRecord& record, const ReferencedIds* referenced) {
    uint32_t states = 0;
    if (record.IsMissing()) {
        states |= kStateMissing;
    }
    if (record.projectName.view() == L"**UNREFERENCED FILES") {
        states |= kStateUnreferenced;
    }
    if (referenced != nullptr) {
        const auto low = static_cast<uint32_t>(record.fileMobId & 0xFFFFFFFFu);
        const auto high = static_cast<uint32_t>(record.fileMobId >> 32);
        const bool used = record.fileMobId != 0 && referenced->count({low, high}) != 0;
        states |= used ? kStateUsed : kStateUnused;
    }
    return states;
}

void AddReportDatabase(ReportInput& input, const MediaCatalog& catalog, const LoadedDatabase& loaded,
                       const ReferencedIds* referenced) {
    const auto databaseIndex = static_cast<uint32_t>(input.databases.size());
    input.databases.push_back(loaded.database);
    const uint64_t end = uint64_t{loaded.firstRecord} + loaded.database.entries;
    for (uint64_t i = loaded.firstRecord; i < end; ++i) {
        if (const MediaRecord* record = catalog.RecordAt(static_cast<uint32_t>(i))) {
            input.files.push_back({record, databaseIndex, ReportStatesOf(*record, referenced), 0});
        }
    }
}

void FinishReport(ReportInput& input) {
    for (ReportDatabase& database : input.databases) {
        database.drive = DriveOfPath(input.drives, database.folder);
    }
    SortAsLoadTable(input.files);
    MarkDuplicates(input.files);
}

ReportInput CatalogReport(const MediaCatalog& catalog, const std::vector<LoadedDatabase>& databases,
                          bool includeMissing, std::vector<DriveInfo> drives) {
    ReportInput input;
    input.madeAt = ReportTimeNow();
    input.version = ReportVersionText();
    input.includeMissing = includeMissing;
    input.drives = std::move(drives);
    std::vector<bool> ofDatabase(catalog.IndexedRecordCount(), false);
    for (const LoadedDatabase& loaded : databases) {
        AddReportDatabase(input, catalog, loaded, nullptr);
        const uint64_t end =
            std::min<uint64_t>(uint64_t{loaded.firstRecord} + loaded.database.entries, ofDatabase.size());
        for (uint64_t i = loaded.firstRecord; i < end; ++i) {
            ofDatabase[i] = true;
        }
    }
    // The other records under an entry per folder, the folders in the order their first records come.
    std::unordered_map<std::wstring, size_t> folderPlace;
    std::vector<std::pair<std::wstring, std::vector<const MediaRecord*>>> folders;
    for (uint32_t i = 0; i < ofDatabase.size(); ++i) {
        if (ofDatabase[i]) {
            continue;
        }
        const MediaRecord* record = catalog.RecordAt(i);
        std::wstring folder = platform::RemoveTrailingSeparator(std::wstring(record->path.view()));
        const auto [place, added] = folderPlace.try_emplace(folder, folders.size());
        if (added) {
            folders.emplace_back(std::move(folder), std::vector<const MediaRecord*>());
        }
        folders[place->second].second.push_back(record);
    }
    for (const auto& [folder, records] : folders) {
        const auto databaseIndex = static_cast<uint32_t>(input.databases.size());
        input.databases.push_back({folder, folder, true, false, records.size(), -1});
        for (const MediaRecord* record : records) {
            input.files.push_back({record, databaseIndex, ReportStatesOf(*record, nullptr), 0});
        }
    }
    FinishReport(input);
    return input;
}

std::vector<DuplicateGroup> GroupDuplicates(const std::vector<const MediaRecord*>& records) {
    // The places by fileMobId, so that a group is a run of equal ids, in the records' order.
    std::vector<std::pair<uint64_t, size_t>> ids;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i]->fileMobId != 0) {
            ids.emplace_back(records[i]->fileMobId, i);
        }
    }
    std::sort(ids.begin(), ids.end());
    std::vector<DuplicateGroup> groups;
    for (size_t start = 0, end = 0; start < ids.size(); start = end) {
        for (end = start + 1; end < ids.size() && ids[end].first == ids[start].first; ++end) {
        }
        if (end - start < 2) {
            continue;
        }
        DuplicateGroup group;
        for (size_t k = start; k < end; ++k) {
            const MediaRecord& record = *records[ids[k].second];
            const bool known = std::any_of(group.members.begin(), group.members.end(),
                                           [&](size_t other) { return SameFile(record, *records[other]); });
            if (!known) {
                group.members.push_back(ids[k].second);
                group.totalBytes += record.size;
                group.largestBytes = std::max(group.largestBytes, record.size);
            }
        }
        if (group.members.size() >= 2) {
            groups.push_back(std::move(group));
        }
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const DuplicateGroup& a, const DuplicateGroup& b) { return a.totalBytes > b.totalBytes; });
    return groups;
}

std::wstring ReportTimeNow() {
    const std::time_t now = std::time(nullptr);
    char text[64] = "";
    if (const std::tm* utc = std::gmtime(&now)) {
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", utc);
    }
    return platform::Utf8ToWide(text);
}

std::wstring ReportVersionText() {
    return L"Tarnwick " TW_VERSION_TEXT;
}

} // namespace tw
