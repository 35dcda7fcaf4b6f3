#include "discovery/drop_rules.h"
#include "discovery/media_drop.h"
#include "fixtures/file_io.h"
#include "fixtures/media_folder_writer.h"
#include "fixtures/recording_progress.h"
#include "fixtures/sample_drive.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace tw {
namespace {

TEST(DropRulesTest, DroppedFilesGoByTheirLastThreeCharactersFolderFilesByTheirExtension) {
    struct Case {
        const wchar_t* name;
        DropAction dropped;
        DropAction inFolder;
    };
    const Case cases[] = {
        {L"clip.omf", DropAction::looseOmf, DropAction::looseOmf},
        {L"CLIP.OMF", DropAction::looseOmf, DropAction::looseOmf},
        {L"clip.Omf", DropAction::looseOmf, DropAction::looseOmf},
        {L"take.aif", DropAction::looseOmf, DropAction::looseOmf},
        {L"take.WAV", DropAction::looseOmf, DropAction::looseOmf},
        {L"a.mXf", DropAction::looseMxf, DropAction::looseMxf},
        {L"clipomf", DropAction::looseOmf, DropAction::ignore},
        {L"mxf", DropAction::looseMxf, DropAction::ignore},
        {L"Cut.avb", DropAction::bin, DropAction::ignore},
        {L"Cut.AVB", DropAction::bin, DropAction::ignore},
        {L"cutavb", DropAction::bin, DropAction::ignore},
        {L"clip.aiff", DropAction::ignore, DropAction::ignore},
        {L"clip.omf.bak", DropAction::ignore, DropAction::ignore},
        {L"note.txt", DropAction::ignore, DropAction::ignore},
        {L"om", DropAction::ignore, DropAction::ignore},
        {L".wav", DropAction::looseOmf, DropAction::looseOmf},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DroppedFileAction(c.name), c.dropped) << platform::WideToUtf8(c.name);
        EXPECT_EQ(FolderFileAction(fixtures::NativePath(std::wstring(L"x.d|") + c.name)), c.inFolder)
            << platform::WideToUtf8(c.name);
    }
}

class MediaDropTest : public ::testing::Test {
protected:
    std::wstring Write(const std::wstring& relative, const fixtures::Bytes& bytes) {
        const std::wstring path = dir / fixtures::NativePath(relative);
        EXPECT_TRUE(fixtures::MakeFolders(platform::RemoveFileSpec(path)));
        EXPECT_TRUE(fixtures::WriteFile(path, bytes));
        return path;
    }
    // An OMF media file naming a project, and a file that is no container.
    std::wstring Omf(const std::wstring& relative, const char* project, uint64_t fileMobId = 0x0102030405060708ull) {
        fixtures::MediaDescription media;
        media.compUid = 0x1111;
        media.fileMobId = fileMobId;
        media.nameInBin = "Take";
        media.mediaKind = 7;
        return Write(relative,
                     fixtures::BuildOmfFile(media, project ? std::optional<std::string>(project) : std::nullopt));
    }
    std::wstring Plain(const std::wstring& relative) { return Write(relative, fixtures::Bytes(100, 'x')); }

    MediaDrop Drop(std::vector<std::wstring> checked = {}) {
        MediaDrop::Services services;
        services.loadCheckedForBin = [this, checked](const ReferencedIds& ids, Progress* progress) {
            for (const std::wstring& index : checked) {
                catalog.LoadDatabaseForBin(index, &ids, true, progress);
            }
        };
        services.openProgress = [this]() -> std::unique_ptr<Progress> {
            ++progressWindows;
            return std::make_unique<fixtures::RecordingProgress>(&captions);
        };
        services.binLoaded = [this] { ++binsLoaded; };
        return MediaDrop(catalog, &console, services);
    }

    // Every record as "project/file name", with its folder.
    std::map<std::wstring, std::wstring> Records() const {
        std::map<std::wstring, std::wstring> out;
        for (uint32_t i = 0; i < catalog.IndexedRecordCount(); ++i) {
            const MediaRecord* r = catalog.RecordAt(i);
            out[r->projectName.value_or(L"") + L"/" + r->fileName.value_or(L"")] = r->path.value_or(L"-");
        }
        return out;
    }

    std::wstring Folder(const std::wstring& relative) const {
        return platform::JoinPath(dir.Path(), fixtures::NativePath(relative)) + platform::kPathSeparator;
    }

    fixtures::ScratchDir dir;
    LineConsole console;
    MediaCatalog catalog{&console};
    int progressWindows = 0;
    int binsLoaded = 0;
    std::vector<std::wstring> captions;
};

TEST_F(MediaDropTest, FoldersGiveTheirMediaFilesAtEveryDepthByExtension) {
    Omf(L"drop|a|b|clip.OMF", "Night Shift");
    Plain(L"drop|a|note.txt");
    Plain(L"drop|a|clipomf");
    Plain(L"drop|x.wav");
    Omf(L"drop|y.MXF", "Night Shift");
    Write(L"drop|Cut.avb", fixtures::BuildBin({0x0102030405060708ull}));
    Plain(L"drop|folder.omf|deep.aif");

    Drop().AddDroppedNames({dir / L"drop"});
    const std::map<std::wstring, std::wstring> expected = {
        {L"Night Shift/clip.OMF", Folder(L"drop|a|b")},
        {L"**UNKNOWN**/x.wav", Folder(L"drop")},
        {L"**UNKNOWN_MXF**/y.MXF", Folder(L"drop")},
        {L"**UNKNOWN**/deep.aif", Folder(L"drop|folder.omf")},
    };
    EXPECT_EQ(Records(), expected);
    EXPECT_EQ(progressWindows, 0); // bins in folders are not read
}

TEST_F(MediaDropTest, NamesAreTakenFromTheLastToTheFirstAndEachFileOnce) {
    const std::wstring first = Plain(L"one|same.wav");
    Plain(L"two|same.wav");
    const std::wstring direct = Plain(L"three|clipomf");
    const std::wstring omf = Omf(L"four|take.omf", "Promo");

    // The folder two comes last: its same.wav is taken first, one's is dropped by the catalog. take.omf is
    // reached directly and again through its folder.
    Drop().AddDroppedNames({first, omf, dir / L"four", dir / L"two", direct, dir / L"nothing-here.wav"});
    const std::map<std::wstring, std::wstring> expected = {
        {L"**UNKNOWN**/same.wav", Folder(L"two")},
        {L"**UNKNOWN**/clipomf", Folder(L"three")},
        {L"Promo/take.omf", Folder(L"four")},
    };
    EXPECT_EQ(Records(), expected);
    EXPECT_EQ(catalog.RecordCount(), 3);
}

TEST_F(MediaDropTest, ABinLoadsItsMediaFromTheCheckedDatabasesOnly) {
    std::vector<std::wstring> indexes;
    ASSERT_TRUE(fixtures::WriteSampleDrive(dir / L"drive", 60, 3, 0, indexes));
    const std::vector<fixtures::SampleDatabase> drive = fixtures::MakeSampleDrive(60, 3, 0);
    // Two media of the first database, one of the third (one of them missing on disk), one of the second.
    std::vector<uint64_t> ids;
    std::vector<std::wstring> expected;
    auto pick = [&](size_t db, size_t count, bool onDisk) {
        for (const fixtures::MediaFile& f : drive[db].content.files) {
            if (count > 0 && f.indexed && f.onDisk == onDisk) {
                ids.push_back(f.media.fileMobId);
                expected.push_back(fixtures::DiskName(f.name));
                --count;
            }
        }
    };
    pick(0, 2, true);
    pick(2, 1, false);
    const size_t checkedCount = expected.size();
    pick(1, 1, true);
    expected.resize(checkedCount);
    const std::wstring bin = Write(L"Cut.avb", fixtures::BuildBin(ids));
    const std::wstring wav = Plain(L"loose|extra.wav");

    MediaDrop drop = Drop({indexes[0], indexes[2]});
    drop.AddDroppedNames({bin, wav});
    std::vector<std::wstring> loaded;
    for (uint32_t i = 0; i < catalog.IndexedRecordCount(); ++i) {
        loaded.push_back(catalog.RecordAt(i)->fileName.str());
    }
    expected.push_back(L"extra.wav");
    std::sort(loaded.begin(), loaded.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(loaded, expected); // the missing file included
    EXPECT_EQ(progressWindows, 1);
    EXPECT_EQ(binsLoaded, 1);
    EXPECT_NE(std::find(captions.begin(), captions.end(), L"Creating Media Index..."), captions.end());

    // No database checked: the bin adds nothing.
    catalog.Clear();
    EXPECT_TRUE(Drop().LoadBinMedia(bin));
    EXPECT_EQ(catalog.IndexedRecordCount(), 0u);
}

TEST_F(MediaDropTest, ABinThatCannotBeOpenedAddsNothingAndTheOthersStillCount) {
    const std::wstring wav = Plain(L"extra.wav");
    MediaDrop drop = Drop();
    EXPECT_FALSE(drop.LoadBinMedia(L""));
    EXPECT_TRUE(console.lines.empty());
    drop.AddDroppedNames({wav, dir / L"gone.avb"});
    EXPECT_EQ(catalog.IndexedRecordCount(), 1u);
    ASSERT_EQ(console.lines.size(), 3u); // the project's name, then the reader's two lines
    EXPECT_EQ(console.lines[0], L"QRB File->Open error : ");
    EXPECT_EQ(console.lines[2], L"**UNKNOWN**");
    EXPECT_EQ(progressWindows, 1);
    EXPECT_EQ(binsLoaded, 0);
}

} // namespace
} // namespace tw
