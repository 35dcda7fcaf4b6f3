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
// prepares one with Unix links beforehand (TW_LINK_LOOP names it), which Wine shows as a reparse point and a
// plain file.
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
        found[catalog.RecordAt(i)->fileName.str()] = catalog.RecordAt(i)->path.str();
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

// A share whose file server follows a link itself: the link back into the share shows as a plain folder, with
// the share's own listing and folder id. Two such links make the tree grow twice as wide at every level.
class ServerFollowedLinks {
public:
    ServerFollowedLinks() {
        const std::wstring inner = platform::JoinPath(share, L"inner");
        folders[share] = {{L"clip.wav", 0x80}, {L"inner", 0x10}};
        folders[inner] = {{L"take.wav", 0x80}, {L"back", 0x10}, {L"again", 0x10}};
    }

    // Lists path as the server shows it: a path through the links lists the folder they lead to.
    bool List(const std::wstring& path, const platform::EntryVisitor& visit) const {
        const auto found = folders.find(Resolved(path));
        if (found == folders.end()) {
            return false;
        }
        visit(platform::FolderEntry{L".", 0x10, 0, 0});
        visit(platform::FolderEntry{L"..", 0x10, 0, 0});
        for (const auto& [name, attributes] : found->second) {
            visit(platform::FolderEntry{name, attributes, 0, 0});
        }
        return true;
    }
    bool Id(const std::wstring& path, platform::FolderId& id) const {
        const auto found = folders.find(Resolved(path));
        if (!withIds || found == folders.end()) {
            return false;
        }
        id = platform::FolderId{7, static_cast<uint64_t>(std::distance(folders.begin(), found)) + 1};
        return true;
    }

    const std::wstring share = fixtures::NativePath(L"|share");
    bool withIds = true;

private:
    // Every "inner" + link step leads back to the share.
    std::wstring Resolved(std::wstring path) const {
        for (const wchar_t* link : {L"back", L"again"}) {
            const std::wstring step = fixtures::NativePath(std::wstring(L"|inner|") + link);
            for (size_t at; (at = path.find(step)) != std::wstring::npos;) {
                path.erase(at, step.size());
            }
        }
        return path;
    }

    std::map<std::wstring, std::vector<std::pair<std::wstring, uint32_t>>> folders;
};

TEST(FolderWalkTest, FolderIdsStopLoopsThatShowNoLinkAndThePathLimitStopsTheRest) {
    ServerFollowedLinks server;
    FolderSource source;
    source.list = [&](const std::wstring& path, const platform::EntryVisitor& visit) {
        return server.List(path, visit);
    };
    source.folderId = [&](const std::wstring& path, platform::FolderId& id) { return server.Id(path, id); };
    std::vector<std::wstring> entries;
    std::vector<std::wstring> entered;
    const auto walk = [&] {
        entries.clear();
        entered.clear();
        WalkFolderTree(
            server.share, [&](const platform::FolderEntry&, const std::wstring& full) { entries.push_back(full); },
            [&](const std::wstring& full) { entered.push_back(full); }, source);
    };

    walk();
    const auto p = [&](const wchar_t* relative) { return server.share + fixtures::NativePath(relative); };
    EXPECT_EQ(entries, (std::vector<std::wstring>{p(L"|clip.wav"), p(L"|inner"), p(L"|inner|take.wav"),
                                                  p(L"|inner|back"), p(L"|inner|again")}));
    EXPECT_EQ(entered, std::vector<std::wstring>{p(L"|inner")});

    // Without folder ids only the length of the paths ends the walk: with one loop (the other link is taken out),
    // every path it reaches fits.
    server.withIds = false;
    source.list = [&](const std::wstring& path, const platform::EntryVisitor& visit) {
        return server.List(path, [&](const platform::FolderEntry& e) {
            if (e.name != L"again") {
                visit(e);
            }
        });
    };
    walk();
    EXPECT_GT(entered.size(), 100u);
    for (const std::wstring& path : entries) {
        ASSERT_LT(path.size(), kSearchPathCapacity);
    }
}

// Links that lead out of the dropped folder are followed like any folder, and every folder is entered once in the
// whole walk: two links into one folder cost one visit, by folder id where there is one, else by path.
TEST(FolderWalkTest, LinksAreFollowedWhereverTheyLeadAndEveryFolderIsEnteredOnce) {
    const auto p = [](const wchar_t* path) { return fixtures::NativePath(path); };
    constexpr uint32_t kLink = platform::kAttributeDirectory | platform::kAttributeReparsePoint;
    // drop holds two links to one folder outside it, and a link to itself; outside holds a media file.
    std::map<std::wstring, std::vector<std::pair<std::wstring, uint32_t>>> folders = {
        {p(L"|drop"), {{L"a", kLink}, {L"b", kLink}, {L"self", kLink}, {L"take.wav", 0x80}}},
        {p(L"|outside"), {{L"clip.wav", 0x80}}},
    };
    const auto resolve = [&](std::wstring path) {
        for (const wchar_t* link : {L"|drop|a", L"|drop|b"}) {
            if (path.rfind(p(link), 0) == 0) {
                path = p(L"|outside") + path.substr(p(link).size());
            }
        }
        if (path.rfind(p(L"|drop|self"), 0) == 0) {
            path = p(L"|drop") + path.substr(p(L"|drop|self").size());
        }
        return path;
    };
    for (const bool withIds : {true, false}) {
        SCOPED_TRACE(withIds ? "with folder ids" : "without folder ids");
        FolderSource source;
        source.list = [&](const std::wstring& path, const platform::EntryVisitor& visit) {
            const auto found = folders.find(resolve(path));
            if (found == folders.end()) {
                return false;
            }
            for (const auto& [name, attributes] : found->second) {
                visit(platform::FolderEntry{name, attributes, 0, 0});
            }
            return true;
        };
        source.folderId = [&](const std::wstring& path, platform::FolderId& id) {
            const auto found = folders.find(resolve(path));
            if (!withIds || found == folders.end()) {
                return false;
            }
            id = platform::FolderId{1, static_cast<uint64_t>(std::distance(folders.begin(), found)) + 1};
            return true;
        };
        std::vector<std::wstring> entered;
        std::vector<std::wstring> media;
        WalkFolderTree(
            p(L"|drop"),
            [&](const platform::FolderEntry& e, const std::wstring& full) {
                if (e.attributes == 0x80) {
                    media.push_back(full);
                }
            },
            [&](const std::wstring& full) { entered.push_back(full); }, source);
        if (withIds) {
            EXPECT_EQ(entered, std::vector<std::wstring>{p(L"|drop|a")});
            EXPECT_EQ(media, (std::vector<std::wstring>{p(L"|drop|a|clip.wav"), p(L"|drop|take.wav")}));
        } else {
            // Without ids each path is a folder of its own: entered once each, and the loop ends at the path limit.
            EXPECT_EQ(std::count(entered.begin(), entered.end(), p(L"|drop|a")), 1);
            EXPECT_EQ(std::count(entered.begin(), entered.end(), p(L"|drop|b")), 1);
            EXPECT_NE(std::find(media.begin(), media.end(), p(L"|drop|b|clip.wav")), media.end());
            for (const std::wstring& path : entered) {
                EXPECT_LT(path.size(), kSearchPathCapacity);
            }
        }
    }
}

// A real link to a folder outside the dropped one: its media are found by a drop and its databases by a search.
TEST(FolderWalkTest, ADropFindsMediaBehindALinkToAnotherFolder) {
    fixtures::ScratchDir scratch;
    const std::wstring drop = scratch / L"drop";
    const std::wstring outside = scratch / L"elsewhere";
    ASSERT_TRUE(fixtures::MakeFolders(drop));
    ASSERT_TRUE(fixtures::MakeFolders(outside));
    ASSERT_TRUE(fixtures::WriteFile(platform::JoinPath(outside, L"take.wav"), std::string("x")));
    ASSERT_TRUE(fixtures::WriteFile(platform::JoinPath(outside, L"msmFMID.pmr"), std::string("x")));
    const std::wstring link = platform::JoinPath(drop, L"linked");
    if (!fixtures::MakeFolderLink(link, outside)) {
        GTEST_SKIP() << "this system makes no link to a folder";
    }
    LineConsole console;
    MediaCatalog catalog(&console);
    MediaDrop(catalog, &console, MediaDrop::Services{}).AddFolderMedia(drop);
    ASSERT_EQ(catalog.IndexedRecordCount(), 1u);
    EXPECT_EQ(catalog.RecordAt(0)->path.str(), link + platform::kPathSeparator);
    DatabaseList list;
    DatabaseSearch(list, nullptr).SearchFolder(drop);
    ASSERT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(list.Entries().begin()->second, platform::JoinPath(link, L"msmFMID.pmr"));
    fixtures::RemoveLink(link);
}

} // namespace
} // namespace tw
