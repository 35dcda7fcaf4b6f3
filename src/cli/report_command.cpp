// tarnwick-cli report [--bins PATH...] [--missing] [-o FILE] [INDEX | FOLDER ...]: one HTML page of the media of the
// databases (given, found in the given folders, or found on every drive), with the files used and unused by bins,
// the files that are in two places and the drives' space. The page only shows and makes plans; it touches nothing.
#include "catalog/media_catalog.h"
#include "cli/catalog_table.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/report_page.h"
#include "cli/terminal_progress.h"
#include "container/qrb_file.h"
#include "discovery/bin_scan.h"
#include "discovery/database_search.h"
#include "discovery/folder_walk.h"
#include "platform/platform.h"
#include "ui/hardware_tool_model.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace tw::cli {

namespace {

constexpr wchar_t kDefaultOutput[] = L"tarnwick-report.html";
constexpr wchar_t kBadData[] = L"PMR File::Bad data detected, please rebuild your databases";

bool IsBinName(const std::wstring& path) {
    return platform::EqualIgnoringCase(platform::FindExtension(path), L".avb");
}

// True when the folder has a media folder ("OMFI MediaFiles", "AVID MediaFiles", in any letter case) in it: it is a
// drive to search, not a folder of bins.
bool HasMediaFolder(const std::wstring& folder) {
    bool found = false;
    (void)platform::ListFolder(folder, [&found](const platform::FolderEntry& entry) {
        for (const wchar_t* media : kMediaFolders) {
            found = found || ((entry.attributes & platform::kAttributeDirectory) != 0 &&
                              platform::EqualIgnoringCase(entry.name, media));
        }
    });
    return found;
}

// Console lines go on to the terminal's console, and the index reader's report of damaged data is noted.
class NotingConsole : public Console {
public:
    explicit NotingConsole(Console& next) : next(next) {}
    void AppendLine(const std::wstring& text) override {
        damaged = damaged || text == kBadData;
        next.AppendLine(text);
    }
    bool damaged = false;

private:
    Console& next;
};

// Every bin given, or found below a given folder at any depth as the folder walk reaches them, read whole. Any
// bin, folder or path that cannot be read is named on stderr and makes the answer false: a bin not read would make
// used media look unused.
bool ReadBins(const std::vector<std::wstring>& paths, Console& console, ReferencedIds& referenced,
              std::vector<std::wstring>& binsRead) {
    bool allRead = true;
    const auto fail = [&allRead](const std::wstring& text) {
        WriteLine(stderr, L"tarnwick-cli report: " + text);
        allRead = false;
    };
    for (const std::wstring& path : paths) {
        std::vector<std::wstring> bins;
        if (!platform::IsFolder(path)) {
            bins.push_back(path);
        } else {
            FolderSource source;
            source.list = [&fail](const std::wstring& listed, const platform::EntryVisitor& visit) {
                const bool whole = platform::ListFolder(listed, [&](const platform::FolderEntry& entry) {
                    const bool folderEntry = (entry.attributes & platform::kAttributeDirectory) != 0;
                    if (entry.name != L"." && entry.name != L".." && (folderEntry || IsBinName(entry.name)) &&
                        platform::JoinPath(listed, entry.name).size() >= kSearchPathCapacity) {
                        fail(platform::JoinPath(listed, entry.name) + L": the path is too long to search");
                    }
                    visit(entry);
                });
                if (!whole) {
                    fail(listed + L": the folder cannot be listed");
                }
                return whole;
            };
            WalkFolderTree(
                path,
                [&bins](const platform::FolderEntry& entry, const std::wstring& full) {
                    if ((entry.attributes & platform::kAttributeDirectory) == 0 && IsBinName(entry.name)) {
                        bins.push_back(full);
                    }
                },
                nullptr, source);
            if (bins.empty() && allRead) {
                fail(path + L": no bins in this folder");
            }
        }
        for (const std::wstring& bin : bins) {
            QRBFile reader(&console);
            if (reader.Open(bin, QRBFile::kOpenReadShared) == 0) {
                fail(bin + L": the bin cannot be opened");
                continue;
            }
            ScanBin(reader, referenced);
            // The scan ends at the end of the file, or early at a read that fails.
            if (reader.GetPosition() < reader.GetLength()) {
                fail(bin + L": the bin cannot be read to its end");
                continue;
            }
            binsRead.push_back(bin);
        }
    }
    return allRead;
}

// Puts the files in the order of the load table (by project, then file name; ComesBefore), then by folder. The
// projects are put in order once, and each file is ranked by its project.
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

// Marks the files that share a fileMobId (not zero) with a file in another place, and numbers their groups from 1,
// the largest total size first, as duplicates does.
void MarkDuplicates(std::vector<ReportFile>& files) {
    // The files by fileMobId, so that a group is a run of equal ids.
    std::vector<std::pair<uint64_t, size_t>> ids;
    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i].record->fileMobId != 0 && !files[i].record->IsMissing()) {
            ids.emplace_back(files[i].record->fileMobId, i);
        }
    }
    std::sort(ids.begin(), ids.end());
    std::vector<size_t> byId;
    byId.reserve(ids.size());
    for (const auto& entry : ids) {
        byId.push_back(entry.second);
    }
    struct Group {
        std::vector<size_t> members;
        uint64_t totalBytes = 0;
    };
    std::vector<Group> groups;
    for (size_t start = 0, end = 0; start < byId.size(); start = end) {
        const uint64_t id = files[byId[start]].record->fileMobId;
        for (end = start + 1; end < byId.size() && files[byId[end]].record->fileMobId == id; ++end) {
        }
        if (end - start < 2) {
            continue;
        }
        // One file listed twice (under another spelling, through a link) is one copy.
        Group group;
        for (size_t k = start; k < end; ++k) {
            const MediaRecord& record = *files[byId[k]].record;
            const bool known = std::any_of(group.members.begin(), group.members.end(),
                                           [&](size_t other) { return SameFile(record, *files[other].record); });
            if (!known) {
                group.members.push_back(byId[k]);
                group.totalBytes += record.size;
            }
        }
        if (group.members.size() >= 2) {
            groups.push_back(std::move(group));
        }
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const Group& a, const Group& b) { return a.totalBytes > b.totalBytes; });
    for (size_t g = 0; g < groups.size(); ++g) {
        for (size_t member : groups[g].members) {
            files[member].states |= kStateDuplicate;
            files[member].duplicateGroup = static_cast<uint32_t>(g + 1);
        }
    }
}

// Opens path for writing bytes as they are, replacing what is there.
std::FILE* OpenForWriting(const std::wstring& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(platform::WideToUtf8(path).c_str(), "wb");
#endif
}

std::wstring Now() {
    const std::time_t now = std::time(nullptr);
    char text[64] = "";
    if (const std::tm* utc = std::gmtime(&now)) {
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", utc);
    }
    return platform::Utf8ToWide(text);
}

} // namespace

int ReportCommand(const CommandLine& line) {
    std::vector<std::wstring> binPaths;
    std::vector<std::wstring> inputs;
    const std::wstring output = line.Has(L"--output") ? line.Value(L"--output") : std::wstring(kDefaultOutput);
    const bool includeMissing = line.Has(L"--missing");
    // The bins end at "--", an option, or the first path that is neither a bin nor a folder of bins (a path that is
    // not there is taken for a bin, and named as missing; a folder with a media folder in it is a drive).
    bool takingBins = true;
    for (const std::wstring& a : line.Values(L"--bins")) {
        takingBins =
            takingBins && (!platform::PathExists(a) || IsBinName(a) || (platform::IsFolder(a) && !HasMediaFolder(a)));
        (takingBins ? binPaths : inputs).push_back(a);
    }
    inputs.insert(inputs.end(), line.operands.begin(), line.operands.end());
    if (line.Has(L"--bins") && binPaths.empty()) {
        WriteLine(stderr, L"tarnwick-cli report: --bins names no bin and no folder of bins");
        return kExitUsage;
    }
    // A path that is not there is named and nothing is written: a report that leaves out a drive without a word
    // would be taken for the whole picture.
    bool allThere = true;
    for (const std::vector<std::wstring>* list : {&binPaths, &inputs}) {
        for (const std::wstring& path : *list) {
            if (!platform::PathExists(path)) {
                WriteLine(stderr, L"tarnwick-cli report: " + path + L": no such file or folder");
                allThere = false;
            }
        }
    }
    if (!allThere) {
        return kExitFailed;
    }

    std::unique_ptr<TerminalProgress> progress = TerminalProgress::ForStderr();
    ConsoleAbove console(progress.get());
    ReferencedIds referenced;
    std::vector<std::wstring> binsRead;
    if (!ReadBins(binPaths, console, referenced, binsRead)) {
        progress.reset();
        WriteLine(stderr, L"tarnwick-cli report: nothing is written while a bin is not read");
        return kExitFailed;
    }

    // The indexes: those given, those found in the given folders, or those on every drive.
    std::vector<std::wstring> indexes;
    {
        DatabaseList list;
        DatabaseSearch search(list, progress.get());
        bool searched = false;
        for (const std::wstring& input : inputs) {
            if (platform::IsFolder(input)) {
                const size_t before = list.Entries().size();
                search.SearchDrive(input);
                searched = true;
                if (list.Entries().size() == before) {
                    console.AppendLine(L"tarnwick-cli report: " + input + L": no media databases found");
                }
            } else {
                indexes.push_back(input);
            }
        }
        if (inputs.empty()) {
            for (const std::wstring& root : ReadDriveList(platform::DriveStrings)) {
                search.SearchDrive(root);
            }
            searched = true;
        }
        if (searched) {
            std::vector<std::wstring> found;
            for (const auto& entry : list.Entries()) {
                found.push_back(entry.second);
            }
            std::sort(found.begin(), found.end(), [](const std::wstring& a, const std::wstring& b) {
                const int order = platform::CompareTextIgnoringCase(a, b);
                return order != 0 ? order < 0 : a < b;
            });
            indexes.insert(indexes.end(), found.begin(), found.end());
        }
    }
    // One index reached twice (given twice, under another spelling, through a link) is read once.
    {
        std::vector<std::wstring> distinct;
        for (const std::wstring& index : indexes) {
            const bool seen = std::any_of(distinct.begin(), distinct.end(), [&](const std::wstring& other) {
                return other == index || platform::IsSameFile(other, index);
            });
            if (!seen) {
                distinct.push_back(index);
            }
        }
        indexes.swap(distinct);
    }

    ReportInput input;
    input.madeAt = Now();
    input.version = L"Tarnwick " TW_VERSION_TEXT;
    input.binsGiven = line.Has(L"--bins");
    input.includeMissing = includeMissing;
    input.bins = binsRead;
    input.drives = QueryDrives(platform::DriveStrings);

    // Each database in a catalog of its own, so that a file that two databases both hold stays two rows.
    BentoContainer container(&console);
    std::vector<std::unique_ptr<MediaCatalog>> catalogs;
    bool allRead = true;
    for (const std::wstring& index : indexes) {
        NotingConsole noting(console);
        catalogs.push_back(std::make_unique<MediaCatalog>(&noting));
        MediaCatalog& catalog = *catalogs.back();
        catalog.SetContainer(&container);
        catalog.Clear();
        ReportDatabase database;
        database.indexPath = index;
        database.folder = platform::RemoveFileSpec(platform::MakeFullPath(index));
        database.opened = catalog.LoadDatabase(index, includeMissing, progress.get()) == 1;
        catalog.SetConsole(&console);
        allRead = database.opened && allRead;
        database.damaged = noting.damaged;
        database.entries = catalog.IndexedRecordCount();
        database.drive = DriveOfPath(input.drives, database.folder);
        const auto databaseIndex = static_cast<uint32_t>(input.databases.size());
        input.databases.push_back(database);
        for (uint32_t i = 0; i < catalog.IndexedRecordCount(); ++i) {
            ReportFile file;
            file.record = catalog.RecordAt(i);
            file.database = databaseIndex;
            const MediaRecord& record = *file.record;
            if (record.IsMissing()) {
                file.states |= kStateMissing;
            }
            if (record.projectName.view() == L"**UNREFERENCED FILES") {
                file.states |= kStateUnreferenced;
            }
            if (line.Has(L"--bins")) {
                const auto low = static_cast<uint32_t>(record.fileMobId & 0xFFFFFFFFu);
                const auto high = static_cast<uint32_t>(record.fileMobId >> 32);
                const bool used = record.fileMobId != 0 && referenced.count({low, high}) != 0;
                file.states |= used ? kStateUsed : kStateUnused;
            }
            input.files.push_back(file);
        }
    }
    progress.reset();
    SortAsLoadTable(input.files);
    MarkDuplicates(input.files);

    const std::string page = ReportPage(input);
    if (output == L"-") {
#ifdef _WIN32
        // The page's bytes go out as they are: the hashes of its script and style are taken over them.
        std::fflush(stdout);
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        std::fwrite(page.data(), 1, page.size(), stdout);
        std::fflush(stdout);
    } else {
        std::FILE* file = OpenForWriting(output);
        const bool written = file != nullptr && std::fwrite(page.data(), 1, page.size(), file) == page.size();
        const bool closed = file != nullptr && std::fclose(file) == 0;
        if (!written || !closed) {
            WriteLine(stderr, L"tarnwick-cli report: " + output + L": the report cannot be written");
            return kExitFailed;
        }
    }

    std::set<std::wstring_view> projects;
    uint64_t totalBytes = 0;
    for (const ReportFile& file : input.files) {
        projects.insert(file.record->projectName.view());
        totalBytes += file.record->size;
    }
    WriteLine(stderr, L"Databases read:\t" + std::to_wstring(input.databases.size()));
    WriteLine(stderr, L"Projects count:\t" + std::to_wstring(projects.size()));
    WriteLine(stderr, L"Files count:\t" + std::to_wstring(input.files.size()));
    WriteLine(stderr, L"Total size\t" + platform::FormatByteSize(totalBytes));
    if (output != L"-") {
        WriteLine(stdout, platform::MakeFullPath(output));
    }
    return allRead ? kExitOk : kExitFailed;
}

} // namespace tw::cli
