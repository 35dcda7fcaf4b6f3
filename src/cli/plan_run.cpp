#include "cli/plan_run.h"

#include "cli/plan_progress.h"
#include "operations/file_operations.h"
#include "operations/simulated_file_system.h"
#include "operations/store_target.h"
#include "operations/target_names.h"
#include "platform/platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cwctype>
#include <map>
#include <memory>

namespace tw::cli {

namespace {

// The capacity in which the file operations build a record's full path.
constexpr size_t kFullPathCapacity = 4096;

const wchar_t* const kAnswers = L"[y]es, yes to [a]ll, [s]kip, skip a[l]l, [c]ancel? ";

MediaRecord RecordOfRow(const PlanRow& row) {
    MediaRecord record;
    record.SetPath(row.path);
    record.SetFileName(row.name);
    record.SetProjectName(row.project);
    record.size = row.size;
    return record;
}

// The file's full path as the file operations build it; empty when it cannot be built.
std::wstring FullPathOf(const PlanRow& row) {
    std::wstring path;
    RecordOfRow(row).GetFullPath(path, kFullPathCapacity);
    return path;
}

// Why the file at path is not the one the plan showed, or empty when it is. absent: the row's folder itself is not
// there (a drive not mounted, a folder renamed), which is no change of the file.
std::wstring ChangeOf(FileSystem& files, const PlanRow& row, const std::wstring& path, bool& absent) {
    const uint64_t size = row.size;
    absent = false;
    const uint32_t attributes = files.ReadAttributes(path);
    platform::FileIdentity identity;
    if (attributes == platform::kInvalidAttributes || !files.QueryFileIdentity(path, identity)) {
        const uint32_t folder = files.ReadAttributes(row.path);
        if (folder == platform::kInvalidAttributes || (folder & platform::kAttributeDirectory) == 0) {
            absent = true;
            return L"the folder " + platform::RemoveTrailingSeparator(row.path) +
                   L" is not there: is the drive mounted?";
        }
        return L"no file is there now";
    }
    if ((attributes & platform::kAttributeDirectory) != 0) {
        return L"a folder is there now";
    }
    if (identity.size != size) {
        return L"its size is now " + std::to_wstring(identity.size) + L" bytes, the plan has " + std::to_wstring(size);
    }
    return {};
}

// The system's text for a code, without its line break, or the code itself.
std::wstring ErrorText(uint32_t code) {
    std::wstring text = platform::SystemErrorText(code);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return text.empty() ? L"error " + std::to_wstring(code) : text;
}

std::wstring FilesText(uint64_t count) {
    return std::to_wstring(count) + (count == 1 ? L" file" : L" files");
}

const wchar_t* PastVerb(const PlanOptions& options) {
    switch (options.action) {
    case PlanAction::copy:
        return L"copied";
    case PlanAction::move:
        return L"moved";
    case PlanAction::store:
        return options.move ? L"stored (moved)" : L"stored (copied)";
    case PlanAction::remove:
        return L"deleted";
    }
    return L"";
}

bool Moves(const PlanOptions& options) {
    return options.action == PlanAction::move || (options.action == PlanAction::store && options.move);
}

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

// Every call to another file system, for file systems that change what a few calls do.
class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& inner) : inner(inner) {}
    uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                  const platform::CopyProgressRoutine& routine, platform::CancelFlag* cancel) override {
        return inner.CopyFileWithProgress(source, target, routine, cancel);
    }
    uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) override {
        return inner.MoveFileReplacing(source, target);
    }
    uint32_t RemoveFile(const std::wstring& path) override { return inner.RemoveFile(path); }
    uint32_t FlushFile(const std::wstring& path) override { return inner.FlushFile(path); }
    uint32_t ReadAttributes(const std::wstring& path) override { return inner.ReadAttributes(path); }
    uint32_t WriteAttributes(const std::wstring& path, uint32_t attributes) override {
        return inner.WriteAttributes(path, attributes);
    }
    uint32_t CreateFolderWithParents(const std::wstring& path) override { return inner.CreateFolderWithParents(path); }
    bool PathExists(const std::wstring& path) override { return inner.PathExists(path); }
    bool IsSameRoot(const std::wstring& a, const std::wstring& b) override { return inner.IsSameRoot(a, b); }
    bool QueryFileIdentity(const std::wstring& path, platform::FileIdentity& identity) override {
        return inner.QueryFileIdentity(path, identity);
    }
    uint32_t CompareFiles(const std::wstring& a, const std::wstring& b, bool& same) override {
        return inner.CompareFiles(a, b, same);
    }

protected:
    FileSystem& inner;
};

// A store's folder that is not there yet is made only when the first file is put into it, so that a run that ends
// before its first file leaves no empty folder behind.
class FolderOnDemand : public ForwardingFileSystem {
public:
    FolderOnDemand(FileSystem& inner, std::wstring folder) : ForwardingFileSystem(inner), folder(std::move(folder)) {}
    uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                  const platform::CopyProgressRoutine& routine, platform::CancelFlag* cancel) override {
        const uint32_t code = Make();
        return code != 0 ? code : inner.CopyFileWithProgress(source, target, routine, cancel);
    }
    uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) override {
        const uint32_t code = Make();
        return code != 0 ? code : inner.MoveFileReplacing(source, target);
    }

private:
    uint32_t Make() {
        if (made || inner.PathExists(folder)) {
            made = true;
            return 0;
        }
        const uint32_t code = inner.CreateFolderWithParents(folder);
        made = code == 0;
        return code;
    }

    std::wstring folder;
    bool made = false;
};

// The dry run's files: the simulation, where a copy, a rename or a new folder is refused as the disk would refuse
// it when the folder it writes into (the nearest one that is there) cannot be written. Each such folder is tried
// once, with a file written and taken away again.
class WritableCheck : public ForwardingFileSystem {
public:
    WritableCheck(FileSystem& simulation, FileSystem& disk) : ForwardingFileSystem(simulation), disk(disk) {}
    uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                  const platform::CopyProgressRoutine& routine, platform::CancelFlag* cancel) override {
        const uint32_t code = Check(platform::RemoveFileSpec(target));
        return code != 0 ? code : inner.CopyFileWithProgress(source, target, routine, cancel);
    }
    uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) override {
        const uint32_t code = Check(platform::RemoveFileSpec(target));
        return code != 0 ? code : inner.MoveFileReplacing(source, target);
    }
    uint32_t CreateFolderWithParents(const std::wstring& path) override {
        const uint32_t code = Check(path);
        return code != 0 ? code : inner.CreateFolderWithParents(path);
    }

private:
    uint32_t Check(std::wstring folder) {
        while (!folder.empty() && !disk.PathExists(folder)) {
            const std::wstring parent = platform::RemoveFileSpec(folder);
            if (parent == folder) {
                return 0;
            }
            folder = parent;
        }
        if (folder.empty()) {
            return 0;
        }
        const auto known = tried.find(folder);
        if (known != tried.end()) {
            return known->second;
        }
        return tried[folder] = TryWriting(folder);
    }

    static uint32_t TryWriting(const std::wstring& folder) {
        const std::wstring probe =
            platform::JoinPath(folder, L".tarnwick-write-test-" + std::to_wstring(platform::TickCountMs()));
        if (platform::PathExists(probe)) {
            return 0;
        }
#ifdef _WIN32
        std::FILE* file = _wfopen(probe.c_str(), L"wb");
        const uint32_t refused = 5; // ERROR_ACCESS_DENIED
#else
        std::FILE* file = std::fopen(platform::WideToUtf8(probe).c_str(), "wb");
        const auto refused = static_cast<uint32_t>(errno);
#endif
        if (file == nullptr) {
            return refused != 0 ? refused : platform::kErrorCopyIncomplete;
        }
        std::fclose(file);
        (void)platform::RemoveFile(probe);
        return 0;
    }

    FileSystem& disk;
    std::map<std::wstring, uint32_t> tried;
};

// One run of a plan: the selection, prompts and host the file operations work with. A dry run is the same run
// over a simulated file system that starts from the disk and keeps every change to itself: the questions are
// answered as the run would answer them, nothing is logged, and each row's outcome becomes a row of a table.
class Run : public FileSelection, public Prompts, public OperationHost, public StepObserver {
public:
    Run(const PlanOptions& options, const std::vector<PlanRow>& rows, const PlanServices& services, FileSystem& files,
        bool dry)
        : options(options), rows(rows), s(services), files(files), dry(dry),
          interruptsSeen(services.interrupts.Count()) {
        itemOfRow.assign(rows.size(), -1);
        refusal.assign(rows.size(), std::wstring());
        if (options.action == PlanAction::remove && !options.deleteWholeGroups) {
            KeepWholeGroups();
        }
        for (const PlanRow& row : rows) {
            if (row.path.empty()) {
                ++passedOver;
                continue;
            }
            if (!refusal[static_cast<size_t>(&row - rows.data())].empty()) {
                continue;
            }
            itemOfRow[static_cast<size_t>(&row - rows.data())] = static_cast<int>(items.size());
            Item item;
            item.row = &row;
            item.record = RecordOfRow(row);
            items.push_back(std::move(item));
            selectedBytes += row.size;
        }
    }

    int Go() {
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
        if (outcomes != nullptr) {
            for (const PlanRow& row : rows) {
                outcomes->push_back(OutcomeOf(row));
            }
        }
        return dry ? Table() : Finish();
    }

    // Where the outcomes of the rows go (may be null).
    std::vector<RowOutcome>* outcomes = nullptr;

    // FileSelection: the plan's rows with a file, in the plan's order.
    [[nodiscard]] int FirstSelected() const override { return NextSelected(-1); }
    [[nodiscard]] int NextSelected(int item) const override {
        for (auto i = static_cast<size_t>(item + 1); i < items.size(); ++i) {
            if (items[i].selected) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    [[nodiscard]] size_t SelectedCount() const override {
        size_t count = 0;
        for (const Item& item : items) {
            count += item.selected ? 1 : 0;
        }
        return count;
    }
    // Right before the file operations handle a row: a file that is not the one the plan showed makes the row a
    // missing record, which the run passes over.
    [[nodiscard]] MediaRecord* RecordOf(int index) const override {
        Item& item = items[static_cast<size_t>(index)];
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
                        s.console.AppendLine(PlanCommandName(options) + L": skipping " + path +
                                             (absent
                                                  ? L": " + change
                                                  : L": the file changed since the plan was made (" + change + L")"));
                    }
                    Verbose(L"skipped " + path + L": " +
                            (absent ? change : L"changed since the plan was made: " + change));
                }
            }
            current = &item;
        }
        return &item.record;
    }
    void Deselect(int index) override {
        Item& item = items[static_cast<size_t>(index)];
        item.selected = false;
        selectedBytes -= item.row->size;
        bool skip = false;
        if (item.alreadyDone) {
            ++alreadyDone;
        } else if (item.changed) {
            ++changed;
            skip = true;
        } else if (item.absent) {
            ++absentFolders;
            skip = true;
        } else if (item.reported && item.report.result == StepResult::done) {
            ++done;
            doneBytes += item.row->size;
        } else {
            ++skipped;
            skip = true;
        }
        progress->RowDone(item.row->size, skip);
    }
    void RefreshItem(int, const MediaRecord&) override {}

    // A person is asked about the row's file.
    void MarkAsked() {
        if (current != nullptr) {
            current->asked = true;
        }
    }

    // StepObserver: what the run did with the row's file.
    void FileHandled(const StepReport& report) override {
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
        const DryRow line = DescribeRow(current);
        switch (report.result) {
        case StepResult::done:
            if (options.action == PlanAction::remove) {
                Verbose(L"deleted " + source);
            } else {
                Verbose((Moves(options) ? L"moved " : L"copied ") + source + L" -> " + report.target);
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
    [[nodiscard]] uint64_t SelectedSize() const override { return selectedBytes; }

    // Prompts: answered by the options, or asked on the terminal.
    ConfirmAnswer AskOverwrite(const std::wstring& source, const std::wstring& target) override {
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
    ConfirmAnswer AskDelete(const std::wstring& path) override {
        return path.empty() ? ConfirmAnswer::None : ConfirmAnswer::Yes;
    }
    ConfirmAnswer AskDeleteReadOnly(const std::wstring& path) override {
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
        const ConfirmAnswer answer =
            Choose(L"File: " + path + L"\nFILE_ATTRIBUTE_READONLY\nDelete this read-only file? ");
        // Skip All ends a delete at the next file: the files after it are skipped as asked.
        endedAsAsked = endedAsAsked || answer == ConfirmAnswer::SkipAll;
        return answer;
    }
    bool ChooseFolder(std::wstring& folder) override {
        folder = options.folder;
        return true;
    }
    bool PollCancel() override { return CheckInterrupt(); }
    MessageAnswer ShowMessage(const std::wstring& text, const std::wstring& caption, MessageButtons buttons) override {
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

    // OperationHost: no windows; every run gets the plan's progress.
    Progress* OpenProgress() override { return progress.get(); }
    void CloseProgress() override { progress->Hide(); }

private:
    struct Item {
        const PlanRow* row = nullptr;
        MediaRecord record;
        bool selected = true;
        bool checked = false;
        bool changed = false;
        bool reported = false;
        bool asked = false;
        bool absent = false;      // the row's folder is not there
        bool alreadyDone = false; // the file is at its target already, from an earlier run
        std::wstring doneTarget;
        std::wstring change;
        StepReport report;
    };

    void Verbose(const std::wstring& line) const {
        if (options.verbose && !dry) {
            s.console.AppendLine(line);
        }
    }

    // Where a transfer puts the row's file; empty when that cannot be told before the run (a project name that is no
    // folder name).
    std::wstring TargetOf(const PlanRow& row) const {
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

    // A run of the same plan before has put this row's file at its target: a move whose file is there whole and gone
    // from its source, or a copy whose target holds the source's very bytes.
    bool AlreadyDone(Item& item, const std::wstring& source) const {
        const std::wstring target = TargetOf(*item.row);
        // A file this run put there is the engine's to tell of.
        for (const Item& other : items) {
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
        if (Moves(options)) {
            const uint32_t folder = files.ReadAttributes(item.row->path);
            done =
                !sourceThere && folder != platform::kInvalidAttributes && (folder & platform::kAttributeDirectory) != 0;
        } else if (sourceThere && from.size == item.row->size && !files.IsSameFile(source, target)) {
            bool same = false;
            done = files.CompareFiles(source, target, same) == 0 && same;
        }
        if (done) {
            item.doneTarget = target;
        }
        return done;
    }

    // Rows of a plan of duplicates that would delete every copy of their group are kept, with the reason, unless the
    // plan names a kept copy of the group (column Kept) that is still there and not itself in the plan.
    void KeepWholeGroups() {
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

    // The question before a delete, asked once; false when it is not answered Yes.
    bool ConfirmDelete() {
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

    // A question with the confirmation dialog's answers, asked until one of them is given. Ctrl+C while it waits
    // asks whether to cancel the run, as during the run; Cancel when the input ends.
    ConfirmAnswer Choose(const std::wstring& question) {
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

    // After Ctrl+C: the window's cancel question on the terminal, or a cancel when there is none to ask on or the
    // question is interrupted too. True when the run is cancelled.
    bool CheckInterrupt() {
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

    void Cancel() {
        cancelled = true;
        progress->cancelFlag = 1;
    }

    // The dry run's table: one row per plan row, from what the run did with its file, and the totals.
    int Table() {
        TableWriter table(s.out, options.format,
                          {{L"Row", ColumnKind::count},
                           {L"Action"},
                           {L"Size (bytes)", ColumnKind::count},
                           {L"Source"},
                           {L"Target"},
                           {L"Note"}});
        uint64_t acted = 0;
        uint64_t actedBytes = 0;
        uint64_t asked = 0;
        uint64_t already = 0;
        uint64_t skippedRows = 0;
        uint64_t endedAt = 0;
        for (const PlanRow& row : rows) {
            const RowOutcome line = OutcomeOf(row);
            table.Row({std::to_wstring(row.number), line.action, std::to_wstring(row.size), line.source, line.target,
                       line.note});
            const bool passed = row.path.empty();
            const std::wstring& action = line.action;
            if (action == L"ask") {
                ++asked;
            } else if (action == L"skip" && line.note.rfind(L"already done", 0) == 0) {
                ++already;
            } else if (action == L"skip" && !passed) {
                ++skippedRows;
            } else if (action == L"stop" || action == L"fail") {
                endedAt = row.number;
            } else if (action != L"skip" && action != L"not reached") {
                ++acted;
                actedBytes += row.size;
            }
        }
        table.End();
        std::wstring totals = PlanCommandName(options) + L": dry run: " + FilesText(acted) + L" (" +
                              platform::FormatByteSize(actedBytes) + L") would be " + PastVerb(options);
        const auto part = [&](uint64_t count, const std::wstring& text) {
            if (count != 0) {
                totals += L"; " + std::to_wstring(count) + L" " + text;
            }
        };
        part(already, L"already done");
        part(asked, L"asked about");
        part(skippedRows, L"skipped");
        part(passedOver, passedOver == 1 ? L"row without a file passed over" : L"rows without a file passed over");
        if (endedAt != 0) {
            totals += L"; the run would end at row " + std::to_wstring(endedAt);
        }
        s.console.AppendLine(totals + L"; nothing was changed");
        return kExitOk;
    }

    struct DryRow {
        const wchar_t* action;
        std::wstring target;
        std::wstring note;
    };

    // What the run did with a plan row.
    RowOutcome OutcomeOf(const PlanRow& row) const {
        const size_t at = static_cast<size_t>(&row - rows.data());
        if (!refusal[at].empty() && !row.path.empty()) {
            return {L"skip", FullPathOf(row), {}, refusal[at]};
        }
        const int index = itemOfRow[at];
        const Item* item = index < 0 ? nullptr : &items[static_cast<size_t>(index)];
        const DryRow line = DescribeRow(item);
        return {line.action, row.path.empty() ? std::wstring() : FullPathOf(row), line.target, line.note};
    }

    // What a dry run says of one row: item is null for a row without a file.
    DryRow DescribeRow(const Item* item) const {
        if (item == nullptr) {
            return {L"skip", {}, L"no file: it was missing when the plan was made"};
        }
        if (item->alreadyDone) {
            return {L"skip", item->doneTarget,
                    Moves(options) ? L"already done: the file is there and gone from its source"
                                   : L"already done: the file there holds the same bytes"};
        }
        if (item->absent) {
            return {L"skip", {}, item->change};
        }
        if (item->changed) {
            return {L"skip", {}, L"changed since the plan was made: " + item->change};
        }
        if (!item->reported) {
            return {L"not reached", {}, L"the run would end before this row"};
        }
        const StepReport& r = item->report;
        std::wstring note = r.madeFolder.empty() || r.reason == StepReason::folderNotMade
                                ? std::wstring()
                                : L"makes the folder " + r.madeFolder;
        const auto with = [&note](const std::wstring& more) {
            return note.empty() ? more : more.empty() ? note : note + L"; " + more;
        };
        const bool remove = options.action == PlanAction::remove;
        switch (r.result) {
        case StepResult::done: {
            if (remove) {
                return item->asked ? DryRow{L"ask", {}, L"read-only: asked about again"}
                                   : DryRow{L"delete", {}, r.readOnly ? L"read-only" : L""};
            }
            if (item->asked) {
                return {L"ask", r.target, with(L"a file of that name is there: asks whether to overwrite it")};
            }
            const std::wstring how = !Moves(options) ? std::wstring()
                                     : r.renamed     ? L"renamed on the same drive"
                                                     : L"copied, then the source deleted";
            const std::wstring replaced = r.replaced ? L"overwrites the file there" : L"";
            return {Moves(options) ? L"move" : L"copy", r.target,
                    with(replaced.empty() ? how
                         : how.empty()    ? replaced
                                          : replaced + L"; " + how)};
        }
        case StepResult::skipped:
            switch (r.reason) {
            case StepReason::noFullPath:
                return {L"skip", {}, L"its full path cannot be built"};
            case StepReason::nameNotPlain:
                return {L"skip", {}, with(L"its file name cannot be used in a folder")};
            case StepReason::sameFile:
                return {L"skip", r.target, with(L"source and target are the same file")};
            case StepReason::writtenByThisRun:
                return {L"skip", r.target,
                        with(L"a row before it puts a file of that name there, and a run never writes over its own "
                             L"files")};
            case StepReason::readOnlyKept:
                return {L"skip", {}, L"read-only: without a terminal to ask on, it is kept"};
            default:
                return {L"skip", r.target, with(L"a file of that name is there")};
            }
        case StepResult::ended:
            switch (r.reason) {
            case StepReason::projectNotFolder:
                return {L"stop", {}, L"the project name cannot be a folder name: the run ends here (Aborted!)"};
            case StepReason::folderNotMade:
                return {L"stop", {}, L"the folder " + r.madeFolder + L" cannot be made: the run ends here (Aborted!)"};
            default:
                return {
                    L"fail", r.target,
                    L"the run would fail here: " +
                        (r.differs ? std::wstring(L"the copy read back differs from its source") : ErrorText(r.code))};
            }
        }
        return {L"skip", {}, {}};
    }

    int Finish() {
        const std::wstring name = PlanCommandName(options);
        const int stopped = FirstSelected();
        size_t notHandled = 0;
        for (const Item& item : items) {
            notHandled += item.selected ? 1 : 0;
        }
        std::wstring summary =
            name + L": " + FilesText(done) + L" " + PastVerb(options) + L", " + platform::FormatByteSize(doneBytes);
        const auto part = [&](uint64_t count, const wchar_t* text) {
            if (count != 0) {
                summary += L"; " + std::to_wstring(count) + L" " + text;
            }
        };
        part(alreadyDone, L"already done");
        part(skipped, L"skipped");
        part(changed, L"changed since the plan was made");
        part(absentFolders, absentFolders == 1 ? L"in a folder that is not there" : L"in folders that are not there");
        uint64_t keptRows = 0;
        for (size_t i = 0; i < rows.size(); ++i) {
            keptRows += !refusal[i].empty() && !rows[i].path.empty() ? 1 : 0;
        }
        part(keptRows, L"kept as the last copies of their groups");
        part(notHandled, L"not handled");
        part(passedOver, passedOver == 1 ? L"row without a file passed over" : L"rows without a file passed over");
        if (stopped >= 0 && !cancelled && !endedAsAsked) {
            s.console.AppendLine(name + L": the run ended at " + FullPathOf(*items[static_cast<size_t>(stopped)].row) +
                                 L" (the lines above say why)");
        } else if (cancelled && stopped >= 0) {
            s.console.AppendLine(name + L": cancelled");
        }
        s.console.AppendLine(summary);
        if (cancelled) {
            return kExitCancelled;
        }
        if (stopped >= 0 && !endedAsAsked) {
            return kExitRunFailed;
        }
        if (changed != 0 || absentFolders != 0) {
            return kExitChanged;
        }
        return keptGroups.empty() ? kExitOk : kExitGroupsKept;
    }

    const PlanOptions& options;
    const std::vector<PlanRow>& rows;
    const PlanServices& s;
    FileSystem& files;
    bool dry;
    bool running = false;
    mutable std::vector<Item> items;
    // The item of each plan row, or -1 for a row without a file.
    std::vector<int> itemOfRow;
    mutable Item* current = nullptr;
    std::unique_ptr<PlanProgress> progress;
    uint64_t selectedBytes = 0;
    uint64_t passedOver = 0;
    uint64_t done = 0;
    uint64_t doneBytes = 0;
    uint64_t skipped = 0;
    uint64_t changed = 0;
    uint64_t absentFolders = 0;
    uint64_t alreadyDone = 0;
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

} // namespace

std::wstring PlanCommandName(const PlanOptions& options) {
    switch (options.action) {
    case PlanAction::copy:
        return L"tarnwick-cli copy";
    case PlanAction::move:
        return L"tarnwick-cli move";
    case PlanAction::store:
        return L"tarnwick-cli store";
    case PlanAction::remove:
        return L"tarnwick-cli delete";
    }
    return L"tarnwick-cli";
}

int RunPlan(const PlanOptions& options, const std::vector<PlanRow>& rows, const PlanServices& services,
            std::vector<RowOutcome>* outcomes) {
    Run run(options, rows, services, services.files, false);
    run.outcomes = outcomes;
    return run.Go();
}

int DryRunPlan(const PlanOptions& options, const std::vector<PlanRow>& rows, const PlanServices& services,
               std::vector<RowOutcome>* outcomes) {
    SimulatedFileSystem whatIf(&services.files);
    WritableCheck checked(whatIf, services.files);
    Run run(options, rows, services, checked, true);
    run.outcomes = outcomes;
    return run.Go();
}

} // namespace tw::cli
