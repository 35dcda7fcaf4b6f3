// One run of a plan as the file operations meet it: the selection (the plan's rows with a file, in the plan's
// order, each checked right before it is handled), the prompts (answered by the options or asked on the terminal),
// the host (the plan's progress) and the observer of each file's outcome. A dry run is the same run over a
// simulated file system that starts from the disk and keeps every change to itself: the questions are answered as
// the run would answer them and nothing is logged.
#pragma once

#include "cli/plan_item.h"
#include "cli/plan_progress.h"
#include "cli/plan_run.h"
#include "operations/file_selection.h"
#include "operations/file_system.h"
#include "operations/operation_host.h"
#include "operations/step_report.h"
#include "seams/prompts.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tw::cli {

// What a run counted of its rows.
struct PlanTally {
    uint64_t passedOver = 0; // rows without a file
    uint64_t done = 0;
    uint64_t doneBytes = 0;
    uint64_t skipped = 0;
    uint64_t changed = 0;
    uint64_t absentFolders = 0;
    uint64_t alreadyDone = 0;
};

class PlanRunAdapter : public FileSelection, public Prompts, public OperationHost, public StepObserver {
public:
    // rows and services must outlive the run. files: what the run acts on (the disk, or the dry run's simulation).
    PlanRunAdapter(const PlanOptions& options, const std::vector<PlanRow>& rows, const PlanServices& services,
                   FileSystem& files, bool dry);

    // Carries out the plan's operation. An exit status when the run does not start (a delete not confirmed, a
    // store folder that cannot be used); none when it ran, whatever became of its rows.
    [[nodiscard]] std::optional<int> Carry();

    // What the run did with a plan row.
    [[nodiscard]] RowOutcome OutcomeOf(const PlanRow& row) const;
    [[nodiscard]] const PlanTally& Tally() const { return tally; }
    // The items the run did not come to.
    [[nodiscard]] size_t NotHandled() const;
    // Rows a delete kept because their group would lose its last copy.
    [[nodiscard]] uint64_t KeptRows() const;
    [[nodiscard]] bool KeptGroups() const { return !keptGroups.empty(); }
    [[nodiscard]] bool Cancelled() const { return cancelled; }
    // The run ended as the person asked (Skip All of a delete's read-only question).
    [[nodiscard]] bool EndedAsAsked() const { return endedAsAsked; }
    // The full path of the item's file.
    [[nodiscard]] std::wstring PathOfItem(int item) const;

    // FileSelection: the plan's rows with a file, in the plan's order.
    [[nodiscard]] int FirstSelected() const override { return NextSelected(-1); }
    [[nodiscard]] int NextSelected(int item) const override;
    [[nodiscard]] size_t SelectedCount() const override;
    // Right before the file operations handle a row: a file that is not the one the plan showed makes the row a
    // missing record, which the run passes over.
    [[nodiscard]] MediaRecord* RecordOf(int index) const override;
    void Deselect(int index) override;
    void RefreshItem(int, const MediaRecord&) override {}
    [[nodiscard]] uint64_t SelectedSize() const override { return selectedBytes; }

    // StepObserver: what the run did with the row's file.
    void FileHandled(const StepReport& report) override;

    // Prompts: answered by the options, or asked on the terminal.
    ConfirmAnswer AskOverwrite(const std::wstring& source, const std::wstring& target) override;
    ConfirmAnswer AskDelete(const std::wstring& path) override;
    ConfirmAnswer AskDeleteReadOnly(const std::wstring& path) override;
    bool ChooseFolder(std::wstring& folder) override;
    bool PollCancel() override { return CheckInterrupt(); }
    MessageAnswer ShowMessage(const std::wstring& text, const std::wstring& caption, MessageButtons buttons) override;

    // OperationHost: no windows; every run gets the plan's progress.
    Progress* OpenProgress() override { return progress.get(); }
    void CloseProgress() override { progress->Hide(); }

private:
    void Verbose(const std::wstring& line) const;
    // A person is asked about the row's file.
    void MarkAsked();
    // Where a transfer puts the row's file; empty when that cannot be told before the run (a project name that is no
    // folder name).
    [[nodiscard]] std::wstring TargetOf(const PlanRow& row) const;
    // A run of the same plan before has put this row's file at its target: a move whose file is there whole and gone
    // from its source, or a copy whose target holds the source's very bytes.
    bool AlreadyDone(PlanItem& item, const std::wstring& source) const;
    // Rows of a plan of duplicates that would delete every copy of their group are kept, with the reason, unless the
    // plan names a kept copy of the group (column Kept) that is still there and not itself in the plan.
    void KeepWholeGroups();
    // The question before a delete, asked once; false when it is not answered Yes.
    bool ConfirmDelete();
    // A question with the confirmation dialog's answers, asked until one of them is given. Ctrl+C while it waits
    // asks whether to cancel the run, as during the run; Cancel when the input ends.
    ConfirmAnswer Choose(const std::wstring& question);
    // After Ctrl+C: the window's cancel question on the terminal, or a cancel when there is none to ask on or the
    // question is interrupted too. True when the run is cancelled.
    bool CheckInterrupt();
    void Cancel();

    const PlanOptions& options;
    const std::vector<PlanRow>& rows;
    const PlanServices& s;
    FileSystem& files;
    bool dry;
    bool running = false;
    mutable std::vector<PlanItem> items;
    // The item of each plan row, or -1 for a row without a file.
    std::vector<int> itemOfRow;
    mutable PlanItem* current = nullptr;
    std::unique_ptr<PlanProgress> progress;
    uint64_t selectedBytes = 0;
    PlanTally tally;
    // The store's or copy's folder, once the run knows it.
    std::wstring targetFolder;
    // Per plan row: why delete keeps it (its group would lose its last copy); empty for the others.
    std::vector<std::wstring> refusal;
    // The groups kept whole, with the reason.
    std::vector<std::pair<std::wstring, std::wstring>> keptGroups;
    bool abortPending = false;
    uint32_t interruptsSeen;
    bool cancelled = false;
    bool endedAsAsked = false;
    bool confirmRefused = false;
};

} // namespace tw::cli
