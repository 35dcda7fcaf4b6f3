#include "catalog/media_files.h"
#include "catalog/pmr_file.h"
#include "fixtures/pmr_writer.h"
#include "fixtures/recording_progress.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <random>

#include <string>
#include <tuple>
#include <vector>

namespace tw {
namespace {

using fixtures::Bytes;
using fixtures::PmrEntry;
using fixtures::PmrWriter;

const std::wstring kBadData = L"PMR File::Bad data detected, please rebuild your databases";

const PmrEntry kFirst{0x8877665544332211ull, 0x0102030405060708ull, "Interview 01.omf", "Harbour Lights"};
const PmrEntry kLast{0x1122334455667788ull, 0xA1A2A3A4B1B2B3B4ull, "clip.mxf", "P"};

// Every case runs in both byte orders and with both identifier lengths.
class PmrFileTest : public ::testing::TestWithParam<std::tuple<bool, uint32_t>> {
protected:
    PmrWriter Writer() const { return PmrWriter(std::get<0>(GetParam()), std::get<1>(GetParam())); }

    // Saves the index, opens it and reads every record.
    std::vector<MediaRecord> ReadAll(const PmrWriter& writer) {
        const std::wstring path = dir / L"msmFMID.pmr";
        EXPECT_TRUE(writer.Save(path));
        PMRFile reader(&console);
        EXPECT_EQ(reader.OpenIndex(path), 1);
        std::vector<MediaRecord> records;
        MediaRecord record;
        while (reader.ReadNextRecord(&record, nullptr) == 1) {
            EXPECT_TRUE(record.filled);
            records.push_back(record);
            record = MediaRecord();
        }
        EXPECT_FALSE(record.filled);
        return records;
    }

    static void ExpectRecord(const MediaRecord& r, const PmrEntry& e) {
        EXPECT_EQ(r.fileName, std::wstring(e.name.begin(), e.name.end()));
        EXPECT_EQ(r.fileMobId, e.fileMobId);
        EXPECT_EQ(r.compUid, e.compUid);
        if (!e.project.empty()) {
            EXPECT_EQ(r.projectName, std::wstring(e.project.begin(), e.project.end()));
        }
    }

    fixtures::ScratchDir dir;
    LineConsole console;
};

TEST_P(PmrFileTest, OneValidEntryGivesOneRecordWithIdentifiersAsStored) {
    PmrWriter w = Writer();
    w.Entry(kFirst);
    const auto records = ReadAll(w);
    ASSERT_EQ(records.size(), 1u);
    ExpectRecord(records[0], kFirst);
    EXPECT_TRUE(console.lines.empty());
}

TEST_P(PmrFileTest, EmptyProjectBecomesNullProject) {
    PmrWriter w = Writer();
    w.Entry({1, 2, "a.wav", ""});
    const auto records = ReadAll(w);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].projectName, L"**NULL_PROJECT");
}

TEST_P(PmrFileTest, InvalidNamesAreSkippedSilently) {
    // Long names are checked for control bytes eight at a time: one in a middle group, one in the last group.
    const std::string names[] = {"clip.Omf",
                                 "clip.txt",
                                 "clipxomf",
                                 "omf",
                                 "cl\x01p.omf",
                                 std::string("clip.omf\0", 9),
                                 "Interview wide\x1F 0001.omf",
                                 "Interview wide 00\x1F.omf"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        console.lines.clear();
        PmrWriter w = Writer();
        PmrEntry bad{7, 8, name, "P"};
        w.Entry(bad).Entry(kLast);
        ASSERT_TRUE(w.Save(dir / L"i.pmr"));
        PMRFile reader(&console);
        ASSERT_EQ(reader.OpenIndex(dir / L"i.pmr"), 1);
        MediaRecord r;
        ASSERT_EQ(reader.ReadNextRecord(&r, nullptr), 1);
        ExpectRecord(r, kLast);
        // The skip itself writes nothing; lengths out of range met while resynchronising through the
        // skipped bytes are reported only at the end.
        EXPECT_TRUE(console.lines.empty());
        EXPECT_EQ(reader.ReadNextRecord(&r, nullptr), 0);
        EXPECT_LE(console.lines.size(), 1u);
    }
}

TEST_P(PmrFileTest, ProjectWithControlByteIsSkipped) {
    PmrWriter w = Writer();
    w.Entry({7, 8, "clip.omf", std::string("P\x1F", 2)}).Entry({7, 8, "clip.omf", "Harbour Lights\x1F"}).Entry(kLast);
    const auto records = ReadAll(w);
    ASSERT_EQ(records.size(), 1u);
    ExpectRecord(records[0], kLast);
}

TEST_P(PmrFileTest, GarbageBetweenEntriesIsSkippedAndReportedOnceAtTheEnd) {
    PmrWriter w = Writer();
    w.Entry(kFirst).Raw(Bytes(37, 0x00)).Entry(kLast);
    PMRFile reader(&console);
    ASSERT_TRUE(w.Save(dir / L"i.pmr"));
    ASSERT_EQ(reader.OpenIndex(dir / L"i.pmr"), 1);
    MediaRecord r;
    ASSERT_EQ(reader.ReadNextRecord(&r, nullptr), 1);
    ExpectRecord(r, kFirst);
    ASSERT_EQ(reader.ReadNextRecord(&r, nullptr), 1);
    ExpectRecord(r, kLast);
    EXPECT_TRUE(console.lines.empty()); // not before the last entry is delivered
    EXPECT_EQ(reader.ReadNextRecord(&r, nullptr), 0);
    EXPECT_EQ(console.lines, std::vector<std::wstring>{kBadData});
    // A call at the end answers 0 at once, repeating the line while badData stays set.
    EXPECT_EQ(reader.ReadNextRecord(&r, nullptr), 0);
    EXPECT_EQ(console.lines.size(), 2u);
}

// An attempt that starts inside the damage reads a name length of 255 and runs out of bytes before
// the resynchronisation reaches the last entry: the last entry must still be found.
TEST_P(PmrFileTest, GarbageBeforeTheLastEntryDoesNotLoseIt) {
    Bytes garbage;
    for (int i = 0; i < 24; ++i) {
        garbage.push_back(0xFF);
        garbage.push_back(0x00);
    }
    PmrWriter w = Writer();
    w.Entry(kFirst).Raw(garbage).Entry(kLast);
    const auto records = ReadAll(w);
    ASSERT_EQ(records.size(), 2u);
    ExpectRecord(records[0], kFirst);
    ExpectRecord(records[1], kLast);
    EXPECT_EQ(console.lines, std::vector<std::wstring>{kBadData});
}

TEST_P(PmrFileTest, NameLengthBoundIs256) {
    PmrWriter w = Writer();
    PmrEntry longest{3, 4, std::string(252, 'n') + ".OMF", "P"};
    w.Entry(longest);
    auto records = ReadAll(w);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].fileName.view().size(), 256u);
    EXPECT_TRUE(console.lines.empty());

    PmrWriter w2 = Writer();
    w2.Entry({3, 4, std::string(253, 'n') + ".OMF", "P"}).Entry(kLast);
    records = ReadAll(w2);
    ASSERT_EQ(records.size(), 1u);
    ExpectRecord(records[0], kLast);
    EXPECT_EQ(console.lines, std::vector<std::wstring>{kBadData});
}

TEST_P(PmrFileTest, ProjectLengthAbove64IsBadData) {
    PmrWriter w = Writer();
    w.Entry({3, 4, "x.aif", std::string(65, 'p')}).Entry(kLast);
    const auto records = ReadAll(w);
    ASSERT_EQ(records.size(), 1u);
    ExpectRecord(records[0], kLast);
    EXPECT_EQ(console.lines, std::vector<std::wstring>{kBadData});
}

TEST_P(PmrFileTest, TruncatedLastEntryIsLost) {
    PmrWriter w = Writer();
    w.Entry(kFirst).Entry(kLast);
    Bytes cut(w.Data().begin(), w.Data().end() - 8); // ends inside the second identifier
    PmrWriter raw = Writer();
    raw.Raw(Bytes(cut.begin() + 12, cut.end()));
    const auto records = ReadAll(raw);
    ASSERT_EQ(records.size(), 1u);
    ExpectRecord(records[0], kFirst);
}

TEST_P(PmrFileTest, EightBitTextIsConvertedFromTheCodePage) {
    PmrWriter w = Writer();
    w.Entry({5, 6, "caf\xE9.wav", "Proj\xE8t \x80"}).Entry({5, 6, "Caf\xE9 \xA0\xFF\x80 take 0001.wav", "P"});
    const auto records = ReadAll(w);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fileName, L"caf\u00E9.wav");
    EXPECT_EQ(records[0].projectName, L"Proj\u00E8t \u20AC");
    EXPECT_EQ(records[1].fileName, L"Caf\u00E9 \u00A0\u00FF\u20AC take 0001.wav");
}

// An index of several windows with damage across a window's edge: the entries before and after the damage
// come back one for one, and the damage is reported as bad data where a length out of range lies in it.
TEST_P(PmrFileTest, IndexLargerThanTheWindowReadsEveryEntryAroundDamageAtTheEdge) {
    constexpr uint32_t kEdge = QRBFile::kWindowSize;
    const uint32_t idLength = 4 * std::get<1>(GetParam());
    // The bytes of one entry as this index writes it.
    auto entryBytes = [&](const PmrEntry& e) {
        PmrWriter one = Writer();
        one.Entry(e);
        return Bytes(one.Data().begin() + 12, one.Data().end());
    };
    const Bytes cutEntry = entryBytes({9, 9, "Cut Short 0001.omf", "Harbour Lights"});
    enum class Report { none, badData, atMostBadData };
    struct Case {
        const char* what;
        Bytes damage;
        Report report;
    };
    const Case cases[] = {
        {"no damage", {}, Report::none},
        {"zero bytes", Bytes(48, 0x00), Report::badData},
        {"0xFF bytes", Bytes(48, 0xFF), Report::badData},
        {"name longer than 256", entryBytes({9, 9, std::string(296, 'n') + ".omf", "P"}), Report::badData},
        {"project longer than 64", entryBytes({9, 9, "Long Project.wav", std::string(65, 'p')}), Report::badData},
        {"control byte in the name", entryBytes({9, 9, "Bad\x01Name 0001.mxf", "P"}), Report::atMostBadData},
        {"entry cut short", Bytes(cutEntry.begin(), cutEntry.begin() + idLength + 12), Report::atMostBadData},
    };
    const std::string projects[] = {"Harbour Lights", "", "Caf\xE9 Noir", "Night Shift"};
    const std::string extensions[] = {"omf", "OMF", "wav", "WAV", "aif", "AIF", "mxf", "MXF"};
    size_t serial = 0;
    auto next = [&]() {
        const size_t n = serial++;
        const uint64_t low = static_cast<uint64_t>(n) * 0x10001u;
        return PmrEntry{0x060A2B3400000000ull | low, 0x0101010100000000ull | low,
                        "Take " + std::to_string(1000 + n) + "." + extensions[n % 8], projects[n % 4]};
    };
    const size_t longestEntry = entryBytes({0, 0, "Take 1000.omf", projects[0]}).size();
    // Filler entries have a project of one letter and a name of at least "F.omf".
    const size_t fillerOverhead = 2 * idLength + 2 + 2 + 1 + 4;
    for (const Case& c : cases) {
        // Without damage the edge falls on every byte of the entry after the filler; damage begins one byte,
        // half its length or all but one byte ahead of the edge.
        std::vector<size_t> befores;
        if (c.damage.empty()) {
            for (size_t before = 1; before < longestEntry; ++before) {
                befores.push_back(before);
            }
        } else {
            befores = {1, c.damage.size() / 2, c.damage.size() - 1};
        }
        for (size_t before : befores) {
            SCOPED_TRACE(std::string(c.what) + ", bytes before the edge: " + std::to_string(before));
            PmrWriter w = Writer();
            std::vector<PmrEntry> written;
            // Whole entries up to the damage, the last one sized to end exactly `before` bytes ahead of the edge.
            const size_t damageAt = kEdge - before;
            for (PmrEntry e = next(); w.Size() + entryBytes(e).size() + fillerOverhead + 5 <= damageAt; e = next()) {
                written.push_back(e);
                w.Entry(e);
            }
            PmrEntry filler = next();
            filler.project = "F";
            filler.name = std::string(damageAt - w.Size() - fillerOverhead - 4, 'F') + ".omf";
            written.push_back(filler);
            w.Entry(filler);
            ASSERT_EQ(w.Size(), damageAt);
            w.Raw(c.damage);
            while (w.Size() < 3 * kEdge + 100) {
                written.push_back(next());
                w.Entry(written.back());
            }
            console.lines.clear();
            const std::vector<MediaRecord> records = ReadAll(w);
            ASSERT_EQ(records.size(), written.size());
            for (size_t i = 0; i < written.size(); ++i) {
                const PmrEntry& e = written[i];
                SCOPED_TRACE(e.name);
                EXPECT_EQ(records[i].fileName, platform::AnsiToWide(e.name.data(), e.name.size()));
                EXPECT_EQ(records[i].projectName, e.project.empty()
                                                      ? std::wstring(L"**NULL_PROJECT")
                                                      : platform::AnsiToWide(e.project.data(), e.project.size()));
                EXPECT_EQ(records[i].fileMobId, e.fileMobId);
                EXPECT_EQ(records[i].compUid, e.compUid);
            }
            switch (c.report) {
            case Report::none:
                EXPECT_TRUE(console.lines.empty());
                break;
            case Report::badData:
                EXPECT_EQ(console.lines, std::vector<std::wstring>{kBadData});
                break;
            case Report::atMostBadData:
                EXPECT_LE(console.lines.size(), 1u);
                EXPECT_TRUE(console.lines.empty() || console.lines[0] == kBadData);
                break;
            }
        }
    }
}

// What an index holds by its definition, found by trying an entry at every offset in turn from the header on:
// after an entry the next one starts four bytes past it; after a failed attempt, one byte further on. badData
// is set by an attempt that fails at a length out of range.
struct IndexContents {
    std::vector<std::string> names;
    std::vector<std::string> projects;
    std::vector<uint64_t> fileMobIds;
    bool badData = false;
};

IndexContents TryEveryOffset(const Bytes& b, bool bigEndian, uint32_t guidLength) {
    const size_t idLength = 4 * guidLength;
    const auto length = [&](size_t at) -> unsigned {
        return bigEndian ? (unsigned{b[at]} << 8) | b[at + 1] : b[at] | (unsigned{b[at + 1]} << 8);
    };
    const auto printable = [](const std::string& text) {
        for (const char c : text) {
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
        }
        return true;
    };
    IndexContents out;
    for (size_t p = 12; p < b.size();) {
        size_t q = p;
        const auto holds = [&](size_t n) { return q + n <= b.size(); };
        if (!holds(idLength + 2)) {
            ++p;
            continue;
        }
        const size_t firstId = q;
        q += idLength;
        const unsigned nameLength = length(q);
        q += 2;
        if (nameLength == 0 || nameLength > 256) {
            out.badData = true;
            ++p;
            continue;
        }
        if (!holds(nameLength + 2)) {
            ++p;
            continue;
        }
        const std::string name(b.begin() + static_cast<std::ptrdiff_t>(q),
                               b.begin() + static_cast<std::ptrdiff_t>(q + nameLength));
        q += nameLength;
        const unsigned projectLength = length(q);
        q += 2;
        if (projectLength > 64) {
            out.badData = true;
            ++p;
            continue;
        }
        if (!holds(projectLength + idLength)) {
            ++p;
            continue;
        }
        const std::string project = projectLength == 0
                                        ? std::string("**NULL_PROJECT")
                                        : std::string(b.begin() + static_cast<std::ptrdiff_t>(q),
                                                      b.begin() + static_cast<std::ptrdiff_t>(q + projectLength));
        q += projectLength + idLength;
        const bool valid = printable(project) && name.size() >= 4 && printable(name) && name[name.size() - 4] == '.' &&
                           MediaExtensionOf(name.data() + name.size() - 3, ExtensionCase::lowerOrUpper) !=
                               MediaExtension::none;
        if (!valid) {
            ++p;
            continue;
        }
        uint64_t mobId = 0;
        for (size_t k = 0; k < 8; ++k) {
            mobId |= uint64_t{b[firstId + (guidLength == 8 ? 16 : 0) + k]} << (8 * k);
        }
        out.names.push_back(name);
        out.projects.push_back(project);
        out.fileMobIds.push_back(mobId);
        p = std::min(q + 4, b.size());
    }
    return out;
}

// Indexes damaged at random (garbage between entries, bytes changed anywhere past the header, some larger than
// the read-ahead window) give what trying every offset in turn finds: the same records and the same report.
TEST_P(PmrFileTest, DamagedIndexesGiveWhatTryingEveryOffsetFinds) {
    const bool bigEndian = std::get<0>(GetParam());
    const uint32_t guidLength = std::get<1>(GetParam());
    const std::string names[] = {"Take 0001.omf", "B.MXF", "Interview wide 0002.wav", "Caf\xE9 0003.aif", "x.txt",
                                 "Reel 4.Omf", std::string(250, 'n') + ".mxf"};
    const std::string projects[] = {"Harbour Lights", "", "P", std::string(64, 'p'), "Caf\xE9 Noir"};
    std::mt19937 random(20261211u + guidLength + (bigEndian ? 1u : 0u));
    const auto below = [&](size_t n) { return static_cast<size_t>(random() % n); };
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        PmrWriter w = Writer();
        const size_t entries = 1 + below(round % 5 == 0 ? 200 : 12);
        for (size_t i = 0; i < entries; ++i) {
            w.Entry({0x060A2B3400000000ull | i, 0x0101010100000000ull | i, names[below(std::size(names))],
                     projects[below(std::size(projects))]});
            if (below(3) == 0) {
                Bytes garbage(below(48));
                for (uint8_t& g : garbage) {
                    g = below(4) == 0 ? uint8_t{0} : static_cast<uint8_t>(random());
                }
                w.Raw(garbage);
            }
        }
        Bytes bytes = w.Data();
        for (size_t flips = below(6); flips > 0; --flips) {
            bytes[12 + below(bytes.size() - 12)] = static_cast<uint8_t>(random());
        }
        const IndexContents expected = TryEveryOffset(bytes, bigEndian, guidLength);
        ASSERT_TRUE(fixtures::WriteFile(dir / L"i.pmr", bytes));
        console.lines.clear();
        PMRFile reader(&console);
        ASSERT_EQ(reader.OpenIndex(dir / L"i.pmr"), 1);
        std::vector<MediaRecord> records;
        for (MediaRecord r; reader.ReadNextRecord(&r, nullptr) == 1; r = MediaRecord()) {
            records.push_back(r);
        }
        ASSERT_EQ(records.size(), expected.names.size());
        for (size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].fileName, platform::AnsiToWide(expected.names[i].data(), expected.names[i].size()));
            EXPECT_EQ(records[i].projectName,
                      platform::AnsiToWide(expected.projects[i].data(), expected.projects[i].size()));
            EXPECT_EQ(records[i].fileMobId, expected.fileMobIds[i]);
        }
        EXPECT_EQ(console.lines, expected.badData ? std::vector<std::wstring>{kBadData} : std::vector<std::wstring>{});
    }
}

INSTANTIATE_TEST_SUITE_P(ByteOrderAndGuidLength, PmrFileTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(2u, 8u)), [](const auto& info) {
                             return std::string(std::get<0>(info.param) ? "BigEndian" : "LittleEndian") + "Guid" +
                                    std::to_string(std::get<1>(info.param));
                         });

TEST(PmrFileOpenTest, HeaderChecks) {
    fixtures::ScratchDir dir;
    struct Case {
        const char* what;
        Bytes bytes;
        int result;
        std::vector<std::wstring> lines;
    };
    Bytes thirty = PmrWriter().Data();
    thirty.resize(30, 0x20);
    Bytes twentyNine = thirty;
    twentyNine.pop_back();
    Bytes badGuid = PmrWriter(false, 4).Data();
    badGuid.resize(40, 0);
    Bytes badGuidSwapped = PmrWriter(true, 2).Data();
    badGuidSwapped[0] = 0; // not 1961 little-endian: read as big-endian, where guidLength 2 is fine
    badGuidSwapped.resize(40, 0);
    Bytes littleMarkBigWords = PmrWriter(false, 2).Data();
    littleMarkBigWords.resize(40, 0);
    const Case cases[] = {
        {"30 bytes", thirty, 1, {}},
        {"29 bytes", twentyNine, 0, {L"PMRFile: too small"}},
        {"empty", {}, 0, {L"PMRFile: too small"}},
        {"guid length 4", badGuid, 0, {L"PMRFile: bad GUID Length"}},
        {"any other mark means big-endian", badGuidSwapped, 1, {}},
        {"little-endian", littleMarkBigWords, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(fixtures::WriteFile(dir / L"x.pmr", c.bytes));
        LineConsole console;
        PMRFile reader(&console);
        EXPECT_EQ(reader.OpenIndex(dir / L"x.pmr"), c.result);
        EXPECT_EQ(console.lines, c.lines);
        EXPECT_EQ(reader.IsOpen(), c.result == 1);
        if (c.result == 1) {
            EXPECT_EQ(reader.GetPosition(), 12u);
        }
    }
}

TEST(PmrFileOpenTest, SwappedHeaderWordsAreRead) {
    fixtures::ScratchDir dir;
    PmrWriter w(true, 8, 0x01020304);
    w.Entry(kFirst);
    ASSERT_TRUE(w.Save(dir / L"x.pmr"));
    PMRFile reader;
    ASSERT_EQ(reader.OpenIndex(dir / L"x.pmr"), 1);
    EXPECT_TRUE(reader.Swapped());
    EXPECT_EQ(reader.GuidLength(), 8u);
    EXPECT_EQ(reader.HeaderValue(), 0x01020304u);
}

TEST(PmrFileOpenTest, MissingFileAndAbsentRecord) {
    fixtures::ScratchDir dir;
    LineConsole console;
    PMRFile reader(&console);
    EXPECT_EQ(reader.OpenIndex(dir / L"none.pmr"), 0);
    ASSERT_EQ(console.lines.size(), 2u);
    EXPECT_EQ(console.lines[0], L"QRB File->Open error : ");
    PmrWriter w;
    w.Entry(kFirst);
    ASSERT_TRUE(w.Save(dir / L"x.pmr"));
    ASSERT_EQ(reader.OpenIndex(dir / L"x.pmr"), 1);
    EXPECT_EQ(reader.ReadNextRecord(nullptr, nullptr), 0);
    EXPECT_EQ(reader.GetPosition(), 12u); // nothing was read
}

TEST(PmrFileProgressTest, ReportsEachEntryStartAgainstTheFileLength) {
    fixtures::ScratchDir dir;
    PmrWriter w;
    w.Entry(kFirst);
    const size_t second = w.Size();
    w.Entry(kLast);
    ASSERT_TRUE(w.Save(dir / L"x.pmr"));
    PMRFile reader;
    ASSERT_EQ(reader.OpenIndex(dir / L"x.pmr"), 1);
    fixtures::RecordingProgress progress;
    MediaRecord r;
    while (reader.ReadNextRecord(&r, &progress) == 1) {
    }
    const std::vector<std::pair<uint64_t, uint64_t>> expected = {{12, w.Size()}, {second, w.Size()}};
    EXPECT_EQ(progress.calls, expected);
}

} // namespace
} // namespace tw
