#include "discovery/folder_walk.h"

#include <algorithm>
#include <vector>

namespace tw {

namespace {

class Walk {
public:
    Walk(const std::function<void(const platform::FolderEntry&, const std::wstring&)>& onEntry,
         const std::function<void(const std::wstring&)>& onEnter, const FolderSource& source)
        : onEntry(onEntry), onEnter(onEnter), source(source) {}

    void Below(const std::wstring& folder) {
        std::vector<platform::FolderEntry> entries;
        // The listing is taken whole first, so that no folder stays open while the walk goes deeper.
        source.list(folder, [&](const platform::FolderEntry& e) { entries.push_back(e); });
        for (const platform::FolderEntry& e : entries) {
            if (e.name == L"." || e.name == L"..") {
                continue;
            }
            const std::wstring full = platform::JoinPath(folder, e.name);
            if (full.size() >= kSearchPathCapacity) {
                continue;
            }
            onEntry(e, full);
            if ((e.attributes & platform::kAttributeDirectory) == 0 ||
                (e.attributes & platform::kAttributeReparsePoint) != 0) {
                continue;
            }
            platform::FolderId id;
            const bool known = source.folderId(full, id);
            if (known && std::find(path.begin(), path.end(), id) != path.end()) {
                continue; // a way back into a folder being walked
            }
            if (onEnter) {
                onEnter(full);
            }
            Enter(full, known ? &id : nullptr);
        }
    }

    // Walks below folder with its id (null when unknown) among those being walked.
    void Enter(const std::wstring& folder, const platform::FolderId* id) {
        if (id != nullptr) {
            path.push_back(*id);
        }
        Below(folder);
        if (id != nullptr) {
            path.pop_back();
        }
    }

private:
    const std::function<void(const platform::FolderEntry&, const std::wstring&)>& onEntry;
    const std::function<void(const std::wstring&)>& onEnter;
    const FolderSource& source;
    // The ids of the folders from the walk's start down to the one being listed.
    std::vector<platform::FolderId> path;
};

} // namespace

void WalkFolderTree(
    const std::wstring& folder,
    const std::function<void(const platform::FolderEntry& entry, const std::wstring& fullPath)>& onEntry,
    const std::function<void(const std::wstring& fullPath)>& onEnter, const FolderSource& source) {
    Walk walk(onEntry, onEnter, source);
    platform::FolderId id;
    walk.Enter(folder, source.folderId(folder, id) ? &id : nullptr);
}

} // namespace tw
