#include "discovery/folder_walk.h"

#include <cstdint>
#include <set>
#include <utility>
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
            if ((e.attributes & platform::kAttributeDirectory) == 0) {
                continue;
            }
            // Every folder, linked or not, is entered once in the whole walk: by its id where the file system gives
            // one (so two links into one folder, or a link back up the tree, cost one visit), else by its path.
            platform::FolderId id;
            if (source.folderId(full, id)) {
                if (!visited.insert({id.volume, id.index}).second) {
                    continue;
                }
            } else if (!visitedPaths.insert(platform::MakeFullPath(full)).second) {
                continue;
            }
            if (onEnter) {
                onEnter(full);
            }
            Below(full);
        }
    }

    // Walks below the walk's first folder.
    void Start(const std::wstring& folder) {
        platform::FolderId id;
        if (source.folderId(folder, id)) {
            visited.insert({id.volume, id.index});
        }
        Below(folder);
    }

private:
    const std::function<void(const platform::FolderEntry&, const std::wstring&)>& onEntry;
    const std::function<void(const std::wstring&)>& onEnter;
    const FolderSource& source;
    // The folders entered so far.
    std::set<std::pair<uint64_t, uint64_t>> visited;
    std::set<std::wstring> visitedPaths;
};

} // namespace

void WalkFolderTree(
    const std::wstring& folder,
    const std::function<void(const platform::FolderEntry& entry, const std::wstring& fullPath)>& onEntry,
    const std::function<void(const std::wstring& fullPath)>& onEnter, const FolderSource& source) {
    Walk walk(onEntry, onEnter, source);
    walk.Start(folder);
}

} // namespace tw
