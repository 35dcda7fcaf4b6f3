// The two recursive folder searches (the media of a dropped folder, the databases below a media folder) on a tree
// that links back into itself, and on paths too long to take.
#include "discovery/database_search.h"
#include "discovery/folder_walk.h"
#include "discovery/media_drop.h"
#include "fixtures/file_io.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace tw {
namespace {

// A folder that holds a link back to itself, inner/back, and a link to a media file outside it,
// inner/linked.wav. Made by the test where the system makes links; under Wine, which makes none, the build
// prepares one with Unix links beforehand (TW_LINK_LOOP names it), which Wine shows as a plain folder and file.
class LinkLoop {
public:
    LinkLoop() {
        if (const char* prepared = std::getenv("TW_LINK_LOOP")) {
            std::wstring path = platform::Utf8ToWide(prepared);
            if (!path.empty() && path[0] == L'/' && platform::kPathSeparator == L'\\') {
                // A Unix path, seen through Wine's drive Z:.
                for (wchar_t& c : path) {
                    c = c == L'/' ? L'\\' : c;
                }
                path = L"Z:" + path;
            }
            tree = platform::JoinPath(path, L"tree");
            fileLink = true;
            how = "links prepared by the build";
            return;
        }
        tree = scratch / L"tree";
        const std::wstring inner = platform::JoinPath(tree, L"inner");
        if (!fixtures::MakeFolders(inner) || !fixtures::WriteFile(scratch / L"real.wav", std::string(10, 'w'))) {
            return;
        }
        back = platform::JoinPath(inner, L"back");
        if (!fixtures::MakeFolderLink(back, tree)) {
            tree.clear();
            return;
        }
        linked = platform::JoinPath(inner, L"linked.wav");
        fileLink = fixtures::MakeFileLink(linked, scratch / L"real.wav");
        if (!fileLink) {
            linked.clear();
        }
        how = "links made by the test";
    }
    ~LinkLoop() {
        for (const std::wstring& link : {back, linked}) {
            if (!link.empty()) {
                fixtures::RemoveLink(link);
            }
        }
    }

    // Writes a file into the tree (the build prepares the tree afresh for every run).
    std::wstring Write(const std::wstring& relative) const {
        const std::wstring path = platform::JoinPath(tree, fixtures::NativePath(relative));
        EXPECT_TRUE(fixtures::WriteFile(path, std::string(20, 'x')));
        return path;
    }

    fixtures::ScratchDir scratch;
    std::wstring tree;     // empty when no loop could be made
    std::wstring back;     // the link this test made, if any
    std::wstring linked;   // likewise
    bool fileLink = false; // inner/linked.wav is there
    const char* how = "";
};

TEST(FolderWalkTest, BothSearchesWalkATreeThatLinksBackIntoItselfOnce) {
    LinkLoop loop;
    if (loop.tree.empty()) {
        GTEST_SKIP() << "this system makes no link to a folder";
    }
    SCOPED_TRACE(loop.how);
    loop.Write(L"clip.wav");
    loop.Write(L"inner|take.wav");
    const std::wstring index = loop.Write(L"inner|msmFMID.pmr");

    LineConsole console;
    MediaCatalog catalog(&console);
    MediaDrop(catalog, &console, MediaDrop::Services{}).AddFolderMedia(loop.tree);
    std::map<std::wstring, std::wstring> found;
    for (uint32_t i = 0; i < catalog.IndexedRecordCount(); ++i) {
        found[*catalog.RecordAt(i)->fileName] = *catalog.RecordAt(i)->path;
    }
    const std::wstring inner = platform::JoinPath(loop.tree, L"inner") + platform::kPathSeparator;
    std::map<std::wstring, std::wstring> expected = {
        {L"clip.wav", loop.tree + platform::kPathSeparator},
        {L"take.wav", inner},
    };
    // A media file reached through a link to a file is still taken.
    if (loop.fileLink) {
        expected[L"linked.wav"] = inner;
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(catalog.RecordCount(), static_cast<int32_t>(expected.size()));

    DatabaseList list;
    DatabaseSearch(list, nullptr).SearchFolder(loop.tree);
    ASSERT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(list.Entries().begin()->second, index);
}

TEST(FolderWalkTest, EntriesWhosePathsDoNotFitAreLeftOut) {
    fixtures::ScratchDir dir;
    // Folders of 100 characters down to well past 1,024 characters of path.
    std::wstring folder = dir.Path();
    std::vector<std::wstring> folders;
    while (folder.size() < kSearchPathCapacity + 200) {
        folder = platform::JoinPath(folder, std::wstring(100, L'f'));
        folders.push_back(folder);
    }
    if (!fixtures::MakeFolders(folder)) {
        GTEST_SKIP() << "this system makes no path of " << folder.size() << " characters";
    }
    std::vector<std::wstring> fitting;
    for (const std::wstring& f : folders) {
        const std::wstring file = platform::JoinPath(f, L"take.wav");
        if (fixtures::WriteFile(file, std::string("x")) && file.size() < kSearchPathCapacity) {
            fitting.push_back(file);
        }
    }
    std::vector<std::wstring> walked;
    WalkFolderTree(
        dir.Path(),
        [&](const platform::FolderEntry& e, const std::wstring& full) {
            if (e.name == L"take.wav") {
                walked.push_back(full);
            }
        },
        nullptr);
    std::sort(walked.begin(), walked.end());
    std::sort(fitting.begin(), fitting.end());
    EXPECT_EQ(walked, fitting);
    EXPECT_LT(fitting.size(), folders.size());
}

} // namespace
} // namespace tw
