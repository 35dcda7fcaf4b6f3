// IndexLookAhead: the entries of an index, read a few ahead of the one a load works on, so that what the
// lookups of each record read from memory is on its way before the record's turn comes. It owns the ring of
// records read ahead, the hash of each record's file name (taken once, for every table keyed by it) and the
// console lines the reader writes while reading each entry, which it holds back until the records before
// that entry have been handed over: the console reads as if one entry were read at a time.
//
// A load reads straight through it:
//
//   IndexLookAhead ahead(reader, console);
//   while (IndexLookAhead::Turn* turn = ahead.Next(progress, prefetch)) { match, enrich, accept turn->record }
//
// prefetch(turn, stage) is called for each record read, first with stage 0 as it is read and then with the
// next stage at each later call of Next, up to kStages - 1 on the call before the record's own turn: a
// lookup's stages (its slot, its entry, its key; or a chain of tables) each fetch what the one before
// brought.
#pragma once

#include "catalog/media_record.h"
#include "catalog/pmr_file.h"
#include "container/hash_index.h"
#include "seams/console.h"
#include "seams/progress.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tw {

class IndexLookAhead {
public:
    // Stages of prefetching a record gets before its turn: as many as the longest chain of reads of a
    // record's lookups (the media database's: a UID index's slot and item, a property's slot and entry).
    static constexpr unsigned kStages = 4;

    struct Turn {
        MediaRecord record;
        // HashText(record.fileName).
        uint64_t nameHash = 0;
        // The reader's lines while reading the record's entry.
        std::vector<std::wstring> lines;
    };

    // Reads through reader, whose lines it holds back and passes on to console (may be null).
    IndexLookAhead(PMRFile& reader, Console* console) : reader(reader), console(console) {
        reader.SetConsole(&readerLines);
    }
    ~IndexLookAhead() { reader.SetConsole(console); }
    IndexLookAhead(const IndexLookAhead&) = delete;
    IndexLookAhead& operator=(const IndexLookAhead&) = delete;

    // The next record, after the lines of its entry have been passed on; null once the index has no more,
    // when the lines of its last read have been passed on too. The record the call before handed out is
    // done with: a caller that keeps it moves it out (the slot is filled anew). progress (may be null)
    // follows the reader.
    template <typename Prefetch> Turn* Next(Progress* progress, Prefetch&& prefetch) {
        if (handedOut) {
            current = (current + 1) % kTurns;
            --ahead;
        }
        while (!ended && ahead < kTurns) {
            ReadAhead(progress, prefetch);
        }
        handedOut = ahead != 0;
        if (!handedOut) {
            PassOn(linesOfLastRead);
            return nullptr;
        }
        // The records read earlier each take their next stage: the one read kStages - 1 calls ago its last.
        for (size_t distance = 1; distance < ahead && distance < kStages; ++distance) {
            prefetch(std::as_const(turns[(current + distance) % kTurns]), static_cast<unsigned>(kStages - distance));
        }
        Turn& turn = turns[current];
        PassOn(turn.lines);
        return &turn;
    }

private:
    static constexpr size_t kTurns = kStages + 1;

    template <typename Prefetch> void ReadAhead(Progress* progress, Prefetch& prefetch) {
        Turn& turn = turns[(current + ahead) % kTurns];
        // the record of an unsuccessful read is never filled
        if (reader.ReadNextRecord(&turn.record, progress) == 1) {
            turn.lines = std::move(readerLines.lines);
            turn.nameHash = HashText(turn.record.fileName.view());
            prefetch(std::as_const(turn), 0u);
            ++ahead;
        } else {
            linesOfLastRead = std::move(readerLines.lines);
            ended = true;
        }
        readerLines.lines.clear();
    }

    void PassOn(std::vector<std::wstring>& lines) {
        for (const std::wstring& line : lines) {
            AppendLine(console, line);
        }
        lines.clear();
    }

    PMRFile& reader;
    Console* console;
    LineConsole readerLines;
    std::array<Turn, kTurns> turns;
    std::vector<std::wstring> linesOfLastRead;
    size_t current = 0;
    size_t ahead = 0; // records read and not yet done with, the one handed out included
    bool handedOut = false;
    bool ended = false;
};

} // namespace tw
