// tarnwick-cli duplicates INDEX...: the media files that are on the drives more than once, found by their
// fileMobId. Each database loads into a catalog of its own, so that a project and file name that two databases
// share stay two rows.
#include "catalog/media_catalog.h"
#include "cli/catalog_table.h"
#include "cli/commands.h"
#include "platform/platform.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tw::cli {

namespace {

struct Group {
    uint64_t fileMobId = 0;
    std::vector<const MediaRecord*> records;
    uint64_t totalBytes = 0;
    uint64_t largestBytes = 0;
};

std::wstring FullPathOf(const MediaRecord& record) {
    std::wstring path;
    record.GetFullPath(path, 4096);
    return path;
}

// True when both records stand for one file: the same file on the running system, or, where that cannot be told,
// the same full path.
bool SameFile(const MediaRecord& a, const MediaRecord& b) {
    const std::wstring first = FullPathOf(a);
    const std::wstring second = FullPathOf(b);
    platform::FileIdentity x;
    platform::FileIdentity y;
    if (platform::QueryFileIdentity(first, x) && platform::QueryFileIdentity(second, y)) {
        return x.volume == y.volume && x.index == y.index;
    }
    return first == second;
}

} // namespace

int DuplicatesCommand(const Args& given) {
    Args args = given;
    OutputFormat format = OutputFormat::tsv;
    if (!TakeFormatOption(args, format)) {
        return kExitUsage;
    }
    for (const std::wstring& a : args) {
        if (a.empty() || a[0] == L'-') {
            args.clear();
        }
    }
    if (args.empty()) {
        WriteLine(stderr, L"usage: tarnwick-cli duplicates [--format F] INDEX...");
        return kExitUsage;
    }
    StderrConsole console;
    BentoContainer container(&console);
    std::vector<std::unique_ptr<MediaCatalog>> catalogs;
    bool allRead = true;
    std::map<uint64_t, Group> byId;
    for (const std::wstring& index : args) {
        catalogs.push_back(std::make_unique<MediaCatalog>(&console));
        MediaCatalog& catalog = *catalogs.back();
        catalog.SetContainer(&container);
        catalog.Clear();
        allRead = catalog.LoadDatabase(index, false, nullptr) == 1 && allRead;
        for (const MediaRecord* record : SortedRecords(catalog)) {
            if (record->fileMobId == 0) {
                continue;
            }
            Group& group = byId[record->fileMobId];
            group.fileMobId = record->fileMobId;
            // One file listed twice (an index given twice, under another spelling) is one copy.
            const bool known = std::any_of(group.records.begin(), group.records.end(),
                                           [record](const MediaRecord* other) { return SameFile(*record, *other); });
            if (!known) {
                group.records.push_back(record);
                group.totalBytes += record->size;
                group.largestBytes = std::max(group.largestBytes, record->size);
            }
        }
    }
    std::vector<Group*> groups;
    for (auto& [id, group] : byId) {
        if (group.records.size() >= 2) {
            groups.push_back(&group);
        }
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const Group* a, const Group* b) { return a->totalBytes > b->totalBytes; });
    std::vector<TableColumn> columns{{L"Group", ColumnKind::count}};
    for (TableColumn& column : RecordColumns()) {
        columns.push_back(column);
    }
    uint64_t freed = 0;
    {
        TableWriter table(stdout, format, columns);
        for (size_t g = 0; g < groups.size(); ++g) {
            std::vector<const MediaRecord*>& records = groups[g]->records;
            std::stable_sort(records.begin(), records.end(), [](const MediaRecord* a, const MediaRecord* b) {
                if (ComesBefore(*a, *b) || ComesBefore(*b, *a)) {
                    return ComesBefore(*a, *b);
                }
                return a->path < b->path;
            });
            for (const MediaRecord* record : records) {
                std::vector<std::wstring> cells{std::to_wstring(g + 1)};
                for (std::wstring& cell : RecordCells(*record)) {
                    cells.push_back(std::move(cell));
                }
                table.Row(cells);
            }
            // Keeping the largest copy frees the others.
            freed += groups[g]->totalBytes - groups[g]->largestBytes;
        }
    }
    WriteLine(stderr, L"Duplicate groups:\t" + std::to_wstring(groups.size()));
    WriteLine(stderr, L"Freed by keeping one copy of each\t" + ByteCountText(freed));
    return allRead ? kExitOk : kExitFailed;
}

} // namespace tw::cli
