#include "cli/plan_run_adapter.h"

#include "cli/plan_file_systems.h"
#include "cli/plan_outcome.h"
#include "cli/plan_row_checks.h"
#include "cli/plan_texts.h"
#include "operations/file_operations.h"
#include "operations/simulated_file_system.h"
#include "operations/store_target.h"
#include "operations/target_names.h"
#include "platform/file_ops.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <algorithm>
#include <cwctype>
#include <map>

namespace tw::cli {

namespace {

const wchar_t* const kAnswers = L"[y]es, yes to [a]ll, [s]kip, skip a[l]l, [c]ancel? ";

// An answer typed to one of the window's confirmation questions; None when it is none of them.
ConfirmAnswer ParseAnswer(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    while (!text.empty() && text.back() == L' ') {
        text.pop_back();
    }
    while (!text.empty() && text.front() == L' ') {
        text.erase(0, 1);
    }
    if (text == L"y" || text == L"yes") {
        return ConfirmAnswer::Yes;
    }
    if (text == L"a" || text == L"yes to all") {
        return ConfirmAnswer::YesToAll;
    }
    if (text == L"s" || text == L"skip") {
        return ConfirmAnswer::Skip;
    }
    if (text == L"l" || text == L"skip all") {
        return ConfirmAnswer::SkipAll;
    }
    if (text == L"c" || text == L"cancel") {
        return ConfirmAnswer::Cancel;
    }
    return ConfirmAnswer::None;
}

bool SaysYes(const std::wstring& answer) {
    return ParseAnswer(answer) == ConfirmAnswer::Yes;
}

} // namespace

PlanRunAdapter::PlanRunAdapter(const PlanOptions& options, const std::vector<PlanRow>& rows,
                               const PlanServices& services, FileSystem& files, bool dry)
    : options(options), rows(rows), s(services), files(files), dry(dry), interruptsSeen(services.interrupts.Count()) {
    itemOfRow.assign(rows.size(), -1);
    refusal.assign(rows.size(), std::wstring());
    if (options.action == PlanAction::remove && !options.deleteWholeGroups) {
        KeepWholeGroups();
    }
    for (const PlanRow& row : rows) {
        if (row.path.empty()) {
            ++tally.passedOver;
            continue;
        }
        if (!refusal[static_cast<size_t>(&row - rows.data())].empty()) {
            continue;
        }
        itemOfRow[static_cast<size_t>(&row - rows.data())] = static_cast<int>(items.size());
        PlanItem item;
        item.row = &row;
        item.record = RecordOfRow(row);
        items.push_back(std::move(item));
        selectedBytes += row.size;
    }
}

std::optional<int> PlanRunAdapter::Carry() {
    const std::wstring name = PlanCommandName(options);
    if (!dry) {
        for (const auto& [group, reason] : keptGroups) {
            s.console.AppendLine(name + L": group " + group + L": " + reason +
                                 L"; none of it is deleted (duplicates --keep makes a plan that keeps a copy; "
                                 L"--delete-whole-groups deletes every copy)");
        }
        for (size_t i = 0; i < rows.size(); ++i) {
            if (!refusal[i].empty() && !rows[i].path.empty()) {
                Verbose(L"skipped " + FullPathOf(rows[i]) + L": " + refusal[i]);
            }
        }
    }
    if (options.action == PlanAction::remove && !items.empty() && !options.yes && !dry && !ConfirmDelete()) {
        return confirmRefused ? kExitUsage : kExitCancelled;
    }
    std::wstring folder = options.folder;
    FileSystem* runFiles = &files;
    std::unique_ptr<SimulatedFileSystem> whatIf;
    std::unique_ptr<FolderOnDemand> onDemand;
    if (options.action == PlanAction::store && !items.empty()) {
        // The folder is checked as the dialog checks it, but made only once a file goes into it.
        const bool deferred = !dry && !files.PathExists(options.folder);
        if (deferred) {
            whatIf = std::make_unique<SimulatedFileSystem>(&files);
        }
        const StoreTarget target =
            ValidateStoreTarget(options.folder, deferred ? static_cast<FileSystem&>(*whatIf) : files, *this);
        if (!target.valid) {
            s.console.AppendLine(name + L": " + options.folder + L": the folder cannot be stored into" +
                                 (target.editText ? L" (" + *target.editText + L")" : L""));
            return kExitRunFailed;
        }
        folder = target.folder;
        if (deferred) {
            onDemand = std::make_unique<FolderOnDemand>(files, folder);
            runFiles = onDemand.get();
        }
    }
    targetFolder = folder;
    progress = std::make_unique<PlanProgress>(s.display, items.size(), selectedBytes,
                                              options.action != PlanAction::remove, [this] { CheckInterrupt(); });
    FileOperations operations(
        {*this, *this, *this, *runFiles, dry ? nullptr : &s.console, nullptr, this, options.verify});
    running = true;
    switch (options.action) {
    case PlanAction::copy:
        operations.CopyFiles();
        break;
    case PlanAction::move:
        operations.MoveFiles();
        break;
    case PlanAction::store:
        operations.StoreFiles(folder, options.move, options.byProject);
        break;
    case PlanAction::remove:
        operations.DeleteFiles();
        break;
    }
    return std::nullopt;
}

RowOutcome PlanRunAdapter::OutcomeOf(const PlanRow& row) const {
    const size_t at = static_cast<size_t>(&row - rows.data());
    if (!refusal[at].empty() && !row.path.empty()) {
        return {L"skip", FullPathOf(row), {}, refusal[at]};
    }
    const int index = itemOfRow[at];
    const PlanItem* item = index < 0 ? nullptr : &items[static_cast<size_t>(index)];
    const RowDescription line = DescribeItem(item, options);
    return {line.action, row.path.empty() ? std::wstring() : FullPathOf(row), line.target, line.note};
}

size_t PlanRunAdapter::NotHandled() const {
    size_t count = 0;
    for (const PlanItem& item : items) {
        count += item.selected ? 1 : 0;
    }
    return count;
}

uint64_t PlanRunAdapter::KeptRows() const {
    uint64_t count = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        count += !refusal[i].empty() && !rows[i].path.empty() ? 1 : 0;
    }
    return count;
}

std::wstring PlanRunAdapter::PathOfItem(int item) const {
    return FullPathOf(*items[static_cast<size_t>(item)].row);
}

int PlanRunAdapter::NextSelected(int item) const {
    for (auto i = static_cast<size_t>(item + 1); i < items.size(); ++i) {
        if (items[i].selected) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

size_t PlanRunAdapter::SelectedCount() const {
    size_t count = 0;
    for (const PlanItem& item : items) {
        count += item.selected ? 1 : 0;
    }
    return count;
}

MediaRecord* PlanRunAdapter::RecordOf(int index) const {
    PlanItem& item = items[static_cast<size_t>(index)];
    if (!item.checked) {
        item.checked = true;
        const std::wstring path = FullPathOf(*item.row);
        if (!path.empty() && AlreadyDone(item, path)) {
            item.alreadyDone = true;
            item.record.attributes = kMissingAttributes;
            Verbose(L"already done " + path + L" -> " + item.doneTarget);
        } else if (!path.empty()) {
            bool absent = false;
            const std::wstring change = ChangeOf(files, *item.row, path, absent);
            if (!change.empty()) {
                item.changed = !absent;
                item.absent = absent;
                item.change = change;
                item.record.attributes = kMissingAttributes;
                if (!dry) {
                    s.console.AppendLine(
                        PlanCommandName(options) + L": skipping " + path +
                        (absent ? L": " + change : L": the file changed since the plan was made (" + change + L")"));
                }
                Verbose(L"skipped " + path + L": " + (absent ? change : L"changed since the plan was made: " + change));
            }
        }
        current = &item;
    }
    return &item.record;
}

void PlanRunAdapter::Deselect(int index) {
    PlanItem& item = items[static_cast<size_t>(index)];
    item.selected = false;
    selectedBytes -= item.row->size;
    bool skip = false;
    if (item.alreadyDone) {
        ++tally.alreadyDone;
    } else if (item.changed) {
        ++tally.changed;
        skip = true;
    } else if (item.absent) {
        ++tally.absentFolders;
        skip = true;
    } else if (item.reported && item.report.result == StepResult::done) {
        ++tally.done;
        tally.doneBytes += item.row->size;
    } else {
        ++tally.skipped;
        skip = true;
    }
    progress->RowDone(item.row->size, skip);
}

void PlanRunAdapter::MarkAsked() {
    if (current != nullptr) {
        current->asked = true;
    }
}

void PlanRunAdapter::FileHandled(const StepReport& report) {
    if (current == nullptr) {
        return;
    }
    current->report = report;
    current->reported = true;
    const std::wstring source = FullPathOf(*current->row);
    if (abortPending) {
        abortPending = false;
        s.console.AppendLine(L"QRB: Aborted!");
        s.console.AppendLine(
            PlanCommandName(options) + L": " +
            (report.reason == StepReason::projectNotFolder
                 ? L"the project name \"" + current->row->project + L"\" of " + source + L" cannot be a folder name"
                 : L"the folder " + report.madeFolder + L" cannot be made: " + ErrorText(report.code)));
    }
    const RowDescription line = DescribeItem(current, options);
    switch (report.result) {
    case StepResult::done:
        if (options.action == PlanAction::remove) {
            Verbose(L"deleted " + source);
        } else {
            Verbose((MovesFiles(options) ? L"moved " : L"copied ") + source + L" -> " + report.target);
        }
        break;
    case StepResult::skipped:
        Verbose(L"skipped " + source + L": " + line.note);
        break;
    case StepResult::ended:
        if (report.reason == StepReason::failed) {
            Verbose(L"failed " + source + L": " +
                    (report.differs ? std::wstring(L"the copy read back differs from its source")
                                    : ErrorText(report.code)));
        } else {
            Verbose(L"stopped at " + source + L": " + line.note);
        }
        break;
    }
}

ConfirmAnswer PlanRunAdapter::AskOverwrite(const std::wstring& source, const std::wstring& target) {
    if (source.empty()) {
        return ConfirmAnswer::None;
    }
    switch (options.overwrite) {
    case OverwriteMode::all:
        return ConfirmAnswer::YesToAll;
    case OverwriteMode::skip:
        return ConfirmAnswer::SkipAll;
    case OverwriteMode::ask:
        break;
    }
    MarkAsked();
    if (dry) {
        // The person's answer is not known: the dry run goes on as if it were Yes and says the row asks.
        return ConfirmAnswer::Yes;
    }
    return Choose(L"Overwrite File: " + source + L"\nWith File: " + target + L"\n");
}

ConfirmAnswer PlanRunAdapter::AskDelete(const std::wstring& path) {
    return path.empty() ? ConfirmAnswer::None : ConfirmAnswer::Yes;
}

ConfirmAnswer PlanRunAdapter::AskDeleteReadOnly(const std::wstring& path) {
    if (path.empty()) {
        return ConfirmAnswer::None;
    }
    if (options.yes) {
        return ConfirmAnswer::Yes;
    }
    if (!s.terminal.Interactive()) {
        return ConfirmAnswer::Skip;
    }
    MarkAsked();
    if (dry) {
        return ConfirmAnswer::Yes;
    }
    const ConfirmAnswer answer = Choose(L"File: " + path + L"\nFILE_ATTRIBUTE_READONLY\nDelete this read-only file? ");
    // Skip All ends a delete at the next file: the files after it are skipped as asked.
    endedAsAsked = endedAsAsked || answer == ConfirmAnswer::SkipAll;
    return answer;
}

bool PlanRunAdapter::ChooseFolder(std::wstring& folder) {
    folder = options.folder;
    return true;
}

MessageAnswer PlanRunAdapter::ShowMessage(const std::wstring& text, const std::wstring& caption,
                                          MessageButtons buttons) {
    // The one question a run's messages ask is whether to make the store target: --to asks for it.
    const bool yesNo = buttons == MessageButtons::YesNo;
    if (dry && yesNo) {
        s.console.AppendLine(PlanCommandName(options) + L": the run would make the folder " +
                             platform::RemoveTrailingSeparator(options.folder));
        return MessageAnswer::Yes;
    }
    // "Aborted!" is written with its reason, which the file's report brings right after it.
    if (!dry && running && text == L"Aborted!") {
        abortPending = true;
        return MessageAnswer::Ok;
    }
    // In a dry run the table tells where the run would end; messages before the run say why it cannot start.
    if (!(dry && running)) {
        s.console.AppendLine(caption + L": " + text + (yesNo ? L" Yes" : L""));
    }
    return yesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

void PlanRunAdapter::Verbose(const std::wstring& line) const {
    if (options.verbose && !dry) {
        s.console.AppendLine(line);
    }
}

std::wstring PlanRunAdapter::TargetOf(const PlanRow& row) const {
    if (options.action == PlanAction::remove || !IsPlainFileName(row.name)) {
        return {};
    }
    std::wstring folder = targetFolder;
    if (options.action == PlanAction::store && options.byProject) {
        if (!IsPlainFolderName(row.project)) {
            return {};
        }
        folder = platform::JoinPath(folder, row.project);
    }
    return platform::JoinPath(folder, row.name);
}

bool PlanRunAdapter::AlreadyDone(PlanItem& item, const std::wstring& source) const {
    const std::wstring target = TargetOf(*item.row);
    // A file this run put there is the engine's to tell of.
    for (const PlanItem& other : items) {
        if (other.reported && !other.report.target.empty() &&
            platform::EqualIgnoringCase(other.report.target, target)) {
            return false;
        }
    }
    platform::FileIdentity there;
    const uint32_t attributes = target.empty() ? platform::kInvalidAttributes : files.ReadAttributes(target);
    if (attributes == platform::kInvalidAttributes || (attributes & platform::kAttributeDirectory) != 0 ||
        !files.QueryFileIdentity(target, there) || there.size != item.row->size) {
        return false;
    }
    platform::FileIdentity from;
    const bool sourceThere =
        files.ReadAttributes(source) != platform::kInvalidAttributes && files.QueryFileIdentity(source, from);
    bool done = false;
    if (MovesFiles(options)) {
        const uint32_t folder = files.ReadAttributes(item.row->path);
        done = !sourceThere && folder != platform::kInvalidAttributes && (folder & platform::kAttributeDirectory) != 0;
    } else if (sourceThere && from.size == item.row->size && !files.IsSameFile(source, target)) {
        bool same = false;
        done = files.CompareFiles(source, target, same) == 0 && same;
    }
    if (done) {
        item.doneTarget = target;
    }
    return done;
}

void PlanRunAdapter::KeepWholeGroups() {
    std::map<std::wstring, std::vector<size_t>> groups;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].group && !rows[i].group->empty()) {
            groups[*rows[i].group].push_back(i);
        }
    }
    for (const auto& [group, members] : groups) {
        std::vector<std::wstring> paths;
        std::vector<std::wstring> kept;
        for (const size_t i : members) {
            if (!rows[i].path.empty()) {
                paths.push_back(FullPathOf(rows[i]));
            }
            if (!rows[i].kept.empty() && std::find(kept.begin(), kept.end(), rows[i].kept) == kept.end()) {
                kept.push_back(rows[i].kept);
            }
        }
        if (paths.empty()) {
            continue;
        }
        std::wstring reason;
        if (kept.empty()) {
            reason = L"the plan holds every copy of it";
        }
        for (const std::wstring& copy : kept) {
            const uint32_t attributes = files.ReadAttributes(copy);
            const bool inPlan = std::any_of(paths.begin(), paths.end(), [&](const std::wstring& path) {
                return platform::EqualIgnoringCase(path, copy) || files.IsSameFile(path, copy);
            });
            if (attributes == platform::kInvalidAttributes || (attributes & platform::kAttributeDirectory) != 0) {
                reason = L"the copy kept, " + copy + L", is not there";
            } else if (inPlan) {
                reason = L"the copy kept, " + copy + L", is in the plan too";
            }
            if (!reason.empty()) {
                break;
            }
        }
        if (reason.empty()) {
            continue;
        }
        keptGroups.emplace_back(group, reason);
        for (const size_t i : members) {
            refusal[i] = L"group " + group + L" is kept whole: " + reason;
        }
    }
}

bool PlanRunAdapter::ConfirmDelete() {
    const std::wstring name = PlanCommandName(options);
    const std::wstring what = FilesText(items.size()) + L", " + ByteCountText(selectedBytes);
    if (!s.terminal.Interactive()) {
        s.console.AppendLine(name + L": " + what + L" to delete; without a terminal to ask on, give --yes to " +
                             L"delete them");
        confirmRefused = true;
        return false;
    }
    std::wstring answer;
    if (s.terminal.Ask(L"Delete " + what + L"? [y/N] ", answer) && SaysYes(answer)) {
        return true;
    }
    s.console.AppendLine(name + L": nothing deleted");
    return false;
}

ConfirmAnswer PlanRunAdapter::Choose(const std::wstring& question) {
    ConfirmAnswer answer = ConfirmAnswer::None;
    while (answer == ConfirmAnswer::None && !cancelled) {
        progress->Hide();
        std::wstring text;
        if (s.terminal.Ask(question + kAnswers, text)) {
            answer = ParseAnswer(text);
        } else if (s.interrupts.Count() == interruptsSeen) {
            answer = ConfirmAnswer::Cancel;
        } else {
            CheckInterrupt();
        }
    }
    if (cancelled || answer == ConfirmAnswer::Cancel) {
        answer = ConfirmAnswer::Cancel;
        Cancel();
    }
    progress->Show();
    return answer;
}

bool PlanRunAdapter::CheckInterrupt() {
    if (cancelled || s.interrupts.Count() == interruptsSeen) {
        return cancelled;
    }
    interruptsSeen = s.interrupts.Count();
    if (!s.terminal.Interactive()) {
        s.console.AppendLine(PlanCommandName(options) + L": Ctrl+C: the run is cancelled");
        Cancel();
        return true;
    }
    progress->Hide();
    std::wstring answer;
    if (!s.terminal.Ask(L"Do you want to cancel current task? [y/N] ", answer) || SaysYes(answer)) {
        Cancel();
        return true;
    }
    interruptsSeen = s.interrupts.Count();
    progress->Show();
    return false;
}

void PlanRunAdapter::Cancel() {
    cancelled = true;
    progress->cancelFlag = 1;
}

} // namespace tw::cli
