// The file operations checked against what must always hold, over a simulated disk: seeded random runs (copy,
// move, store, store by project, delete) over media folders whose files share names across folders and projects,
// targets that are already there, one file listed under two spellings, read-only files, random answers, and faults
// at random calls; then the same runs cut short by a crash after each call in turn. After every run every file's
// content that was there before is still whole somewhere, unless the run was told to delete or overwrite it, and no
// part of a copy is left under a media file's name.
//
// TW_MODEL_RUNS sets the number of seeded runs (a campaign: tools/model-campaign.sh), TW_MODEL_SEED runs one seed.
#include "fixtures/scripted_prompts.h"
#include "operation_scene.h"
#include "operations/file_operations.h"
#include "operations/simulated_file_system.h"
#include "operations/target_names.h"
#include "platform/platform.h"
#include "seams/console.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tw::testing_ops {
namespace {

using Call = SimulatedFileSystem::Call;

enum class Kind { copy, move, store, storeMove, byProject, byProjectMove, remove };
const char* const kKindNames[] = {
    "copy", "move", "store", "store (move)", "store by project", "store by project (move)", "delete"};

#ifdef _WIN32
const std::wstring kVolume1 = L"C:\\v1";
const std::wstring kVolume2 = L"D:\\v2";
#else
const std::wstring kVolume1 = L"/v1";
const std::wstring kVolume2 = L"/v2";
#endif

bool IsPartial(const std::wstring& path) {
    return path.find(kPartialCopyEnding) != std::wstring::npos;
}

std::string Narrow(std::wstring_view text) {
    return platform::WideToUtf8(std::wstring(text));
}

// One drive set up from a seed: two volumes, two media folders and a target folder on the first, a target folder on
// the second; files of a few names spread over the folders.
struct World {
    SimulatedFileSystem files{nullptr, true};
    std::vector<std::unique_ptr<MediaRecord>> records;
    ListSelection selection;
    fixtures::ScriptedPrompts prompts;
    TestHost host;
    LineConsole console;
    Kind kind = Kind::copy;
    std::wstring target;
    // Every file before the run: path -> content.
    std::map<std::wstring, std::string> before;
    // Sources that a fault took away during the run.
    std::set<std::wstring> vanished;
    std::string description;

    void Build(std::mt19937& random, bool withFaults) {
        const auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
        const auto chance = [&random](unsigned percent) { return random() % 100 < percent; };
        files.AddVolume(kVolume1);
        files.AddVolume(kVolume2);
        const std::wstring media1 = kVolume1 + Sep() + L"m1";
        const std::wstring media2 = kVolume1 + Sep() + L"m2";
        const std::wstring out1 = kVolume1 + Sep() + L"out";
        const std::wstring out2 = kVolume2 + Sep() + L"out";
        for (const std::wstring& folder : {media1, media2, out1, out2}) {
            files.PutFolder(folder);
        }
        const wchar_t* const names[] = {L"x.omf", L"y.omf", L"z.wav", L"w.mxf"};
        const wchar_t* const projects[] = {L"Harbour", L"Night Shoot", L"**UNKNOWN**"};
        int serial = 0;
        const auto content = [&]() {
            std::string text = "content " + std::to_string(serial++) + ":";
            text.append(pick(40), static_cast<char>('a' + pick(26)));
            return text;
        };
        kind = static_cast<Kind>(pick(7));
        const std::wstring targets[] = {out1, out2, media2};
        target = targets[pick(3)];
        // Older files already where the run will write.
        for (const wchar_t* name : names) {
            if (chance(30)) {
                const std::wstring path = platform::JoinPath(target, name);
                files.PutFile(path, content(), chance(30) ? platform::kAttributeReadOnly : platform::kAttributeNormal);
            }
        }
        for (const std::wstring& folder : {media1, media2}) {
            for (const wchar_t* name : names) {
                if (!chance(60)) {
                    continue;
                }
                const std::wstring path = platform::JoinPath(folder, name);
                if (files.PathExists(path)) {
                    continue;
                }
                files.PutFile(path, content(), chance(15) ? platform::kAttributeReadOnly : platform::kAttributeNormal);
                const wchar_t* project = projects[chance(10) ? 2 : pick(2)];
                AddRecord(folder, name, project);
                // The same file once more, under another spelling of its name.
                if (chance(10)) {
                    std::wstring upper = name;
                    for (wchar_t& c : upper) {
                        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
                    }
                    AddRecord(folder, upper, project);
                }
            }
        }
        for (const SimulatedFileSystem::File& file : files.Files()) {
            before[file.path] = file.content;
        }
        // The answers, the cancel polls and the faults of the run.
        for (int i = 0; i < 40; ++i) {
            const ConfirmAnswer answers[] = {ConfirmAnswer::Yes, ConfirmAnswer::YesToAll, ConfirmAnswer::Skip,
                                             ConfirmAnswer::SkipAll, ConfirmAnswer::Cancel};
            prompts.confirmAnswers.push_back(answers[chance(5) ? 4 : pick(4)]);
            prompts.cancelPolls.push_back(chance(3));
        }
        prompts.folders.push_back(target);
        if (withFaults) {
            const unsigned percent = static_cast<unsigned>(pick(4)) * 8;
            auto seed = static_cast<unsigned>(random());
            auto faults = std::make_shared<std::mt19937>(seed);
            files.fault = [this, faults, percent](Call call, const std::wstring& path, SimulatedFileSystem& disk) {
                SimulatedFileSystem::Fault fault;
                // The run may always take away a partial copy it has just written.
                if (IsPartial(path) && (call == Call::remove || call == Call::writeAttributes)) {
                    return fault;
                }
                if ((*faults)() % 100 >= percent) {
                    return fault;
                }
                switch ((*faults)() % 5) {
                case 0:
                    fault.code = kAccessDenied;
                    break;
                case 1:
                    fault.code = kDiskFull;
                    fault.leavePart = call == Call::copy;
                    break;
                case 2:
                    // The source vanishes between the run's look and its act.
                    if (call == Call::copy || call == Call::move) {
                        vanished.insert(path);
                        disk.Vanish(path);
                    }
                    break;
                case 3:
                    fault.code = call == Call::copy ? platform::kErrorRequestAborted : kDeviceError;
                    break;
                default:
                    fault.code = kDeviceError;
                    break;
                }
                return fault;
            };
        }
        std::ostringstream text;
        text << kKindNames[static_cast<int>(kind)] << " into " << Narrow(target) << " of";
        for (const auto& record : records) {
            text << " " << Narrow(*record->path) << Narrow(*record->fileName) << " (" << Narrow(*record->projectName)
                 << ")";
        }
        description = text.str();
    }

    void AddRecord(const std::wstring& folder, const std::wstring& name, const std::wstring& project) {
        auto record = std::make_unique<MediaRecord>();
        record->SetPath(folder + Sep());
        record->SetFileName(name);
        record->SetProjectName(project);
        std::string bytes;
        (void)files.ReadContent(platform::JoinPath(folder, name), bytes);
        record->size = bytes.size();
        record->attributes = platform::kAttributeNormal;
        record->index = static_cast<int32_t>(records.size());
        selection.rows.push_back({record.get(), true, 0});
        records.push_back(std::move(record));
    }

    void Run() {
        FileOperations operations({selection, prompts, host, files, &console, nullptr});
        switch (kind) {
        case Kind::copy:
            operations.CopyFiles();
            break;
        case Kind::move:
            operations.MoveFiles();
            break;
        case Kind::store:
            operations.StoreFiles(target, false, false);
            break;
        case Kind::storeMove:
            operations.StoreFiles(target, true, false);
            break;
        case Kind::byProject:
            operations.StoreFiles(target, false, true);
            break;
        case Kind::byProjectMove:
            operations.StoreFiles(target, true, true);
            break;
        case Kind::remove:
            operations.DeleteFiles();
            break;
        }
    }

    [[nodiscard]] bool Moves() const {
        return kind == Kind::move || kind == Kind::storeMove || kind == Kind::byProjectMove;
    }

    [[nodiscard]] std::wstring FullPath(const MediaRecord& record) const {
        std::wstring path;
        record.GetFullPath(path, 4096);
        return path;
    }

    // What went wrong, or empty. crashed: the run died part-way, and a partial copy may be left.
    [[nodiscard]] std::string Check(bool crashed) {
        std::ostringstream problems;
        std::map<std::string, std::wstring> where; // content -> a path that holds it whole
        std::set<std::string> originals;
        for (const auto& [path, content] : before) {
            originals.insert(content);
        }
        for (const SimulatedFileSystem::File& file : files.Files()) {
            if (IsPartial(file.path)) {
                if (!crashed) {
                    problems << "a partial copy is left: " << Narrow(file.path) << "\n";
                }
                continue;
            }
            if (originals.count(file.content) == 0) {
                problems << Narrow(file.path) << " holds no whole file: \"" << file.content << "\"\n";
            }
            where[file.content] = file.path;
        }
        const auto tookAway = [this](const std::wstring& path) {
            for (const std::wstring& gone : vanished) {
                if (platform::EqualIgnoringCase(gone, path)) {
                    return true;
                }
            }
            return false;
        };
        for (const auto& [path, content] : before) {
            // A file that another program took away during the run is not the run's to keep.
            if (where.count(content) != 0 || tookAway(path)) {
                continue;
            }
            // Deleted as asked: a record of this file is marked missing by a delete run.
            bool deleted = false;
            for (const auto& record : records) {
                deleted = deleted || (kind == Kind::remove && record->IsMissing() &&
                                      platform::EqualIgnoringCase(FullPath(*record), path));
            }
            // Overwritten as asked: an older file at a target, now replaced by a whole file of the run.
            std::string now;
            const bool replaced = files.ReadContent(path, now) && originals.count(now) != 0 && now != content;
            if (!deleted && !replaced) {
                problems << "lost: " << Narrow(path) << " (\"" << content << "\")\n";
            }
        }
        if (!crashed && !records.empty()) {
            const wchar_t* closing = kind == Kind::remove ? L"QRB::Delete::Ok"
                                     : kind == Kind::copy ? L"QRB::Copy::Ok"
                                     : kind == Kind::move ? L"QRB::Move::Ok"
                                                          : L"QRB::Store::Ok";
            if (console.lines.empty() || console.lines.back() != closing) {
                problems << "the run did not end with " << Narrow(closing) << "\n";
            }
        }
        for (const auto& record : records) {
            const std::wstring source = FullPath(*record);
            const bool there = files.PathExists(source);
            if (record->IsMissing() && there) {
                problems << Narrow(source) << " is marked missing but is still there\n";
            }
            if (record->IsMissing() && Moves()) {
                bool logged = false;
                for (const std::wstring& line : console.lines) {
                    logged = logged || line == source;
                }
                if (!logged) {
                    problems << Narrow(source) << " was moved without its console line\n";
                }
            }
            bool movedUnderAnotherSpelling = false;
            for (const auto& other : records) {
                movedUnderAnotherSpelling =
                    movedUnderAnotherSpelling ||
                    (other->IsMissing() && platform::EqualIgnoringCase(FullPath(*other), source));
            }
            if (!record->IsMissing() && !there && !tookAway(source) && !movedUnderAnotherSpelling && !crashed) {
                problems << Narrow(source) << " is gone but not marked missing\n";
            }
        }
        return problems.str();
    }

    [[nodiscard]] std::string Reproduction(uint32_t seed) const {
        std::ostringstream text;
        text << "seed " << seed << " (TW_MODEL_SEED=" << seed << " runs it alone): " << description << "\n";
        for (const std::wstring& call : files.log) {
            text << "  call: " << Narrow(call) << "\n";
        }
        for (const std::wstring& line : console.lines) {
            text << "  console: " << Narrow(line) << "\n";
        }
        return text.str();
    }
};

uint64_t EnvCount(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

TEST(ModelTest, SeededRunsWithRandomAnswersAndFaultsLoseNoFile) {
    const uint64_t only = EnvCount("TW_MODEL_SEED", 0);
    const uint64_t runs = only != 0 ? 1 : EnvCount("TW_MODEL_RUNS", 3000);
    uint64_t failures = 0;
    for (uint64_t i = 0; i < runs && failures < 5; ++i) {
        const auto seed = static_cast<uint32_t>(only != 0 ? only : i + 1);
        std::mt19937 random(seed);
        World world;
        world.Build(random, true);
        world.Run();
        const std::string problems = world.Check(false);
        if (!problems.empty()) {
            ++failures;
            ADD_FAILURE() << problems << world.Reproduction(seed);
        }
    }
    std::printf("%llu seeded runs\n", static_cast<unsigned long long>(runs));
}

// A run cut short after each changing call in turn: whatever it had done by then, each file is whole at its source
// or at its target, and a partial copy is left only under its partial-copy name.
TEST(ModelTest, ACrashAfterAnyCallLeavesEveryFileWhole) {
    struct Case {
        const char* name;
        Kind kind;
        bool otherVolume;
    };
    const Case cases[] = {
        {"a copy over an older file", Kind::copy, false},
        {"a move to another volume over an older file", Kind::move, true},
        {"a move on one volume over an older file", Kind::move, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto make = [&c](World& world) {
            world.kind = c.kind;
            world.files.AddVolume(kVolume1);
            world.files.AddVolume(kVolume2);
            const std::wstring media = kVolume1 + Sep() + L"m1";
            world.target = (c.otherVolume ? kVolume2 : kVolume1) + Sep() + L"out";
            world.files.PutFolder(media);
            world.files.PutFolder(world.target);
            world.files.PutFile(platform::JoinPath(media, L"a.omf"), "take a");
            world.files.PutFile(platform::JoinPath(media, L"b.omf"), "take b", platform::kAttributeReadOnly);
            world.files.PutFile(platform::JoinPath(world.target, L"b.omf"), "older take b",
                                platform::kAttributeReadOnly);
            world.AddRecord(media, L"a.omf", L"Harbour");
            world.AddRecord(media, L"b.omf", L"Harbour");
            for (const SimulatedFileSystem::File& file : world.files.Files()) {
                world.before[file.path] = file.content;
            }
            world.prompts.folders.push_back(world.target);
            world.prompts.confirmAnswers.push_back(ConfirmAnswer::Yes);
        };
        World whole;
        make(whole);
        whole.Run();
        ASSERT_EQ(whole.Check(false), "") << whole.Reproduction(0);
        const auto calls = static_cast<int64_t>(whole.files.log.size());
        ASSERT_GE(calls, 3);
        for (int64_t after = 1; after <= calls; ++after) {
            SCOPED_TRACE(after);
            World world;
            make(world);
            world.files.crashAfter = after;
            world.Run();
            EXPECT_TRUE(world.files.Crashed() || after == calls);
            EXPECT_EQ(world.Check(true), "") << world.Reproduction(0);
            // Each take is whole at its source or at its target, never only in a partial copy.
            for (const auto& [path, content] : world.before) {
                if (content == "older take b") {
                    continue;
                }
                const std::wstring name =
                    platform::JoinPath(world.target, path.substr(path.rfind(platform::kPathSeparator) + 1));
                std::string atSource;
                std::string atTarget;
                const bool whole = (world.files.ReadContent(path, atSource) && atSource == content) ||
                                   (world.files.ReadContent(name, atTarget) && atTarget == content);
                EXPECT_TRUE(whole) << Narrow(path) << " after call " << after;
            }
        }
    }
}

} // namespace
} // namespace tw::testing_ops
