#include "catalog/media_catalog.h"
#include "catalog/omf_queries.h"
#include "fixtures/bento_writer.h"
#include "fixtures/file_io.h"
#include "fixtures/unopenable_file.h"
#include "platform/folders.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tw {
namespace {

class LooseMediaTest : public ::testing::Test {
protected:
    std::wstring Write(const std::wstring& relative, const fixtures::Bytes& bytes) {
        const std::wstring path = dir / fixtures::NativePath(relative);
        EXPECT_TRUE(fixtures::MakeFolders(platform::RemoveFileSpec(path)));
        EXPECT_TRUE(fixtures::WriteFile(path, bytes));
        return path;
    }
    static fixtures::Bytes Omf(const std::optional<std::string>& project) {
        fixtures::MediaDescription media;
        media.compUid = 0x0A0B0C0D01020304ull;
        media.fileMobId = 0x060A2B3400112233ull;
        media.nameInBin = "Harbour Take 3";
        media.mediaKind = 1;
        media.compressionCode = 142;
        return fixtures::BuildOmfFile(media, project, 300);
    }

    fixtures::ScratchDir dir;
    LineConsole console;
    MediaCatalog catalog{&console};
};

TEST_F(LooseMediaTest, EachFileBecomesARecordUnderItsProjectOrAPseudoProject) {
    struct Case {
        const char* what;
        std::wstring name;
        fixtures::Bytes bytes;
        bool mxf;
        std::wstring project;
        bool fromContainer; // identifiers and media fields read from the file
    };
    fixtures::Bytes damaged = Omf("Night Shift");
    damaged.pop_back(); // the label no longer ends the file
    const std::vector<Case> cases = {
        {"an OMF file naming its project", L"take.omf", Omf("Night Shift"), false, L"Night Shift", true},
        {"an OMF file naming none", L"other.omf", Omf(std::nullopt), false, L"**UNKNOWN**", true},
        {"a WAVE file", L"voice.wav", fixtures::Bytes(64, 'w'), false, L"**UNKNOWN**", false},
        {"a damaged OMF file", L"cut.omf", damaged, false, L"**UNKNOWN**", false},
        {"an MXF file, whatever it holds", L"video.mxf", Omf("Night Shift"), true, L"**UNKNOWN_MXF**", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        catalog.Clear();
        const std::wstring full = Write(c.name, c.bytes);
        std::wstring path = full;
        ASSERT_EQ(c.mxf ? catalog.AddLooseMxfFile(path) : catalog.AddLooseOmfFile(path), 1);
        // The caller's path is cut to its folder, trailing separator included; so is the record's.
        EXPECT_EQ(path, dir.Path() + platform::kPathSeparator);
        ASSERT_EQ(catalog.IndexedRecordCount(), 1u); // reachable at once: the index was rebuilt
        const MediaRecord& r = *catalog.RecordAt(0);
        EXPECT_EQ(r.projectName, c.project);
        EXPECT_EQ(r.fileName, c.name);
        EXPECT_EQ(r.path, dir.Path() + platform::kPathSeparator);
        EXPECT_EQ(r.size, c.bytes.size());
        EXPECT_FALSE(r.IsMissing());
        EXPECT_NE(r.creationTime, 0u);
        EXPECT_EQ(r.fileMobId, c.fromContainer ? 0x060A2B3400112233ull : 0u);
        EXPECT_EQ(r.compUid, c.fromContainer ? 0x0A0B0C0D01020304ull : 0u);
        EXPECT_EQ(r.nameInBin, c.fromContainer ? std::optional<std::wstring>(L"Harbour Take 3") : std::nullopt);
        EXPECT_EQ(r.mediaKind, c.fromContainer ? 1 : 0);
        EXPECT_EQ(r.compressionName, c.fromContainer ? std::optional<std::wstring>(L"dv50") : std::nullopt);
        std::wstring again = full;
        EXPECT_EQ(c.mxf ? catalog.AddLooseMxfFile(again) : catalog.AddLooseOmfFile(again), 1); // reached twice
        EXPECT_EQ(catalog.RecordCount(), 1); // the catalog keeps the first
    }
    EXPECT_EQ(std::count(console.lines.begin(), console.lines.end(), L"QRB File->Open error : "), 0);
}

TEST_F(LooseMediaTest, SameNamedFilesWithoutAProjectKeepOnlyTheFirst) {
    std::wstring first = Write(L"a|clip.wav", fixtures::Bytes(10, 'a'));
    std::wstring second = Write(L"b|clip.wav", fixtures::Bytes(20, 'b'));
    EXPECT_EQ(catalog.AddLooseOmfFile(first), 1);
    EXPECT_EQ(catalog.AddLooseOmfFile(second), 1);
    ASSERT_EQ(catalog.RecordCount(), 1);
    EXPECT_EQ(catalog.RecordAt(0)->size, 10u);
    EXPECT_EQ(catalog.TotalSize(), 10u);
}

TEST_F(LooseMediaTest, FoldersAndMissingPathsAreRefused) {
    ASSERT_TRUE(fixtures::MakeFolders(dir / L"folder.omf"));
    for (std::wstring path : {std::wstring(), dir / L"folder.omf", dir / L"gone.omf"}) {
        const std::wstring given = path;
        EXPECT_EQ(catalog.AddLooseOmfFile(path), 0);
        EXPECT_EQ(catalog.AddLooseMxfFile(path), 0);
        EXPECT_EQ(path, given);
    }
    EXPECT_EQ(catalog.RecordCount(), 0);
    EXPECT_EQ(catalog.ProjectCount(), 0u);
    EXPECT_TRUE(console.lines.empty());
}

// A file the folder lists but that cannot be opened (held by another program, a socket) is still added from its
// directory entry, under **UNKNOWN**; the reader's two open-error lines say why nothing more is known of it.
TEST_F(LooseMediaTest, AListedFileThatCannotBeOpenedIsAddedFromItsEntryAlone) {
    const fixtures::UnopenableFile held(dir / L"held.omf");
    ASSERT_TRUE(held.Made());
    platform::FolderEntry entry;
    ASSERT_TRUE(platform::GetEntry(dir / L"held.omf", entry));
    std::wstring path = dir / L"held.omf";
    ASSERT_EQ(catalog.AddLooseOmfFile(path), 1);
    ASSERT_EQ(catalog.IndexedRecordCount(), 1u);
    const MediaRecord& r = *catalog.RecordAt(0);
    EXPECT_EQ(r.projectName, L"**UNKNOWN**");
    EXPECT_EQ(r.fileName, L"held.omf");
    EXPECT_EQ(r.size, entry.size);
    EXPECT_EQ(r.attributes, entry.attributes);
    EXPECT_FALSE(r.IsMissing());
    EXPECT_EQ(r.fileMobId, 0u);
    // The reader's two lines, then the catalog's own for the new project.
    ASSERT_GE(console.lines.size(), 2u);
    EXPECT_EQ(console.lines[0], L"QRB File->Open error : ");
    EXPECT_FALSE(console.lines[1].empty());
    EXPECT_EQ(std::count(console.lines.begin(), console.lines.end(), L"QRB File->Open error : "), 1);
}

// The shared container is left closed by every add that reads it, whether the file opened as a container, as
// none, or not at all; an MXF add does not touch it.
TEST_F(LooseMediaTest, TheSharedContainerIsLeftClosed) {
    BentoContainer shared(&console);
    catalog.SetContainer(&shared);
    const std::wstring other = Write(L"other.omf", Omf("Night Shift"));
    const fixtures::UnopenableFile held(dir / L"held.omf");
    ASSERT_TRUE(held.Made());
    struct Case {
        const char* what;
        std::wstring path;
        bool mxf;
    };
    const Case cases[] = {
        {"an OMF file", Write(L"take.omf", Omf("Night Shift")), false},
        {"a WAVE file", Write(L"voice.wav", fixtures::Bytes(64, 'w')), false},
        {"a file that cannot be opened", dir / L"held.omf", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(shared.Open(other), 1);
        std::wstring path = c.path;
        EXPECT_EQ(catalog.AddLooseOmfFile(path), 1);
        EXPECT_FALSE(shared.IsOpen());
    }
    ASSERT_EQ(shared.Open(other), 1);
    std::wstring mxf = Write(L"video.mxf", Omf("Night Shift"));
    EXPECT_EQ(catalog.AddLooseMxfFile(mxf), 1);
    EXPECT_TRUE(shared.IsOpen());
    EXPECT_EQ(catalog.RecordCount(), 4);
}

} // namespace
} // namespace tw
