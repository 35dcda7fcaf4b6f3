#include "catalog/index_look_ahead.h"
#include "fixtures/pmr_writer.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tw {
namespace {

// What a load through the look-ahead sees, in the order it happens: "stage N of NAME", "turn of NAME" and
// the console's lines.
class EventConsole : public Console {
public:
    void AppendLine(const std::wstring& text) override { events.push_back(text); }
    std::vector<std::wstring> events;
};

std::vector<std::wstring> LoadThrough(const fixtures::PmrWriter& writer, const std::wstring& path) {
    EXPECT_TRUE(writer.Save(path));
    EventConsole console;
    PMRFile reader(&console);
    EXPECT_EQ(reader.OpenIndex(path), 1);
    {
        IndexLookAhead ahead(reader, &console);
        const auto prefetch = [&](const IndexLookAhead::Turn& turn, unsigned stage) {
            EXPECT_EQ(turn.nameHash, HashText(turn.record.fileName.view()));
            console.events.push_back(L"stage " + std::to_wstring(stage) + L" of " +
                                     std::wstring(turn.record.fileName.view()));
        };
        while (IndexLookAhead::Turn* turn = ahead.Next(nullptr, prefetch)) {
            console.events.push_back(L"turn of " + std::wstring(turn->record.fileName.view()));
            turn->record = MediaRecord(); // as a load that accepts it moves it out
        }
    }
    return console.events;
}

TEST(IndexLookAheadTest, EveryRecordTakesItsStagesInOrderBeforeItsTurn) {
    fixtures::ScratchDir dir{L"tw-look-ahead"};
    for (const size_t count : {0u, 1u, 3u, 4u, 5u, 12u}) {
        SCOPED_TRACE(count);
        fixtures::PmrWriter writer;
        std::vector<std::wstring> names;
        for (size_t n = 0; n < count; ++n) {
            names.push_back(L"clip" + std::to_wstring(n) + L".omf");
            writer.Entry({n + 1, n + 2, "clip" + std::to_string(n) + ".omf", "P", 0});
        }
        // A damaged tail: the reader's line on it comes after the last turn, as if it read one entry at a time.
        writer.Raw(fixtures::Bytes(40, 0x00));
        const std::vector<std::wstring> events = LoadThrough(writer, platform::JoinPath(dir.Path(), L"msmFMID.pmr"));

        const auto at = [&](const std::wstring& event) {
            return static_cast<size_t>(std::find(events.begin(), events.end(), event) - events.begin());
        };
        size_t lastTurnAt = 0;
        for (size_t n = 0; n < names.size(); ++n) {
            SCOPED_TRACE(n);
            // Turns come in the index's order.
            const size_t turnAt = at(L"turn of " + names[n]);
            ASSERT_LT(turnAt, events.size());
            EXPECT_TRUE(n == 0 || turnAt > lastTurnAt);
            lastTurnAt = turnAt;
            // Stage 0 as the record is read, then each stage it takes in order, all before its turn; every
            // record but the first takes the last stage on the turn before its own, and a record read into a
            // full ring takes every stage.
            std::vector<size_t> stagesAt;
            for (unsigned stage = 0; stage < IndexLookAhead::kStages; ++stage) {
                stagesAt.push_back(at(L"stage " + std::to_wstring(stage) + L" of " + names[n]));
            }
            size_t before = 0;
            for (unsigned stage = 0; stage < IndexLookAhead::kStages; ++stage) {
                const bool taken = stagesAt[stage] < events.size();
                EXPECT_TRUE(taken || (stage != 0 && n < IndexLookAhead::kStages)) << "stage " << stage;
                if (taken) {
                    EXPECT_TRUE(stage == 0 || stagesAt[stage] > before) << "stage " << stage;
                    EXPECT_LT(stagesAt[stage], turnAt) << "stage " << stage;
                    before = stagesAt[stage];
                }
            }
            EXPECT_TRUE(n == 0 || stagesAt.back() < events.size());
        }
        EXPECT_EQ(static_cast<size_t>(std::count_if(events.begin(), events.end(),
                                                    [](const std::wstring& e) { return e.rfind(L"turn", 0) == 0; })),
                  count);
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back(), L"PMR File::Bad data detected, please rebuild your databases");
    }
}

} // namespace
} // namespace tw
