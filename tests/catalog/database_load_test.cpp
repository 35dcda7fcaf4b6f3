#include "catalog/media_catalog.h"

#include "fixtures/media_folder_writer.h"
#include "fixtures/pmr_writer.h"
#include "fixtures/recording_progress.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tw {
namespace {

using fixtures::MediaFile;
using fixtures::MediaFolder;

const std::wstring kOpening = L"------------<OPENING FILE>----------------";
const std::wstring kOk = L"------------------<OK!>-------------------";
const std::wstring kUnreferenced = L"**UNREFERENCED FILES";

MediaFile File(const std::string& name, const std::string& project, uint64_t id,
               std::optional<std::string> nameInBin = std::nullopt, std::optional<int32_t> kind = std::nullopt,
               std::optional<uint32_t> code = std::nullopt) {
    MediaFile f;
    f.name = name;
    f.project = project;
    f.media = {0x0101010100000000ull | id, 0x060A2B3400000000ull | id, std::move(nameInBin), kind, code};
    f.payload = 100 * id;
    return f;
}

MediaFile Unreferenced(const std::string& name) {
    MediaFile f = File(name, "", 0);
    f.indexed = false;
    f.described = false;
    f.payload = 10;
    return f;
}

// Harbour: an OMF and a WAVE file; Night Shift: an MXF precompute and an OMF file that is missing; a file
// whose index name differs from the disk name in letter case; two files the index does not name; a subfolder.
MediaFolder SampleFolder() {
    MediaFolder folder;
    folder.files = {
        File("Interview 01.omf", "Harbour", 1, "Interview 01", 7, 0x4C),
        File("Music.wav", "Harbour", 2, "Music", 7),
        File("Broll.mxf", "Night Shift", 3, "Broll Precomp", 1, 0x8E),
        File("Gone.omf", "Night Shift", 4, "Gone"),
        File("Clip.omf", "Night Shift", 5, "Clip"),
        Unreferenced("Extra.aif"),
        Unreferenced("notes.txt"),
        Unreferenced("clip.omf"),
    };
    folder.files[3].onDisk = false;
    folder.files[4].onDisk = false;
    folder.subfolders = {"Sub.omf"};
    return folder;
}

using RecordKey = std::pair<std::wstring, std::wstring>; // project, file name

std::map<RecordKey, const MediaRecord*> Records(MediaCatalog& catalog) {
    std::map<RecordKey, const MediaRecord*> records;
    for (uint32_t i = 0; i < catalog.IndexedRecordCount(); ++i) {
        const MediaRecord* r = catalog.RecordAt(i);
        records[{r->projectName.value_or(L""), r->fileName.value_or(L"")}] = r;
    }
    return records;
}

class DatabaseLoadTest : public ::testing::Test {
protected:
    std::wstring Write(const std::wstring& name, const MediaFolder& spec) {
        const std::wstring folder = dir / name;
        EXPECT_TRUE(fixtures::WriteMediaFolder(folder, spec));
        return folder;
    }

    fixtures::ScratchDir dir{L"tw-load"};
    LineConsole console;
    MediaCatalog catalog{&console};
};

TEST_F(DatabaseLoadTest, LoadsIndexedFilesWithTheirDatabaseFieldsThenUnreferencedFiles) {
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        MediaFolder spec = SampleFolder();
        spec.bigEndian = bigEndian;
        const std::wstring folder = Write(bigEndian ? L"be" : L"le", spec);
        const std::wstring index = platform::JoinPath(folder, L"msmFMID.pmr");
        BentoContainer shared;
        catalog.SetContainer(&shared);
        catalog.Clear();
        console.lines.clear();
        fixtures::RecordingProgress progress;

        ASSERT_EQ(catalog.LoadDatabase(index, false, &progress), 1);
        EXPECT_EQ(console.lines,
                  (std::vector<std::wstring>{kOpening, index, L"Harbour", L"Night Shift", kUnreferenced, kOk}));
        EXPECT_EQ(progress.captions, (std::vector<std::wstring>{L"Opening MOB Database...", L"Indexing Files...",
                                                                folder, L"Creating Media Index..."}));
        ASSERT_EQ(progress.calls.size(), 5u); // one per index entry
        for (const auto& [done, total] : progress.calls) {
            EXPECT_LE(done, total);
        }
        EXPECT_FALSE(shared.IsOpen());
        EXPECT_TRUE(catalog.diskFiles.empty());

        struct Expected {
            RecordKey key;
            uint64_t size;
            std::optional<std::wstring> nameInBin;
            int32_t kind;
            std::optional<std::wstring> compression;
            uint64_t compUid;
        };
        const std::vector<Expected> expected = {
            {{L"Harbour", L"Interview 01.omf"}, 0, L"Interview 01", 7, L"2:1", 0x0101010100000001ull},
            {{L"Harbour", L"Music.wav"}, 44 + 200, L"Music", 7, std::nullopt, 0x0101010100000002ull},
            {{L"Night Shift", L"Broll.mxf"}, 20 + 0x58 + 300, L"Broll Precomp", 1, L"dv50", 0x0101010100000003ull},
            {{kUnreferenced, L"Extra.aif"}, 54 + 10, std::nullopt, 0, std::nullopt, 0},
            {{kUnreferenced, L"notes.txt"}, 10, std::nullopt, 0, std::nullopt, 0},
            {{kUnreferenced, L"clip.omf"}, 0, std::nullopt, 0, std::nullopt, 0},
        };
        const auto records = Records(catalog);
        ASSERT_EQ(records.size(), expected.size());
        EXPECT_EQ(catalog.RecordCount(), static_cast<int32_t>(expected.size()));
        EXPECT_EQ(catalog.ProjectCount(), 3u);
        uint64_t total = 0;
        for (const Expected& e : expected) {
            SCOPED_TRACE(e.key.second);
            ASSERT_EQ(records.count(e.key), 1u);
            const MediaRecord& r = *records.at(e.key);
            if (e.size != 0) {
                EXPECT_EQ(r.size, e.size);
            }
            total += r.size;
            EXPECT_EQ(r.path, folder);
            EXPECT_FALSE(r.IsMissing());
            EXPECT_NE(r.creationTime, 0u);
            EXPECT_EQ(r.nameInBin, e.nameInBin);
            EXPECT_EQ(r.mediaKind, e.kind);
            EXPECT_EQ(r.compressionName, e.compression);
            EXPECT_EQ(r.compUid, e.compUid);
        }
        EXPECT_EQ(catalog.TotalSize(), total);
        // The records of a load hold one copy of their folder, and those of a project one of its name.
        for (const auto& [key, r] : records) {
            EXPECT_TRUE(r->path.SharesWith(records.begin()->second->path));
            EXPECT_TRUE(r->projectName.SharesWith(catalog.ProjectAt(static_cast<uint32_t>(r->projectId))->sharedName));
        }
    }
}

TEST_F(DatabaseLoadTest, IncludeMissingKeepsEntriesWhoseFilesAreNotInTheFolder) {
    const std::wstring folder = Write(L"db", SampleFolder());
    ASSERT_EQ(catalog.LoadDatabase(platform::JoinPath(folder, L"msmFMID.pmr"), true, nullptr), 1);
    const auto records = Records(catalog);
    EXPECT_EQ(records.size(), 8u);
    // The index names Clip.omf, the folder holds clip.omf: names match exactly, so the entry is missing and
    // the file unreferenced.
    for (const wchar_t* name : {L"Gone.omf", L"Clip.omf"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(records.count({L"Night Shift", name}), 1u);
        const MediaRecord& r = *records.at({L"Night Shift", name});
        EXPECT_TRUE(r.IsMissing());
        EXPECT_EQ(r.size, 0u);
        EXPECT_EQ(r.creationTime, 0u);
        EXPECT_FALSE(r.path.has_value());
        EXPECT_TRUE(r.nameInBin.has_value()); // the media database still describes it
    }
    EXPECT_EQ(records.count({kUnreferenced, L"clip.omf"}), 1u);
}

TEST_F(DatabaseLoadTest, ABinLoadTakesOnlyReferencedEntriesAndNoUnreferencedFiles) {
    const std::wstring folder = Write(L"db", SampleFolder());
    const std::wstring index = platform::JoinPath(folder, L"msmFMID.pmr");
    EXPECT_EQ(catalog.LoadDatabaseForBin(index, nullptr, true, nullptr), 0);
    EXPECT_TRUE(console.lines.empty());

    const ReferencedIds ids = {{3, 0x060A2B34u}, {4, 0x060A2B34u}, {1, 0x12345678u}};
    ASSERT_EQ(catalog.LoadDatabaseForBin(index, &ids, true, nullptr), 1);
    EXPECT_EQ(console.lines, (std::vector<std::wstring>{kOpening, index, L"Night Shift", kOk}));
    const auto records = Records(catalog);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records.at({L"Night Shift", L"Broll.mxf"})->compressionName, L"dv50");
    EXPECT_TRUE(records.at({L"Night Shift", L"Gone.omf"})->IsMissing());
}

TEST_F(DatabaseLoadTest, ADatabaseThatCannotBeReadLeavesOnlyItsFieldsEmpty) {
    struct Case {
        const char* what;
        std::optional<fixtures::Bytes> database; // none: no msmMMOB.mdb at all
        std::vector<std::wstring> containerLines;
    };
    const std::vector<Case> cases = {
        {"missing", std::nullopt, {}},
        {"not a container", fixtures::Bytes(100, 0x20), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MediaFolder spec = SampleFolder();
        spec.withDatabase = false;
        const std::wstring folder = Write(platform::Utf8ToWide(c.what), spec);
        if (c.database) {
            ASSERT_TRUE(fixtures::WriteFile(platform::JoinPath(folder, L"msmMMOB.mdb"), *c.database));
        }
        catalog.Clear();
        console.lines.clear();
        const std::wstring index = platform::JoinPath(folder, L"msmFMID.pmr");
        ASSERT_EQ(catalog.LoadDatabase(index, false, nullptr), 1);
        if (!c.database) {
            // The file reader explains why the media database could not be opened.
            ASSERT_EQ(console.lines.size(), 8u);
            EXPECT_EQ(console.lines[2], L"QRB File->Open error : ");
        } else {
            EXPECT_EQ(console.lines,
                      (std::vector<std::wstring>{kOpening, index, L"Harbour", L"Night Shift", kUnreferenced, kOk}));
        }
        const auto records = Records(catalog);
        ASSERT_EQ(records.size(), 6u);
        const MediaRecord& r = *records.at({L"Harbour", L"Interview 01.omf"});
        EXPECT_FALSE(r.nameInBin.has_value());
        EXPECT_EQ(r.mediaKind, 0);
        EXPECT_EQ(r.compressionCode, 0u);
        EXPECT_NE(r.size, 0u);
    }
}

TEST_F(DatabaseLoadTest, TwoDatabasesLoadIntoOneCatalog) {
    MediaFolder first;
    first.files = {File("Shared A.omf", "Shared", 1, "A"), File("Same.omf", "Shared", 2, "First")};
    MediaFolder second;
    second.files = {File("Shared B.mxf", "Shared", 3, "B"), File("Same.omf", "Shared", 4, "Second"),
                    File("Own.omf", "Second Only", 5), Unreferenced("Shared A.omf"), Unreferenced("Loose.wav")};
    second.bigEndian = true;
    const std::wstring a = platform::JoinPath(Write(L"a", first), L"msmFMID.pmr");
    const std::wstring b = platform::JoinPath(Write(L"b", second), L"msmFMID.pmr");
    ASSERT_EQ(catalog.LoadDatabase(a, false, nullptr), 1);
    ASSERT_EQ(catalog.LoadDatabase(b, false, nullptr), 1);
    // The shared project is written once, when the first database creates it.
    EXPECT_EQ(console.lines, (std::vector<std::wstring>{kOpening, a, L"Shared", kOk, kOpening, b, L"Second Only",
                                                        kUnreferenced, kOk}));
    const auto records = Records(catalog);
    // Same.omf of the second database is dropped; Shared A.omf of the second folder is not unreferenced,
    // because a project already holds a record of that name.
    EXPECT_EQ(records.size(), 5u);
    EXPECT_EQ(records.at({L"Shared", L"Same.omf"})->nameInBin, L"First");
    EXPECT_EQ(records.at({L"Shared", L"Shared B.mxf"})->nameInBin, L"B");
    EXPECT_EQ(records.count({kUnreferenced, L"Loose.wav"}), 1u);
    EXPECT_EQ(records.count({kUnreferenced, L"Shared A.omf"}), 0u);
    EXPECT_EQ(catalog.ProjectCount(), 3u);
}

TEST_F(DatabaseLoadTest, AnIndexThatFailsToOpenChangesNothing) {
    const std::wstring folder = Write(L"db", SampleFolder());
    ASSERT_EQ(catalog.LoadDatabase(platform::JoinPath(folder, L"msmFMID.pmr"), false, nullptr), 1);
    const int32_t records = catalog.RecordCount();
    catalog.diskFiles[L"kept"] = DiskFileInfo{};
    ASSERT_TRUE(fixtures::WriteFile(dir / L"small.pmr", std::string(29, 'x')));
    struct Case {
        std::wstring path;
        std::vector<std::wstring> firstLines;
        size_t lineCount; // an open error adds the platform's text for the cause
    };
    const std::vector<Case> cases = {
        {L"", {}, 0},
        {dir / L"small.pmr", {kOpening, dir / L"small.pmr", L"PMRFile: too small"}, 3},
        {dir / L"none.pmr", {kOpening, dir / L"none.pmr", L"QRB File->Open error : "}, 4},
    };
    for (const Case& c : cases) {
        console.lines.clear();
        EXPECT_EQ(catalog.LoadDatabase(c.path, false, nullptr), 0);
        ASSERT_EQ(console.lines.size(), c.lineCount);
        EXPECT_TRUE(std::equal(c.firstLines.begin(), c.firstLines.end(), console.lines.begin()));
        EXPECT_EQ(catalog.RecordCount(), records);
        EXPECT_EQ(catalog.diskFiles.size(), 1u);
    }
}

// The load reads entries ahead of the record it works on; what the reader reports at the end of a damaged
// index still comes after the project of its last entry, as it does when entries are read one at a time.
TEST_F(DatabaseLoadTest, DamageReportedAtTheEndComesAfterTheLastEntrysProject) {
    const std::wstring folder = Write(L"db", SampleFolder());
    const std::wstring index = platform::JoinPath(folder, L"msmFMID.pmr");
    ASSERT_TRUE(fixtures::PmrWriter()
                    .Entry({1, 2, "Interview 01.omf", "Harbour", 0})
                    .Raw(fixtures::Bytes(37, 0x00))
                    .Entry({3, 4, "Broll.mxf", "Night Shift", 0})
                    .Entry({5, 6, "Music.wav", "Late Project", 0})
                    .Raw(fixtures::Bytes(37, 0x00))
                    .Save(index));
    ASSERT_EQ(catalog.LoadDatabase(index, false, nullptr), 1);
    EXPECT_EQ(console.lines, (std::vector<std::wstring>{kOpening, index, L"Harbour", L"Night Shift", L"Late Project",
                                                        L"PMR File::Bad data detected, please rebuild your databases",
                                                        kUnreferenced, kOk}));
    EXPECT_EQ(Records(catalog).count({L"Late Project", L"Music.wav"}), 1u);
}

TEST_F(DatabaseLoadTest, AnIndexWithoutValidEntriesStillListsTheFolder) {
    const std::wstring folder = Write(L"db", SampleFolder());
    // An index that opens but whose only entry names no media file.
    ASSERT_TRUE(fixtures::PmrWriter()
                    .Entry({1, 2, "notes.txt", "Harbour", 0})
                    .Save(platform::JoinPath(folder, L"msmFMID.pmr")));
    fixtures::RecordingProgress progress;
    ASSERT_EQ(catalog.LoadDatabase(platform::JoinPath(folder, L"msmFMID.pmr"), false, &progress), 1);
    EXPECT_EQ(progress.captions.back(), L"Creating Media Index...");
    EXPECT_EQ(console.lines.back(), kOk);
    const auto records = Records(catalog);
    EXPECT_EQ(records.size(), 6u); // every file on disk; not the subfolder, not the two database files
    for (const auto& [key, record] : records) {
        EXPECT_EQ(key.first, kUnreferenced);
        EXPECT_EQ(record->compUid, 0u);
    }
}

} // namespace
} // namespace tw
