#include "ui/file_list_state.h"

#include <vector>

#include "ui/file_list_model.h"

namespace tw {

void FileListState::Clear(uint64_t now) {
    unlocked = false;
    changesPending = false;
    states.clear();
    lastChange = now;
    selectedSize = 0;
    listedSize = 0;
    statusDirty = true;
    unlocked = true;
}

void FileListState::ShowProject(int32_t id, uint64_t now) {
    lastChange = now;
    int& state = states[id];
    if (state == hidden) {
        state = showPending;
    } else if (state == hidePending) {
        state = shown; // a pending hide is undone: the rows stay
    }
    changesPending = true;
}

void FileListState::HideProject(int32_t id, uint64_t now) {
    lastChange = now;
    auto found = states.find(id);
    if (found != states.end()) {
        if (found->second == shown) {
            found->second = hidePending;
        } else if (found->second == showPending) {
            found->second = hidden; // a pending show is undone: no rows were inserted
        }
    }
    changesPending = true;
}

int FileListState::StateOf(int32_t id) const {
    auto found = states.find(id);
    return found == states.end() ? hidden : found->second;
}

bool FileListState::ChangeRows(ProjectEntry& project, FileRows& rows, MediaCatalog& catalog,
                               const ProgressFactory& openProgress, const std::wstring& caption, bool show) {
    if (!catalog.FirstRecord(&project)) {
        return false;
    }
    if (show) {
        listedSize += project.totalSize;
    } else {
        listedSize -= project.totalSize;
    }
    std::unique_ptr<Progress> progress = openProgress ? openProgress(caption) : nullptr;
    const auto count = static_cast<uint64_t>(project.files.Size());
    rows.BeginRowChanges();
    if (show) {
        // The rows stand at the top in the reverse of the enumeration order, as if each were inserted at the
        // top in turn; inserting the last first, each below the one before, moves no row of this project.
        std::vector<const MediaRecord*> records;
        records.reserve(static_cast<size_t>(count));
        do {
            records.push_back(catalog.CurrentRecord());
        } while (catalog.NextRecord());
        for (size_t k = 0; k < records.size(); ++k) {
            rows.InsertRowAt(k, *records[records.size() - 1 - k]);
            if (progress) {
                progress->SetProgress(k, count);
            }
        }
    } else {
        uint64_t k = 0;
        do {
            rows.RemoveRowOf(catalog.CurrentRecord()->index);
            if (progress) {
                progress->SetProgress(k, count);
            }
            ++k;
        } while (catalog.NextRecord());
    }
    rows.EndRowChanges();
    statusDirty = true;
    return true;
}

void FileListState::Refresh(uint64_t now, FileRows& rows, MediaCatalog& catalog, const ProgressFactory& openProgress) {
    if (refreshRunning) {
        return;
    }
    refreshRunning = true;
    if (now - lastChange < kQuietMs) {
        refreshRunning = false;
        return;
    }
    if (statusDirty) {
        rows.SetStatusText(FileStatusLine(rows.RowCount(), rows.SelectedCount(), listedSize, selectedSize));
        statusDirty = false;
    }
    if (changesPending && unlocked) {
        changesPending = false;
        for (auto it = states.begin(); it != states.end();) {
            const int32_t id = it->first;
            ProjectEntry* project = catalog.ProjectAt(static_cast<uint32_t>(id));
            bool erase = false;
            if (it->second == hidden) {
                erase = true;
            } else if (it->second == hidePending) {
                // A project without records has no rows: its entry just goes.
                erase = true;
                if (project != nullptr && ChangeRows(*project, rows, catalog, openProgress, L"Cleaning Up", false) &&
                    states[id] == shown) {
                    states[id] = showPending; // selected again while its rows were being removed
                    erase = false;
                }
            } else if (it->second == showPending) {
                if (project == nullptr || !ChangeRows(*project, rows, catalog, openProgress, project->name, true)) {
                    erase = true;
                } else {
                    // Deselected while its rows were being inserted: remove them again.
                    states[id] = states[id] == hidden ? hidePending : shown;
                }
            }
            it = states.find(id);
            if (erase && it != states.end()) {
                it = states.erase(it);
            } else if (it != states.end()) {
                ++it;
            }
            // The progress window pumps messages, so the selection may have changed meanwhile.
            if (changesPending) {
                changesPending = false;
                it = states.begin();
            }
        }
        changesPending = false;
    }
    refreshRunning = false;
}

} // namespace tw
