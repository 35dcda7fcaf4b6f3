#include "catalog/media_catalog.h"

namespace tw {

void MediaCatalog::Clear() {
    projectCount = 0;
    indexedRecordCount = 0;
    totalSize = 0;
    projects.clear(); // destroys every project and, with it, every record
    projectsById = {};
    recordsByIndex = {};
    recordCount = 0;
    projectCursorValid = false;
    recordCursorValid = false;
    recordCursorProject = nullptr;
    lastProject = nullptr;
    projectsByText = {};
}

void MediaCatalog::AddRecord(std::unique_ptr<MediaRecord> record, bool includeMissing) {
    if (!record) {
        return;
    }
    if (record->IsMissing() && !includeMissing) {
        return;
    }
    // Absent names are keyed as empty names.
    if (!record->projectName) {
        record->projectName.emplace();
    }
    if (!record->fileName) {
        record->fileName.emplace();
    }
    const std::wstring_view projectName = *record->projectName;
    // Records of one project tend to come in runs, and share their project's text: try the project of the
    // last record, then the project last seen with the same text, before looking the name up.
    const uintptr_t textId = record->projectName.Identity();
    ProjectByText& byText = projectsByText[((textId >> 4) ^ (textId >> 12)) % projectsByText.size()];
    ProjectEntry* project = nullptr;
    if (lastProject != nullptr && lastProject->sharedName.SharesWith(record->projectName)) {
        project = lastProject;
    } else if (byText.project != nullptr && byText.text.SharesWith(record->projectName)) {
        project = byText.project;
    } else {
        if (lastProject != nullptr && lastProject->name == projectName) {
            project = lastProject;
        } else {
            auto found = projects.find(std::wstring(projectName));
            project = found == projects.end() ? nullptr : found->second.get();
        }
        if (project != nullptr) {
            byText = {record->projectName, project};
        }
    }
    if (project == nullptr) {
        auto created = std::make_unique<ProjectEntry>();
        created->name = projectName;
        created->sharedName = record->projectName;
        created->id = static_cast<int32_t>(projectCount);
        ++projectCount;
        project = created.get();
        projects.emplace(created->name, std::move(created));
        AppendLine(console, project->name);
    }
    lastProject = project;
    // The records of a project hold one copy of its name between them.
    if (!record->projectName.SharesWith(project->sharedName)) {
        record->projectName = project->sharedName;
    }
    record->index = recordCount;
    record->projectId = project->id;
    const uint64_t size = record->size;
    MediaRecord* raw = record.get();
    if (!project->files.Insert(std::move(record))) {
        return; // the first record of a name in a project wins
    }
    ++recordCount;
    project->totalSize += size;
    totalSize += size;
    recordsByIndex.push_back(raw);
}

void MediaCatalog::AddReferencedRecord(std::unique_ptr<MediaRecord> record, bool includeMissing,
                                       const ReferencedIds& ids) {
    if (!record) {
        return;
    }
    const auto low = static_cast<uint32_t>(record->fileMobId & 0xFFFFFFFFu);
    const auto high = static_cast<uint32_t>(record->fileMobId >> 32);
    if (ids.count({low, high}) == 0) {
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

MediaRecord* MediaCatalog::RecordAt(uint32_t index) const {
    return index < indexedRecordCount ? recordsByIndex[index] : nullptr;
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
