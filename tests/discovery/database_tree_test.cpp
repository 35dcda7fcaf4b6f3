#include "discovery/database_tree.h"
#include "fixtures/drive_list.h"
#include "fixtures/file_io.h"
#include "fixtures/recording_progress.h"
#include "fixtures/sample_drive.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tw {
namespace {

// The tree control, as a list of items sorted in the platform's text order.
class FakeTree : public DatabaseTreeControl {
public:
    struct Item {
        std::wstring text;
        uint16_t id;
        bool checked;
    };
    void DeleteDatabaseItems() override { items.clear(); }
    void InsertDatabaseItem(const std::wstring& path, uint16_t id) override {
        Item item{path, id, true};
        items.insert(std::upper_bound(items.begin(), items.end(), item,
                                      [](const Item& a, const Item& b) {
                                          return platform::CompareTextIgnoringCase(a.text, b.text) < 0;
                                      }),
                     item);
    }
    std::vector<std::pair<uint16_t, bool>> DatabaseItems() const override {
        std::vector<std::pair<uint16_t, bool>> out;
        for (const Item& i : items) {
            out.emplace_back(i.id, i.checked);
        }
        return out;
    }
    void DeleteDatabaseItem(uint16_t id) override {
        items.erase(std::remove_if(items.begin(), items.end(), [id](const Item& i) { return i.id == id; }),
                    items.end());
    }
    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> out;
        for (const Item& i : items) {
            out.push_back(i.text);
        }
        return out;
    }
    std::vector<Item> items;
};

// Drive roots are folders of a scratch folder; the drive list is built from them like the system's.
class DatabaseTreeTest : public ::testing::Test {
protected:
    std::wstring Drive(const std::wstring& name) {
        const std::wstring root = dir / name;
        EXPECT_TRUE(fixtures::MakeFolders(root));
        roots.push_back(root + std::wstring(1, platform::kPathSeparator));
        return root;
    }
    std::wstring Index(const std::wstring& folder) {
        EXPECT_TRUE(fixtures::MakeFolders(folder));
        const std::wstring path = platform::JoinPath(folder, L"msmFMID.pmr");
        EXPECT_TRUE(fixtures::WriteFile(path, std::string("index")));
        return path;
    }
    static std::wstring J(const std::wstring& a, const std::wstring& b) { return platform::JoinPath(a, b); }

    DatabaseTree MakeTree() {
        return DatabaseTree(
            tree, [this](uint32_t length, wchar_t* buffer) { return fixtures::DriveList(roots)(length, buffer); },
            [this]() -> std::unique_ptr<Progress> {
                ++progressWindows;
                return std::make_unique<fixtures::RecordingProgress>(&captions);
            });
    }

    fixtures::ScratchDir dir;
    std::vector<std::wstring> roots;
    FakeTree tree;
    int progressWindows = 0;
    std::vector<std::wstring> captions;
};

TEST_F(DatabaseTreeTest, ScanFindsIndexesAtAnyDepthOfBothMediaFolders) {
    const std::wstring c = Drive(L"C");
    const std::wstring top = Index(J(c, L"OMFI MediaFiles"));
    const std::wstring deep =
        Index(J(c, L"OMFI MediaFiles") + std::wstring(1, platform::kPathSeparator) + L"a" +
              std::wstring(1, platform::kPathSeparator) + L"b" + std::wstring(1, platform::kPathSeparator) + L"c");
    const std::wstring d = Drive(L"D");
    const std::wstring lower = Index(J(d, L"avid mediafiles"));
    ASSERT_TRUE(fixtures::WriteFile(J(J(d, L"avid mediafiles"), L"MSMFMID.PMR"), std::string("x")));
    Index(J(d, L"Elsewhere")); // outside the media folders: not searched

    DatabaseTree dt = MakeTree();
    dt.ScanAllDrives();
    std::vector<std::wstring> expected = {top, deep, lower};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(tree.Texts(), expected);
    for (const auto& item : tree.items) {
        EXPECT_TRUE(item.checked);
    }
    EXPECT_EQ(progressWindows, 1);
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(captions.front(), L"Scanning All drives for databases");
    EXPECT_NE(std::find(captions.begin(), captions.end(), deep), captions.end());
    EXPECT_EQ(dt.CheckedDatabases().size(), 3u);
}

TEST_F(DatabaseTreeTest, NoDrivesNoProgressWindow) {
    DatabaseTree dt = MakeTree();
    dt.ScanAllDrives();
    EXPECT_TRUE(tree.items.empty());
    EXPECT_EQ(progressWindows, 0);
}

TEST_F(DatabaseTreeTest, DropsAddIndexFilesAndSearchFoldersWithoutDuplicates) {
    DatabaseTree dt = MakeTree();
    const std::wstring loose = dir / L"loose";
    ASSERT_TRUE(fixtures::MakeFolders(loose));
    for (const wchar_t* name : {L"old.pmr", L"old.PMR", L"old.Pmr", L"notes.txt"}) {
        ASSERT_TRUE(fixtures::WriteFile(J(loose, name), std::string("x")));
    }
    const std::wstring below = Index(J(J(dir.Path(), L"project"), L"deep"));
    dt.OnDropFiles({J(loose, L"old.pmr"), J(loose, L"old.PMR"), J(loose, L"old.Pmr"), J(loose, L"notes.txt"),
                    J(dir.Path(), L"project")});
    std::vector<std::wstring> expected = {J(loose, L"old.pmr"), J(loose, L"old.PMR"), below};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(tree.Texts(), expected);
    // Names are taken from the last to the first: the folder's index got the first id.
    EXPECT_EQ(*dt.List().FindDatabase(0), below);

    tree.items[0].checked = false;
    tree.items[1].checked = false;
    dt.OnDropFiles({J(loose, L"old.pmr"), J(dir.Path(), L"project")}); // already listed
    EXPECT_EQ(tree.Texts(), expected);
    for (const auto& item : tree.items) {
        EXPECT_TRUE(item.checked); // the rebuild checks every item again
    }
    EXPECT_EQ(progressWindows, 0);
}

TEST_F(DatabaseTreeTest, ScanReplacesDroppedDatabasesAndIdsRunOn) {
    const std::wstring c = Drive(L"C");
    const std::wstring media = Index(J(c, L"AVID MediaFiles"));
    DatabaseTree dt = MakeTree();
    dt.ScanAllDrives();
    EXPECT_EQ(dt.List().NextId(), 1);
    ASSERT_TRUE(fixtures::WriteFile(dir / L"dropped.pmr", std::string("x")));
    dt.OnDropFiles({dir / L"dropped.pmr"});
    EXPECT_EQ(tree.items.size(), 2u);
    dt.ScanAllDrives();
    EXPECT_EQ(tree.Texts(), std::vector<std::wstring>{media});
    EXPECT_EQ(tree.items[0].id, 2); // ids are never reset
}

TEST_F(DatabaseTreeTest, CheckedDatabasesFollowTheCheckBoxesInTreeOrder) {
    DatabaseTree dt = MakeTree();
    for (const wchar_t* name : {L"b.pmr", L"a.pmr", L"c.pmr"}) {
        ASSERT_TRUE(fixtures::WriteFile(dir / name, std::string("x")));
    }
    dt.OnDropFiles({dir / L"b.pmr", dir / L"a.pmr", dir / L"c.pmr"});
    tree.items[1].checked = false;
    EXPECT_EQ(dt.CheckedDatabases(), (std::vector<std::wstring>{dir / L"a.pmr", dir / L"c.pmr"}));
    dt.List().RemoveDatabase(tree.items[0].id); // an item without a path is passed over
    EXPECT_EQ(dt.CheckedDatabases(), (std::vector<std::wstring>{dir / L"c.pmr"}));
}

TEST_F(DatabaseTreeTest, DeletingCheckedDatabasesDropsTheItemsWhoseIndexWentAndKeepsTheRest) {
    DatabaseTree dt = MakeTree();
    for (const wchar_t* name : {L"a.pmr", L"b.pmr", L"c.pmr", L"d.pmr"}) {
        ASSERT_TRUE(fixtures::WriteFile(dir / name, std::string("x")));
    }
    dt.OnDropFiles({dir / L"a.pmr", dir / L"b.pmr", dir / L"c.pmr", dir / L"d.pmr"});
    tree.items[1].checked = false;              // b: unchecked
    dt.List().RemoveDatabase(tree.items[3].id); // d: checked, without a path
    std::vector<std::wstring> asked;
    dt.DeleteCheckedDatabases([&](const std::wstring& path) {
        asked.push_back(path);
        return path != dir / L"c.pmr"; // c's index refuses
    });
    EXPECT_EQ(asked, (std::vector<std::wstring>{dir / L"a.pmr", dir / L"c.pmr"}));
    EXPECT_EQ(tree.Texts(), (std::vector<std::wstring>{dir / L"b.pmr", dir / L"c.pmr", dir / L"d.pmr"}));
    EXPECT_FALSE(tree.items[0].checked);
    EXPECT_TRUE(tree.items[1].checked);
    EXPECT_FALSE(dt.List().ContainsDatabase(dir / L"a.pmr"));
    EXPECT_TRUE(dt.List().ContainsDatabase(dir / L"c.pmr"));

    asked.clear();
    for (auto& item : tree.items) {
        item.checked = false;
    }
    dt.DeleteCheckedDatabases([&](const std::wstring& path) {
        asked.push_back(path);
        return true;
    });
    EXPECT_TRUE(asked.empty()); // nothing checked: nothing asked
    EXPECT_EQ(tree.items.size(), 3u);
}

TEST_F(DatabaseTreeTest, CheckedDatabasesLoadIntoOneCatalogAndBinsLoadOnlyTheirMedia) {
    std::vector<std::wstring> indexes;
    ASSERT_TRUE(fixtures::WriteSampleDrive(Drive(L"M"), 60, 3, 0, indexes));
    DatabaseTree dt = MakeTree();
    dt.ScanAllDrives();
    ASSERT_EQ(tree.items.size(), indexes.size());
    tree.items[0].checked = false;
    const std::wstring unchecked = tree.items[0].text;

    MediaCatalog catalog;
    dt.LoadCheckedDatabases(catalog, false, nullptr);
    ASSERT_GT(catalog.IndexedRecordCount(), 0u);
    const std::wstring uncheckedFolder = platform::RemoveFileSpec(unchecked);
    ReferencedIds bin;
    std::vector<std::wstring> expected;
    std::set<std::wstring> folders;
    for (uint32_t i = 0; i < catalog.IndexedRecordCount(); ++i) {
        const MediaRecord* r = catalog.RecordAt(i);
        EXPECT_NE(r->path, uncheckedFolder); // nothing of the unchecked database
        if (r->fileMobId != 0 && folders.insert(r->path.str()).second) {
            bin.insert({static_cast<uint32_t>(r->fileMobId), static_cast<uint32_t>(r->fileMobId >> 32)});
            expected.push_back(r->fileName.str());
        }
    }
    EXPECT_EQ(folders.size(), indexes.size() - 1);

    catalog.Clear();
    dt.LoadCheckedDatabasesForBin(catalog, true, nullptr, &bin);
    std::vector<std::wstring> loaded;
    for (uint32_t i = 0; i < catalog.IndexedRecordCount(); ++i) {
        loaded.push_back(catalog.RecordAt(i)->fileName.str());
    }
    std::sort(expected.begin(), expected.end());
    std::sort(loaded.begin(), loaded.end());
    EXPECT_EQ(loaded, expected);
}

TEST(DriveListTest, GrowingListsAreReadWhole) {
    // 30 roots of 20 units: longer than 260; the list grows once more between the calls.
    std::wstring list;
    for (int i = 0; i < 30; ++i) {
        std::wstring root = L"/mnt/volume-" + std::to_wstring(1000000 + i) + L"/";
        list += root;
        list += L'\0';
    }
    int calls = 0;
    std::vector<uint32_t> announced;
    auto source = [&](uint32_t length, wchar_t* buffer) -> uint32_t {
        ++calls;
        announced.push_back(length);
        if (calls == 2) {
            list += L"/mnt/late/";
            list += L'\0';
        }
        if (length < list.size() + 1) {
            return static_cast<uint32_t>(list.size() + 1);
        }
        std::copy(list.begin(), list.end(), buffer);
        buffer[list.size()] = 0;
        return static_cast<uint32_t>(list.size());
    };
    const std::vector<std::wstring> drives = ReadDriveList(source);
    ASSERT_EQ(drives.size(), 31u);
    EXPECT_EQ(drives.front(), L"/mnt/volume-1000000/");
    EXPECT_EQ(drives.back(), L"/mnt/late/");
    EXPECT_EQ(announced.front(), 260u);
    EXPECT_EQ(calls, 3);
}

TEST(DriveListTest, EmptyAndFailingListsGiveNoDrives) {
    EXPECT_TRUE(ReadDriveList([](uint32_t, wchar_t*) -> uint32_t { return 0; }).empty());
    EXPECT_TRUE(ReadDriveList([](uint32_t, wchar_t* b) -> uint32_t {
                    b[0] = 0;
                    return 0;
                }).empty());
}

TEST(DriveListTest, PlatformListsAtLeastOneDrive) {
    const std::vector<std::wstring> drives = ReadDriveList(platform::DriveStrings);
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front().back(), platform::kPathSeparator);
}

TEST(DatabaseListTest, AddRefusesAbsentPathsAndWrappedIdsReplace) {
    DatabaseList list;
    EXPECT_FALSE(list.AddDatabase(3, std::nullopt));
    EXPECT_TRUE(list.AddDatabase(3, std::wstring(L"x")));
    EXPECT_TRUE(list.AddDatabase(3, std::wstring(L"y")));
    EXPECT_FALSE(list.ContainsDatabase(L"x"));
    EXPECT_TRUE(list.ContainsDatabase(L"y"));
    EXPECT_FALSE(list.ContainsDatabase(L"Y"));
    list.ClearDatabases();
    for (int i = 0; i < 65536; ++i) {
        ASSERT_TRUE(list.AddNew(L"p" + std::to_wstring(i)));
    }
    EXPECT_EQ(list.NextId(), 0); // wrapped
    EXPECT_TRUE(list.AddNew(L"newest"));
    EXPECT_EQ(*list.FindDatabase(0), L"newest");
    EXPECT_FALSE(list.ContainsDatabase(L"p0"));
    EXPECT_EQ(list.Entries().size(), 65536u);
}

} // namespace
} // namespace tw
