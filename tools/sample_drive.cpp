// tarnwick-sample-drive: writes a realistic media drive for demonstrations, tests and benchmarks.
//
//   OUT/OMFI MediaFiles              OMF, WAVE and AIFF media of three projects (one shared), little-endian
//   OUT/OMFI MediaFiles/Archive      an older big-endian database; a project with an accented name
//   OUT/Avid MediaFiles/MXF/1        MXF and WAVE media; the shared project again
//   OUT/Avid MediaFiles/MXF/2        MXF media of one project
//   OUT/Avid Projects/...            two bins that reference media of several databases
//
// Every database folder holds files its index does not name, index entries whose files are missing and a
// subfolder. The index path of each database is printed on stdout, one per line.
#include "fixtures/media_folder_writer.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using tw::fixtures::MediaFile;
using tw::fixtures::MediaFolder;
using tw::fixtures::SampleMediaOptions;

struct Database {
    const wchar_t* folder;
    unsigned share; // percent of the entries
    bool bigEndian;
    SampleMediaOptions options;
};

std::vector<Database> Databases(size_t maxPayload) {
    std::vector<Database> databases = {
        {L"OMFI MediaFiles", 35, false, {}},
        {L"OMFI MediaFiles/Archive", 15, true, {}},
        {L"Avid MediaFiles/MXF/1", 35, false, {}},
        {L"Avid MediaFiles/MXF/2", 15, false, {}},
    };
    databases[0].options.projects = {"Harbour Lights", "Night Shift", "Promo 2026"};
    databases[0].options.extensions = {"omf", "omf", "omf", "OMF", "wav", "aif"};
    databases[1].options.projects = {"Caf\xE9 Noir", "Archive Reel"};
    databases[1].options.extensions = {"omf", "omf", "aif"};
    databases[2].options.projects = {"Promo 2026", "Documentary", "Episode 104"};
    databases[2].options.extensions = {"mxf", "mxf", "mxf", "MXF", "wav"};
    databases[3].options.projects = {"Trailer Cut"};
    databases[3].options.extensions = {"mxf"};
    for (size_t i = 0; i < databases.size(); ++i) {
        databases[i].options.maxPayload = maxPayload;
        databases[i].options.unreferencedPercent = 4;
        databases[i].options.missingPercent = 3;
        databases[i].options.idSeries = static_cast<uint32_t>(i);
    }
    return databases;
}

std::wstring Native(const std::wstring& root, const std::wstring& relative) {
    std::wstring path = root;
    size_t start = 0;
    while (start <= relative.size()) {
        const size_t slash = relative.find(L'/', start);
        path = tw::platform::JoinPath(path, relative.substr(start, slash - start));
        if (slash == std::wstring::npos) {
            break;
        }
        start = slash + 1;
    }
    return path;
}

// Every folder holds at least one file of each kind of trouble, whatever the entry count.
void MakeSureOfTrouble(std::vector<MediaFile>& files) {
    bool unreferenced = false;
    bool missing = false;
    for (const MediaFile& f : files) {
        unreferenced = unreferenced || !f.indexed;
        missing = missing || !f.onDisk;
    }
    if (!unreferenced && !files.empty()) {
        files.front().indexed = false;
        files.front().described = false;
    }
    if (!missing && files.size() > 1) {
        files.back().onDisk = false;
    }
}

// fileMobIds of the indexed files of one project, every step-th one.
std::vector<uint64_t> Pick(const std::vector<MediaFile>& files, const std::string& project, size_t step) {
    std::vector<uint64_t> ids;
    size_t n = 0;
    for (const MediaFile& f : files) {
        if (f.indexed && f.project == project && n++ % step == 0) {
            ids.push_back(f.media.fileMobId);
        }
    }
    return ids;
}

int Run(const std::vector<std::wstring>& args) {
    std::wstring out;
    size_t entries = 240;
    uint32_t seed = 1;
    size_t payload = 16384;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        if (a == L"--entries" && i + 1 < args.size()) {
            entries = std::wcstoul(args[++i].c_str(), nullptr, 10);
        } else if (a == L"--seed" && i + 1 < args.size()) {
            seed = static_cast<uint32_t>(std::wcstoul(args[++i].c_str(), nullptr, 10));
        } else if (a == L"--payload" && i + 1 < args.size()) {
            payload = std::wcstoul(args[++i].c_str(), nullptr, 10);
        } else if (!a.empty() && a[0] != L'-' && out.empty()) {
            out = a;
        } else {
            out.clear();
            break;
        }
    }
    if (out.empty()) {
        std::fputs("usage: tarnwick-sample-drive OUT [--entries N] [--seed N] [--payload MAX_BYTES]\n", stderr);
        return 1;
    }

    bool ok = true;
    std::vector<std::vector<MediaFile>> written;
    for (const Database& db : Databases(payload)) {
        MediaFolder folder;
        folder.bigEndian = db.bigEndian;
        folder.files = tw::fixtures::MakeSampleMedia(entries * db.share / 100, seed + db.options.idSeries, db.options);
        MakeSureOfTrouble(folder.files);
        folder.subfolders = {"Creating"};
        const std::wstring path = Native(out, db.folder);
        if (!tw::fixtures::WriteMediaFolder(path, folder)) {
            std::fprintf(stderr, "tarnwick-sample-drive: cannot write %s\n", tw::platform::WideToUtf8(path).c_str());
            ok = false;
        }
        std::printf("%s\n", tw::platform::WideToUtf8(tw::platform::JoinPath(path, L"msmFMID.pmr")).c_str());
        written.push_back(std::move(folder.files));
    }

    // Two bins, each referencing media of two databases.
    struct Bin {
        const wchar_t* path;
        std::vector<uint64_t> ids;
    };
    std::vector<Bin> bins = {{L"Avid Projects/Promo 2026/Promo Cut.avb", Pick(written[0], "Promo 2026", 3)},
                             {L"Avid Projects/Archive Reel/Archive Selects.avb", Pick(written[1], "Archive Reel", 2)}};
    const std::vector<uint64_t> mxf = Pick(written[2], "Promo 2026", 4);
    bins[0].ids.insert(bins[0].ids.end(), mxf.begin(), mxf.end());
    const std::vector<uint64_t> docs = Pick(written[2], "Documentary", 5);
    bins[1].ids.insert(bins[1].ids.end(), docs.begin(), docs.end());
    for (const Bin& bin : bins) {
        const std::wstring path = Native(out, bin.path);
        ok = tw::fixtures::MakeFolders(tw::platform::RemoveFileSpec(path)) && ok;
        ok = tw::fixtures::WriteFile(path, tw::fixtures::BuildBin(bin.ids)) && ok;
    }
    if (!ok) {
        std::fputs("tarnwick-sample-drive: some files could not be written\n", stderr);
        return 2;
    }
    return 0;
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv) {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(tw::platform::Utf8ToWide(argv[i]));
    }
    return Run(args);
}
#endif
