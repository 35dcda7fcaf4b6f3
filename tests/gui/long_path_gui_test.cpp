// Paths longer than MAX_PATH (260 characters) in the main window: a database in a media folder that deep is found
// by the start-up search, loaded by "Scan!" and by a drop of its folder, and its files are stored through the store
// dialog into a folder that deep, each by the engines the window runs them with.
#include "app/application.h"
#include "app/main_window.h"
#include "catalog/media_record.h"
#include "fixtures/file_io.h"
#include "fixtures/media_folder_writer.h"
#include "gui_harness.h"
#include "main_window_run.h"
#include "platform/platform.h"
#include "resource.h"
#include "ui/file_cells.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tw::gui {
namespace {

struct LongPathCase {
    const char* name;
    size_t mediaLength;  // the media folder's full path is at least this long (0: right below the drive)
    size_t targetLength; // and so is the store target's
};

const LongPathCase kCases[] = {
    {"MediaFolderPast260", 300, 0},
    {"TargetPast260", 0, 300},
    {"BothFarPast260", 700, 1200},
    {"TargetNearTheStoreDialogsLimit", 0, 3400}, // the dialog takes up to 3,500 characters
};

// base, with folders of 60-odd characters below it until the path has at least length characters.
std::wstring DeepPath(std::wstring path, size_t length) {
    for (int level = 1; path.size() < length; ++level) {
        path += L"\\Reel " + std::to_wstring(level) + L" of a long night shoot on the harbour, camera B, take";
    }
    return path;
}

std::vector<fixtures::MediaFile> TwoFiles() {
    std::vector<fixtures::MediaFile> files;
    for (uint32_t i = 1; i <= 2; ++i) {
        fixtures::MediaFile file;
        file.name = "L0" + std::to_string(i) + "C01.V1.omf";
        file.project = "Harbour";
        file.media.compUid = 0x7700 + i;
        file.media.fileMobId = 0x7800 + i;
        file.media.nameInBin = "Take " + std::to_string(i);
        file.media.mediaKind = 7;
        file.media.compressionCode = 0x4C;
        file.payload = 1500 * i;
        files.push_back(file);
    }
    return files;
}

std::wstring Cell(HWND list, int row, FileColumn column) {
    std::wstring text(4096, L'\0');
    ListView_GetItemText(list, row, static_cast<int>(column), text.data(), static_cast<int>(text.size()));
    text.resize(wcslen(text.c_str()));
    return text;
}

uint64_t SizeOf(const std::wstring& path) {
    platform::FolderEntry entry;
    return platform::GetEntry(path, entry) ? entry.size : UINT64_MAX;
}

class LongPathGuiTest : public testing::TestWithParam<LongPathCase> {
protected:
    void SetUp() override {
        const LongPathCase& c = GetParam();
        media = DeepPath(drive.Path() + L"\\OMFI MediaFiles", c.mediaLength);
        target = DeepPath(drive.Path() + L"\\Store", c.targetLength);
        ASSERT_GE(media.size(), c.mediaLength);
        ASSERT_GE(target.size(), c.targetLength);
        fixtures::MediaFolder spec;
        spec.files = TwoFiles();
        ASSERT_TRUE(fixtures::WriteMediaFolder(media, spec));
        for (const fixtures::MediaFile& file : spec.files) {
            names.push_back(std::wstring(file.name.begin(), file.name.end()));
        }
    }

    // Shows every project and waits for the two rows; each stands in the media folder, its file there.
    void ExpectRowsFromTheMediaFolder(HWND window, Application& app) {
        HWND projects = GetDlgItem(window, IDC_PROJECT_LIST);
        HWND files = GetDlgItem(window, IDC_FILE_LIST);
        ASSERT_GE(ListView_GetItemCount(projects), 1);
        ListView_SetItemState(projects, -1, LVIS_SELECTED, LVIS_SELECTED);
        ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(files) == 2; }, 5000));
        for (int row = 0; row < 2; ++row) {
            // A loaded record's folder ends in a separator, a dropped file's does not.
            std::wstring folder = Cell(files, row, FileColumn::path);
            if (!folder.empty() && folder.back() == L'\\') {
                folder.pop_back();
            }
            EXPECT_EQ(folder, media) << row;
            LVITEMW item{};
            item.mask = LVIF_PARAM;
            item.iItem = row;
            ListView_GetItem(files, &item);
            const MediaRecord* record = app.catalog.RecordAt(static_cast<uint32_t>(item.lParam));
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(record->size, SizeOf(media + L"\\" + Cell(files, row, FileColumn::name))) << row;
            EXPECT_NE(record->attributes, kMissingAttributes) << row;
        }
    }

    fixtures::ScratchDir drive{L"tw-gui-long"};
    std::wstring media;
    std::wstring target;
    std::vector<std::wstring> names;
};

TEST_P(LongPathGuiTest, FoundLoadedDroppedAndStored) {
    RunMainWindowOn({drive.Path() + L"\\"}, [&](HWND window, Application& app, MainWindow&) {
        // The start-up search lists the database, checked.
        HWND tree = GetDlgItem(window, IDC_DATABASE_TREE);
        HTREEITEM item = TreeView_GetChild(tree, TreeView_GetRoot(tree));
        ASSERT_NE(item, nullptr);
        std::wstring text(4096, L'\0');
        TVITEMW tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = text.data();
        tv.cchTextMax = static_cast<int>(text.size());
        TreeView_GetItem(tree, &tv);
        EXPECT_EQ(std::wstring(text.c_str()), media + L"\\msmFMID.pmr");
        EXPECT_EQ(TreeView_GetCheckState(tree, item), 1u);
        EXPECT_EQ(TreeView_GetNextSibling(tree, item), nullptr);

        SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
        ExpectRowsFromTheMediaFolder(window, app);

        // Both rows stored, copied, into the target folder, which the dialog offers to make.
        HWND files = GetDlgItem(window, IDC_FILE_LIST);
        ListView_SetItemState(files, -1, LVIS_SELECTED, LVIS_SELECTED);
        // The store dialog belongs to the main window: matched by its caption, owned or not.
        WhenWindowAppears([](HWND w) { return WindowText(w) == L"Store selected files..."; },
                          [&](HWND store) {
                              SetDlgItemTextW(store, IDC_STORE_TARGET, target.c_str());
                              WhenWindowAppears(
                                  ShowsText(L"Target folder does not exist\nwould you like to create it?"),
                                  [](HWND box) { ClickButton(box, IDYES); });
                              ClickButton(store, IDC_STORE_TO_FOLDER);
                          });
        SetFocus(files);
        SendMessageW(files, WM_KEYDOWN, VK_F4, 0);
        EXPECT_TRUE(AllStepsRan());
        for (const std::wstring& name : names) {
            EXPECT_EQ(SizeOf(target + L"\\" + name), SizeOf(media + L"\\" + name)) << platform::WideToUtf8(name);
        }
        const std::vector<std::wstring> lines = ListBoxLines(GetDlgItem(app.console->Window(), IDC_CONSOLE_LINES));
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), L"QRB::Store::Ok");

        // The media folder dropped on the project list loads the same rows.
        HWND projects = GetDlgItem(window, IDC_PROJECT_LIST);
        SendMessageW(projects, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({media})), 0);
        ExpectRowsFromTheMediaFolder(window, app);
    });
}

INSTANTIATE_TEST_SUITE_P(Paths, LongPathGuiTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<LongPathCase>& info) { return info.param.name; });

} // namespace
} // namespace tw::gui
