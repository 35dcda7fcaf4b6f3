// MediaCatalog: every loaded media record, grouped into projects by project name.
// The catalog owns its projects and records; views keep only record indexes and project ids.
#pragma once

#include "catalog/disk_file_table.h"
#include "catalog/file_table.h"
#include "catalog/media_record.h"
#include "container/bento_container.h"
#include "seams/console.h"
#include "seams/progress.h"

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tw {

// The media a bin references: pairs (low 32 bits, high 32 bits) of fileMobId values.
using ReferencedIds = std::set<std::pair<uint32_t, uint32_t>>;

struct ProjectEntry {
    // The full project name; the catalog never cuts it.
    std::wstring name;
    // The same name, as the project's records hold it.
    SharedText sharedName;
    uint64_t totalSize = 0;
    // Keyed by fileName, compared exactly. A record's fileName must not change while the catalog holds it.
    FileTable files;
    int32_t id = 0;
};

class MediaCatalog {
public:
    // console receives the name of every project the catalog creates; it may be null.
    explicit MediaCatalog(Console* console = nullptr) : console(console) {}
    ~MediaCatalog() = default;
    MediaCatalog(const MediaCatalog&) = delete;
    MediaCatalog& operator=(const MediaCatalog&) = delete;

    void SetConsole(Console* newConsole) {
        console = newConsole;
        ownContainer.reset(); // made again, with the new console, by the next load
    }
    // The container through which loads read msmMMOB.mdb: the application's shared one (not owned; it must
    // outlive the catalog's loads). Without one the catalog uses a container of its own.
    void SetContainer(BentoContainer* shared) { container = shared; }

    // Loads the database folder that holds the index at indexPath: every index entry, matched with the
    // folder's listing and enriched from msmMMOB.mdb, then the folder's files the index does not name (as
    // "**UNREFERENCED FILES"), then BuildIndex. 1 when the index was opened and read; 0 when indexPath is
    // empty or the index failed to open (the catalog is then unchanged). progress may be null.
    int LoadDatabase(const std::wstring& indexPath, bool includeMissing, Progress* progress);
    // As LoadDatabase, but only index entries whose fileMobId ids holds, and no unreferenced files.
    // 0 also when ids is null.
    int LoadDatabaseForBin(const std::wstring& indexPath, const ReferencedIds* ids, bool includeMissing,
                           Progress* progress);

    // A single media file outside any database (an OMF, AIFF or WAV file): one record from the file's own
    // directory entry and, when the file is a container, its identifiers, media fields and project name; under
    // "**UNKNOWN**" when it names no project. Then BuildIndex. fullPath is cut to its folder part, trailing
    // separator included. 1 when the record went to the catalog (which drops it when its project holds the name
    // already); 0 when fullPath is empty, names a folder or has no directory entry.
    int AddLooseOmfFile(std::wstring& fullPath);
    // The same for an MXF file, whose contents are not read: always under "**UNKNOWN_MXF**".
    int AddLooseMxfFile(std::wstring& fullPath);

    // Destroys every project and record; leaves diskFiles alone.
    void Clear();
    // Accepts the record into its project, or destroys it (missing and excluded, or a file name the
    // project already holds). An absent projectName or fileName is stored as an empty one.
    void AddRecord(std::unique_ptr<MediaRecord> record, bool includeMissing);
    // The same for a record the catalog moves from, which is left empty: a loader can fill one record
    // after another in the same place. An accepted record never moves again while the catalog holds it.
    void AddRecord(MediaRecord&& record, bool includeMissing);
    // As AddRecord, but only for records whose fileMobId the set holds.
    void AddReferencedRecord(std::unique_ptr<MediaRecord> record, bool includeMissing, const ReferencedIds& ids);
    void AddReferencedRecord(MediaRecord&& record, bool includeMissing, const ReferencedIds& ids);
    // Rebuilds the arrays behind RecordAt and ProjectAt.
    void BuildIndex();

    // Null when the index is beyond the last BuildIndex.
    [[nodiscard]] MediaRecord* RecordAt(uint32_t index) const;
    [[nodiscard]] ProjectEntry* ProjectAt(uint32_t id) const;
    // The first record of that exact file name in any project, or null. Moves the project cursor.
    [[nodiscard]] MediaRecord* FindRecordByFileName(const std::wstring& fileName);

    // Enumeration in the maps' own order; one cursor of each kind.
    bool FirstProject();
    bool NextProject();
    [[nodiscard]] ProjectEntry* CurrentProject() const;
    bool FirstRecord(ProjectEntry* project);
    bool NextRecord();
    [[nodiscard]] MediaRecord* CurrentRecord() const;

    [[nodiscard]] uint32_t ProjectCount() const { return projectCount; }
    [[nodiscard]] uint32_t IndexedRecordCount() const { return indexedRecordCount; }
    [[nodiscard]] uint64_t TotalSize() const { return totalSize; }
    [[nodiscard]] int32_t RecordCount() const { return recordCount; }

    // The listing of the database folder being loaded; empty outside a load.
    DiskFileTable diskFiles;

private:
    // FindRecordByFileName for a name that need not be a string of its own.
    MediaRecord* FindByFileName(std::wstring_view fileName);
    // The project of that name, made when there is none; projectName is made to share the project's text.
    ProjectEntry& ProjectFor(SharedText& projectName);
    // AddRecord with HashText(record.fileName) already taken.
    void Accept(MediaRecord&& record, bool includeMissing, uint64_t nameHash);
    // True when the set holds the record's fileMobId.
    static bool IsReferenced(const MediaRecord& record, const ReferencedIds& ids);
    int Load(const std::wstring& indexPath, const ReferencedIds* ids, bool includeMissing, Progress* progress);
    // Fills diskFiles with every entry of the folder, "." and ".." and subfolders included.
    void ListFolder(const std::wstring& folder);
    // Fills the record's size, attributes, creation time and path from diskFiles; false, leaving the record
    // marked missing, when the folder holds no file of its exact name. nameHash: HashText of the
    // record's fileName. mark: remember the entry as matched.
    bool MatchOnDisk(MediaRecord& record, uint64_t nameHash, bool mark);
    void AddUnreferencedFiles(bool includeMissing);
    int AddLooseFile(std::wstring& fullPath, bool readContainer);
    BentoContainer& Container();

    using ProjectMap = std::unordered_map<std::wstring, std::unique_ptr<ProjectEntry>>;

    Console* console;
    uint32_t projectCount = 0;
    uint32_t indexedRecordCount = 0;
    uint64_t totalSize = 0;
    int32_t recordCount = 0;
    ProjectMap projects;
    std::vector<ProjectEntry*> projectsById;
    // Every accepted record, at its index, in blocks that never move; RecordAt reaches the first
    // indexedRecordCount of them. Past the last accepted record the block holds empty records. The first
    // kRecordsPerBlock records take blocks of 8, 8, 16, ... 2048, so that a small catalog stays small;
    // every later block holds kRecordsPerBlock.
    static constexpr uint32_t kFirstBlockRecords = 8;
    static constexpr uint32_t kRecordsPerBlock = 4096;
    static constexpr uint32_t kSmallBlocks = 10;
    struct RecordPlace {
        uint32_t block;
        uint32_t offset;
    };
    [[nodiscard]] static RecordPlace PlaceOf(uint32_t index);
    [[nodiscard]] static uint32_t BlockRecords(uint32_t block);
    std::vector<std::unique_ptr<MediaRecord[]>> recordBlocks;
    ProjectMap::iterator projectCursor;
    bool projectCursorValid = false;
    ProjectEntry* recordCursorProject = nullptr;
    size_t recordCursor = 0;
    bool recordCursorValid = false;
    ProjectEntry* lastProject = nullptr;
    // The project of the project texts records arrived with lately, placed by the text's identity: a
    // reader that shares one text among the entries of a project has them find it without a name lookup.
    struct ProjectByText {
        SharedText text;
        ProjectEntry* project = nullptr;
    };
    std::array<ProjectByText, 256> projectsByText;
    BentoContainer* container = nullptr;
    std::unique_ptr<BentoContainer> ownContainer;
};

} // namespace tw
