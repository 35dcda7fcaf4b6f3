// Test doubles of a plan's run: a terminal answered from a script, Ctrl+C presses counted by the test, and the
// platform's file system with hooks into copies and renames.
#pragma once

#include "cli/plan_reader.h"
#include "cli/plan_run.h"
#include "cli/terminal.h"
#include "fixtures/file_io.h"
#include "operations/operation_doubles.h"
#include "seams/console.h"

#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tw::testing_cli {

// A terminal whose answers come from a script. An answer of nullopt, or none left, is no answer (the input
// ended, or Ctrl+C was pressed while waiting).
class ScriptedTerminal : public cli::Terminal {
public:
    [[nodiscard]] bool Interactive() const override { return interactive; }
    bool Ask(const std::wstring& question, std::wstring& answer) override {
        questions.push_back(question);
        if (onAsk) {
            onAsk(question);
        }
        if (answers.empty() || !answers.front()) {
            if (!answers.empty()) {
                answers.pop_front();
            }
            return false;
        }
        answer = *answers.front();
        answers.pop_front();
        return true;
    }

    bool interactive = true;
    std::deque<std::optional<std::wstring>> answers;
    std::vector<std::wstring> questions;
    // Runs as each question is asked, before it is answered.
    std::function<void(const std::wstring& question)> onAsk;
};

// Ctrl+C presses, made by the test.
struct Presses : cli::Interrupts {
    [[nodiscard]] uint32_t Count() const override { return count; }
    uint32_t count = 0;
};

// The platform's file system with the faults of the operations' tests, and hooks: duringCopy at every report of a
// copy's progress (at least once, when it is done), afterMove after each rename, afterCopy after each copy.
class HookedFileSystem : public testing_ops::FaultyFileSystem {
public:
    uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                  const platform::CopyProgressRoutine& routine, platform::CancelFlag* cancel) override {
        const uint32_t code = FaultyFileSystem::CopyFileWithProgress(
            source, target,
            [&](uint64_t copied, uint64_t size) {
                if (duringCopy) {
                    duringCopy(source, copied, size);
                }
                if (routine) {
                    routine(copied, size);
                }
            },
            cancel);
        if (code == 0 && afterCopy) {
            afterCopy(source, target);
        }
        return code;
    }
    uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) override {
        const uint32_t code = FaultyFileSystem::MoveFileReplacing(source, target);
        if (afterMove) {
            afterMove(source);
        }
        return code;
    }

    std::function<void(const std::wstring& source, uint64_t copied, uint64_t size)> duringCopy;
    std::function<void(const std::wstring& source)> afterMove;
    // After each copy that answered success, with the path it wrote.
    std::function<void(const std::wstring& source, const std::wstring& target)> afterCopy;
};

// Every file below root with its bytes, keyed by the path below root.
std::map<std::wstring, std::string> Listing(const std::wstring& root);

// A scratch folder with a folder of media files, the plan's rows for them, a target folder, and every seam of a run
// answered by a double.
class PlanScene {
public:
    PlanScene();
    ~PlanScene();
    PlanScene(const PlanScene&) = delete;
    PlanScene& operator=(const PlanScene&) = delete;

    // Writes a media file of size bytes into the source folder and adds its row to the plan.
    void Add(const std::wstring& name, size_t size, const std::wstring& project = L"Harbour");
    // Adds a row without a file, as a plan lists a missing file.
    void AddMissing(const std::wstring& name);

    [[nodiscard]] std::wstring Source(const std::wstring& name) const { return platform::JoinPath(src, name); }
    [[nodiscard]] std::wstring Target(const std::wstring& name) const { return platform::JoinPath(dst, name); }

    int Run(std::vector<cli::RowOutcome>* outcomes = nullptr);
    int DryRun(std::vector<cli::RowOutcome>* outcomes = nullptr);
    // What the dry run wrote to its output.
    [[nodiscard]] std::string Out() const;
    // True when a console line is text.
    [[nodiscard]] bool Logged(const std::wstring& text) const;
    // True when each file of the plan is whole at exactly one of its source and its target, and nothing else is
    // in the target folder.
    [[nodiscard]] bool EveryFileWholeOnce() const;

    fixtures::ScratchDir dir{L"tw-plan"};
    std::wstring src;
    std::wstring dst;
    std::vector<cli::PlanRow> rows;
    std::map<std::wstring, std::string> content; // the bytes of each file, by name
    HookedFileSystem files;
    ScriptedTerminal terminal;
    Presses presses;
    LineConsole console;
    cli::PlanOptions options;

private:
    std::FILE* out;
};

} // namespace tw::testing_cli
