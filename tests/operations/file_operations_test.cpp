// The runs of copy, move, delete, store and the media read: what they ask, write, show and leave selected.
#include "fixtures/bento_writer.h"
#include "operation_scene.h"
#include "operations/target_names.h"

#include <gtest/gtest.h>

#include <utility>

namespace tw::testing_ops {
namespace {

using Question = fixtures::ScriptedPrompts::Question;
using Lines = std::vector<std::wstring>;

constexpr auto kEqual = L"::Skipping File  because Source and Target filenames are equal";

std::vector<Question> Confirmations(const fixtures::ScriptedPrompts& prompts) {
    std::vector<Question> questions;
    for (const Question& q : prompts.asked) {
        if (q.kind != L"ChooseFolder") {
            questions.push_back(q);
        }
    }
    return questions;
}

TEST(FileOperationsTest, CopyWithYesToAllOverwritesTheOneConflictAndEndsEveryItemDeselected) {
    Scene scene;
    const MediaRecord& a = scene.AddFile(L"a.omf", 5000);
    const MediaRecord& b = scene.AddFile(L"b.omf", 7000);
    const MediaRecord& c = scene.AddFile(L"c.wav", 9000);
    ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"b.omf"), std::string("older take")));
    scene.prompts.confirmAnswers = {ConfirmAnswer::YesToAll};
    scene.Operations().CopyFiles();

    EXPECT_EQ(scene.console.lines,
              (Lines{L"Copying files to:", scene.dst, scene.Source(L"a.omf"), scene.Source(L"b.omf"),
                     L"QRB::Copy::Overwriting", scene.Source(L"c.wav"), L"QRB::Copy::Ok"}));
    EXPECT_EQ(Confirmations(scene.prompts),
              (std::vector<Question>{{L"AskOverwrite", scene.Source(L"b.omf"), scene.Target(L"b.omf")}}));
    EXPECT_TRUE(scene.Selected().empty());
    EXPECT_TRUE(scene.Missing().empty());
    for (const auto& row : scene.selection.rows) {
        EXPECT_EQ(row.refreshed, 1);
    }
    for (const auto& [name, bytes] : scene.content) {
        EXPECT_EQ(ReadBytes(scene.Target(name)), bytes);
        EXPECT_EQ(ReadBytes(scene.Source(name)), bytes);
    }
    // The progress of the run: its caption, the file bar with each source, the bytes done of the total.
    const fixtures::RecordingProgress& progress = *scene.host.progress;
    EXPECT_EQ(progress.captions, Lines{L"Copying files...."});
    EXPECT_EQ(progress.fileBars, 1);
    EXPECT_EQ(progress.fileTexts, (Lines{scene.Source(L"a.omf"), scene.Source(L"b.omf"), scene.Source(L"c.wav")}));
    const uint64_t total = a.size + b.size + c.size;
    EXPECT_EQ(progress.calls,
              (std::vector<std::pair<uint64_t, uint64_t>>{{a.size, total}, {a.size + b.size, total}, {total, total}}));
    ASSERT_FALSE(progress.fileCalls.empty());
    EXPECT_EQ(progress.fileCalls.back(), std::make_pair(c.size, c.size));
    EXPECT_EQ(scene.host.entered, 1);
    EXPECT_EQ(scene.host.left, 1);
    EXPECT_EQ(scene.host.opened, 1);
    EXPECT_EQ(scene.host.closed, 1);
    EXPECT_EQ(scene.host.dispatched, 3);
}

TEST(FileOperationsTest, ConflictAnswersForTheRestOfARunHoldOnlyForThatRun) {
    struct Case {
        const char* what;
        std::vector<ConfirmAnswer> answers;
        size_t questions; // asked in the first run, for the conflicts at b and d
        bool overwroteB;
        bool overwroteD;
    };
    const Case cases[] = {
        {"Skip All skips every further conflict", {ConfirmAnswer::SkipAll}, 1, false, false},
        {"Yes to All overwrites every further conflict", {ConfirmAnswer::YesToAll}, 1, true, true},
        {"Yes asks again", {ConfirmAnswer::Yes, ConfirmAnswer::Skip}, 2, true, false},
        {"Skip asks again", {ConfirmAnswer::Skip, ConfirmAnswer::Yes}, 2, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene scene;
        for (const wchar_t* name : {L"a.omf", L"b.omf", L"c.omf", L"d.omf"}) {
            scene.AddFile(name, 3000);
        }
        ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"b.omf"), std::string("older b")));
        ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"d.omf"), std::string("older d")));
        scene.prompts.confirmAnswers.assign(c.answers.begin(), c.answers.end());
        scene.Operations().CopyFiles();
        EXPECT_EQ(Confirmations(scene.prompts).size(), c.questions);
        EXPECT_EQ(scene.console.lines[4], c.overwroteB ? L"QRB::Copy::Overwriting" : L"QRB::Copy::Skipping");
        EXPECT_EQ(scene.console.lines[7], c.overwroteD ? L"QRB::Copy::Overwriting" : L"QRB::Copy::Skipping");
        EXPECT_EQ(ReadBytes(scene.Target(L"b.omf")) == scene.content[L"b.omf"], c.overwroteB);
        EXPECT_EQ(ReadBytes(scene.Target(L"d.omf")) == scene.content[L"d.omf"], c.overwroteD);
        EXPECT_TRUE(scene.Selected().empty());

        // The next run starts without a remembered answer.
        for (auto& row : scene.selection.rows) {
            row.selected = true;
        }
        scene.prompts.asked.clear();
        scene.prompts.folders = {scene.dst};
        scene.prompts.confirmAnswers = {ConfirmAnswer::Skip, ConfirmAnswer::Skip, ConfirmAnswer::Skip,
                                        ConfirmAnswer::Skip};
        scene.Operations().CopyFiles();
        EXPECT_EQ(Confirmations(scene.prompts).size(), 4u); // every file is at the target now
    }
}

TEST(FileOperationsTest, CancelInTheOverwriteQuestionEndsTheRunWithItsClosingLine) {
    Scene scene;
    scene.AddFile(L"a.omf", 100);
    scene.AddFile(L"b.omf", 100);
    scene.AddFile(L"c.omf", 100);
    ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"b.omf"), std::string("older take")));
    scene.prompts.confirmAnswers = {ConfirmAnswer::Cancel};
    scene.Operations().MoveFiles();
    EXPECT_EQ(scene.console.lines, (Lines{L"Moving files to:", scene.dst, scene.Source(L"a.omf"),
                                          scene.Source(L"b.omf"), L"QRB::Move::Ok"}));
    EXPECT_EQ(scene.Selected(), (Lines{L"b.omf", L"c.omf"}));
    EXPECT_EQ(scene.Missing(), Lines{L"a.omf"});
    EXPECT_EQ(ReadBytes(scene.Target(L"b.omf")), "older take");
    EXPECT_EQ(scene.host.entered, scene.host.left);
}

TEST(FileOperationsTest, CopyIntoTheFilesOwnFolderSkipsEveryFileWhateverTheLetterCase) {
    Scene scene;
    scene.AddFile(L"a.omf", 100);
    scene.AddFile(L"b.omf", 100);
    std::wstring sameFolder = scene.src;
    sameFolder.replace(sameFolder.size() - 3, 3, L"SRC");
    scene.prompts.folders = {sameFolder};
    scene.prompts.confirmAnswers = {ConfirmAnswer::YesToAll};
    scene.Operations().CopyFiles();
    EXPECT_EQ(scene.console.lines,
              (Lines{L"Copying files to:", sameFolder, scene.Source(L"a.omf"), std::wstring(L"QRB::Copy") + kEqual,
                     scene.Source(L"b.omf"), std::wstring(L"QRB::Copy") + kEqual, L"QRB::Copy::Ok"}));
    EXPECT_TRUE(Confirmations(scene.prompts).empty());
    EXPECT_TRUE(scene.files.copies.empty());
    EXPECT_TRUE(scene.Selected().empty());
    EXPECT_EQ(ReadBytes(scene.Source(L"a.omf")), scene.content[L"a.omf"]);
}

TEST(FileOperationsTest, MoveWithinAVolumeRenamesAndMarksTheRecordsMissing) {
    Scene scene;
    scene.AddFile(L"a.omf", 4000);
    scene.AddFile(L"b.omf", 4000);
    scene.Operations().MoveFiles();
    EXPECT_EQ(scene.console.lines, (Lines{L"Moving files to:", scene.dst, scene.Source(L"a.omf"),
                                          scene.Source(L"b.omf"), L"QRB::Move::Ok"}));
    EXPECT_TRUE(scene.files.copies.empty()); // renamed, not copied
    EXPECT_EQ(scene.Missing(), (Lines{L"a.omf", L"b.omf"}));
    EXPECT_EQ(*scene.records[0]->path, scene.src + Sep()); // the record keeps its old folder
    for (const auto& [name, bytes] : scene.content) {
        EXPECT_EQ(ReadBytes(scene.Target(name)), bytes);
        EXPECT_FALSE(platform::PathExists(scene.Source(name)));
    }
    EXPECT_EQ(scene.host.progress->captions, Lines{L"Moving files...."});
}

TEST(FileOperationsTest, MoveToAnotherVolumeFlushesTheCopyBeforeItDeletesTheSource) {
    Scene scene;
    scene.AddFile(L"a.omf", 300000);
    scene.files.otherVolume = true;
    scene.Operations().MoveFiles();
    EXPECT_EQ(scene.files.copies, Lines{scene.Source(L"a.omf")});
    // The copy is flushed under its partial-copy name, then renamed to its own.
    EXPECT_EQ(scene.files.flushes, Lines{scene.Target(L"a.omf") + kPartialCopyEnding});
    EXPECT_EQ(scene.files.removals, Lines{scene.Source(L"a.omf")});
    EXPECT_EQ(ReadBytes(scene.Target(L"a.omf")), scene.content[L"a.omf"]);
    EXPECT_EQ(scene.Missing(), Lines{L"a.omf"});
}

TEST(FileOperationsTest, DeleteWithSkipAllSkipsTheFileAndEndsTheRunAtTheNext) {
    Scene scene;
    scene.AddFile(L"a.omf", 100);
    scene.AddFile(L"b.omf", 100);
    scene.prompts.confirmAnswers = {ConfirmAnswer::SkipAll};
    scene.Operations().DeleteFiles();
    EXPECT_EQ(scene.console.lines,
              (Lines{L"Deleting files...", L"QRB::Delete::Skipping::" + scene.Source(L"a.omf"), L"QRB::Delete::Ok"}));
    EXPECT_EQ(Confirmations(scene.prompts).size(), 1u);
    EXPECT_EQ(scene.Selected(), Lines{L"b.omf"});
    EXPECT_TRUE(platform::PathExists(scene.Source(L"a.omf")));
    EXPECT_TRUE(platform::PathExists(scene.Source(L"b.omf")));
    EXPECT_EQ(scene.host.progress->captions, Lines{L"Deleting files...."});
    EXPECT_EQ(scene.host.progress->fileBars, 0);
}

TEST(FileOperationsTest, DeleteOfAReadOnlyFileAsksTwiceAndDeletesItOnYes) {
    Scene scene;
    scene.AddFile(L"a.omf", 100);
    scene.AddFile(L"b.omf", 100);
    ASSERT_EQ(platform::WriteAttributes(scene.Source(L"b.omf"), platform::kAttributeReadOnly), 0u);
    scene.prompts.confirmAnswers = {ConfirmAnswer::Yes, ConfirmAnswer::Yes, ConfirmAnswer::Yes};
    scene.Operations().DeleteFiles();
    EXPECT_EQ(Confirmations(scene.prompts),
              (std::vector<Question>{{L"AskDelete", scene.Source(L"a.omf"), L""},
                                     {L"AskDelete", scene.Source(L"b.omf"), L""},
                                     {L"AskDeleteReadOnly", scene.Source(L"b.omf"), L""}}));
    EXPECT_EQ(
        scene.console.lines,
        (Lines{L"Deleting files...", L"QRB::Delete::Read only file::" + scene.Source(L"b.omf"), L"QRB::Delete::Ok"}));
    EXPECT_FALSE(platform::PathExists(scene.Source(L"b.omf")));
    EXPECT_EQ(scene.Missing(), (Lines{L"a.omf", L"b.omf"}));
    EXPECT_EQ(scene.host.progress->calls, (std::vector<std::pair<uint64_t, uint64_t>>{{1, 2}, {2, 2}}));
}

TEST(FileOperationsTest, TheCancelPromptBetweenFilesEndsTheRunOnYesOnly) {
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        Scene scene;
        scene.AddFile(L"a.omf", 100);
        scene.AddFile(L"b.omf", 100);
        scene.prompts.cancelPolls = {false, yes};
        scene.Operations().CopyFiles();
        const Lines done = {L"Copying files to:", scene.dst, scene.Source(L"a.omf"), L"QRB::Copy::Ok"};
        const Lines all = {L"Copying files to:", scene.dst, scene.Source(L"a.omf"), scene.Source(L"b.omf"),
                           L"QRB::Copy::Ok"};
        EXPECT_EQ(scene.console.lines, yes ? done : all);
        EXPECT_EQ(scene.Selected(), yes ? Lines{L"b.omf"} : Lines{});
        EXPECT_EQ(scene.host.entered, scene.host.left);
    }
}

TEST(FileOperationsTest, MissingRecordsAndRowsWithoutRecordsArePassedOverSilently) {
    Scene scene;
    scene.AddFile(L"a.omf", 100).attributes = kMissingAttributes;
    scene.AddFile(L"b.omf", 200).attributes = kMissingAttributes;
    scene.selection.rows.push_back({nullptr, true, 0});
    scene.prompts.confirmAnswers = {ConfirmAnswer::Yes};
    scene.Operations().DeleteFiles();
    EXPECT_EQ(scene.console.lines, (Lines{L"Deleting files...", L"QRB::Delete::Ok"}));
    EXPECT_TRUE(Confirmations(scene.prompts).empty());
    EXPECT_TRUE(scene.Selected().empty());
    EXPECT_EQ(scene.selection.rows[2].selected, false);
    EXPECT_EQ(scene.host.progress->calls.size(), 3u);
    EXPECT_TRUE(platform::PathExists(scene.Source(L"a.omf")));

    for (auto& row : scene.selection.rows) {
        row.selected = true;
    }
    scene.console.lines.clear();
    scene.Operations().CopyFiles();
    EXPECT_EQ(scene.console.lines, (Lines{L"Copying files to:", scene.dst, L"QRB::Copy::Ok"}));
    EXPECT_TRUE(scene.files.copies.empty());
    EXPECT_EQ(scene.host.progress->calls.back(), std::make_pair(uint64_t{300}, uint64_t{300}));
}

TEST(FileOperationsTest, NoSelectionOrACancelledFolderChoiceDoesNothing) {
    Scene scene;
    scene.AddFile(L"a.omf", 100);
    scene.selection.rows[0].selected = false;
    FileOperations operations = scene.Operations();
    operations.CopyFiles();
    operations.MoveFiles();
    operations.DeleteFiles();
    EXPECT_TRUE(scene.prompts.asked.empty());

    scene.selection.rows[0].selected = true;
    scene.prompts.folders = {std::nullopt};
    operations.CopyFiles();
    EXPECT_EQ(scene.prompts.asked.size(), 1u); // the folder browser, cancelled
    EXPECT_TRUE(scene.console.lines.empty());
    EXPECT_EQ(scene.host.opened, 0);
    EXPECT_EQ(scene.host.entered, 0);
    EXPECT_EQ(scene.Selected(), Lines{L"a.omf"});
}

TEST(FileOperationsTest, StoreByProjectMovesIntoProjectFoldersMadeAsNeeded) {
    Scene scene;
    scene.AddFile(L"a1.omf", 1000, L"Harbour");
    scene.AddFile(L"b.omf", 1000, L"Night Shoot");
    scene.AddFile(L"a2.omf", 1000, L"Harbour");
    scene.Operations().StoreFiles(scene.dst, true, true);
    EXPECT_EQ(scene.console.lines, (Lines{L"(Move)Storing  files to:", scene.dst, scene.Source(L"a1.omf"),
                                          scene.Source(L"b.omf"), scene.Source(L"a2.omf"), L"QRB::Store::Ok"}));
    for (const auto& record : scene.records) {
        const std::wstring target =
            platform::JoinPath(platform::JoinPath(scene.dst, record->projectName.str()), record->fileName.str());
        EXPECT_EQ(ReadBytes(target), scene.content[record->fileName.str()]);
        EXPECT_TRUE(record->IsMissing());
    }
    EXPECT_EQ(scene.host.progress->captions, Lines{L"Storing files...."});
    EXPECT_EQ(scene.host.progress->fileBars, 1);
    EXPECT_EQ(scene.host.entered, 1);
    EXPECT_EQ(scene.host.left, 1);
}

TEST(FileOperationsTest, StoreToTheFolderCopiesAndSkipAllHoldsForTheRun) {
    Scene scene;
    scene.AddFile(L"a.omf", 1000);
    scene.AddFile(L"b.omf", 1000);
    scene.AddFile(L"c.omf", 1000);
    ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"a.omf"), std::string("older a")));
    ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"c.omf"), std::string("older c")));
    scene.prompts.confirmAnswers = {ConfirmAnswer::SkipAll};
    scene.Operations().StoreFiles(scene.dst, false, false);
    EXPECT_EQ(scene.console.lines,
              (Lines{L"(Copy)Storing files to:", scene.dst, scene.Source(L"a.omf"), L"QRB::Store::Skipping",
                     scene.Source(L"b.omf"), scene.Source(L"c.omf"), L"QRB::Store::Skipping", L"QRB::Store::Ok"}));
    EXPECT_EQ(Confirmations(scene.prompts).size(), 1u);
    EXPECT_EQ(ReadBytes(scene.Target(L"b.omf")), scene.content[L"b.omf"]);
    EXPECT_TRUE(scene.Missing().empty());
    EXPECT_TRUE(scene.Selected().empty());
}

TEST(FileOperationsTest, StoreIntoAFileInsteadOfAFolderEndsAtTheFirstCopy) {
    Scene scene;
    scene.AddFile(L"a.omf", 1000);
    scene.AddFile(L"b.omf", 1000);
    const std::wstring notAFolder = scene.dir / L"notes.txt";
    ASSERT_TRUE(fixtures::WriteFile(notAFolder, std::string("notes")));
    scene.Operations().StoreFiles(notAFolder, false, false);
    ASSERT_EQ(scene.console.lines.size(), 5u);
    EXPECT_EQ(scene.console.lines[3].rfind(L"QRB::Store(CopyFileEx)) : error ", 0), 0u);
    EXPECT_EQ(scene.console.lines[4], L"QRB::Store::Ok");
    EXPECT_EQ(scene.Selected(), (Lines{L"a.omf", L"b.omf"}));
    EXPECT_EQ(ReadBytes(notAFolder), "notes");
}

TEST(FileOperationsTest, ScanMediaInfoReadsOnlyRecordsWithoutANameInBin) {
    Scene scene;
    const fixtures::MediaDescription dissolve{0x11, 0x21, std::string("Dissolve 3"), 1, 0x4C};
    const fixtures::MediaDescription wide{0x12, 0x22, std::string("Wide Shot 4"), 7, 0x8E};
    const auto omf = [](const fixtures::MediaDescription& media) {
        const fixtures::Bytes bytes = fixtures::BuildOmfFile(media, std::nullopt, 64);
        return std::string(bytes.begin(), bytes.end());
    };
    MediaRecord& unknown = scene.AddBytes(L"dissolve.omf", omf(dissolve), L"Promo");
    MediaRecord& known = scene.AddBytes(L"wide.omf", omf(wide), L"Promo");
    known.SetNameInBin(std::wstring(L"Named already"));
    MediaRecord& missing = scene.AddBytes(L"gone.omf", omf(dissolve), L"Promo");
    missing.attributes = kMissingAttributes;
    scene.selection.rows.push_back({nullptr, true, 0});

    BentoContainer container;
    FileOperations({scene.selection, scene.prompts, scene.host, scene.files, &scene.console, &container})
        .ReadMediaInfo();
    EXPECT_EQ(unknown.nameInBin, std::wstring(L"Dissolve 3"));
    EXPECT_EQ(unknown.mediaKind, 1);
    EXPECT_EQ(known.nameInBin, std::wstring(L"Named already"));
    EXPECT_EQ(known.mediaKind, 0);
    EXPECT_FALSE(missing.nameInBin.has_value());
    EXPECT_FALSE(container.IsOpen());
    EXPECT_EQ(scene.selection.SelectedCount(), 4u); // nothing deselected
    EXPECT_EQ(scene.selection.rows[0].refreshed, 1);
    EXPECT_EQ(scene.selection.rows[1].refreshed, 0);
    EXPECT_TRUE(scene.console.lines.empty());
    EXPECT_EQ(scene.host.listDispatched, 4);
    EXPECT_EQ(scene.host.entered, 0);
    EXPECT_TRUE(scene.host.progress->captions.empty());
    EXPECT_EQ(scene.host.progress->calls, (std::vector<std::pair<uint64_t, uint64_t>>{{0, 4}, {1, 4}, {2, 4}, {3, 4}}));
}

} // namespace
} // namespace tw::testing_ops
