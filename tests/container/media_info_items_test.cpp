#include "container/media_info_items.h"

#include "fixtures/bento_writer.h"
#include "fixtures/byte_append.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace tw {
namespace {

using fixtures::BentoWriter;
using fixtures::Bytes;
using fixtures::PutLe32;

constexpr uint32_t kName = 0x1029D;
constexpr uint32_t kOtherName = 0x10257;
constexpr uint32_t kThirdName = 0x10298;
constexpr uint32_t kFourthName = 0x102E1;
constexpr uint32_t kDescription = 0x1020C;
constexpr uint32_t kTypeInt32 = 0x10003;

class MediaInfoItemsTest : public ::testing::Test {
protected:
    void Open(const BentoWriter& writer) {
        const std::wstring path = dir / L"info.omf";
        ASSERT_TRUE(writer.Save(path));
        ASSERT_EQ(container.Open(path), 1);
    }

    // The walk order of the object's properties, as entry numbers.
    std::vector<uint32_t> WalkNumbers(uint32_t objectId) {
        std::vector<uint32_t> numbers;
        container.WalkProperties(*container.FindObject(objectId),
                                 [&](uint32_t, uint32_t entry) { numbers.push_back(entry + 1); });
        return numbers;
    }

    fixtures::ScratchDir dir{L"tw-info"};
    BentoContainer container;
};

Bytes Words(std::initializer_list<uint32_t> words) {
    Bytes out;
    for (const uint32_t w : words) {
        PutLe32(out, w);
    }
    return out;
}

TEST_F(MediaInfoItemsTest, ObjectTextsTakeTheFirstNamePropertyTheIdTheDescriptionAndTheName) {
    BentoWriter w;
    w.Text(0x20001, kName, "Interview");
    w.Text(0x20001, kDescription, "Main");
    w.Text(0x20001, bento::kGlobalTypeName, "Clip", bento::kTypeText7Bit); // names object 0x20001
    w.Text(0x20002, kOtherName, "");                                       // present but empty: no name
    w.Text(0x20002, kThirdName, "Ignored");
    w.Text(0x20003, kFourthName, "Take 4");
    w.Text(0x20003, kDescription, "");
    w.Text(0x20004, kName, std::string(2000, 'n'));
    w.Text(bento::kTocObject, 0x10400, "x");
    Open(w);
    const std::vector<std::pair<uint32_t, std::wstring>> cases = {
        {0x20001, L"Interview [ ID=0x20001 ]Main Clip"},
        {0x20002, L"[ ID=0x20002 ]"},
        {0x20003, L"Take 4 [ ID=0x20003 ]"},
        {bento::kTocObject, L"[ ID=0x1 ]CM_StdObjID_TOC"},
        {0x20004, std::wstring(kObjectItemCapacity, L'n')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ObjectItemText(container, c.first), c.second) << std::hex << c.first;
        const auto item = MakeObjectItem(container, c.first);
        ASSERT_TRUE(item.has_value());
        EXPECT_EQ(item->text, c.second);
        EXPECT_EQ(item->objectId, c.first);
        EXPECT_EQ(item->properties.size(), WalkNumbers(c.first).size());
    }
}

TEST_F(MediaInfoItemsTest, PropertyItemsInWalkOrderWithNamesFlagsValuesAndBoldReferences) {
    BentoWriter w;
    w.TypeName(bento::kTypeText, "omfi:String");                     // entry 1
    w.TypeName(bento::kTypeReference, "omfi:ObjRef");                // 2
    w.PropertyName(kName, "OMFI:MOBJ:Name");                         // 3
    w.PropertyName(0x10301, "OMFI:MOBJ:Descriptor");                 // 4
    w.Text(0x20010, kName, "Interview");                             // 5
    w.Text(0x20010, 0x10300, "");                                    // 6: empty text
    w.Reference(0x20010, 0x10301, 0x20011);                          // 7
    w.Immediate(0x20010, 0x10302, kTypeInt32, 7);                    // 8
    w.Text(0x20010, 0x10303, "abc", bento::kTypeText8Bit);           // 9: 8-bit text shows its extent
    w.Uid(0x20010, 0x10304, 1, 2, 3);                                // 10
    w.Text(0x20010, 0x10305, "stored", bento::kTypeText2);           // 11
    w.Entry({0x20010, 0x10306, bento::kTypeText, 0x10, 3, 0x20000}); // 12: unreadable: three zero bytes
    w.Text(0x20010, 0x10307, std::string(3000, 'v'));                // 13
    Open(w);
    const std::vector<std::pair<std::wstring, bool>> expected = {
        {L"OMFI:MOBJ:Name  [omfi:String]:=\"Interview\"", false},
        {L"[omfi:String]:", false},
        {L"OMFI:MOBJ:Descriptor  [omfi:ObjRef]:", true},
        {L" =[ 0x7 : 0x4 ]", false},
        {L"[CM_StdObjID_8BitASCII]: =[ 0x45 : 0x3 ]", false},
        {L":", true},
        {L":=\"stored\"", false},
        {L"[omfi:String]=\"\"", false},
        {L"[omfi:String]:=\"" + std::wstring(kPropertyItemCapacity - 16, L'v'), false},
    };
    const auto item = MakeObjectItem(container, 0x20010);
    ASSERT_TRUE(item.has_value());
    const std::vector<uint32_t> order = WalkNumbers(0x20010);
    ASSERT_EQ(item->properties.size(), expected.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const PropertyItem& p = item->properties[i];
        EXPECT_EQ(p.number, order[i]);
        ASSERT_GE(p.number, 5u);
        EXPECT_EQ(p.text, expected[p.number - 5].first) << p.number;
        EXPECT_EQ(p.bold, expected[p.number - 5].second) << p.number;
    }
}

TEST_F(MediaInfoItemsTest, NoObjectItemForIdZeroAMissingObjectOrAContainerThatCannotAnswer) {
    BentoWriter w;
    w.Text(0, kName, "zero");
    w.Text(0x20001, kName, "one");
    Open(w);
    EXPECT_FALSE(MakeObjectItem(container, 0).has_value());
    EXPECT_FALSE(MakeObjectItem(container, 0x20002).has_value());
    EXPECT_TRUE(MakeObjectItem(container, 0x20001).has_value());
    container.Close();
    EXPECT_FALSE(MakeObjectItem(container, 0x20001).has_value());

    BentoWriter refused(false, 2);
    refused.Text(0x20001, kName, "one");
    Open(refused);
    EXPECT_FALSE(MakeObjectItem(container, 0x20001).has_value());
    BentoWriter empty;
    empty.Text(0x20001, kName, "one");
    empty.tocSize = 0;
    Open(empty);
    EXPECT_FALSE(MakeObjectItem(container, bento::kTocObject).has_value());
}

TEST_F(MediaInfoItemsTest, ReferencesLeadToTheObjectsTheirValuesName) {
    constexpr uint32_t r = 0x20020;
    BentoWriter w;
    Bytes index;
    for (const uint32_t id : {0x20030u, 0x20031u, 0x20032u}) {
        Bytes element = Words({0, 5, 6, id, 0});
        index.insert(index.end(), element.begin(), element.end());
    }
    w.Stored(r, 0x10500, bento::kTypeIndexArray, w.Array(3, index));                                    // 1
    w.Stored(r, 0x10501, bento::kTypeIndexArray, w.Array(5, Bytes(index.begin(), index.begin() + 40))); // 2
    w.Stored(r, 0x10502, bento::kTypeIdArray, w.Array(2, Words({0x20031, 0, 0x20030, 0})));             // 3
    w.Reference(r, 0x10503, 0x20032);                                                                   // 4
    w.Uid(r, 0x10504, 0, 7, 8);                                                                         // 5: all three
    w.Uid(r, 0x10505, 0, 9, 10);                                    // 6: data and comp
    w.Uid(r, 0x10506, 0, 11, 12);                                   // 7: comp only
    w.Uid(r, 0x10507, 0, 13, 14);                                   // 8: back to r
    w.Uid(r, 0x10508, 0, 99, 99);                                   // 9: nowhere
    w.Stored(r, 0x10509, bento::kTypeUid, Words({0, 7}));           // 10: too short
    w.Immediate(r, 0x1050A, kTypeInt32, 0x20030);                   // 11
    w.Stored(r, 0x1050B, bento::kTypeReference, Bytes{0x30, 0x00}); // 12: too short
    w.UidIndex(bento::kFileMobIndex, {{7, 8, 0x20030}, {13, 14, r}});
    w.UidIndex(bento::kDataIndex, {{7, 8, 0x20031}, {9, 10, 0x20031}});
    w.UidIndex(bento::kCompIndex, {{7, 8, 0x20032}, {9, 10, 0x20032}, {11, 12, 0x20032}});
    Open(w);
    const std::vector<std::pair<uint32_t, std::vector<uint32_t>>> cases = {
        {1, {0x20030, 0x20031, 0x20032}},
        {2, {0x20030, 0x20031}},
        {3, {0x20031, 0x20030}},
        {4, {0x20032}},
        {5, {0x20030}},
        {6, {0x20031}},
        {7, {0x20032}},
        {8, {}},
        {9, {}},
        {10, {}},
        {11, {}},
        {12, {}},
        {0, {}},
        {static_cast<uint32_t>(w.EntryCount()) + 1, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReferencedObjects(container, c.first), c.second) << "entry " << c.first;
    }
    container.Close();
    EXPECT_TRUE(ReferencedObjects(container, 1).empty());
}

TEST_F(MediaInfoItemsTest, ArraysOfABigEndianContainerCountInItsOrderAndNameObjectsLittleEndian) {
    BentoWriter w(true);
    w.Stored(0x20020, 0x10502, bento::kTypeIdArray, w.Array(2, Words({0x20031, 0, 0x20030, 0})));
    Open(w);
    EXPECT_EQ(ReferencedObjects(container, 1), (std::vector<uint32_t>{0x20031, 0x20030}));
}

struct Line {
    uint32_t level;
    bool bold;
    std::wstring text;
    bool operator==(const Line& o) const { return level == o.level && bold == o.bold && text == o.text; }
};

std::ostream& operator<<(std::ostream& out, const Line& l) {
    return out << l.level << (l.bold ? " *" : " ") << std::string(l.text.begin(), l.text.end());
}

TEST_F(MediaInfoItemsTest, TheTreeUnfoldsToItsDepthInTreeOrderAndExpandsNoObjectTwiceOnOnePath) {
    constexpr uint32_t beta = 0x20041;
    constexpr uint32_t alpha = 0x20042;
    BentoWriter w;
    w.TypeName(bento::kTypeIdArray, "omfi:ObjRefArray");
    w.PropertyName(0x10400, "OMFI:Kids");
    w.Stored(bento::kTocObject, 0x10400, bento::kTypeIdArray, w.Array(3, Words({beta, 0, 0x2FFFF, 0, alpha, 0})));
    w.Text(beta, kName, "Beta");
    w.Reference(beta, 0x10401, alpha);
    w.Text(alpha, kName, "alpha");
    w.Reference(alpha, 0x10401, bento::kTocObject);
    Open(w);
    const auto walk = [&](uint32_t depth) {
        std::vector<Line> lines;
        EXPECT_EQ(WalkObjectTree(container, bento::kTocObject, depth,
                                 [&](const TreeLine& l) {
                                     lines.push_back({l.level, l.bold, *l.text});
                                     return true;
                                 }),
                  TreeWalkEnd::complete);
        return lines;
    };
    const Line root{0, true, L"[ ID=0x1 ]CM_StdObjID_TOC"};
    const Line kids{1, true, L"OMFI:Kids  [omfi:ObjRefArray]:"};
    EXPECT_EQ(walk(0), (std::vector<Line>{root, kids}));

    const std::wstring alphaText = L"alpha [ ID=0x20042 ]";
    const std::wstring betaText = L"Beta [ ID=0x20041 ]";
    const auto objectLines = [&](uint32_t id, uint32_t level) {
        std::vector<Line> lines;
        const std::optional<ObjectItem> object = MakeObjectItem(container, id);
        for (const PropertyItem& p : object->properties) {
            lines.push_back({level + 1, p.bold, p.text});
        }
        return lines;
    };
    std::vector<Line> expected = {root, kids, {2, true, alphaText}};
    for (const Line& l : objectLines(alpha, 2)) {
        expected.push_back(l);
    }
    expected.push_back({2, true, betaText});
    for (const Line& l : objectLines(beta, 2)) {
        expected.push_back(l);
    }
    EXPECT_EQ(walk(1), expected);

    // Three levels: alpha leads back to the root, which is shown but not expanded again; beta leads to alpha,
    // which expands once more (to the root, now beyond the depth).
    const std::vector<Line> deep = walk(3);
    std::vector<std::pair<uint32_t, std::wstring>> objects;
    for (const Line& l : deep) {
        if (l.text.find(L"[ ID=") != std::wstring::npos) {
            objects.emplace_back(l.level, l.text);
        }
    }
    const std::vector<std::pair<uint32_t, std::wstring>> expectedObjects = {
        {0, root.text}, {2, alphaText}, {4, root.text}, {2, betaText}, {4, alphaText}, {6, root.text}};
    EXPECT_EQ(objects, expectedObjects);
    EXPECT_EQ(walk(50), deep);

    size_t seen = 0;
    EXPECT_EQ(WalkObjectTree(container, bento::kTocObject, 3, [&](const TreeLine&) { return ++seen < 3; }),
              TreeWalkEnd::stopped);
    EXPECT_EQ(seen, 3u);
    EXPECT_EQ(WalkObjectTree(container, 0x2FFFF, 3, [](const TreeLine&) { return false; }), TreeWalkEnd::complete);
}

TEST_F(MediaInfoItemsTest, ARealContainerShowsObjectOneWithEveryPropertyAndEnds) {
    ASSERT_EQ(container.Open(L"data/LogicPro-omfv1.OMF"), 1);
    std::vector<Line> lines;
    EXPECT_EQ(WalkObjectTree(container, bento::kTocObject, 8,
                             [&](const TreeLine& l) {
                                 lines.push_back({l.level, l.bold, *l.text});
                                 if (l.level == 1) {
                                     EXPECT_EQ(container.Entry(l.number - 1)->objectId, bento::kTocObject);
                                 }
                                 return true;
                             }),
              TreeWalkEnd::complete);
    ASSERT_EQ(lines.size(), 1u + WalkNumbers(bento::kTocObject).size());
    EXPECT_EQ(lines[0], (Line{0, true, L"[ ID=0x1 ]CM_StdObjID_TOC"}));
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].level, 1u);
    }
}

// A reference to many objects of long names: the walk holds only what its memory bound allows, sorts the children
// batch by batch in the same order, shows objects of equal texts in the order the value names them, and stops
// plainly at its bounds of lines and memory instead of running on.
TEST_F(MediaInfoItemsTest, TheWalkKeepsItsOrderWithinItsBoundsAndStopsAtThem) {
    constexpr uint32_t kKids = 0x10400;
    constexpr uint32_t first = 0x20100;
    constexpr uint32_t objects = 400;
    // Two objects whose names are cut before their ids: one text, told apart by their second names.
    constexpr uint32_t twinOne = 0x20001;
    constexpr uint32_t twinTwo = 0x20002;
    BentoWriter w;
    Bytes elements;
    constexpr uint16_t count = 1000;
    for (uint32_t k = 0; k < count; ++k) {
        const uint32_t id = k == 10 || k == 500 ? twinTwo : k == 20 ? twinOne : first + (k * 7) % objects;
        PutLe32(elements, id);
        PutLe32(elements, 0);
    }
    w.Stored(bento::kTocObject, kKids, bento::kTypeIdArray, w.Array(count, elements));
    for (uint32_t i = 0; i < objects; ++i) {
        // Names that differ only at their end, in the opposite order of the ids.
        const uint32_t rank = objects - 1 - i;
        w.Text(first + i, kName,
               std::string(450, 'n') + static_cast<char>('A' + rank / 26) + static_cast<char>('a' + rank % 26));
    }
    w.Text(twinOne, kName, std::string(600, 'z'));
    w.Text(twinOne, kThirdName, "one");
    w.Text(twinTwo, kName, std::string(600, 'z'));
    w.Text(twinTwo, kThirdName, "two");
    Open(w);
    const auto walk = [&](const TreeWalkBounds& bounds, TreeWalkEnd& end) {
        std::vector<Line> lines;
        end = WalkObjectTree(
            container, bento::kTocObject, 1,
            [&](const TreeLine& l) {
                lines.push_back({l.level, l.bold, *l.text});
                return true;
            },
            bounds);
        return lines;
    };
    TreeWalkEnd end{};
    const std::vector<Line> whole = walk(TreeWalkBounds{}, end);
    EXPECT_EQ(end, TreeWalkEnd::complete);
    std::vector<std::wstring> children;
    std::vector<std::wstring> twins;
    for (const Line& l : whole) {
        if (l.level == 2) {
            children.push_back(l.text);
        } else if (l.level == 3 && l.text.size() > 5 && l.text.substr(l.text.size() - 5) == L"\"one\"") {
            twins.push_back(L"one");
        } else if (l.level == 3 && l.text.size() > 5 && l.text.substr(l.text.size() - 5) == L"\"two\"") {
            twins.push_back(L"two");
        }
    }
    EXPECT_EQ(children.size(), count);
    EXPECT_TRUE(std::is_sorted(children.begin(), children.end(), ItemTextBefore));
    EXPECT_EQ(twins, (std::vector<std::wstring>{L"two", L"one", L"two"}));

    // 400 texts of some 470 characters in a bound of 512 KB: several batches, the same lines.
    TreeWalkBounds tight;
    tight.maxHeldBytes = 512 << 10;
    EXPECT_EQ(walk(tight, end), whole);
    EXPECT_EQ(end, TreeWalkEnd::complete);

    TreeWalkBounds fewLines;
    fewLines.maxLines = 7;
    const std::vector<Line> cut = walk(fewLines, end);
    EXPECT_EQ(end, TreeWalkEnd::lineBound);
    EXPECT_EQ(cut, std::vector<Line>(whole.begin(), whole.begin() + 7));
    fewLines.maxLines = whole.size(); // a bound the tree just fits in is no cut
    EXPECT_EQ(walk(fewLines, end), whole);
    EXPECT_EQ(end, TreeWalkEnd::complete);

    TreeWalkBounds littleMemory;
    littleMemory.maxHeldBytes = 64 << 10; // holds the objects' ids, not a batch of texts worth a pass
    const std::vector<Line> stopped = walk(littleMemory, end);
    EXPECT_EQ(end, TreeWalkEnd::memoryBound);
    EXPECT_EQ(stopped, std::vector<Line>(whole.begin(), whole.begin() + 2));
}

} // namespace
} // namespace tw
