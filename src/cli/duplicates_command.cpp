// tarnwick-cli duplicates INDEX...: the media files that are on the drives more than once, found by their
// fileMobId. Each database loads into a catalog of its own, so that a project and file name that two databases
// share stay two rows.
#include "catalog/media_catalog.h"
#include "cli/catalog_table.h"
#include "cli/commands.h"
#include "platform/platform.h"
#include "ui/report_input.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tw::cli {

namespace {

// Which copies of a group --keep keeps.
struct KeepRule {
    enum class Kind { none, first, largest, newest, under } kind = Kind::none;
    std::wstring folder; // under: a full path without a trailing separator
};

bool ParseKeepRule(const std::wstring& text, KeepRule& rule) {
    const std::wstring under = L"under=";
    if (text == L"first") {
        rule.kind = KeepRule::Kind::first;
    } else if (text == L"largest") {
        rule.kind = KeepRule::Kind::largest;
    } else if (text == L"newest") {
        rule.kind = KeepRule::Kind::newest;
    } else if (text.rfind(under, 0) == 0 && text.size() > under.size()) {
        rule.kind = KeepRule::Kind::under;
        rule.folder = platform::RemoveTrailingSeparator(platform::MakeFullPath(text.substr(under.size())));
    } else {
        return false;
    }
    return true;
}

// True when path lies below folder (compared as the file system compares names).
bool IsBelow(const std::wstring& path, const std::wstring& folder) {
    if (path.size() <= folder.size() + 1) {
        return false;
    }
    const wchar_t next = path[folder.size()];
    const bool separated = next == L'/' || next == platform::kPathSeparator;
#ifdef _WIN32
    return separated && platform::EqualIgnoringCase(path.substr(0, folder.size()), folder);
#else
    return separated && path.compare(0, folder.size(), folder) == 0;
#endif
}

// Marks the copies the rule keeps; none marked when the rule keeps none of them (no copy below the folder).
std::vector<bool> KeptCopies(const std::vector<const MediaRecord*>& records, const KeepRule& rule) {
    std::vector<bool> kept(records.size(), false);
    size_t best = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        switch (rule.kind) {
        case KeepRule::Kind::largest:
            best = records[i]->size > records[best]->size ? i : best;
            break;
        case KeepRule::Kind::newest:
            best = records[i]->creationTime > records[best]->creationTime ? i : best;
            break;
        case KeepRule::Kind::under:
            kept[i] = IsBelow(FullPathOf(*records[i]), rule.folder);
            break;
        default:
            break;
        }
    }
    if (rule.kind != KeepRule::Kind::under && !records.empty()) {
        kept[best] = true;
    }
    return kept;
}

} // namespace

int DuplicatesCommand(const CommandLine& line) {
    const OutputFormat format = line.format;
    KeepRule rule;
    if (line.Has(L"--keep") && !ParseKeepRule(line.Value(L"--keep"), rule)) {
        WriteLine(stderr, L"tarnwick-cli duplicates: --keep takes first, largest, newest or under=FOLDER, not \"" +
                              line.Value(L"--keep") + L"\"");
        return kExitUsage;
    }
    const ProjectFilter filter(line.Values(L"--project"));
    std::vector<const MediaRecord*> loaded;
    // The records that may be copies of one another: with a fileMobId, of the projects asked for.
    std::vector<const MediaRecord*> candidates;
    StderrConsole console;
    BentoContainer container(&console);
    std::vector<std::unique_ptr<MediaCatalog>> catalogs;
    bool allRead = true;
    for (const std::wstring& index : line.operands) {
        if (!IsIndexPath(L"duplicates", index)) {
            allRead = false;
            continue;
        }
        catalogs.push_back(std::make_unique<MediaCatalog>(&console));
        MediaCatalog& catalog = *catalogs.back();
        catalog.SetContainer(&container);
        catalog.Clear();
        allRead = catalog.LoadDatabase(index, false, nullptr) == 1 && allRead;
        for (const MediaRecord* record : SortedRecords(catalog)) {
            loaded.push_back(record);
            if (record->fileMobId != 0 && filter.Accepts(*record)) {
                candidates.push_back(record);
            }
        }
    }
    const std::vector<DuplicateGroup> groups = GroupDuplicates(candidates);
    filter.NameUnknown(L"duplicates", loaded);
    const bool keeping = rule.kind != KeepRule::Kind::none;
    std::vector<TableColumn> columns{{L"Group", ColumnKind::count}};
    for (TableColumn& column : RecordColumns()) {
        columns.push_back(column);
    }
    if (keeping) {
        // The copy kept of the row's group: delete makes sure it is still there before it deletes the row's file.
        columns.push_back({L"Kept"});
    }
    uint64_t freed = 0;
    uint64_t listed = 0;
    {
        TableWriter table(stdout, format, columns);
        for (size_t g = 0; g < groups.size(); ++g) {
            std::vector<const MediaRecord*> records;
            for (const size_t member : groups[g].members) {
                records.push_back(candidates[member]);
            }
            std::stable_sort(records.begin(), records.end(), [](const MediaRecord* a, const MediaRecord* b) {
                if (ComesBefore(*a, *b) || ComesBefore(*b, *a)) {
                    return ComesBefore(*a, *b);
                }
                return a->path < b->path;
            });
            const std::vector<bool> kept =
                keeping ? KeptCopies(records, rule) : std::vector<bool>(records.size(), false);
            const auto keptAt = std::find(kept.begin(), kept.end(), true);
            const std::wstring group = std::to_wstring(g + 1);
            if (keeping && keptAt == kept.end()) {
                WriteLine(stderr, L"group " + group + L": no copy below " + rule.folder + L"; none of it is listed");
                continue;
            }
            const std::wstring keptPath =
                keeping ? FullPathOf(*records[static_cast<size_t>(keptAt - kept.begin())]) : std::wstring();
            for (size_t r = 0; r < records.size(); ++r) {
                if (kept[r]) {
                    WriteLine(stderr, L"group " + group + L": keeping " + FullPathOf(*records[r]));
                    continue;
                }
                std::vector<std::wstring> cells{group};
                for (std::wstring& cell : RecordCells(*records[r])) {
                    cells.push_back(std::move(cell));
                }
                if (keeping) {
                    cells.push_back(keptPath);
                    freed += records[r]->size;
                    ++listed;
                }
                table.Row(cells);
            }
            if (!keeping) {
                // Keeping the largest copy frees the others.
                freed += groups[g].totalBytes - groups[g].largestBytes;
            }
        }
    }
    WriteLine(stderr, L"Duplicate groups:\t" + std::to_wstring(groups.size()));
    if (keeping) {
        WriteLine(stderr, L"Copies to delete:\t" + std::to_wstring(listed));
        WriteLine(stderr, L"Freed by deleting them\t" + ByteCountText(freed));
    } else {
        WriteLine(stderr, L"Freed by keeping one copy of each\t" + ByteCountText(freed));
    }
    return allRead ? kExitOk : kExitFailed;
}

} // namespace tw::cli
