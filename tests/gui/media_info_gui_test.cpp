// The Media Info window on generated containers: the tree it shows, double clicks that expand references and
// write dumps to the console, "Open..." with files of every kind, and its minimum size.
#include "container/media_info_items.h"
#include "container/toc_dump.h"
#include "fixtures/bento_writer.h"
#include "gui_harness.h"
#include "resource.h"
#include "ui/win32/console_log.h"
#include "ui/win32/media_info_dialog.h"
#include "ui/window_layout.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

namespace tw::gui {
namespace {

constexpr const wchar_t* kCaption = L"Media Info -- Double click on bold items to expand";

struct Item {
    std::wstring text;
    bool bold = false;
    uint32_t number = 0;
};

class MediaInfoGuiTest : public testing::Test {
protected:
    void SetUp() override {
        console = ConsoleLog::Create(GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(console, nullptr);
        container.SetConsole(console.get());
        fixtures::MediaDescription media;
        media.compUid = 0x0102030405060708ull;
        media.fileMobId = 0x1112131415161718ull;
        media.nameInBin = "Interview Take 4";
        media.mediaKind = 7;
        media.compressionCode = 142;
        omf = dir / L"take4.omf";
        ASSERT_TRUE(fixtures::WriteFile(omf, fixtures::BuildOmfFile(media, std::string("Harbour"), 40)));
    }
    void TearDown() override { container.SetConsole(nullptr); }

    // Runs the window modally; scenario runs inside its message loop with the window and its tree.
    void Run(const std::function<void(HWND, HWND)>& scenario) {
        MediaInfoDialog dialog(GetModuleHandleW(nullptr), container, console.get(), [this](HWND) {
            std::wstring next;
            if (!chosen.empty()) {
                next = chosen.front();
                chosen.pop_front();
            }
            return next;
        });
        WhenWindowAppears(CaptionIs(kCaption), [&](HWND window) {
            scenario(window, GetDlgItem(window, IDC_MEDIA_TREE));
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        });
        dialog.Run(nullptr);
        EXPECT_TRUE(AllStepsRan());
        ForgetSteps();
    }

    static Item ItemOf(HWND tree, HTREEITEM handle) {
        wchar_t text[1024] = {};
        TVITEMW item{};
        item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
        item.stateMask = TVIS_BOLD;
        item.hItem = handle;
        item.pszText = text;
        item.cchTextMax = 1024;
        TreeView_GetItem(tree, &item);
        return {text, (item.state & TVIS_BOLD) != 0, static_cast<uint32_t>(item.lParam)};
    }

    static std::vector<HTREEITEM> Children(HWND tree, HTREEITEM parent) {
        std::vector<HTREEITEM> children;
        for (HTREEITEM c = TreeView_GetChild(tree, parent); c != nullptr; c = TreeView_GetNextSibling(tree, c)) {
            children.push_back(c);
        }
        return children;
    }

    static HTREEITEM ChildStartingWith(HWND tree, HTREEITEM parent, const std::wstring& start) {
        for (HTREEITEM c : Children(tree, parent)) {
            if (ItemOf(tree, c).text.rfind(start, 0) == 0) {
                return c;
            }
        }
        return nullptr;
    }

    // Selects the item and double-clicks it, as the tree tells its window.
    static void DoubleClick(HWND window, HWND tree, HTREEITEM item) {
        TreeView_SelectItem(tree, item);
        NMHDR click{tree, IDC_MEDIA_TREE, static_cast<UINT>(NM_DBLCLK)};
        SendMessageW(window, WM_NOTIFY, IDC_MEDIA_TREE, reinterpret_cast<LPARAM>(&click));
    }

    std::vector<std::wstring> ConsoleLines() const {
        return ListBoxLines(GetDlgItem(console->Window(), IDC_CONSOLE_LINES));
    }

    // What the console gets for a dump of the entry with this number.
    std::vector<std::wstring> DumpOf(uint32_t number) {
        LineConsole lines;
        DumpTocEntry(container, number, &lines);
        return lines.lines;
    }

    fixtures::ScratchDir dir{L"tw-gui-info"};
    std::wstring omf;
    std::unique_ptr<ConsoleLog> console;
    BentoContainer container;
    std::deque<std::wstring> chosen;
};

TEST_F(MediaInfoGuiTest, ShowsObjectOneAndADoubleClickExpandsAReferenceAndDumpsIt) {
    ASSERT_EQ(container.Open(omf), 1);
    Run([&](HWND window, HWND tree) {
        const std::vector<HTREEITEM> roots = Children(tree, TVI_ROOT);
        ASSERT_EQ(roots.size(), 1u);
        const Item root = ItemOf(tree, roots[0]);
        EXPECT_EQ(root.text, L"[ ID=0x1 ]CM_StdObjID_TOC");
        EXPECT_TRUE(root.bold);
        EXPECT_EQ(root.number, 0u);
        const std::optional<ObjectItem> expected = MakeObjectItem(container, bento::kTocObject);
        const std::vector<HTREEITEM> properties = Children(tree, roots[0]);
        ASSERT_EQ(properties.size(), expected->properties.size());
        for (size_t i = 0; i < properties.size(); ++i) {
            const Item p = ItemOf(tree, properties[i]);
            EXPECT_EQ(p.text, expected->properties[i].text);
            EXPECT_EQ(p.bold, expected->properties[i].bold);
            EXPECT_EQ(p.number, expected->properties[i].number);
        }

        // The data index leads to the data object, whose own reference leads on only when clicked.
        HTREEITEM dataIndex = ChildStartingWith(tree, roots[0], L"OMFI:HEAD:DataIndex");
        ASSERT_NE(dataIndex, nullptr);
        const size_t before = ConsoleLines().size();
        DoubleClick(window, tree, dataIndex);
        const std::vector<HTREEITEM> objects = Children(tree, dataIndex);
        ASSERT_EQ(objects.size(), 1u);
        const Item data = ItemOf(tree, objects[0]);
        EXPECT_TRUE(data.bold);
        EXPECT_EQ(data.text.rfind(L"[ ID=0x2", 0), 0u);
        HTREEITEM mobId = ChildStartingWith(tree, objects[0], L"OMFI:DATA:MobID");
        ASSERT_NE(mobId, nullptr);
        EXPECT_TRUE(ItemOf(tree, mobId).bold);
        EXPECT_TRUE(Children(tree, mobId).empty());
        std::vector<std::wstring> lines = ConsoleLines();
        const std::vector<std::wstring> dump = DumpOf(ItemOf(tree, dataIndex).number);
        ASSERT_EQ(lines.size(), before + dump.size());
        EXPECT_EQ(std::vector<std::wstring>(lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end()), dump);
        EXPECT_NE(std::find(dump.begin(), dump.end(), kBeginDumpLine), dump.end());

        // A second double click on an expanded reference adds nothing, but dumps again.
        DoubleClick(window, tree, dataIndex);
        EXPECT_EQ(Children(tree, dataIndex).size(), 1u);
        EXPECT_EQ(ConsoleLines().size(), before + 2 * dump.size());

        // A value that is no reference gets no children; each double click writes its dump.
        HTREEITEM objectClass = ChildStartingWith(tree, objects[0], L"OMFI:OOBJ:ObjClass");
        ASSERT_NE(objectClass, nullptr);
        EXPECT_FALSE(ItemOf(tree, objectClass).bold);
        const std::vector<std::wstring> entryDump = DumpOf(ItemOf(tree, objectClass).number);
        ASSERT_EQ(entryDump.size(), 4u); // an immediate value: the entry's two rows only
        for (int click = 1; click <= 2; ++click) {
            DoubleClick(window, tree, objectClass);
            EXPECT_TRUE(Children(tree, objectClass).empty());
            lines = ConsoleLines();
            EXPECT_EQ(std::vector<std::wstring>(lines.end() - 4, lines.end()), entryDump) << click;
        }
        EXPECT_EQ(ConsoleLines().size(), before + 2 * dump.size() + 2 * entryDump.size());

        // Object items carry no entry: a double click on one writes nothing.
        DoubleClick(window, tree, roots[0]);
        EXPECT_EQ(ConsoleLines().size(), before + 2 * dump.size() + 2 * entryDump.size());
    });
}

TEST_F(MediaInfoGuiTest, ObjectsStandInTheTreesAlphabeticalOrderAsTheCommandLinePrintsThem) {
    std::vector<fixtures::MediaDescription> media(5);
    const char* names[] = {"b roll", "Alpha", "alpha 2", "Zed", "10 Intro"};
    for (size_t i = 0; i < media.size(); ++i) {
        media[i].compUid = 0x100 + i * 0x35;
        media[i].fileMobId = 0x900 + i;
        media[i].nameInBin = names[i];
    }
    const std::wstring database = dir / L"msmMMOB.mdb";
    ASSERT_TRUE(fixtures::WriteFile(database, fixtures::BuildMediaDatabase(media)));
    ASSERT_EQ(container.Open(database), 1);
    // What tarnwick-cli info prints below the composition index.
    std::vector<std::wstring> printed;
    bool inCompIndex = false;
    WalkObjectTree(container, bento::kTocObject, 1, [&](const TreeLine& line) {
        if (line.level == 1) {
            inCompIndex = line.text->rfind(L"OMFI:HEAD:CompIndex", 0) == 0;
        } else if (line.level == 2 && inCompIndex) {
            printed.push_back(*line.text);
        }
        return true;
    });
    ASSERT_EQ(printed.size(), media.size());
    Run([&](HWND window, HWND tree) {
        HTREEITEM compIndex = ChildStartingWith(tree, TreeView_GetRoot(tree), L"OMFI:HEAD:CompIndex");
        ASSERT_NE(compIndex, nullptr);
        DoubleClick(window, tree, compIndex);
        std::vector<std::wstring> shown;
        for (HTREEITEM c : Children(tree, compIndex)) {
            shown.push_back(ItemOf(tree, c).text);
        }
        EXPECT_EQ(shown, printed);
        EXPECT_EQ(shown.front(), L"10 Intro [ ID=0x2000C ]");
    });
}

TEST_F(MediaInfoGuiTest, OpenShowsANewContainerKeepsTheTreeForAFailureAndEmptiesItForVersion2) {
    const std::wstring notContainer = dir / L"notes.wav";
    const std::wstring version2 = dir / L"v2.omf";
    ASSERT_TRUE(fixtures::WriteFile(notContainer, "RIFF....WAVEfmt " + std::string(100, '\0')));
    fixtures::BentoWriter refused(false, 2);
    refused.Text(bento::kTocObject, 0x10100, "x");
    ASSERT_TRUE(refused.Save(version2));
    chosen = {omf, L"", notContainer, version2};
    Run([&](HWND window, HWND tree) {
        EXPECT_EQ(TreeView_GetCount(tree), 0u); // no container open
        ClickButton(window, IDC_MEDIA_OPEN);
        const std::vector<HTREEITEM> roots = Children(tree, TVI_ROOT);
        ASSERT_EQ(roots.size(), 1u);
        EXPECT_EQ(ItemOf(tree, roots[0]).text, L"[ ID=0x1 ]CM_StdObjID_TOC");
        EXPECT_EQ(ConsoleLines().back(), omf);
        const UINT shown = TreeView_GetCount(tree);

        ClickButton(window, IDC_MEDIA_OPEN); // cancelled: nothing happens
        EXPECT_EQ(ConsoleLines().back(), omf);
        ClickButton(window, IDC_MEDIA_OPEN); // not a container: only the path line
        EXPECT_EQ(ConsoleLines().back(), notContainer);
        EXPECT_EQ(TreeView_GetCount(tree), shown);
        EXPECT_FALSE(container.IsOpen());
        DoubleClick(window, tree, ChildStartingWith(tree, roots[0], L"OMFI:HEAD:DataIndex"));
        EXPECT_EQ(ConsoleLines().back(), notContainer); // the container is closed: nothing happens

        ClickButton(window, IDC_MEDIA_OPEN);
        const std::vector<std::wstring> lines = ConsoleLines();
        EXPECT_EQ(lines[lines.size() - 2], version2);
        EXPECT_EQ(lines.back(), L"OMFI 2.0 not supported");
        EXPECT_EQ(TreeView_GetCount(tree), 0u);

        const size_t before = ConsoleLines().size();
        ClickButton(window, IDC_MEDIA_DUMP_TOC); // a refused container has no TOC to dump
        EXPECT_EQ(ConsoleLines().size(), before);
        EXPECT_FALSE(IsWindowVisible(console->Window()));
        ClickButton(window, IDC_MEDIA_SHOW_CONSOLE);
        EXPECT_TRUE(IsWindowVisible(console->Window()));
    });
    EXPECT_TRUE(chosen.empty());
}

TEST_F(MediaInfoGuiTest, DumpTocWritesALinePerEntryAndTheWindowKeepsItsOpeningSizeAsMinimum) {
    ASSERT_EQ(container.Open(omf), 1);
    Run([&](HWND window, HWND tree) {
        const size_t before = ConsoleLines().size();
        ClickButton(window, IDC_MEDIA_DUMP_TOC);
        ASSERT_EQ(ConsoleLines().size(), before + container.EntryCount());
        EXPECT_EQ(ConsoleLines().back(), TocLine(container, container.EntryCount() - 1));

        const SIZE opening = OuterSize(window);
        RECT outer{};
        RECT client{};
        GetWindowRect(window, &outer);
        GetClientRect(window, &client);
        const int frameExtra = opening.cy - client.bottom - 5;
        RECT dragged{outer.left + 50, outer.top + 40, outer.right - 30, outer.bottom - 20};
        SendMessageW(window, WM_SIZING, WMSZ_TOPLEFT, reinterpret_cast<LPARAM>(&dragged));
        EXPECT_EQ(dragged.left, outer.left + 50);
        EXPECT_EQ(dragged.top, outer.top + 40);
        EXPECT_EQ(dragged.right - dragged.left, opening.cx);
        EXPECT_EQ(dragged.bottom - dragged.top, opening.cy);

        const RECT treeBefore = RectInParent(tree);
        SetWindowPos(window, nullptr, 0, 0, opening.cx + 120, opening.cy + 90, SWP_NOMOVE | SWP_NOZORDER);
        const RECT grown = RectInParent(tree);
        EXPECT_EQ(grown.left, treeBefore.left);
        EXPECT_EQ(grown.top, treeBefore.top);
        EXPECT_EQ(grown.right, opening.cx + 120 - 14);
        EXPECT_EQ(grown.bottom, opening.cy + 90 - frameExtra - 8);
    });
}

} // namespace
} // namespace tw::gui
