#include "catalog/media_catalog.h"

namespace tw {

void MediaCatalog::Clear() {
    projectCount = 0;
    indexedRecordCount = 0;
    totalSize = 0;
    projects.clear();
    projectsById = {};
    recordBlocks = decltype(recordBlocks)(); // destroys every record
    recordCount = 0;
    projectCursorValid = false;
    recordCursorValid = false;
    recordCursorProject = nullptr;
    lastProject = nullptr;
    for (ProjectByText& byText : projectsByText) {
        if (byText.project != nullptr) {
            byText = ProjectByText();
        }
    }
}

void MediaCatalog::AddRecord(std::unique_ptr<MediaRecord> record, bool includeMissing) {
    if (record) {
        AddRecord(std::move(*record), includeMissing);
    }
}

ProjectEntry& MediaCatalog::ProjectFor(SharedText& projectName) {
    // Records of one project tend to come in runs, and share their project's text: try the project of the
    // last record, then the project last seen with the same text, before looking the name up.
    if (lastProject != nullptr && lastProject->sharedName.SharesWith(projectName)) {
        return *lastProject;
    }
    const uintptr_t textId = projectName.Identity();
    ProjectByText& byText = projectsByText[((textId >> 4) ^ (textId >> 12)) % projectsByText.size()];
    ProjectEntry* project = nullptr;
    if (byText.project != nullptr && byText.text.SharesWith(projectName)) {
        project = byText.project;
    } else {
        if (lastProject != nullptr && lastProject->name == *projectName) {
            project = lastProject;
        } else {
            auto found = projects.find(std::wstring(*projectName));
            project = found == projects.end() ? nullptr : found->second.get();
        }
        if (project != nullptr) {
            byText = {projectName, project};
        }
    }
    if (project == nullptr) {
        auto created = std::make_unique<ProjectEntry>();
        created->name = *projectName;
        created->sharedName = projectName;
        created->id = static_cast<int32_t>(projectCount);
        ++projectCount;
        project = created.get();
        projects.emplace(created->name, std::move(created));
        AppendLine(console, project->name);
    }
    lastProject = project;
    // The records of a project hold one copy of its name between them.
    if (!projectName.SharesWith(project->sharedName)) {
        projectName = project->sharedName;
    }
    return *project;
}

void MediaCatalog::AddRecord(MediaRecord&& incoming, bool includeMissing) {
    // An absent file name is keyed as an empty one, whose hash it has.
    Accept(std::move(incoming), includeMissing, HashText(incoming.fileName.view()));
}

void MediaCatalog::Accept(MediaRecord&& incoming, bool includeMissing, uint64_t nameHash) {
    if (incoming.IsMissing() && !includeMissing) {
        incoming = MediaRecord();
        return;
    }
    // Absent names are keyed as empty names.
    if (!incoming.projectName) {
        incoming.projectName.emplace();
    }
    if (!incoming.fileName) {
        incoming.fileName.emplace();
    }
    // The name's place in its project's table is fetched from memory while the record is moved.
    ProjectEntry& project = ProjectFor(incoming.projectName);
    project.files.PrefetchSlot(nameHash);
    // The record goes to the next free place; it stays there only when its project takes it.
    const RecordPlace place = PlaceOf(static_cast<uint32_t>(recordCount));
    if (place.block == recordBlocks.size()) {
        recordBlocks.push_back(std::make_unique<MediaRecord[]>(BlockRecords(place.block)));
    }
    MediaRecord* record = &recordBlocks[place.block][place.offset];
    *record = std::move(incoming);
    incoming = MediaRecord();
    record->index = recordCount;
    record->projectId = project.id;
    if (!project.files.Insert(record, nameHash)) {
        *record = MediaRecord(); // the first record of a name in a project wins
        return;
    }
    ++recordCount;
    project.totalSize += record->size;
    totalSize += record->size;
}

void MediaCatalog::AddReferencedRecord(std::unique_ptr<MediaRecord> record, bool includeMissing,
                                       const ReferencedIds& ids) {
    if (record) {
        AddReferencedRecord(std::move(*record), includeMissing, ids);
    }
}

bool MediaCatalog::IsReferenced(const MediaRecord& record, const ReferencedIds& ids) {
    const auto low = static_cast<uint32_t>(record.fileMobId & 0xFFFFFFFFu);
    const auto high = static_cast<uint32_t>(record.fileMobId >> 32);
    return ids.count({low, high}) != 0;
}

void MediaCatalog::AddReferencedRecord(MediaRecord&& record, bool includeMissing, const ReferencedIds& ids) {
    if (!IsReferenced(record, ids)) {
        record = MediaRecord();
        return;
    }
    AddRecord(std::move(record), includeMissing);
}

void MediaCatalog::BuildIndex() {
    indexedRecordCount = static_cast<uint32_t>(recordCount);
    projectsById = {};
    if (projectCount != 0) {
        projectsById.assign(projectCount, nullptr);
        for (auto& [projectName, project] : projects) {
            if (project->id >= 0 && static_cast<uint32_t>(project->id) < projectCount) {
                projectsById[static_cast<size_t>(project->id)] = project.get();
            }
        }
    }
}

MediaCatalog::RecordPlace MediaCatalog::PlaceOf(uint32_t index) {
    // The small blocks hold the first kRecordsPerBlock records; small block k >= 1 starts at record
    // kFirstBlockRecords << (k - 1) and holds as many.
    static_assert(kFirstBlockRecords << (kSmallBlocks - 1) == kRecordsPerBlock, "the small blocks fill one");
    if (index >= kRecordsPerBlock) {
        return {kSmallBlocks - 1 + index / kRecordsPerBlock, index % kRecordsPerBlock};
    }
    if (index < kFirstBlockRecords) {
        return {0, index};
    }
    uint32_t block = 1;
    uint32_t start = kFirstBlockRecords;
    while (index >= start * 2) {
        start *= 2;
        ++block;
    }
    return {block, index - start};
}

uint32_t MediaCatalog::BlockRecords(uint32_t block) {
    if (block == 0) {
        return kFirstBlockRecords;
    }
    return block < kSmallBlocks ? kFirstBlockRecords << (block - 1) : kRecordsPerBlock;
}

MediaRecord* MediaCatalog::RecordAt(uint32_t index) const {
    if (index >= indexedRecordCount) {
        return nullptr;
    }
    const RecordPlace place = PlaceOf(index);
    return &recordBlocks[place.block][place.offset];
}

ProjectEntry* MediaCatalog::ProjectAt(uint32_t id) const {
    return id < projectsById.size() ? projectsById[id] : nullptr;
}

MediaRecord* MediaCatalog::FindRecordByFileName(const std::wstring& fileName) {
    return FindByFileName(fileName);
}

MediaRecord* MediaCatalog::FindByFileName(std::wstring_view fileName) {
    for (bool more = FirstProject(); more; more = NextProject()) {
        if (MediaRecord* found = projectCursor->second->files.Find(fileName)) {
            return found;
        }
    }
    return nullptr;
}

bool MediaCatalog::FirstProject() {
    projectCursor = projects.begin();
    projectCursorValid = projectCursor != projects.end();
    return projectCursorValid;
}

bool MediaCatalog::NextProject() {
    if (!projectCursorValid) {
        return false;
    }
    ++projectCursor;
    projectCursorValid = projectCursor != projects.end();
    return projectCursorValid;
}

ProjectEntry* MediaCatalog::CurrentProject() const {
    return projectCursorValid ? projectCursor->second.get() : nullptr;
}

bool MediaCatalog::FirstRecord(ProjectEntry* project) {
    recordCursorProject = project;
    recordCursorValid = false;
    if (project == nullptr) {
        return false;
    }
    recordCursor = project->files.Begin();
    recordCursorValid = recordCursor != project->files.End();
    return recordCursorValid;
}

bool MediaCatalog::NextRecord() {
    if (!recordCursorValid || recordCursorProject == nullptr) {
        return false;
    }
    recordCursor = recordCursorProject->files.Next(recordCursor);
    recordCursorValid = recordCursor != recordCursorProject->files.End();
    return recordCursorValid;
}

MediaRecord* MediaCatalog::CurrentRecord() const {
    return recordCursorValid ? recordCursorProject->files.At(recordCursor) : nullptr;
}

} // namespace tw
