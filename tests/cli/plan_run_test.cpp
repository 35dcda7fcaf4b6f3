// Plans carried out by the file operations: the rows in order, the check of each file right before it is handled,
// conflicts, Ctrl+C, failures, the delete's questions, store by project, and dry runs that change nothing.
#include "fixtures/host_system.h"
#include "operations/operation_scene.h"
#include "plan_doubles.h"

#include <gtest/gtest.h>

namespace tw::testing_cli {
namespace {

using cli::OverwriteMode;
using cli::PlanAction;
using testing_ops::ReadBytes;
using Lines = std::vector<std::wstring>;

constexpr auto kCancelQuestion = L"Do you want to cancel current task? [y/N] ";

void Append(const std::wstring& path, const std::string& more) {
    fixtures::WriteFile(path, ReadBytes(path) + more);
}

TEST(PlanRunTest, CopiesTheRowsInThePlansOrderAndPassesOverRowsWithoutAFile) {
    PlanScene scene;
    scene.Add(L"b.omf", 7000);
    scene.AddMissing(L"gone.omf");
    scene.Add(L"a.omf", 5000);
    EXPECT_EQ(scene.Run(), 0);

    EXPECT_EQ(scene.console.lines,
              (Lines{L"Copying files to:", scene.dst, scene.Source(L"b.omf"), scene.Source(L"a.omf"), L"QRB::Copy::Ok",
                     L"tarnwick-cli copy: 2 files copied, 11.7 KB; 1 row without a file passed "
                     L"over"}));
    for (const auto& [name, bytes] : scene.content) {
        EXPECT_EQ(ReadBytes(scene.Target(name)), bytes);
        EXPECT_EQ(ReadBytes(scene.Source(name)), bytes);
    }
    EXPECT_TRUE(scene.terminal.questions.empty());
}

TEST(PlanRunTest, ARowWhoseFileChangedSinceThePlanWasMadeIsSkippedWithALine) {
    struct Change {
        const wchar_t* what;
        std::function<void(const std::wstring& path)> make;
        std::wstring reason;
    };
    const Change changes[] = {
        {L"grown", [](const std::wstring& path) { Append(path, "one more frame"); },
         L"its size is now 3014 bytes, the plan has 3000"},
        {L"gone", [](const std::wstring& path) { (void)platform::RemoveFile(path); }, L"no file is there now"},
        {L"a folder",
         [](const std::wstring& path) {
             (void)platform::RemoveFile(path);
             fixtures::MakeFolders(path);
         },
         L"a folder is there now"},
    };
    for (const Change& change : changes) {
        for (const PlanAction action : {PlanAction::copy, PlanAction::move, PlanAction::remove}) {
            SCOPED_TRACE(std::wstring(change.what) + L", action " + std::to_wstring(static_cast<int>(action)));
            PlanScene scene;
            scene.options.action = action;
            scene.options.yes = true;
            scene.Add(L"a.omf", 2000);
            scene.Add(L"b.omf", 3000);
            scene.Add(L"c.omf", 4000);
            change.make(scene.Source(L"b.omf"));
            const auto changedBytes = ReadBytes(scene.Source(L"b.omf"));

            EXPECT_EQ(scene.Run(), cli::kExitChanged);
            const std::wstring name = cli::PlanCommandName(scene.options);
            EXPECT_TRUE(scene.Logged(name + L": skipping " + scene.Source(L"b.omf") +
                                     L": the file changed since the plan was made (" + change.reason + L")"));
            EXPECT_EQ(ReadBytes(scene.Source(L"b.omf")), changedBytes);
            EXPECT_EQ(ReadBytes(scene.Target(L"b.omf")), "<missing>");
            const bool sourceStays = action == PlanAction::copy;
            const bool targetMade = action != PlanAction::remove;
            for (const wchar_t* other : {L"a.omf", L"c.omf"}) {
                EXPECT_EQ(ReadBytes(scene.Source(other)), sourceStays ? scene.content[other] : "<missing>");
                EXPECT_EQ(ReadBytes(scene.Target(other)), targetMade ? scene.content[other] : "<missing>");
            }
        }
    }
}

TEST(PlanRunTest, EachFileIsCheckedRightBeforeItsRowNotOnlyWhenTheRunStarts) {
    PlanScene scene;
    scene.Add(L"a.omf", 2000);
    scene.Add(L"b.omf", 3000);
    scene.Add(L"c.omf", 4000);
    // While a is copied, b is written again.
    scene.files.duringCopy = [&](const std::wstring& source, uint64_t copied, uint64_t size) {
        if (source == scene.Source(L"a.omf") && copied == size) {
            fixtures::WriteFile(scene.Source(L"b.omf"), std::string(2500, 'x'));
        }
    };
    EXPECT_EQ(scene.Run(), cli::kExitChanged);
    EXPECT_EQ(ReadBytes(scene.Target(L"a.omf")), scene.content[L"a.omf"]);
    EXPECT_EQ(ReadBytes(scene.Target(L"b.omf")), "<missing>");
    EXPECT_EQ(ReadBytes(scene.Target(L"c.omf")), scene.content[L"c.omf"]);
    EXPECT_EQ(scene.console.lines.back(),
              L"tarnwick-cli copy: 2 files copied, 5.85 KB; 1 changed since the plan was made");
}

TEST(PlanRunTest, AFileAlreadyAtTheTargetGetsWhatTheOverwriteModeSays) {
    struct Case {
        OverwriteMode mode;
        std::vector<std::optional<std::wstring>> answers;
        int exit;
        bool overwritten;
        bool lastCopied;
        size_t questions;
    };
    const Case cases[] = {
        {OverwriteMode::skip, {}, 0, false, true, 0},
        {OverwriteMode::all, {}, 0, true, true, 0},
        {OverwriteMode::ask, {L"s"}, 0, false, true, 1},
        {OverwriteMode::ask, {L"Yes"}, 0, true, true, 1},
        {OverwriteMode::ask, {L"maybe", L"a"}, 0, true, true, 2}, // asked again until an answer is one of them
        {OverwriteMode::ask, {L"c"}, cli::kExitCancelled, false, false, 1},
        {OverwriteMode::ask, {std::nullopt}, cli::kExitCancelled, false, false, 1}, // the input ended
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode) * 100 + static_cast<int>(c.answers.size()));
        PlanScene scene;
        scene.options.overwrite = c.mode;
        scene.terminal.answers.assign(c.answers.begin(), c.answers.end());
        scene.Add(L"a.omf", 2000);
        scene.Add(L"b.omf", 3000);
        scene.Add(L"c.omf", 4000);
        ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"b.omf"), std::string("older take")));

        EXPECT_EQ(scene.Run(), c.exit);
        EXPECT_EQ(ReadBytes(scene.Target(L"b.omf")), c.overwritten ? scene.content[L"b.omf"] : "older take");
        EXPECT_EQ(ReadBytes(scene.Target(L"c.omf")), c.lastCopied ? scene.content[L"c.omf"] : "<missing>");
        ASSERT_EQ(scene.terminal.questions.size(), c.questions);
        if (c.questions != 0) {
            EXPECT_EQ(scene.terminal.questions[0], L"Overwrite File: " + scene.Source(L"b.omf") + L"\nWith File: " +
                                                       scene.Target(L"b.omf") +
                                                       L"\n[y]es, yes to [a]ll, [s]kip, skip a[l]l, [c]ancel? ");
        }
        for (const auto& [name, bytes] : scene.content) {
            EXPECT_EQ(ReadBytes(scene.Source(name)), bytes);
        }
    }
}

TEST(PlanRunTest, CtrlCDuringAMoveToAnotherDriveAsksAndACancelledMoveLeavesEveryFileWhole) {
    struct Case {
        bool interactive;
        std::optional<std::wstring> answer; // to the cancel question; nullopt: Ctrl+C again
        int exit;
    };
    const Case cases[] = {
        {true, L"y", cli::kExitCancelled},
        {true, L"n", 0},
        {true, std::nullopt, cli::kExitCancelled},
        {false, std::nullopt, cli::kExitCancelled}, // nobody to ask: Ctrl+C cancels
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_wstring(c.interactive) + L" " + c.answer.value_or(L"<Ctrl+C>"));
        PlanScene scene;
        scene.options.action = PlanAction::move;
        scene.files.otherVolume = true;
        scene.terminal.interactive = c.interactive;
        scene.terminal.answers = {c.answer};
        scene.Add(L"a.omf", 100 * 1024);
        scene.Add(L"b.omf", 3 * 1024 * 1024 + 11);
        scene.Add(L"c.omf", 200 * 1024);
        // Ctrl+C once a megabyte of b is copied (under Wine, whose copy reports only its end, when b is copied).
        scene.files.duringCopy = [&](const std::wstring& source, uint64_t copied, uint64_t size) {
            if (source == scene.Source(L"b.omf") && (copied >= 1024 * 1024 || copied == size) &&
                scene.presses.count == 0) {
                scene.presses.count = 1;
            }
        };

        EXPECT_EQ(scene.Run(), c.exit);
        EXPECT_TRUE(scene.EveryFileWholeOnce());
        EXPECT_EQ(scene.terminal.questions, c.interactive ? Lines{kCancelQuestion} : Lines{});
        EXPECT_EQ(ReadBytes(scene.Target(L"a.omf")), scene.content[L"a.omf"]);
        if (c.exit == cli::kExitCancelled) {
            EXPECT_EQ(ReadBytes(scene.Source(L"c.omf")), scene.content[L"c.omf"]);
            EXPECT_EQ(scene.console.lines.back().find(L"tarnwick-cli move: "), 0u);
            EXPECT_NE(scene.console.lines.back().find(L" not handled"), std::wstring::npos);
            if (!fixtures::SystemCopyIgnoresCancelWhileCopying()) {
                EXPECT_EQ(ReadBytes(scene.Source(L"b.omf")), scene.content[L"b.omf"]);
            }
        } else {
            EXPECT_EQ(Listing(scene.src), (std::map<std::wstring, std::string>{}));
        }
        if (!c.interactive) {
            EXPECT_TRUE(scene.Logged(L"tarnwick-cli move: Ctrl+C: the run is cancelled"));
        }
    }
}

TEST(PlanRunTest, CtrlCBetweenTwoRenamesEndsTheRunBeforeTheNextFile) {
    PlanScene scene;
    scene.options.action = PlanAction::move;
    scene.terminal.answers = {L"yes"};
    scene.Add(L"a.omf", 2000);
    scene.Add(L"b.omf", 3000);
    scene.Add(L"c.omf", 4000);
    scene.files.afterMove = [&](const std::wstring& source) {
        if (source == scene.Source(L"a.omf")) {
            scene.presses.count = 1;
        }
    };
    EXPECT_EQ(scene.Run(), cli::kExitCancelled);
    EXPECT_TRUE(scene.EveryFileWholeOnce());
    EXPECT_EQ(ReadBytes(scene.Target(L"a.omf")), scene.content[L"a.omf"]);
    EXPECT_EQ(ReadBytes(scene.Source(L"b.omf")), scene.content[L"b.omf"]);
    EXPECT_EQ(ReadBytes(scene.Source(L"c.omf")), scene.content[L"c.omf"]);
    EXPECT_EQ(scene.console.lines.back(), L"tarnwick-cli move: 1 file moved, 1.95 KB; 2 not handled");
}

TEST(PlanRunTest, CtrlCWhileAQuestionWaitsAsksWhetherToCancelAndThenAsksAgain) {
    PlanScene scene;
    scene.options.overwrite = OverwriteMode::ask;
    scene.Add(L"a.omf", 2000);
    scene.Add(L"b.omf", 3000);
    scene.Add(L"c.omf", 4000);
    ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"b.omf"), std::string("older take")));
    // Ctrl+C ends the first wait for an answer; the run goes on, and the question comes again.
    scene.terminal.answers = {std::nullopt, L"n", L"s"};
    scene.terminal.onAsk = [&](const std::wstring&) {
        if (scene.terminal.questions.size() == 1) {
            scene.presses.count = 1;
        }
    };
    EXPECT_EQ(scene.Run(), 0);
    ASSERT_EQ(scene.terminal.questions.size(), 3u);
    EXPECT_EQ(scene.terminal.questions[0].find(L"Overwrite File: "), 0u);
    EXPECT_EQ(scene.terminal.questions[1], kCancelQuestion);
    EXPECT_EQ(scene.terminal.questions[2], scene.terminal.questions[0]);
    EXPECT_EQ(ReadBytes(scene.Target(L"b.omf")), "older take");
    EXPECT_EQ(ReadBytes(scene.Target(L"c.omf")), scene.content[L"c.omf"]);
}

TEST(PlanRunTest, AFailureEndsTheRunWithItsFileWholeAndNoPartOfTheCopy) {
    PlanScene scene;
    scene.options.action = PlanAction::move;
    scene.files.otherVolume = true;
    scene.Add(L"a.omf", 2000);
    scene.Add(L"b.omf", 300000);
    scene.Add(L"c.omf", 4000);
    scene.files.faults.push_back(
        {testing_ops::FaultyFileSystem::Call::copy, scene.Source(L"b.omf"), testing_ops::kDiskFull, 100000});

    EXPECT_EQ(scene.Run(), cli::kExitRunFailed);
    EXPECT_TRUE(scene.EveryFileWholeOnce());
    EXPECT_EQ(ReadBytes(scene.Target(L"a.omf")), scene.content[L"a.omf"]);
    EXPECT_EQ(ReadBytes(scene.Source(L"b.omf")), scene.content[L"b.omf"]);
    EXPECT_EQ(ReadBytes(scene.Source(L"c.omf")), scene.content[L"c.omf"]);
    EXPECT_TRUE(scene.Logged(testing_ops::ErrorLine(L"QRB::Move(CopyFileEx)", testing_ops::kDiskFull)));
    EXPECT_TRUE(
        scene.Logged(L"tarnwick-cli move: the run ended at " + scene.Source(L"b.omf") + L" (the lines above say why)"));
}

TEST(PlanRunTest, DeleteSaysWhatItWillDeleteAndAsksOnceOrRefusesWithoutATerminal) {
    struct Case {
        bool interactive;
        bool yes;
        std::optional<std::wstring> answer;
        int exit;
        bool deleted;
    };
    const Case cases[] = {
        {false, false, std::nullopt, 1, false},
        {true, false, L"n", cli::kExitCancelled, false},
        {true, false, L"", cli::kExitCancelled, false},
        {true, false, std::nullopt, cli::kExitCancelled, false},
        {true, false, L"y", 0, true},
        {false, true, std::nullopt, 0, true},
        {true, true, std::nullopt, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_wstring(c.interactive) + L" " + std::to_wstring(c.yes) + L" " +
                     c.answer.value_or(L"<none>"));
        PlanScene scene;
        scene.options.action = PlanAction::remove;
        scene.options.yes = c.yes;
        scene.terminal.interactive = c.interactive;
        scene.terminal.answers = {c.answer};
        scene.Add(L"a.omf", 2000);
        scene.AddMissing(L"gone.omf");
        scene.Add(L"b.omf", 3000);

        EXPECT_EQ(scene.Run(), c.exit);
        for (const auto& [name, bytes] : scene.content) {
            EXPECT_EQ(ReadBytes(scene.Source(name)), c.deleted ? "<missing>" : bytes);
        }
        const bool asked = c.interactive && !c.yes;
        EXPECT_EQ(scene.terminal.questions, asked ? Lines{L"Delete 2 files, 4.88 KB (5000 bytes)? [y/N] "} : Lines{});
        if (!c.interactive && !c.yes) {
            EXPECT_EQ(scene.console.lines,
                      Lines{L"tarnwick-cli delete: 2 files, 4.88 KB (5000 bytes) to delete; without a terminal to ask "
                            L"on, give --yes to delete them"});
        }
    }
}

TEST(PlanRunTest, AReadOnlyFileIsDeletedOnlyWithYesOrAYesToItsOwnQuestion) {
    struct Case {
        bool yes;
        std::vector<std::optional<std::wstring>> answers;
        bool deleted;
        int exit;
    };
    const Case cases[] = {
        {true, {}, true, 0},
        {false, {L"y", L"y"}, true, 0},
        {false, {L"y", L"s"}, false, 0},
        {false, {L"y", L"l"}, false, 0}, // Skip All ends a delete at the next file, as asked
        {false, {L"y", L"c"}, false, cli::kExitCancelled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers.size() > 1 ? *c.answers[1] : L"--yes");
        PlanScene scene;
        scene.options.action = PlanAction::remove;
        scene.options.yes = c.yes;
        scene.terminal.answers.assign(c.answers.begin(), c.answers.end());
        scene.Add(L"a.omf", 2000);
        scene.Add(L"b.omf", 3000);
        ASSERT_EQ(platform::WriteAttributes(scene.Source(L"a.omf"), platform::kAttributeReadOnly), 0u);

        EXPECT_EQ(scene.Run(), c.exit);
        EXPECT_EQ(ReadBytes(scene.Source(L"a.omf")), c.deleted ? "<missing>" : scene.content[L"a.omf"]);
        if (!c.yes) {
            ASSERT_EQ(scene.terminal.questions.size(), 2u);
            EXPECT_EQ(scene.terminal.questions[1],
                      L"File: " + scene.Source(L"a.omf") +
                          L"\nFILE_ATTRIBUTE_READONLY\nDelete this read-only file? [y]es, yes to [a]ll, [s]kip, "
                          L"skip a[l]l, [c]ancel? ");
        }
        (void)platform::WriteAttributes(scene.Source(L"a.omf"), platform::kAttributeNormal);
    }
}

TEST(PlanRunTest, StoreByProjectMakesAFolderPerProjectAndEndsAtAProjectThatCannotBeOne) {
    PlanScene scene;
    scene.options.action = PlanAction::store;
    scene.options.byProject = true;
    scene.options.folder = scene.dir / L"store";
    scene.Add(L"a.omf", 2000, L"Harbour Lights");
    scene.Add(L"b.wav", 3000, L"Night Shift");
    scene.Add(L"c.omf", 4000, L"**UNREFERENCED FILES");
    scene.Add(L"d.omf", 5000, L"Harbour Lights");

    EXPECT_EQ(scene.Run(), cli::kExitRunFailed);
    EXPECT_EQ(Listing(scene.options.folder),
              (std::map<std::wstring, std::string>{{L"Harbour Lights/", "<folder>"},
                                                   {L"Harbour Lights/a.omf", scene.content[L"a.omf"]},
                                                   {L"Night Shift/", "<folder>"},
                                                   {L"Night Shift/b.wav", scene.content[L"b.wav"]}}));
    EXPECT_TRUE(scene.Logged(L"QRB::Store: Target folder does not exist\nwould you like to create it? Yes"));
    // "Aborted!" is followed by its reason.
    const auto aborted = std::find(scene.console.lines.begin(), scene.console.lines.end(), L"QRB: Aborted!");
    ASSERT_NE(aborted, scene.console.lines.end());
    ASSERT_NE(aborted + 1, scene.console.lines.end());
    EXPECT_EQ(*(aborted + 1), L"tarnwick-cli store: the project name \"**UNREFERENCED FILES\" of " +
                                  scene.Source(L"c.omf") + L" cannot be a folder name");
    EXPECT_TRUE(scene.Logged(L"tarnwick-cli store: the run ended at " + scene.Source(L"c.omf") +
                             L" (the lines above say why)"));
    for (const auto& [name, bytes] : scene.content) {
        EXPECT_EQ(ReadBytes(scene.Source(name)), bytes);
    }
}

// A store that ends before its first file, into a folder that was not there, leaves no folder behind; and where
// its first file goes in, the folder is made.
TEST(PlanRunTest, AStoreThatEndsBeforeItsFirstFileLeavesNoFolderItMade) {
    for (const bool byProject : {true, false}) {
        SCOPED_TRACE(byProject ? "by project" : "to the folder");
        PlanScene scene;
        scene.options.action = PlanAction::store;
        scene.options.byProject = byProject;
        scene.options.folder = platform::JoinPath(scene.dir / L"new", L"store");
        scene.Add(L"a.omf", 2000, L"**UNKNOWN**");
        scene.Add(L"b.omf", 3000, L"Harbour");
        if (!byProject) {
            // Neither file is still the plan's: nothing goes into the folder.
            Append(scene.Source(L"a.omf"), "more");
            Append(scene.Source(L"b.omf"), "more");
            scene.content.clear();
        }
        EXPECT_EQ(scene.Run(), byProject ? cli::kExitRunFailed : cli::kExitChanged);
        EXPECT_FALSE(platform::PathExists(scene.dir / L"new"));
        for (const auto& [name, bytes] : scene.content) {
            EXPECT_EQ(ReadBytes(scene.Source(name)), bytes);
        }
    }
    PlanScene scene;
    scene.options.action = PlanAction::store;
    scene.options.folder = platform::JoinPath(scene.dir / L"new", L"store");
    scene.Add(L"a.omf", 2000);
    EXPECT_EQ(scene.Run(), cli::kExitOk);
    EXPECT_EQ(ReadBytes(platform::JoinPath(scene.options.folder, L"a.omf")), scene.content[L"a.omf"]);
}

// delete never takes the last copy of a group of duplicates: a group whose every copy the plan holds is kept whole,
// unless the plan names a kept copy that is still there and not in the plan, or the run is told to delete whole
// groups.
TEST(PlanRunTest, DeleteKeepsEveryGroupWhoseLastCopyThePlanWouldTake) {
    struct Case {
        const char* what;
        bool wholeGroups;
        // The kept copy named by the rows of group 1 ("" for none); group 2 (c.omf, d.omf) never names one.
        std::wstring kept;
        int status;
        std::vector<std::wstring> left;
        std::wstring line;
    };
    const std::wstring tail =
        L"; none of it is deleted (duplicates --keep makes a plan that keeps a copy; --delete-whole-groups deletes "
        L"every copy)";
    const Case cases[] = {
        {"duplicates as printed",
         false,
         L"",
         cli::kExitGroupsKept,
         {L"a.omf", L"b.omf", L"c.omf", L"d.omf"},
         L"tarnwick-cli delete: group 1: the plan holds every copy of it" + tail},
        {"told to delete whole groups", true, L"", cli::kExitOk, {}, L""},
        {"a kept copy that is there",
         false,
         L"keep.omf",
         cli::kExitGroupsKept,
         {L"c.omf", L"d.omf", L"keep.omf"},
         L"tarnwick-cli delete: group 2: the plan holds every copy of it" + tail},
        {"a kept copy that is gone",
         false,
         L"gone.omf",
         cli::kExitGroupsKept,
         {L"a.omf", L"b.omf", L"c.omf", L"d.omf", L"keep.omf"},
         L""},
        {"a kept copy that is in the plan",
         false,
         L"a.omf",
         cli::kExitGroupsKept,
         {L"a.omf", L"b.omf", L"c.omf", L"d.omf", L"keep.omf"},
         L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlanScene scene;
        scene.options.action = PlanAction::remove;
        scene.options.yes = true;
        scene.options.deleteWholeGroups = c.wholeGroups;
        for (const wchar_t* name : {L"a.omf", L"b.omf", L"c.omf", L"d.omf"}) {
            scene.Add(name, 1000);
            scene.rows.back().group = name[0] < L'c' ? L"1" : L"2";
            if (name[0] < L'c' && !c.kept.empty()) {
                scene.rows.back().kept = scene.Source(c.kept);
            }
        }
        ASSERT_TRUE(fixtures::WriteFile(scene.Source(L"keep.omf"), std::string(1000, 'k')));
        std::vector<cli::RowOutcome> outcomes;
        EXPECT_EQ(scene.Run(&outcomes), c.status);
        std::vector<std::wstring> left;
        for (const auto& [name, bytes] : Listing(scene.src)) {
            left.push_back(name);
        }
        std::vector<std::wstring> expected = c.left;
        if (std::find(expected.begin(), expected.end(), L"keep.omf") == expected.end()) {
            expected.push_back(L"keep.omf");
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(left, expected);
        if (!c.line.empty()) {
            EXPECT_TRUE(scene.Logged(c.line));
        }
        // A kept group's rows say why they were kept.
        for (size_t i = 0; i < outcomes.size(); ++i) {
            const bool kept = std::find(c.left.begin(), c.left.end(), scene.rows[i].name) != c.left.end();
            EXPECT_EQ(outcomes[i].action, kept ? L"skip" : L"delete");
            EXPECT_EQ(outcomes[i].note.rfind(L"group ", 0) == 0, kept);
        }
    }
}

// The same move or copy run a second time finds each file already done, whole at its target; a target that only
// looks alike is not taken for done.
TEST(PlanRunTest, ARunOfTheSamePlanAgainFindsItsFilesAlreadyDone) {
    for (const PlanAction action : {PlanAction::move, PlanAction::copy}) {
        SCOPED_TRACE(action == PlanAction::move ? "move" : "copy");
        PlanScene scene;
        scene.options.action = action;
        scene.options.verbose = true;
        scene.Add(L"a.omf", 2000);
        scene.Add(L"b.omf", 3000);
        EXPECT_EQ(scene.Run(), cli::kExitOk);
        scene.console.lines.clear();
        std::vector<cli::RowOutcome> outcomes;
        EXPECT_EQ(scene.DryRun(&outcomes), cli::kExitOk);
        EXPECT_EQ(outcomes[0].action, L"skip");
        EXPECT_EQ(outcomes[0].note.rfind(L"already done", 0), 0u);
        scene.console.lines.clear();
        EXPECT_EQ(scene.Run(), cli::kExitOk);
        EXPECT_TRUE(scene.Logged(L"already done " + scene.Source(L"a.omf") + L" -> " + scene.Target(L"a.omf")));
        EXPECT_EQ(scene.console.lines.back(), action == PlanAction::move
                                                  ? L"tarnwick-cli move: 0 files moved, 0 bytes; 2 already done"
                                                  : L"tarnwick-cli copy: 0 files copied, 0 bytes; 2 already done");
        for (const auto& [name, bytes] : scene.content) {
            EXPECT_EQ(ReadBytes(scene.Target(name)), bytes);
        }
    }
    // A copy whose target holds other bytes of the same length is no copy of it.
    PlanScene scene;
    scene.Add(L"a.omf", 2000);
    ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"a.omf"), std::string(2000, 'x')));
    EXPECT_EQ(scene.Run(), cli::kExitOk);
    EXPECT_TRUE(scene.Logged(L"QRB::Copy::Skipping"));
    EXPECT_EQ(ReadBytes(scene.Target(L"a.omf")), std::string(2000, 'x'));
}

TEST(PlanRunTest, ARowWhoseFolderIsNotThereSaysSo) {
    PlanScene scene;
    scene.Add(L"a.omf", 2000);
    scene.rows.push_back(scene.rows.back());
    scene.rows.back().path = scene.dir / L"Unmounted";
    scene.rows.back().number = 3;
    std::vector<cli::RowOutcome> outcomes;
    EXPECT_EQ(scene.Run(&outcomes), cli::kExitChanged);
    const std::wstring reason = L"the folder " + (scene.dir / L"Unmounted") + L" is not there: is the drive mounted?";
    EXPECT_TRUE(scene.Logged(L"tarnwick-cli copy: skipping " + platform::JoinPath(scene.dir / L"Unmounted", L"a.omf") +
                             L": " + reason));
    EXPECT_EQ(outcomes[1].note, reason);
    EXPECT_EQ(scene.console.lines.back(),
              L"tarnwick-cli copy: 1 file copied, 1.95 KB; 1 in a folder that is not there");
    scene.console.lines.clear();
    scene.options.verbose = true;
    EXPECT_EQ(scene.Run(), cli::kExitChanged);
    EXPECT_TRUE(scene.Logged(L"skipped " + platform::JoinPath(scene.dir / L"Unmounted", L"a.omf") + L": " + reason));
}

// --verify reads each copy back: a copy damaged on its way fails the run before it takes the file's name, and a
// move keeps its source. Without it the damaged copy would go through; -v says what happened to each file.
TEST(PlanRunTest, VerifyCatchesACopyDamagedOnItsWayAndAMoveKeepsItsSource) {
    for (const bool verify : {false, true}) {
        SCOPED_TRACE(verify ? "verify" : "no verify");
        PlanScene scene;
        scene.options.action = PlanAction::move;
        scene.options.verify = verify;
        scene.options.verbose = true;
        scene.files.otherVolume = true;
        scene.Add(L"a.omf", 2000);
        scene.Add(L"b.omf", 3000);
        scene.Add(L"c.omf", 4000);
        scene.files.afterCopy = [&](const std::wstring& source, const std::wstring& target) {
            if (source == scene.Source(L"b.omf")) {
                std::string bytes = ReadBytes(target);
                bytes.back() = static_cast<char>(bytes.back() ^ 1);
                fixtures::WriteFile(target, bytes);
            }
        };
        const int status = scene.Run();
        EXPECT_TRUE(scene.Logged(L"moved " + scene.Source(L"a.omf") + L" -> " + scene.Target(L"a.omf")));
        if (!verify) {
            EXPECT_EQ(status, cli::kExitOk);
            EXPECT_NE(ReadBytes(scene.Target(L"b.omf")), scene.content[L"b.omf"]);
            continue;
        }
        EXPECT_EQ(status, cli::kExitRunFailed);
        EXPECT_TRUE(scene.EveryFileWholeOnce());
        EXPECT_EQ(ReadBytes(scene.Source(L"b.omf")), scene.content[L"b.omf"]);
        EXPECT_EQ(ReadBytes(scene.Target(L"b.omf")), "<missing>");
        EXPECT_TRUE(
            scene.Logged(L"failed " + scene.Source(L"b.omf") + L": the copy read back differs from its source"));
    }
}

#ifndef _WIN32
// A target folder that takes no files, as the run would find it: the dry run says "fail" with the system's reason,
// and the run then fails there, its file whole at its source. (/proc takes no new files, whoever asks.)
TEST(PlanRunTest, ADryRunFailsWhereTheTargetFolderCannotBeWritten) {
    PlanScene scene;
    scene.options.folder = L"/proc";
    scene.Add(L"a.omf", 2000);
    std::vector<cli::RowOutcome> outcomes;
    EXPECT_EQ(scene.DryRun(&outcomes), cli::kExitOk);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].action, L"fail");
    EXPECT_EQ(outcomes[0].note.rfind(L"the run would fail here: ", 0), 0u);
    EXPECT_EQ(scene.Run(), cli::kExitRunFailed);
    EXPECT_EQ(ReadBytes(scene.Source(L"a.omf")), scene.content[L"a.omf"]);
}
#endif

TEST(PlanRunTest, ADryRunChangesNothingAndSaysWhatEachRowWouldDo) {
    PlanScene scene;
    scene.options.overwrite = OverwriteMode::skip;
    scene.Add(L"a.omf", 2000);
    scene.AddMissing(L"gone.omf");
    scene.Add(L"b.omf", 3000);
    scene.Add(L"c.omf", 4000);
    scene.Add(L"a.omf", 2000); // listed twice: the run's own first copy is there by then
    Append(scene.Source(L"b.omf"), "more");
    ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"c.omf"), std::string("older take")));
    const auto before = Listing(scene.dir.Path());

    EXPECT_EQ(scene.DryRun(), 0);
    EXPECT_EQ(Listing(scene.dir.Path()), before);
    const std::string a = platform::WideToUtf8(scene.Source(L"a.omf"));
    const std::string b = platform::WideToUtf8(scene.Source(L"b.omf"));
    const std::string c = platform::WideToUtf8(scene.Source(L"c.omf"));
    const std::string toA = platform::WideToUtf8(scene.Target(L"a.omf"));
    const std::string toC = platform::WideToUtf8(scene.Target(L"c.omf"));
    EXPECT_EQ(scene.Out(), "Row\tAction\tSize (bytes)\tSource\tTarget\tNote\n"
                           "1\tcopy\t2000\t" +
                               a + "\t" + toA + "\t\n" +
                               "2\tskip\t0\t\t\tno file: it was missing when the plan was made\n" + "3\tskip\t3000\t" +
                               b +
                               "\t\tchanged since the plan was made: its size is now 3004 bytes, "
                               "the plan has 3000\n" +
                               "4\tskip\t4000\t" + c + "\t" + toC + "\ta file of that name is there\n" +
                               "5\tskip\t2000\t" + a + "\t" + toA +
                               "\ta row before it puts a file of that name there, and a run never writes over its own "
                               "files\n");
    EXPECT_EQ(scene.console.lines, Lines{L"tarnwick-cli copy: dry run: 1 file (1.95 KB) would be copied; 3 skipped; "
                                         L"1 row without a file passed over; nothing was changed"});
}

TEST(PlanRunTest, ADryRunShowsWhereARunWouldEndAndWhatItWouldAsk) {
    PlanScene scene;
    scene.options.action = PlanAction::store;
    scene.options.byProject = true;
    scene.options.move = true;
    scene.options.overwrite = OverwriteMode::ask;
    scene.options.folder = scene.dir / L"store";
    scene.Add(L"a.omf", 2000, L"Harbour");
    scene.Add(L"b.omf", 3000, L"**UNKNOWN**");
    scene.Add(L"c.omf", 4000, L"Harbour");
    const auto before = Listing(scene.dir.Path());

    EXPECT_EQ(scene.DryRun(), 0);
    EXPECT_EQ(Listing(scene.dir.Path()), before);
    const std::string folder = platform::WideToUtf8(platform::JoinPath(scene.options.folder, L"Harbour"));
    EXPECT_EQ(
        scene.Out(),
        "Row\tAction\tSize (bytes)\tSource\tTarget\tNote\n"
        "1\tmove\t2000\t" +
            platform::WideToUtf8(scene.Source(L"a.omf")) + "\t" +
            platform::WideToUtf8(platform::JoinPath(platform::JoinPath(scene.options.folder, L"Harbour"), L"a.omf")) +
            "\tmakes the folder " + folder + "; renamed on the same drive\n" + "2\tstop\t3000\t" +
            platform::WideToUtf8(scene.Source(L"b.omf")) +
            "\t\tthe project name cannot be a folder name: the run ends here (Aborted!)\n" + "3\tnot reached\t4000\t" +
            platform::WideToUtf8(scene.Source(L"c.omf")) + "\t\tthe run would end before this row\n");
    EXPECT_EQ(scene.console.lines,
              (Lines{L"tarnwick-cli store: the run would make the folder " + scene.options.folder,
                     L"tarnwick-cli store: dry run: 1 file (1.95 KB) would be stored (moved); the run would end at "
                     L"row 2; nothing was changed"}));
}

// One table of plans, each run dry and then for real from the same files: the dry run says of every row exactly
// what the run then does with it.
TEST(PlanRunTest, ADryRunSaysWhatTheRunThenDoes) {
    struct Scenario {
        const char* name;
        std::function<void(PlanScene&)> setUp;
    };
    const auto options = [](PlanAction action, OverwriteMode overwrite) {
        return [=](PlanScene& scene) {
            scene.options.action = action;
            scene.options.overwrite = overwrite;
            scene.options.yes = true;
        };
    };
    // A file of the same name in a second media folder, listed after the first.
    const auto twin = [](PlanScene& scene, const std::wstring& name, const std::string& bytes) {
        const std::wstring other = scene.dir / L"media2";
        ASSERT_TRUE(fixtures::MakeFolders(other));
        ASSERT_TRUE(fixtures::WriteFile(platform::JoinPath(other, name), bytes));
        scene.rows.push_back({scene.rows.size() + 1, L"Night Shoot", name, other, bytes.size(), {}, {}});
    };
    const Scenario scenarios[] = {
        {"copy, one older file kept",
         [&](PlanScene& scene) {
             options(PlanAction::copy, OverwriteMode::skip)(scene);
             scene.Add(L"a.omf", 2000);
             scene.Add(L"b.omf", 3000);
             ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"b.omf"), std::string("older take")));
         }},
        {"copy, one older file replaced",
         [&](PlanScene& scene) {
             options(PlanAction::copy, OverwriteMode::all)(scene);
             scene.Add(L"a.omf", 2000);
             scene.Add(L"b.omf", 3000);
             ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"b.omf"), std::string("older take")));
         }},
        {"move, two files of one name from two folders with yes to all",
         [&](PlanScene& scene) {
             options(PlanAction::move, OverwriteMode::all)(scene);
             scene.Add(L"x.omf", 2000);
             twin(scene, L"x.omf", "the other x");
             scene.Add(L"c.omf", 1000);
         }},
        {"store by project, moving, with a project that cannot be a folder",
         [&](PlanScene& scene) {
             options(PlanAction::store, OverwriteMode::all)(scene);
             scene.options.byProject = true;
             scene.options.move = true;
             scene.options.folder = scene.dir / L"store";
             scene.Add(L"a.omf", 2000, L"Harbour");
             scene.Add(L"b.omf", 3000, L"Night Shoot");
             scene.Add(L"c.omf", 4000, L"**UNKNOWN**");
             scene.Add(L"d.omf", 5000, L"Harbour");
         }},
        {"copy into the files' own folder, one file changed and one missing",
         [&](PlanScene& scene) {
             options(PlanAction::copy, OverwriteMode::all)(scene);
             scene.options.folder = scene.src;
             scene.Add(L"a.omf", 2000);
             scene.Add(L"b.omf", 3000);
             scene.AddMissing(L"gone.omf");
             Append(scene.Source(L"b.omf"), "more");
         }},
        {"delete, one file read-only, one listed twice",
         [&](PlanScene& scene) {
             options(PlanAction::remove, OverwriteMode::skip)(scene);
             scene.Add(L"a.omf", 2000);
             scene.Add(L"b.omf", 3000);
             scene.rows.push_back(scene.rows.front());
             scene.rows.back().number = scene.rows.size();
             ASSERT_EQ(platform::WriteAttributes(scene.Source(L"b.omf"), platform::kAttributeReadOnly), 0u);
         }},
        {"move to another volume over an older file",
         [&](PlanScene& scene) {
             options(PlanAction::move, OverwriteMode::all)(scene);
             scene.files.otherVolume = true;
             scene.Add(L"a.omf", 2000);
             ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"a.omf"), std::string("older take")));
         }},
        {"move run again after one file went, a row in a folder that is not there",
         [&](PlanScene& scene) {
             options(PlanAction::move, OverwriteMode::ask)(scene);
             scene.Add(L"a.omf", 2000);
             scene.Add(L"b.omf", 3000);
             ASSERT_EQ(platform::MoveFileReplacing(scene.Source(L"a.omf"), scene.Target(L"a.omf")), 0u);
             scene.rows.push_back(scene.rows.back());
             scene.rows.back().path = scene.dir / L"Unmounted";
         }},
        {"copy run again, one target with the same bytes and one with others",
         [&](PlanScene& scene) {
             options(PlanAction::copy, OverwriteMode::all)(scene);
             scene.Add(L"a.omf", 2000);
             scene.Add(L"b.omf", 3000);
             ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"a.omf"), scene.content[L"a.omf"]));
             ASSERT_TRUE(fixtures::WriteFile(scene.Target(L"b.omf"), std::string(3000, 'b')));
         }},
        {"delete of duplicates, one group kept whole, one with its kept copy there",
         [&](PlanScene& scene) {
             options(PlanAction::remove, OverwriteMode::skip)(scene);
             for (const wchar_t* name : {L"a.omf", L"b.omf", L"c.omf", L"d.omf"}) {
                 scene.Add(name, 1000);
                 scene.rows.back().group = name[0] < L'c' ? L"1" : L"2";
             }
             ASSERT_TRUE(fixtures::WriteFile(scene.Source(L"kept.omf"), std::string(1000, 'k')));
             scene.rows[2].kept = scene.Source(L"kept.omf");
         }},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        PlanScene scene;
        scenario.setUp(scene);
        const auto before = Listing(scene.dir.Path());
        std::vector<cli::RowOutcome> dry;
        (void)scene.DryRun(&dry);
        ASSERT_EQ(Listing(scene.dir.Path()), before) << "the dry run changed files";
        std::vector<cli::RowOutcome> real;
        (void)scene.Run(&real);
        ASSERT_EQ(dry.size(), scene.rows.size());
        ASSERT_EQ(real.size(), dry.size());
        for (size_t i = 0; i < dry.size(); ++i) {
            SCOPED_TRACE(i + 1);
            EXPECT_EQ(platform::WideToUtf8(real[i].action), platform::WideToUtf8(dry[i].action));
            EXPECT_EQ(platform::WideToUtf8(real[i].source), platform::WideToUtf8(dry[i].source));
            EXPECT_EQ(platform::WideToUtf8(real[i].target), platform::WideToUtf8(dry[i].target));
            EXPECT_EQ(platform::WideToUtf8(real[i].note), platform::WideToUtf8(dry[i].note));
        }
        if (scenario.name == std::string("move, two files of one name from two folders with yes to all")) {
            // The second x.omf stays where it was: the first is not overwritten by it.
            EXPECT_EQ(dry[1].action, L"skip");
            EXPECT_EQ(ReadBytes(scene.Target(L"x.omf")), scene.content[L"x.omf"]);
            EXPECT_EQ(ReadBytes(platform::JoinPath(scene.dir / L"media2", L"x.omf")), "the other x");
        }
    }
}

} // namespace
} // namespace tw::testing_cli
