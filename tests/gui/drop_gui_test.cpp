// Drops on the project list, end to end on a generated media drive: a bin matched against two checked databases,
// a bin with a loose file, folders and a drop of nothing usable. Each drop replaces what is listed.
#include "app/application.h"
#include "app/main_window.h"
#include "fixtures/drive_list.h"
#include "fixtures/media_folder_writer.h"
#include "fixtures/sample_drive.h"
#include "gui_harness.h"
#include "main_window_run.h"
#include "platform/platform.h"
#include "resource.h"
#include "ui/banner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include <commctrl.h>

namespace tw::gui {
namespace {

constexpr size_t kEntries = 60;
constexpr uint32_t kSeed = 5;
constexpr size_t kPayload = 64;

// What a drop is expected to list.
struct Listing {
    std::set<std::wstring> projects;
    std::set<std::wstring> files;
    uint64_t totalSize = 0;
};

// The dialog windows without parent (progress windows) that this thread creates while the hook is set, and how many
// of them came while the project list was enabled.
HWND projectListOfHook = nullptr;
int windowsCreated = 0;
int createdWhileListEnabled = 0;
HHOOK hook = nullptr;

LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t windowClass[32] = {};
    if (code == HCBT_CREATEWND && GetParent(reinterpret_cast<HWND>(wParam)) == nullptr &&
        GetClassNameW(reinterpret_cast<HWND>(wParam), windowClass, 32) > 0 && std::wstring(windowClass) == L"#32770") {
        ++windowsCreated;
        createdWhileListEnabled += IsWindowEnabled(projectListOfHook) ? 1 : 0;
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

class DropGuiTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        drive = std::make_unique<fixtures::ScratchDir>(L"tw-gui-drops");
        ASSERT_TRUE(fixtures::WriteSampleDrive(*drive / L"M", kEntries, kSeed, kPayload, indexes));
    }
    static void TearDownTestSuite() { drive.reset(); }

    void Run(const std::function<void(HWND)>& scenario) {
        RunMainWindowOn({drive->Path() + L"\\M\\"}, [&](HWND window, Application& running, MainWindow&) {
            app = &running;
            scenario(window);
        });
    }

    // Drops names on the project list and checks what the windows then show. Each bin opens one progress window,
    // while the lists are disabled.
    void DropAndCheck(HWND window, const std::vector<std::wstring>& names, const Listing& expected, int bins) {
        HWND projects = GetDlgItem(window, IDC_PROJECT_LIST);
        HWND files = GetDlgItem(window, IDC_FILE_LIST);
        projectListOfHook = projects;
        windowsCreated = 0;
        createdWhileListEnabled = 0;
        hook = SetWindowsHookExW(WH_CBT, WatchCreation, nullptr, GetCurrentThreadId());
        SendMessageW(projects, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names)), 0);
        UnhookWindowsHookEx(hook);
        EXPECT_EQ(windowsCreated, bins);
        EXPECT_EQ(createdWhileListEnabled, 0);
        for (int id : {IDC_PROJECT_LIST, IDC_FILE_LIST, IDC_SCAN, IDC_SEARCH_DATABASES}) {
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, id))) << id; // the busy state is over
        }
        std::set<std::wstring> listedProjects;
        for (int row = 0; row < ListView_GetItemCount(projects); ++row) {
            wchar_t text[256] = {};
            ListView_GetItemText(projects, row, 0, text, 256);
            listedProjects.insert(text);
        }
        EXPECT_EQ(listedProjects, expected.projects);
        EXPECT_EQ(ControlText(window, IDC_HINT_STATISTICS),
                  L"Projects count:\t" + std::to_wstring(expected.projects.size()) + L"\nFiles count:\t" +
                      std::to_wstring(expected.files.size()) + L"\nTotal size\t" +
                      platform::FormatByteSize(expected.totalSize));
        EXPECT_EQ(ListView_GetItemCount(files), 0);
        // Every project selected: the file list shows exactly the dropped media.
        ListView_SetItemState(projects, -1, LVIS_SELECTED, LVIS_SELECTED);
        EXPECT_TRUE(
            PumpUntil([&] { return ListView_GetItemCount(files) == static_cast<int>(expected.files.size()); }, 5000));
        std::set<std::wstring> listedFiles;
        for (int row = 0; row < ListView_GetItemCount(files); ++row) {
            wchar_t text[512] = {};
            ListView_GetItemText(files, row, 0, text, 512);
            listedFiles.insert(text);
        }
        EXPECT_EQ(listedFiles, expected.files);
    }

    static void Uncheck(HWND tree, const std::wstring& path) {
        for (HTREEITEM item = TreeView_GetChild(tree, TreeView_GetRoot(tree)); item != nullptr;
             item = TreeView_GetNextSibling(tree, item)) {
            wchar_t text[1024] = {};
            TVITEMW data{};
            data.mask = TVIF_TEXT;
            data.hItem = item;
            data.pszText = text;
            data.cchTextMax = 1024;
            TreeView_GetItem(tree, &data);
            if (path == text) {
                TreeView_SetCheckState(tree, item, FALSE);
            }
        }
    }

    static std::unique_ptr<fixtures::ScratchDir> drive;
    static std::vector<std::wstring> indexes;
    Application* app = nullptr;
};

std::unique_ptr<fixtures::ScratchDir> DropGuiTest::drive;
std::vector<std::wstring> DropGuiTest::indexes;

TEST_F(DropGuiTest, EveryDropReplacesTheListsWithWhatItHolds) {
    // The bin: two media of the first database and one of the third, which stay checked, and one of the second,
    // which is unchecked.
    const std::vector<fixtures::SampleDatabase> databases = fixtures::MakeSampleDrive(kEntries, kSeed, kPayload);
    std::vector<uint64_t> ids;
    Listing fromBin;
    auto pick = [&](size_t db, size_t count, bool listed) {
        for (const fixtures::MediaFile& f : databases[db].content.files) {
            if (count > 0 && f.indexed && f.onDisk && !f.project.empty()) {
                ids.push_back(f.media.fileMobId);
                if (listed) {
                    fromBin.projects.insert(platform::AnsiToWide(f.project.c_str(), f.project.size()));
                    fromBin.files.insert(fixtures::DiskName(f.name));
                    fromBin.totalSize += fixtures::MediaFileBytes(f).size();
                }
                --count;
            }
        }
    };
    pick(0, 2, true);
    pick(2, 1, true);
    pick(1, 1, false);
    ASSERT_EQ(fromBin.files.size(), 3u);
    const fixtures::ScratchDir items(L"tw-gui-drop-items");
    const std::wstring bin = items / L"Three.avb";
    ASSERT_TRUE(fixtures::WriteFile(bin, fixtures::BuildBin(ids)));
    const std::wstring wav = items / L"extra.wav";
    ASSERT_TRUE(fixtures::WriteFile(wav, std::string(1000, 'w')));
    Listing binAndWav = fromBin;
    binAndWav.projects.insert(L"**UNKNOWN**");
    binAndWav.files.insert(L"extra.wav");
    binAndWav.totalSize += 1000;

    const std::wstring folder = items / L"Folder";
    ASSERT_TRUE(fixtures::MakeFolders(folder + L"\\sub"));
    fixtures::MediaDescription media;
    media.fileMobId = 0x0102030405060708ull;
    const fixtures::Bytes omf = fixtures::BuildOmfFile(media, std::string("Harbour Lights"));
    ASSERT_TRUE(fixtures::WriteFile(folder + L"\\sub\\clip.OMF", omf));
    ASSERT_TRUE(fixtures::WriteFile(folder + L"\\sub\\note.txt", std::string(10, 'n')));
    ASSERT_TRUE(fixtures::WriteFile(folder + L"\\clipomf", std::string(20, 'c')));
    const Listing fromFolder{{L"Harbour Lights"}, {L"clip.OMF"}, omf.size()};
    const Listing folderAndFile{{L"Harbour Lights", L"**UNKNOWN**"}, {L"clip.OMF", L"clipomf"}, omf.size() + 20};
    const std::wstring notes = items / L"notes.txt";
    ASSERT_TRUE(fixtures::WriteFile(notes, std::string(5, 'x')));

    Run([&](HWND window) {
        HWND tree = GetDlgItem(window, IDC_DATABASE_TREE);
        Uncheck(tree, indexes[1]);
        Uncheck(tree, indexes[3]);
        {
            SCOPED_TRACE("a bin, two databases checked");
            DropAndCheck(window, {bin}, fromBin, 1);
        }
        {
            SCOPED_TRACE("a bin and a loose file");
            DropAndCheck(window, {wav, bin}, binAndWav, 1);
        }
        {
            SCOPED_TRACE("a folder");
            DropAndCheck(window, {folder}, fromFolder, 0);
        }
        {
            SCOPED_TRACE("a folder and a file without a dot dropped directly");
            DropAndCheck(window, {folder + L"\\clipomf", folder}, folderAndFile, 0);
        }
        {
            SCOPED_TRACE("nothing usable");
            DropAndCheck(window, {notes}, Listing{}, 0);
            EXPECT_EQ(ControlText(window, IDC_HINT_STATISTICS),
                      L"Projects count:\t0\nFiles count:\t0\nTotal size\t0 bytes");
        }
        EXPECT_EQ(app->catalog.ProjectCount(), 0u);
    });
}

} // namespace
} // namespace tw::gui
