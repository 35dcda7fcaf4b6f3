// One table of faults for copy, move, delete and store: system conditions made for real in a scratch folder where
// the system can make them, injected where it cannot. After every fault each selected file is whole at its source
// or at its target, and no part of a copy is left anywhere.
#include "fixtures/host_system.h"
#include "operation_scene.h"
#include "operations/target_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tw::testing_ops {
namespace {

enum class Run { copy, move, remove, store, storeByProject, moveByProject };

// Where a case can happen.
enum class Where {
    everywhere,
    copyStopsOnCancel,      // the system copy looks at the cancel flag while it copies
    copyRunsToItsEnd,       // it does not (Wine)
    filesHeldWithoutSharing // another handle can keep others from a file (Windows)
};

bool Holds(Where where) {
    switch (where) {
    case Where::copyStopsOnCancel:
        return !fixtures::SystemCopyIgnoresCancelWhileCopying();
    case Where::copyRunsToItsEnd:
        return fixtures::SystemCopyIgnoresCancelWhileCopying();
    case Where::filesHeldWithoutSharing:
        return fixtures::kFilesCanBeHeldOpenWithoutSharing;
    default:
        return true;
    }
}

// The three files of every case, all selected, in this order.
const wchar_t* const kNames[] = {L"a.omf", L"b.omf", L"c.omf"};
constexpr size_t kSizes[] = {100 * 1024, 3 * 1024 * 1024 + 11, 200 * 1024};

// The file held open without sharing for the length of a case (Windows only).
class HeldFile {
public:
    explicit HeldFile(const std::wstring& path) {
#ifdef _WIN32
        handle = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
#else
        (void)path;
#endif
    }
    ~HeldFile() {
#ifdef _WIN32
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
#endif
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

private:
#ifdef _WIN32
    HANDLE handle = INVALID_HANDLE_VALUE;
#endif
};

struct FaultScene : Scene {
    // The folder a copy or move is pointed at (dst unless a case points elsewhere).
    std::wstring folder = dst;
    // Files the set-up took away before the run: nobody can find them afterwards.
    std::set<std::wstring> vanished;
    // Bytes a set-up put at a target path that must stay as they are.
    std::map<std::wstring, std::string> placed;
    std::unique_ptr<HeldFile> held;
    // Checks of a case's own, run after the run.
    std::function<void(FaultScene&)> afterRun;

    [[nodiscard]] std::wstring TargetOf(const MediaRecord& record, Run run) const {
        const bool byProject = run == Run::storeByProject || run == Run::moveByProject;
        const std::wstring into = byProject ? platform::JoinPath(folder, record.projectName.str()) : folder;
        return platform::JoinPath(into, record.fileName.str());
    }
    void Place(const std::wstring& path, const std::string& bytes) {
        fixtures::WriteFile(path, bytes);
        placed[path] = bytes;
    }
    void PointAt(const std::wstring& path) {
        folder = path;
        prompts.folders.clear();
        prompts.folders.push_back(path);
    }
};

struct FaultCase {
    const char* name;
    Where where;
    Run run;
    std::function<void(FaultScene&)> setUp;
    std::vector<ConfirmAnswer> answers;
    // The console lines: "{a}" stands for the source path of a.omf (and so on), "{record b}" for the full path of
    // b's record, "{dst}" for the target folder; a line that ends with '*' is matched up to that character.
    std::vector<std::wstring> lines;
    const char* selected;     // first letters of the rows still selected afterwards
    const char* missing;      // of the records marked missing
    const char* atSource;     // of the files at their source
    const char* atTarget;     // of the files at their target
    const char* message = ""; // the one message box shown, if any
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

std::wstring Expand(std::wstring line, const FaultScene& scene) {
    const std::pair<std::wstring, std::wstring> tokens[] = {
        {L"{a}", scene.Source(kNames[0])},
        {L"{b}", scene.Source(kNames[1])},
        {L"{c}", scene.Source(kNames[2])},
        {L"{dst}", scene.folder},
        {L"{record b}",
         [&] {
             std::wstring path;
             scene.records[1]->GetFullPath(path, 4096);
             return path;
         }()},
    };
    for (const auto& [token, value] : tokens) {
        for (size_t at = line.find(token); at != std::wstring::npos; at = line.find(token, at + value.size())) {
            line.replace(at, token.size(), value);
        }
    }
    return line;
}

std::wstring W(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

using Call = FaultyFileSystem::Call;
constexpr auto Yes = ConfirmAnswer::Yes;
constexpr auto YesToAll = ConfirmAnswer::YesToAll;
constexpr auto Skip = ConfirmAnswer::Skip;

std::vector<FaultCase> Cases() {
    const std::wstring copyHead[] = {L"Copying files to:", L"{dst}"};
    const std::wstring moveHead[] = {L"Moving files to:", L"{dst}"};
    auto copyLines = [&](std::vector<std::wstring> body) {
        body.insert(body.begin(), std::begin(copyHead), std::end(copyHead));
        body.push_back(L"QRB::Copy::Ok");
        return body;
    };
    auto moveLines = [&](std::vector<std::wstring> body) {
        body.insert(body.begin(), std::begin(moveHead), std::end(moveHead));
        body.push_back(L"QRB::Move::Ok");
        return body;
    };
    auto deleteLines = [](std::vector<std::wstring> body) {
        body.insert(body.begin(), L"Deleting files...");
        body.push_back(L"QRB::Delete::Ok");
        return body;
    };
    auto storeLines = [](const wchar_t* head, std::vector<std::wstring> body) {
        body.insert(body.begin(), {head, L"{dst}"});
        body.push_back(L"QRB::Store::Ok");
        return body;
    };
    const auto vanish = [](FaultScene& s) {
        s.vanished.insert(L"b.omf");
        ASSERT_EQ(platform::RemoveFile(s.Source(L"b.omf")), 0u);
    };
    const auto fail = [](Call call, bool onTarget, uint32_t code, uint64_t written = 0) {
        return [=](FaultScene& s) {
            s.files.faults.push_back({call, onTarget ? s.Target(L"b.omf") : s.Source(L"b.omf"), code, written});
        };
    };
    const auto otherVolume = [](std::function<void(FaultScene&)> more) {
        return [more](FaultScene& s) {
            s.files.otherVolume = true;
            if (more) {
                more(s);
            }
        };
    };
    const auto readOnlyTarget = [](FaultScene& s) {
        s.Place(s.Target(L"b.omf"), "older take");
        ASSERT_EQ(platform::WriteAttributes(s.Target(L"b.omf"), platform::kAttributeReadOnly), 0u);
    };
    const auto heldTarget = [](FaultScene& s) {
        s.Place(s.Target(L"b.omf"), "older take");
        s.held = std::make_unique<HeldFile>(s.Target(L"b.omf"));
    };
    const auto heldSource = [](FaultScene& s) { s.held = std::make_unique<HeldFile>(s.Source(L"b.omf")); };
    const auto roundabout = [](FaultScene& s) {
        ASSERT_TRUE(fixtures::MakeFolders(s.src + Sep() + L"sub"));
        s.PointAt(s.src + Sep() + L"sub" + Sep() + L"..");
    };
    const auto cancelAt1MB = [](FaultScene& s) { s.files.cancelAtByte = 1024 * 1024; };
    const std::wstring equal = L"::Skipping File  because Source and Target filenames are equal";
    const std::wstring copyFailed = L"QRB::CopyFileEx)";
    // b's copy is written under its partial-copy name before it is renamed to its own.
    const auto failPartial = [](Call call, uint32_t code) {
        return [=](FaultScene& s) {
            s.files.faults.push_back({call, s.Target(L"b.omf") + kPartialCopyEnding, code, 0});
        };
    };
    // An older take of b is at the target and must stay exactly as it is.
    const auto overOlder = [](std::function<void(FaultScene&)> more) {
        return [more](FaultScene& s) {
            s.Place(s.Target(L"b.omf"), "older take of b");
            if (more) {
                more(s);
            }
        };
    };
    const auto overwriting = [&](std::vector<std::wstring> body) {
        body.insert(body.begin() + 2, L"QRB::Copy::Overwriting");
        return copyLines(body);
    };

    return {
        // Copy over an existing target: whatever fails, the older file stays as it was.
        {"copy over an older file: the disk fills part-way",
         Where::everywhere,
         Run::copy,
         overOlder(fail(Call::copy, false, kDiskFull, 4096)),
         {Yes},
         overwriting({L"{a}", L"{b}", ErrorLine(copyFailed, kDiskFull)}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy over an older file: the source vanished after the load",
         Where::everywhere,
         Run::copy,
         overOlder(vanish),
         {Yes},
         overwriting({L"{a}", L"{b}", ErrorLine(copyFailed, kFileNotFound)}),
         "bc",
         "",
         "ac",
         "a"},
        {"copy over an older file: access denied",
         Where::everywhere,
         Run::copy,
         overOlder(fail(Call::copy, false, kAccessDenied)),
         {Yes},
         overwriting({L"{a}", L"{b}", ErrorLine(copyFailed, kAccessDenied)}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy over an older file: the copy answers success but stops short",
         Where::everywhere,
         Run::copy,
         overOlder(fail(Call::copy, false, 0, 4096)),
         {Yes},
         overwriting({L"{a}", L"{b}", ErrorLine(copyFailed, platform::kErrorCopyIncomplete)}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy over an older file: the copy cannot be flushed",
         Where::everywhere,
         Run::copy,
         overOlder(failPartial(Call::flush, kDeviceError)),
         {Yes},
         overwriting({L"{a}", L"{b}", ErrorLine(copyFailed, kDeviceError)}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy over an older file: the finished copy cannot take its name",
         Where::everywhere,
         Run::copy,
         overOlder(failPartial(Call::move, kAccessDenied)),
         {Yes},
         overwriting({L"{a}", L"{b}", ErrorLine(copyFailed, kAccessDenied)}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy over a read-only older file: the finished copy cannot take its name",
         Where::everywhere,
         Run::copy,
         [&](FaultScene& s) {
             s.Place(s.Target(L"b.omf"), "older take of b");
             ASSERT_EQ(platform::WriteAttributes(s.Target(L"b.omf"), platform::kAttributeReadOnly), 0u);
             failPartial(Call::move, kAccessDenied)(s);
             s.afterRun = [](FaultScene& after) {
                 const uint32_t attributes = platform::ReadAttributes(after.Target(L"b.omf"));
                 EXPECT_NE(attributes & platform::kAttributeReadOnly, 0u) << "the older file is read-only again";
                 (void)platform::WriteAttributes(after.Target(L"b.omf"), platform::kAttributeNormal);
             };
         },
         {Yes},
         overwriting({L"{a}", L"{b}", ErrorLine(copyFailed, kAccessDenied)}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy over an older file: a source held open by another program",
         Where::filesHeldWithoutSharing,
         Run::copy,
         overOlder(heldSource),
         {Yes},
         overwriting({L"{a}", L"{b}", copyFailed + L" : error *"}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy over an older file: Cancel in the middle of a large copy",
         Where::copyStopsOnCancel,
         Run::copy,
         overOlder(cancelAt1MB),
         {Yes},
         overwriting({L"{a}", L"{b}", ErrorLine(copyFailed, platform::kErrorRequestAborted)}),
         "bc",
         "",
         "abc",
         "a"},
        {"move over an older file on one volume: the rename fails",
         Where::everywhere,
         Run::move,
         overOlder(fail(Call::move, false, kAccessDenied)),
         {Yes},
         moveLines({L"{a}", L"{b}", L"QRB::Move::Overwriting", ErrorLine(L"QRB::Move(MoveFileEx)", kAccessDenied)}),
         "bc",
         "a",
         "bc",
         "a"},
        {"move over an older file to another volume: the disk fills part-way",
         Where::everywhere,
         Run::move,
         overOlder(otherVolume(fail(Call::copy, false, kDiskFull, 4096))),
         {Yes},
         moveLines({L"{a}", L"{b}", L"QRB::Move::Overwriting", ErrorLine(L"QRB::Move(CopyFileEx)", kDiskFull)}),
         "bc",
         "a",
         "bc",
         "a"},
        {"store over an older file: the copy cannot be flushed",
         Where::everywhere,
         Run::store,
         overOlder(failPartial(Call::flush, kDeviceError)),
         {YesToAll},
         storeLines(L"(Copy)Storing files to:",
                    {L"{a}", L"{b}", L"QRB::Store::Overwriting", ErrorLine(L"QRB::Store(CopyFileEx))", kDeviceError)}),
         "bc",
         "",
         "abc",
         "a"},

        // Copy.
        {"copy: a source that vanished after the load",
         Where::everywhere,
         Run::copy,
         vanish,
         {},
         copyLines({L"{a}", L"{b}", copyFailed + L" : error 2:*"}),
         "bc",
         "",
         "ac",
         "a"},
        {"copy: the disk fills part-way",
         Where::everywhere,
         Run::copy,
         fail(Call::copy, false, kDiskFull, 65536),
         {},
         copyLines({L"{a}", L"{b}", ErrorLine(copyFailed, kDiskFull)}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy: access denied at the target",
         Where::everywhere,
         Run::copy,
         fail(Call::copy, false, kAccessDenied),
         {},
         copyLines({L"{a}", L"{b}", ErrorLine(copyFailed, kAccessDenied)}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy: a folder in the target's place",
         Where::everywhere,
         Run::copy,
         [](FaultScene& s) { ASSERT_TRUE(fixtures::MakeFolders(s.Target(L"b.omf"))); },
         {Yes},
         copyLines({L"{a}", L"{b}", L"QRB::Copy::Overwriting", copyFailed + L" : error *"}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy: Cancel in the middle of a large copy",
         Where::copyStopsOnCancel,
         Run::copy,
         cancelAt1MB,
         {},
         copyLines({L"{a}", L"{b}", ErrorLine(copyFailed, platform::kErrorRequestAborted)}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy: Cancel during a copy that runs to its end",
         Where::copyRunsToItsEnd,
         Run::copy,
         cancelAt1MB,
         {},
         copyLines({L"{a}", L"{b}", L"{c}", ErrorLine(copyFailed, platform::kErrorRequestAborted)}),
         "c",
         "",
         "abc",
         "ab"},
        {"copy: a source held open by another program",
         Where::filesHeldWithoutSharing,
         Run::copy,
         heldSource,
         {},
         copyLines({L"{a}", L"{b}", copyFailed + L" : error *"}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy: a target held open, overwrite answered Yes",
         Where::filesHeldWithoutSharing,
         Run::copy,
         heldTarget,
         {Yes},
         copyLines({L"{a}", L"{b}", L"QRB::Copy::Overwriting", copyFailed + L" : error *"}),
         "bc",
         "",
         "abc",
         "a"},
        {"copy: a read-only target, overwrite answered Yes",
         Where::everywhere,
         Run::copy,
         [&](FaultScene& s) {
             readOnlyTarget(s);
             s.placed.erase(s.Target(L"b.omf"));
         },
         {Yes},
         copyLines({L"{a}", L"{b}", L"QRB::Copy::Overwriting", L"{c}"}),
         "",
         "",
         "abc",
         "abc"},
        {"copy: a read-only target, overwrite answered Skip",
         Where::everywhere,
         Run::copy,
         readOnlyTarget,
         {Skip},
         copyLines({L"{a}", L"{b}", L"QRB::Copy::Skipping", L"{c}"}),
         "",
         "",
         "abc",
         "ac"},
        {"copy: the source folder under another spelling",
         Where::everywhere,
         Run::copy,
         roundabout,
         {YesToAll},
         copyLines({L"{a}", L"QRB::Copy" + equal, L"{b}", L"QRB::Copy" + equal, L"{c}", L"QRB::Copy" + equal}),
         "",
         "",
         "abc",
         "abc"},
        {"copy: a file name that leads out of the target folder",
         Where::everywhere,
         Run::copy,
         [](FaultScene& s) {
             ASSERT_TRUE(fixtures::MakeFolders(s.src + Sep() + L"sub"));
             s.records[1]->SetPath(s.src + Sep() + L"sub" + Sep());
             s.records[1]->SetFileName(L".." + Sep() + L"b.omf");
         },
         {},
         copyLines({L"{a}", L"{record b}",
                    L"QRB::Copy::Skipping File  because its file name cannot be used in a folder", L"{c}"}),
         "",
         "",
         "abc",
         "ac"},

        // Move.
        {"move: a source that vanished after the load",
         Where::everywhere,
         Run::move,
         vanish,
         {},
         moveLines({L"{a}", L"{b}", L"QRB::Move(MoveFileEx) : error 2:*"}),
         "bc",
         "a",
         "c",
         "a"},
        {"move: the rename is refused",
         Where::everywhere,
         Run::move,
         fail(Call::move, false, kAccessDenied),
         {},
         moveLines({L"{a}", L"{b}", ErrorLine(L"QRB::Move(MoveFileEx)", kAccessDenied)}),
         "bc",
         "a",
         "bc",
         "a"},
        {"move: a source held open by another program",
         Where::filesHeldWithoutSharing,
         Run::move,
         heldSource,
         {},
         moveLines({L"{a}", L"{b}", L"QRB::Move(MoveFileEx) : error *"}),
         "bc",
         "a",
         "bc",
         "a"},
        {"move: a target held open, overwrite answered Yes",
         Where::filesHeldWithoutSharing,
         Run::move,
         heldTarget,
         {Yes},
         moveLines({L"{a}", L"{b}", L"QRB::Move::Overwriting", L"QRB::Move(MoveFileEx) : error *"}),
         "bc",
         "a",
         "bc",
         "a"},
        {"move: a read-only target, overwrite answered Yes",
         Where::everywhere,
         Run::move,
         [&](FaultScene& s) {
             readOnlyTarget(s);
             s.placed.erase(s.Target(L"b.omf"));
         },
         {Yes},
         moveLines({L"{a}", L"{b}", L"QRB::Move::Overwriting", L"{c}"}),
         "",
         "abc",
         "",
         "abc"},
        {"move to another volume: the disk fills part-way",
         Where::everywhere,
         Run::move,
         otherVolume(fail(Call::copy, false, kDiskFull, 65536)),
         {},
         moveLines({L"{a}", L"{b}", ErrorLine(L"QRB::Move(CopyFileEx)", kDiskFull)}),
         "bc",
         "a",
         "bc",
         "a"},
        {"move to another volume: the source cannot be deleted",
         Where::everywhere,
         Run::move,
         otherVolume(fail(Call::remove, false, kAccessDenied)),
         {},
         moveLines({L"{a}", L"{b}", ErrorLine(L"QRB::Move(DeleteFile)", kAccessDenied)}),
         "bc",
         "a",
         "bc",
         "ab"},
        {"move to another volume: the copy answers success but stops short",
         Where::everywhere,
         Run::move,
         otherVolume(fail(Call::copy, false, 0, 4096)),
         {},
         moveLines({L"{a}", L"{b}", ErrorLine(L"QRB::Move(CopyFileEx)", platform::kErrorCopyIncomplete)}),
         "bc",
         "a",
         "bc",
         "a"},
        {"move to another volume: the copy cannot be flushed",
         Where::everywhere,
         Run::move,
         otherVolume(failPartial(Call::flush, kDeviceError)),
         {},
         moveLines({L"{a}", L"{b}", ErrorLine(L"QRB::Move(CopyFileEx)", kDeviceError)}),
         "bc",
         "a",
         "bc",
         "a"},
        {"move to another volume: a read-only source",
         Where::everywhere,
         Run::move,
         otherVolume([](FaultScene& s) {
             ASSERT_EQ(platform::WriteAttributes(s.Source(L"b.omf"), platform::kAttributeReadOnly), 0u);
         }),
         {},
         moveLines({L"{a}", L"{b}", L"{c}"}),
         "",
         "abc",
         "",
         "abc"},
        {"move to another volume: Cancel in the middle of a large copy",
         Where::copyStopsOnCancel,
         Run::move,
         otherVolume(cancelAt1MB),
         {},
         moveLines({L"{a}", L"{b}", ErrorLine(L"QRB::Move(CopyFileEx)", platform::kErrorRequestAborted)}),
         "bc",
         "a",
         "bc",
         "a"},
        {"move to another volume: Cancel during a copy that runs to its end",
         Where::copyRunsToItsEnd,
         Run::move,
         otherVolume(cancelAt1MB),
         {},
         moveLines({L"{a}", L"{b}", L"{c}", ErrorLine(L"QRB::Move(CopyFileEx)", platform::kErrorRequestAborted)}),
         "c",
         "ab",
         "c",
         "ab"},
        {"move: the source folder under another spelling",
         Where::everywhere,
         Run::move,
         roundabout,
         {YesToAll},
         moveLines({L"{a}", L"QRB::Move" + equal, L"{b}", L"QRB::Move" + equal, L"{c}", L"QRB::Move" + equal}),
         "",
         "",
         "abc",
         "abc"},
        {"move to another volume: the source folder under another spelling",
         Where::everywhere,
         Run::move,
         otherVolume(roundabout),
         {YesToAll},
         moveLines({L"{a}", L"QRB::Move" + equal, L"{b}", L"QRB::Move" + equal, L"{c}", L"QRB::Move" + equal}),
         "",
         "",
         "abc",
         "abc"},

        // Delete.
        {"delete: a file that vanished after the load",
         Where::everywhere,
         Run::remove,
         vanish,
         {YesToAll},
         deleteLines({L"QRB::Delete::Failed::{b}", L"QRB::Delete : error 2:*"}),
         "bc",
         "a",
         "c",
         ""},
        {"delete: the deletion is refused",
         Where::everywhere,
         Run::remove,
         fail(Call::remove, false, kAccessDenied),
         {YesToAll},
         deleteLines({L"QRB::Delete::Failed::{b}", ErrorLine(L"QRB::Delete", kAccessDenied)}),
         "bc",
         "a",
         "bc",
         ""},
        {"delete: a file held open by another program",
         Where::filesHeldWithoutSharing,
         Run::remove,
         heldSource,
         {YesToAll},
         deleteLines({L"QRB::Delete::Failed::{b}", L"QRB::Delete : error *"}),
         "bc",
         "a",
         "bc",
         ""},
        {"delete: a read-only file, the read-only question answered Skip",
         Where::everywhere,
         Run::remove,
         [](FaultScene& s) {
             ASSERT_EQ(platform::WriteAttributes(s.Source(L"b.omf"), platform::kAttributeReadOnly), 0u);
         },
         {YesToAll, Skip},
         deleteLines({L"QRB::Delete::Skipping::{b}"}),
         "",
         "ac",
         "b",
         ""},
        {"delete: attributes that cannot be read",
         Where::everywhere,
         Run::remove,
         [](FaultScene& s) {
             s.files.faults.push_back({Call::readAttributes, s.Source(L"b.omf")});
         },
         {YesToAll},
         deleteLines({}),
         "",
         "abc",
         "",
         ""},

        // Store.
        {"store: the disk fills part-way",
         Where::everywhere,
         Run::store,
         fail(Call::copy, false, kDiskFull, 65536),
         {},
         storeLines(L"(Copy)Storing files to:", {L"{a}", L"{b}", ErrorLine(L"QRB::Store(CopyFileEx))", kDiskFull)}),
         "bc",
         "",
         "abc",
         "a"},
        {"store by project: a pseudo-project",
         Where::everywhere,
         Run::storeByProject,
         [](FaultScene& s) { s.records[1]->SetProjectName(L"**UNKNOWN**"); },
         {},
         storeLines(L"(Copy)Storing files to:", {L"{a}"}),
         "bc",
         "",
         "abc",
         "a",
         "Aborted!"},
        {"store by project: a project name that leads out of the target folder",
         Where::everywhere,
         Run::storeByProject,
         [](FaultScene& s) { s.records[1]->SetProjectName(L".." + Sep() + L"outside"); },
         {},
         storeLines(L"(Copy)Storing files to:", {L"{a}"}),
         "bc",
         "",
         "abc",
         "a",
         "Aborted!"},
        {"store by project: a project name of two dots",
         Where::everywhere,
         Run::storeByProject,
         [](FaultScene& s) { s.records[1]->SetProjectName(L".."); },
         {},
         storeLines(L"(Copy)Storing files to:", {L"{a}"}),
         "bc",
         "",
         "abc",
         "a",
         "Aborted!"},
        {"store by project: the project folder cannot be made",
         Where::everywhere,
         Run::storeByProject,
         [](FaultScene& s) {
             s.records[1]->SetProjectName(L"Night Shoot");
             s.files.faults.push_back(
                 {Call::createFolder, s.dst + Sep() + L"Night Shoot", platform::kFolderPathNotFound});
         },
         {},
         storeLines(L"(Copy)Storing files to:", {L"{a}"}),
         "bc",
         "",
         "abc",
         "a",
         "Aborted!"},
        {"store moving: the rename is refused",
         Where::everywhere,
         Run::moveByProject,
         fail(Call::move, false, kAccessDenied),
         {},
         storeLines(L"(Move)Storing  files to:", {L"{a}", L"{b}", ErrorLine(L"QRB::Sore(MoveFileEx)", kAccessDenied)}),
         "bc",
         "a",
         "bc",
         "a"},
        {"store moving to another volume: the disk fills part-way",
         Where::everywhere,
         Run::moveByProject,
         otherVolume(fail(Call::copy, false, kDiskFull, 65536)),
         {},
         storeLines(L"(Move)Storing  files to:", {L"{a}", L"{b}", ErrorLine(L"QRB::Store(CopyFileEx)", kDiskFull)}),
         "bc",
         "a",
         "bc",
         "a"},
        {"store moving to another volume: the source cannot be deleted",
         Where::everywhere,
         Run::moveByProject,
         otherVolume(fail(Call::remove, false, kAccessDenied)),
         {},
         storeLines(L"(Move)Storing  files to:", {L"{a}", L"{b}", ErrorLine(L"QRB::Store(DeleteFile)", kAccessDenied)}),
         "bc",
         "a",
         "bc",
         "ab"},
    };
}

class FaultTableTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultTableTest, EveryFileStaysWholeAtItsSourceOrItsTarget) {
    const FaultCase& c = GetParam();
    if (!Holds(c.where)) {
        GTEST_SKIP() << "this system cannot make the fault";
    }
    FaultScene scene;
    for (size_t i = 0; i < 3; ++i) {
        scene.AddFile(kNames[i], kSizes[i], i < 2 ? L"Harbour" : L"Night Shoot");
    }
    c.setUp(scene);
    scene.prompts.confirmAnswers.assign(c.answers.begin(), c.answers.end());

    FileOperations operations = scene.Operations();
    switch (c.run) {
    case Run::copy:
        operations.CopyFiles();
        break;
    case Run::move:
        operations.MoveFiles();
        break;
    case Run::remove:
        operations.DeleteFiles();
        break;
    case Run::store:
        operations.StoreFiles(scene.folder, false, false);
        break;
    case Run::storeByProject:
        operations.StoreFiles(scene.folder, false, true);
        break;
    case Run::moveByProject:
        operations.StoreFiles(scene.folder, true, true);
        break;
    }
    scene.held.reset();
    if (scene.afterRun) {
        scene.afterRun(scene);
    }

    // The console, line by line.
    const std::vector<std::wstring>& lines = scene.console.lines;
    ASSERT_EQ(lines.size(), c.lines.size()) << ::testing::PrintToString(lines);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::wstring expected = Expand(c.lines[i], scene);
        if (!expected.empty() && expected.back() == L'*') {
            expected.pop_back();
            EXPECT_EQ(lines[i].substr(0, expected.size()), expected) << i;
        } else {
            EXPECT_EQ(lines[i], expected) << i;
        }
    }
    std::wstring selected;
    std::wstring missing;
    for (size_t i = 0; i < 3; ++i) {
        if (scene.selection.rows[i].selected) {
            selected += kNames[i][0];
        }
        if (scene.records[i]->IsMissing()) {
            missing += kNames[i][0];
        }
    }
    EXPECT_EQ(selected, W(c.selected));
    EXPECT_EQ(missing, W(c.missing));
    std::vector<std::wstring> messages;
    for (const auto& question : scene.prompts.asked) {
        if (question.kind == L"ShowMessage") {
            messages.push_back(question.first);
        }
    }
    EXPECT_EQ(messages, c.message[0] == '\0' ? std::vector<std::wstring>{} : std::vector<std::wstring>{W(c.message)});
    EXPECT_EQ(scene.host.entered, scene.host.left);
    EXPECT_EQ(scene.host.opened, scene.host.closed);

    // Where the files are, and that each is whole wherever it is.
    std::wstring atSource;
    std::wstring atTarget;
    for (size_t i = 0; i < 3; ++i) {
        const std::wstring name = kNames[i];
        const std::wstring source = scene.Source(name);
        const std::wstring target = scene.TargetOf(*scene.records[i], c.run);
        const std::string& original = scene.content[name];
        const std::string atSourceBytes = ReadBytes(source);
        const std::string atTargetBytes = ReadBytes(target);
        if (atSourceBytes != "<missing>") {
            atSource += name[0];
            EXPECT_EQ(atSourceBytes, original) << "source of " << platform::WideToUtf8(name);
        }
        if (atTargetBytes != "<missing>") {
            const auto placed = scene.placed.find(target);
            if (placed == scene.placed.end()) {
                atTarget += name[0];
                EXPECT_EQ(atTargetBytes, original) << "target of " << platform::WideToUtf8(name);
            } else {
                EXPECT_EQ(atTargetBytes, placed->second) << "placed at the target of " << platform::WideToUtf8(name);
            }
        }
        // Files vanish before the run, and a delete run deletes the files it was told to: all others stay.
        const bool deleted = c.run == Run::remove && scene.records[i]->IsMissing();
        if (scene.vanished.count(name) == 0 && !deleted) {
            EXPECT_TRUE(atSourceBytes == original || atTargetBytes == original)
                << platform::WideToUtf8(name) << " is lost";
        }
    }
    EXPECT_EQ(atSource, W(c.atSource));
    EXPECT_EQ(atTarget, W(c.atTarget));

    // Nothing was written beside the two folders, and no attributes were written that were never read.
    std::vector<std::wstring> top;
    platform::ListFolder(scene.dir.Path(), [&](const platform::FolderEntry& e) {
        if (e.name != L"." && e.name != L"..") {
            top.push_back(e.name);
        }
    });
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::wstring>{L"dst", L"src"}));
    // No partial copy is left in any folder a run wrote to.
    std::function<void(const std::wstring&)> noPartial = [&](const std::wstring& folder) {
        platform::ListFolder(folder, [&](const platform::FolderEntry& e) {
            if (e.name == L"." || e.name == L"..") {
                return;
            }
            EXPECT_EQ(e.name.find(kPartialCopyEnding), std::wstring::npos) << platform::WideToUtf8(e.name);
            if ((e.attributes & platform::kAttributeDirectory) != 0) {
                noPartial(platform::JoinPath(folder, e.name));
            }
        });
    };
    noPartial(scene.dir.Path());
    for (const auto& [path, attributes] : scene.files.attributeWrites) {
        EXPECT_NE(attributes, platform::kInvalidAttributes & ~platform::kAttributeReadOnly)
            << platform::WideToUtf8(path);
        for (const auto& fault : scene.files.faults) {
            EXPECT_FALSE(fault.call == Call::readAttributes && fault.path == path) << platform::WideToUtf8(path);
        }
    }
}

std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info) {
    std::string name;
    for (const char* p = info.param.name; *p != '\0'; ++p) {
        const bool word = (*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9');
        if (word) {
            name += *p;
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    while (!name.empty() && name.back() == '_') {
        name.pop_back();
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTableTest, ::testing::ValuesIn(Cases()), CaseName);

} // namespace
} // namespace tw::testing_ops
