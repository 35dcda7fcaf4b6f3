// tarnwick-cli report [--bins PATH...] [--missing] [-o FILE] [INDEX | FOLDER ...]: one HTML page of the media of the
// databases (given, found in the given folders, or found on every drive), with the files used and unused by bins,
// the files that are in two places and the drives' space. The page only shows and makes plans; it touches nothing.
#include "catalog/media_catalog.h"
#include "cli/bin_walk.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/terminal_progress.h"
#include "discovery/database_search.h"
#include "platform/platform.h"
#include "ui/hardware_tool_model.h"
#include "ui/report_file.h"
#include "ui/report_input.h"
#include "ui/report_page.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace tw::cli {

namespace {

constexpr wchar_t kDefaultOutput[] = L"tarnwick-report.html";

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

// True when path names a device, a pipe or the like: such a target is written in place, since a rename over it
// would replace it. A plain file there, or nothing, is replaced only by a whole report.
bool IsSpecialFile(const std::wstring& path) {
    std::error_code error;
#ifdef _WIN32
    const std::filesystem::file_status status = std::filesystem::status(std::filesystem::path(path), error);
#else
    const std::filesystem::file_status status =
        std::filesystem::status(std::filesystem::u8path(platform::WideToUtf8(path)), error);
#endif
    const std::filesystem::file_type type = status.type();
    return type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular &&
           type != std::filesystem::file_type::none;
}

// Opens path for writing bytes as they are, replacing what is there.
std::FILE* OpenForWriting(const std::wstring& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(platform::WideToUtf8(path).c_str(), "wb");
#endif
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
    if (!ReadBins(L"report", binPaths, console, referenced, binsRead)) {
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
    input.madeAt = ReportTimeNow();
    input.version = ReportVersionText();
    input.binsGiven = line.Has(L"--bins");
    input.includeMissing = includeMissing;
    input.bins = binsRead;
    input.drives = QueryDrives(platform::DriveStrings);

    // Each database in a catalog of its own, so that a file that two databases both hold stays two rows.
    BentoContainer container(&console);
    std::vector<std::unique_ptr<MediaCatalog>> catalogs;
    bool allRead = true;
    for (const std::wstring& index : indexes) {
        catalogs.push_back(std::make_unique<MediaCatalog>(&console));
        MediaCatalog& catalog = *catalogs.back();
        catalog.SetContainer(&container);
        catalog.Clear();
        const LoadedDatabase loaded =
            LoadDatabaseForReport(catalog, index, includeMissing, nullptr, progress.get(), &console);
        allRead = loaded.database.opened && allRead;
        AddReportDatabase(input, catalog, loaded, input.binsGiven ? &referenced : nullptr);
    }
    progress.reset();
    FinishReport(input);

    const std::string page = ReportPage(input);
    if (output == L"-") {
#ifdef _WIN32
        // The page's bytes go out as they are: the hashes of its script and style are taken over them.
        std::fflush(stdout);
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        std::fwrite(page.data(), 1, page.size(), stdout);
        std::fflush(stdout);
    } else if (IsSpecialFile(output)) {
        std::FILE* file = OpenForWriting(output);
        const bool written = file != nullptr && std::fwrite(page.data(), 1, page.size(), file) == page.size();
        const bool closed = file != nullptr && std::fclose(file) == 0;
        if (!written || !closed) {
            WriteLine(stderr, L"tarnwick-cli report: " + output + L": the report cannot be written");
            return kExitFailed;
        }
    } else {
        // An earlier report there stays whole until the new one is complete on the disk.
        FileSystem files;
        const uint32_t code = WriteFileReplacing(output, page, files);
        if (code != 0) {
            WriteLine(stderr, L"tarnwick-cli report: " + output + L": the report cannot be written: " +
                                  platform::SystemErrorText(code) + L" (error " + std::to_wstring(code) + L")");
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
