#include "catalog/media_file_info.h"

#include "fixtures/bento_writer.h"
#include "fixtures/file_io.h"
#include "fixtures/recording_progress.h"
#include "fixtures/scripted_prompts.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tw {
namespace {

using fixtures::MediaDescription;

const std::wstring kSep(1, platform::kPathSeparator);

// A plain list of records standing in for the file list; records may be null.
class ListedRecords : public SelectableRows {
public:
    explicit ListedRecords(std::vector<MediaRecord*> records) : records(std::move(records)) {}
    [[nodiscard]] size_t RowCount() const override { return records.size(); }
    [[nodiscard]] MediaRecord* RecordOfRow(size_t row) const override { return records.at(row); }
    void RefreshRow(size_t row, const MediaRecord&) override { events.push_back(L"refresh " + std::to_wstring(row)); }
    void SelectRow(size_t row) override { events.push_back(L"select " + std::to_wstring(row)); }

    std::vector<MediaRecord*> records;
    std::vector<std::wstring> events;
};

class MediaFileInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            fixtures::WriteFile(dir / L"dissolve.omf", fixtures::BuildOmfFile(kPrecompute, std::string("Promo"), 100)));
        ASSERT_TRUE(fixtures::WriteFile(dir / L"wide.omf", fixtures::BuildOmfFile(kSource, std::nullopt, 100)));
        ASSERT_TRUE(fixtures::WriteFile(dir / L"sound.wav", std::string("RIFF....WAVEfmt ")));
    }

    MediaRecord Record(const std::wstring& name, int32_t kind, bool missing = false) const {
        MediaRecord r;
        r.SetPath(dir.Path() + kSep);
        r.SetFileName(name);
        r.mediaKind = kind;
        if (missing) {
            r.attributes = kMissingAttributes;
        }
        return r;
    }

    const MediaDescription kPrecompute{0x0101010100000011ull, 0x060A2B3400000011ull, "Dissolve 3", 1, 0x4C};
    const MediaDescription kSource{0x0101010100000022ull, 0x060A2B3400000022ull, "Wide Shot 4", 7, 0x8E};
    fixtures::ScratchDir dir{L"tw-media-info"};
    BentoContainer container;
};

TEST_F(MediaFileInfoTest, OwnFileFillsTheRecordAndStaysOpen) {
    MediaRecord r = Record(L"dissolve.omf", 0);
    ASSERT_TRUE(ReadOwnMediaInfo(container, r));
    EXPECT_EQ(r.mediaKind, 1);
    EXPECT_EQ(r.nameInBin, L"Dissolve 3");
    EXPECT_EQ(r.compUid, kPrecompute.compUid);
    EXPECT_EQ(r.fileMobId, kPrecompute.fileMobId);
    EXPECT_EQ(r.compressionName, L"2:1");
    EXPECT_TRUE(container.IsOpen()); // for Media Info
}

TEST_F(MediaFileInfoTest, RecordsWithoutAReadableFileStayAsTheyWere) {
    struct Case {
        const wchar_t* what;
        std::optional<std::wstring> path;
        std::optional<std::wstring> name;
    };
    const std::vector<Case> cases = {
        {L"not a container", dir.Path(), L"sound.wav"},
        {L"no such file", dir.Path(), L"gone.omf"},
        {L"no folder", std::nullopt, L"dissolve.omf"},
        {L"no name", dir.Path(), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(c.what));
        MediaRecord r;
        r.SetPath(c.path);
        r.SetFileName(c.name);
        EXPECT_FALSE(ReadOwnMediaInfo(container, r));
        EXPECT_FALSE(r.nameInBin.has_value());
        EXPECT_EQ(r.mediaKind, 0);
        EXPECT_EQ(r.compUid, 0u);
    }
}

TEST_F(MediaFileInfoTest, TheFullPathIsBuiltIn1024Characters) {
    // The same file reached through a folder padded with "." components: readable while path, separator and
    // terminator fit into 1,024 characters, refused beyond.
    const std::wstring name = L"dissolve.omf";
    for (const size_t needed : {kMediaFilePathCapacity - 1, kMediaFilePathCapacity, kMediaFilePathCapacity + 1}) {
        std::wstring folder = dir.Path();
        while (folder.size() + name.size() + 2 + 2 <= needed) {
            folder += kSep + L".";
        }
        if (folder.size() + name.size() + 2 < needed) {
            folder += kSep;
        }
        ASSERT_EQ(folder.size() + name.size() + 2, needed);
        MediaRecord r;
        r.SetPath(folder);
        r.SetFileName(name);
        EXPECT_EQ(ReadOwnMediaInfo(container, r), needed <= kMediaFilePathCapacity) << needed;
        EXPECT_EQ(r.mediaKind, needed <= kMediaFilePathCapacity ? 1 : 0) << needed;
    }
}

TEST_F(MediaFileInfoTest, ASoleSelectionReadsFilesThatAreThere) {
    struct Case {
        size_t selectedRows;
        bool missing;
        bool read;
    };
    for (const Case c : {Case{1, false, true}, Case{2, false, false}, Case{1, true, false}}) {
        MediaRecord r = Record(L"wide.omf", 0, c.missing);
        EXPECT_EQ(ReadOnSoleSelection(container, r, c.selectedRows), c.read) << c.selectedRows << c.missing;
        EXPECT_EQ(r.mediaKind, c.read ? 7 : 0);
    }
}

TEST_F(MediaFileInfoTest, PrecomputesJoinTheSelectionAfterUnknownKindsAreRead) {
    MediaRecord unknownPrecompute = Record(L"dissolve.omf", 0);
    MediaRecord unknownSource = Record(L"wide.omf", 0);
    MediaRecord knownPrecompute = Record(L"sound.wav", 1);
    MediaRecord missing = Record(L"dissolve.omf", 0, true);
    MediaRecord unreadable = Record(L"sound.wav", 0);
    MediaRecord knownSource = Record(L"dissolve.omf", 7); // a known kind is not read again
    ListedRecords rows(
        {&unknownPrecompute, &unknownSource, &knownPrecompute, &missing, nullptr, &unreadable, &knownSource});
    fixtures::RecordingProgress progress;
    fixtures::ScriptedPrompts prompts;
    EXPECT_TRUE(AddPrecomputesToSelection(rows, &container, &progress, &prompts));
    EXPECT_EQ(rows.events, (std::vector<std::wstring>{L"select 2", L"refresh 1", L"refresh 0", L"select 0"}));
    EXPECT_EQ(unknownPrecompute.mediaKind, 1);
    EXPECT_EQ(unknownSource.mediaKind, 7);
    EXPECT_EQ(missing.mediaKind, 0);
    EXPECT_EQ(unreadable.mediaKind, 0);
    EXPECT_EQ(knownSource.mediaKind, 7);
    ASSERT_EQ(progress.calls.size(), 7u);
    for (size_t k = 1; k <= 7; ++k) {
        EXPECT_EQ(progress.calls[k - 1], std::make_pair(uint64_t{k}, uint64_t{7}));
    }
}

TEST_F(MediaFileInfoTest, TheCancelPromptStopsTheWalk) {
    MediaRecord unknownPrecompute = Record(L"dissolve.omf", 0);
    MediaRecord knownPrecompute = Record(L"wide.omf", 1);
    MediaRecord other = Record(L"wide.omf", 7);
    ListedRecords rows({&unknownPrecompute, &knownPrecompute, &other});
    fixtures::RecordingProgress progress;
    fixtures::ScriptedPrompts prompts;
    prompts.cancelPolls = {false, false, true};
    EXPECT_FALSE(AddPrecomputesToSelection(rows, &container, &progress, &prompts));
    EXPECT_EQ(rows.events, (std::vector<std::wstring>{L"select 1"}));
    EXPECT_EQ(unknownPrecompute.mediaKind, 0); // never reached
    EXPECT_EQ(progress.calls.size(), 2u);
}

TEST_F(MediaFileInfoTest, WithoutAContainerOnlyKnownPrecomputesAreSelected) {
    MediaRecord unknownPrecompute = Record(L"dissolve.omf", 0);
    MediaRecord knownPrecompute = Record(L"wide.omf", 1);
    ListedRecords rows({&unknownPrecompute, &knownPrecompute});
    EXPECT_TRUE(AddPrecomputesToSelection(rows, nullptr, nullptr, nullptr));
    EXPECT_EQ(rows.events, (std::vector<std::wstring>{L"select 1"}));
    EXPECT_EQ(unknownPrecompute.mediaKind, 0);

    ListedRecords empty({});
    EXPECT_TRUE(AddPrecomputesToSelection(empty, &container, nullptr, nullptr));
    EXPECT_TRUE(empty.events.empty());
}

} // namespace
} // namespace tw
