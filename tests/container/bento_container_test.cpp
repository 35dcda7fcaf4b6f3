#include "container/bento_container.h"

#include "fixtures/bento_writer.h"

#include <gtest/gtest.h>

#include <map>

#include <optional>
#include <string>
#include <vector>

namespace tw {
namespace {

using fixtures::BentoEntry;
using fixtures::BentoWriter;
using fixtures::Bytes;

const std::wstring kNotSupported = L"OMFI 2.0 not supported";
// Reads a value whole, as far as the file holds it.
constexpr uint32_t kWholeValue = UINT32_MAX;

class BentoContainerTest : public ::testing::Test {
protected:
    int OpenBytes(const Bytes& bytes) {
        const std::wstring path = dir / L"container.omf";
        EXPECT_TRUE(fixtures::WriteFile(path, bytes));
        return container.Open(path);
    }
    int Open(const BentoWriter& writer) { return OpenBytes(writer.Build()); }

    fixtures::ScratchDir dir{L"tw-bento"};
    LineConsole console;
    BentoContainer container{&console};
};

// A writer with n plain entries of objects 0x100, 0x101, ...
BentoWriter WithEntries(size_t n, uint16_t version = 1) {
    BentoWriter w(false, version);
    w.Data(Bytes(40, 0xEE));
    for (uint32_t i = 0; i < n; ++i) {
        w.Entry({0x100 + i, 0x10040, 0x10003, i, 4, 0x10001});
    }
    return w;
}

TEST_F(BentoContainerTest, LabelDecidesWhetherAndHowTheContainerOpens) {
    struct Case {
        const char* what;
        Bytes bytes;
        int opened;
        bool valid;
        uint32_t entries;
        std::vector<std::wstring> lines;
    };
    auto with = [](BentoWriter w, auto change) {
        change(w);
        return w.Build();
    };
    const Bytes three = WithEntries(3).Build();
    Bytes tocPastEnd = three;
    // The TOC offset moved on by 50 bytes: of its 72 bytes only 46 lie before the end, one whole entry.
    tocPastEnd[tocPastEnd.size() - 8] = static_cast<uint8_t>(tocPastEnd[tocPastEnd.size() - 8] + 50);
    const std::vector<Case> cases = {
        {"version 1", three, 1, true, 3, {}},
        {"wrong magic", with(WithEntries(3), [](BentoWriter& w) { w.badMagic = true; }), 0, false, 0, {}},
        {"TOC size one byte over the file",
         with(WithEntries(1), [](BentoWriter& w) { w.tocSize = static_cast<uint32_t>(w.Build().size() + 1); }),
         0,
         false,
         0,
         {}},
        // 88 bytes: 40 of values, one entry, the label; from the TOC at 40 on, 48 bytes make two entries.
        {"TOC size equal to the file",
         with(WithEntries(1), [](BentoWriter& w) { w.tocSize = static_cast<uint32_t>(w.Build().size()); }),
         1,
         true,
         2,
         {}},
        {"TOC size 50", with(WithEntries(3), [](BentoWriter& w) { w.tocSize = 50; }), 1, true, 2, {}},
        {"TOC size 0", with(WithEntries(3), [](BentoWriter& w) { w.tocSize = 0; }), 1, true, 0, {}},
        {"TOC running past the end", tocPastEnd, 1, true, 1, {}},
        {"version 2", WithEntries(3, 2).Build(), 1, false, 0, {kNotSupported}},
        {"version 3", WithEntries(3, 3).Build(), 1, true, 0, {}},
        {"shorter than a label", Bytes(10, 0xA4), 0, false, 0, {L"Bad seek"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        console.lines.clear();
        EXPECT_EQ(OpenBytes(c.bytes), c.opened);
        EXPECT_EQ(container.IsOpen(), c.opened == 1);
        EXPECT_EQ(container.IsValid(), c.valid);
        EXPECT_EQ(container.EntryCount(), c.entries);
        EXPECT_EQ(console.lines, c.lines);
        if (!c.valid || c.entries == 0) {
            EXPECT_FALSE(container.FindObject(0x100).has_value());
            EXPECT_FALSE(container.ReadValue(0, kWholeValue).has_value());
            EXPECT_EQ(container.NameOf(1) != nullptr, c.valid);
        }
    }
}

TEST_F(BentoContainerTest, AMissingFileWritesTheReadersLinesAndStaysClosed) {
    EXPECT_EQ(container.Open(dir / L"none.omf"), 0);
    ASSERT_EQ(console.lines.size(), 2u);
    EXPECT_EQ(console.lines[0], L"QRB File->Open error : ");
    EXPECT_FALSE(container.IsOpen());
}

TEST_F(BentoContainerTest, VersionTwoIsRefusedAtEveryOpen) {
    const std::wstring path = dir / L"v2.omf";
    ASSERT_TRUE(WithEntries(2, 2).Save(path));
    EXPECT_EQ(container.Open(path), 1);
    EXPECT_EQ(container.Open(path), 1);
    EXPECT_EQ(console.lines, (std::vector<std::wstring>{kNotSupported, kNotSupported}));
    EXPECT_FALSE(container.CanQuery());
}

TEST_F(BentoContainerTest, TheLaterEntryOfAPropertyWins) {
    BentoWriter w;
    w.Text(0x20000, 0x1029D, "first");
    w.Text(0x20000, 0x1029D, "second");
    ASSERT_EQ(Open(w), 1);
    const auto object = container.FindObject(0x20000);
    ASSERT_TRUE(object.has_value());
    const auto entry = container.FindProperty(*object, 0x1029D);
    ASSERT_EQ(entry, 1u);
    EXPECT_EQ(BentoContainer::TextOf(*container.ReadValue(*entry, kWholeValue)), L"second");
    EXPECT_FALSE(container.FindProperty(*object, 0x1029E).has_value());
    EXPECT_FALSE(container.FindObject(0x20001).has_value());
}

// Objects with many properties each, objects that differ only in their high bits and a key given twice:
// every property is found at its own entry, the later one for the key given twice.
TEST_F(BentoContainerTest, ACrowdedPropertyIndexFindsEveryPropertyOnce) {
    const uint32_t objects[] = {0x20000, 0x20001, 0x20002, 0x20003, 0x1020000, 0x80020001};
    BentoWriter w(false);
    w.Data(Bytes(4, 0xEE));
    std::map<std::pair<uint32_t, uint32_t>, uint32_t> expected; // (object, property) -> entry
    uint32_t entry = 0;
    for (const uint32_t object : objects) {
        for (uint32_t property = 0x10100; property < 0x10100 + 120; ++property) {
            w.Entry({object, property, 0x10003, 0, 4, 0x10001});
            expected[{object, property}] = entry++;
        }
    }
    w.Entry({0x20002, 0x10100, 0x10003, 0, 4, 0x10001}); // the later entry of a key wins
    expected[{0x20002, 0x10100}] = entry++;
    ASSERT_EQ(Open(w), 1);
    for (const auto& [key, at] : expected) {
        EXPECT_EQ(container.FindProperty(key.first, key.second), std::optional<uint32_t>(at))
            << std::hex << key.first << " " << key.second;
    }
    EXPECT_FALSE(container.FindProperty(0x20000, 0x10100 + 120).has_value());
    EXPECT_FALSE(container.FindProperty(0x20004, 0x10100).has_value());
    EXPECT_FALSE(container.FindProperty(0x30020000, 0x10100).has_value());
}

TEST_F(BentoContainerTest, ValuesAreCutToTheBytesTheyHold) {
    BentoWriter w;
    const uint32_t text = w.Data({'a', 'b', 'c', 0, 'd'});
    w.Entry({2, 3, 4, text, 5, 1});              // 0: stored, zero byte inside
    w.Entry({2, 4, 4, 0x44434241, 2, 0x10001});  // 1: immediate of 2 bytes
    w.Entry({2, 5, 4, 0x44434241, 9, 0x10001});  // 2: immediate claiming 9 bytes
    w.Entry({2, 6, 4, text, 0, 1});              // 3: empty
    w.Entry({2, 7, 4, text, 3, 0x20000});        // 4: unreadable flags
    w.Entry({2, 8, 4, text, 0xFFFFFFF0u, 0});    // 5: unreadable with a hostile length
    w.Entry({2, 9, 4, text + 3, 0x7FFFFFFF, 1}); // 6: stored, runs past the end of the file
    w.Entry({2, 10, 4, 0x7FFFFFFF, 8, 1});       // 7: stored beyond the end of the file
    ASSERT_EQ(Open(w), 1);
    const uint64_t fileLength = container.FileLength();
    const auto tail = static_cast<size_t>(fileLength - text - 3);
    struct Case {
        uint32_t entry;
        std::optional<Bytes> value;
    };
    const std::vector<Case> cases = {
        {0, Bytes{'a', 'b', 'c', 0, 'd'}},
        {1, Bytes{0x41, 0x42}},
        {2, Bytes{0x41, 0x42, 0x43, 0x44}},
        {3, std::nullopt},
        {4, Bytes(3, 0)},
        {5, Bytes(static_cast<size_t>(fileLength), 0)},
        {7, std::nullopt},
        {99, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(container.ReadValue(c.entry, kWholeValue), c.value);
    }
    const auto pastEnd = container.ReadValue(6, kWholeValue);
    ASSERT_TRUE(pastEnd.has_value());
    EXPECT_EQ(pastEnd->size(), tail);
    EXPECT_EQ(pastEnd->front(), 0);
    EXPECT_EQ(pastEnd->at(1), 'd');
    EXPECT_EQ(BentoContainer::TextOf(*container.ReadValue(0, kWholeValue)), L"abc");
}

TEST_F(BentoContainerTest, ReadsStopAtTheBoundTheirCallerGives) {
    BentoWriter w;
    const uint32_t text = w.Data({'a', 'b', 'c', 'd', 'e'});
    w.Entry({2, 3, 4, text, 5, 1});             // 0: stored
    w.Entry({2, 4, 4, 0x44434241, 4, 0x10001}); // 1: immediate
    w.Entry({2, 5, 4, text, 0xFFFFFFF0u, 0});   // 2: unreadable, claiming almost 4 GB
    w.Entry({2, 6, 4, text, 0xFFFFFFF0u, 1});   // 3: stored, claiming almost 4 GB
    ASSERT_EQ(Open(w), 1);
    struct Case {
        uint32_t entry;
        uint32_t maxBytes;
        std::optional<Bytes> value;
    };
    const std::vector<Case> cases = {
        {0, 2, Bytes{'a', 'b'}},         {0, 0, std::nullopt}, {0, 9, Bytes{'a', 'b', 'c', 'd', 'e'}},
        {1, 3, Bytes{0x41, 0x42, 0x43}}, {2, 2, Bytes{0, 0}},  {3, 3, Bytes{'a', 'b', 'c'}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "entry " << c.entry << ", at most " << c.maxBytes);
        EXPECT_EQ(container.ReadValue(c.entry, c.maxBytes), c.value);
    }
}

TEST_F(BentoContainerTest, BigEndianSwapsOnlyArrayCountsAndImmediateNumbers) {
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        BentoWriter w(bigEndian);
        const Bytes elements = {0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00};
        w.Stored(0x20000, 0x10100, 0x1007C, w.Array(3, elements)); // 0: id array
        w.Stored(0x20000, 0x10101, 0x10077, w.Array(3, elements)); // 1: same bytes, other type
        w.Immediate(0x20000, 0x10102, 0x10003, 0x4C);              // 2
        w.Reference(0x20000, 0x10103, 0x20001);                    // 3
        w.UidIndex(0x101E9, {{0x11111111, 0x22222222, 0x20001}});
        ASSERT_EQ(Open(w), 1);
        EXPECT_EQ(container.IntelByteOrder(), !bigEndian);
        Bytes array = {0x03, 0x00};
        array.insert(array.end(), elements.begin(), elements.end());
        EXPECT_EQ(container.ReadValue(0, kWholeValue), array);
        EXPECT_EQ(container.ReadValue(1, kWholeValue), w.Array(3, elements));
        EXPECT_EQ(container.ImmediateValue(2), 0x4Cu);
        EXPECT_EQ(container.ReadValue(3, kWholeValue), (Bytes{0x01, 0x00, 0x02, 0x00}));
        EXPECT_EQ(container.LookUp(BentoContainer::UidIndex::comp, {0x11111111, 0x22222222}), 0x20001u);
    }
}

TEST_F(BentoContainerTest, NamesComeFromStoredGlobalNameEntries) {
    BentoWriter w;
    w.TypeName(0x10081, "omfi:String");
    w.PropertyName(0x1029D, "OMFI:MOBJ:Name");
    w.PropertyName(0x1029D, "OMFI:MOBJ:Renamed");
    w.Entry({0x1033D, 24, 21, w.Data({'x', 'y'}), 2, 0x20000}); // not stored: no name
    w.Text(0x10261, 24, "Caf\xE9", 21);
    ASSERT_EQ(Open(w), 1);
    struct Case {
        uint32_t id;
        const wchar_t* name;
    };
    const std::vector<Case> cases = {
        {1, L"CM_StdObjID_TOC"},
        {23, L"CM_StdObjID_GlobalTypeName"},
        {42, L"CM_StdObjID_8BitImmValue"},
        {0x10081, L"omfi:String"},
        {0x1029D, L"OMFI:MOBJ:Renamed"},
        {0x10261, L"Caf\u00E9"},
        {0x1033D, nullptr},
        {11, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const std::wstring* name = container.NameOf(c.id);
        ASSERT_EQ(name != nullptr, c.name != nullptr);
        if (name != nullptr) {
            EXPECT_EQ(*name, c.name);
        }
    }
}

TEST_F(BentoContainerTest, UidIndexesTakeOnlyTheElementsTheirValuesHold) {
    BentoWriter w;
    // A count of 5 over two elements: cut to the two.
    w.UidIndex(0x101E9, {{1, 2, 0x20000}, {3, 4, 0x20001}}, 5);
    // Two arrays for one index add up; a later element of a key replaces the earlier one.
    w.UidIndex(0x10216, {{5, 6, 0x20002}});
    w.UidIndex(0x10216, {{5, 6, 0x20003}, {7, 8, 0x20004}});
    // Whatever its type, an index value is read as an index array.
    Bytes element(20, 0);
    element[4] = 9;
    element[12] = 0x05;
    element[14] = 0x02;
    w.Stored(1, 0x10202, 0x10003, w.Array(1, element));
    w.Entry({1, 0x10202, 0x1006D, w.Data({0x01}), 1, 1}); // a value shorter than its count
    // On another object the same property is no index.
    w.UidIndex(0x101E9, {});
    w.Stored(2, 0x101E9, 0x1006D, w.Array(1, element));
    ASSERT_EQ(Open(w), 1);
    using Index = BentoContainer::UidIndex;
    EXPECT_EQ(container.IndexTable(Index::comp).Size(), 2u);
    EXPECT_EQ(container.LookUp(Index::comp, {3, 4}), 0x20001u);
    EXPECT_EQ(container.IndexTable(Index::fileMob).Size(), 2u);
    EXPECT_EQ(container.LookUp(Index::fileMob, {5, 6}), 0x20003u);
    EXPECT_EQ(container.LookUp(Index::data, {9, 0}), 0x20005u);
    EXPECT_FALSE(container.LookUp(Index::comp, {2, 1}).has_value());
}

TEST_F(BentoContainerTest, PropertiesAndIndexesWalkInTheFixedOrder) {
    BentoWriter w;
    // Property buckets: 0x10010 -> 0, 0x10020 -> 1, 0x10220 -> 16, 0x10330 -> 16; the repeated 0x10010 keeps
    // its place and takes the later entry.
    for (const uint32_t property : {0x10010u, 0x10220u, 0x10020u, 0x10330u, 0x10010u}) {
        w.Immediate(0x20000, property, 0x10003, property);
    }
    // dataIndex keys by word 1: 0x30 -> bucket 3, 0x110 -> 0, 0x220 -> 0.
    w.UidIndex(0x10202, {{0x30, 1, 0x20001}, {0x110, 2, 0x20002}, {0x220, 3, 0x20003}, {0x30, 4, 0x20004}});
    ASSERT_EQ(Open(w), 1);
    std::vector<uint32_t> walked;
    std::vector<uint32_t> walkedEntries;
    container.WalkProperties(*container.FindObject(0x20000), [&](uint32_t property, uint32_t entry) {
        walked.push_back(property);
        walkedEntries.push_back(entry);
    });
    EXPECT_EQ(walked, (std::vector<uint32_t>{0x10010, 0x10020, 0x10330, 0x10220}));
    EXPECT_EQ(walkedEntries, (std::vector<uint32_t>{4, 2, 3, 1}));
    const auto first = container.IndexTable(BentoContainer::UidIndex::data).First();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->key, UidKey({0x220, 3}).Id());
    EXPECT_EQ(first->value, 0x20003u);
}

TEST_F(BentoContainerTest, AfterCloseEveryQueryFindsNothing) {
    BentoWriter w;
    w.TypeName(0x10081, "omfi:String");
    w.Immediate(0x20000, 0x1033D, 0x10003, 7);
    w.UidIndex(0x101E9, {{1, 2, 0x20000}});
    ASSERT_EQ(Open(w), 1);
    const auto table = container.FindObject(0x20000);
    ASSERT_TRUE(table.has_value());
    container.Close();
    EXPECT_FALSE(container.IsOpen());
    EXPECT_EQ(container.EntryCount(), 0u);
    EXPECT_FALSE(container.FindObject(0x20000).has_value());
    EXPECT_FALSE(container.FindProperty(*table, 0x1033D).has_value());
    EXPECT_EQ(container.ImmediateValue(1), 0u);
    EXPECT_FALSE(container.ReadValue(1, kWholeValue).has_value());
    EXPECT_EQ(container.NameOf(0x10081), nullptr);
    EXPECT_FALSE(container.LookUp(BentoContainer::UidIndex::comp, {1, 2}).has_value());
    bool walked = false;
    container.WalkProperties(*table, [&](uint32_t, uint32_t) { walked = true; });
    EXPECT_FALSE(walked);
}

TEST_F(BentoContainerTest, OpensARealForeignContainerAndReadsEveryEntry) {
    ASSERT_EQ(container.Open(L"data/LogicPro-omfv1.OMF"), 1);
    EXPECT_TRUE(container.IsValid());
    EXPECT_FALSE(container.IntelByteOrder()); // its byte-order mark is not "II"
    ASSERT_EQ(container.EntryCount(), 369u);
    // Entry 2 describes the TOC itself: its offset and size as the label gives them.
    EXPECT_EQ(container.Entry(2)->valueOffset, 0xEE2A8u);
    EXPECT_EQ(container.Entry(2)->valueLength, 369u * 24);
    for (uint32_t i = 0; i < container.EntryCount(); ++i) {
        const auto value = container.ReadValue(i, kWholeValue);
        if (value) {
            EXPECT_LE(value->size(), container.FileLength());
        }
    }
    EXPECT_TRUE(container.FindObject(1).has_value());
    EXPECT_TRUE(console.lines.empty());
}

} // namespace
} // namespace tw
