#include "operations/file_operations.h"

#include "catalog/media_file_info.h"
#include "operations/target_names.h"
#include "platform/platform.h"

#include <functional>
#include <vector>

namespace tw {

namespace {

// The capacity in which a run builds a record's full path.
constexpr size_t kFullPathCapacity = 4096;

// What a file step leaves the loop to do: the bookkeeping of the file, or the end of the run.
enum class Outcome { next, end };

// The console texts of one kind of transfer. The error tags are written exactly as the console has always shown
// them, their odd spellings included ("QRB::CopyFileEx)", "QRB::Store(CopyFileEx))", "QRB::Sore(MoveFileEx)"):
// people search their logs for these lines, so they are not to be "corrected".
struct TransferTexts {
    const wchar_t* operation; // after "QRB::" in the step lines
    const wchar_t* copyTag;
    const wchar_t* renameTag; // moves only
    const wchar_t* deleteTag; // moves only
};

constexpr TransferTexts kCopyTexts{L"Copy", L"QRB::CopyFileEx)", nullptr, nullptr};
constexpr TransferTexts kMoveTexts{L"Move", L"QRB::Move(CopyFileEx)", L"QRB::Move(MoveFileEx)",
                                   L"QRB::Move(DeleteFile)"};
constexpr TransferTexts kStoreCopyTexts{L"Store", L"QRB::Store(CopyFileEx))", nullptr, nullptr};
constexpr TransferTexts kStoreMoveTexts{L"Store", L"QRB::Store(CopyFileEx)", L"QRB::Sore(MoveFileEx)",
                                        L"QRB::Store(DeleteFile)"};

bool SaysYes(ConfirmAnswer answer) {
    return answer == ConfirmAnswer::Yes || answer == ConfirmAnswer::YesToAll;
}

// The record's full path, or empty when it has none or it does not fit.
std::wstring FullPathOf(const MediaRecord& record, size_t capacity) {
    std::wstring path;
    record.GetFullPath(path, capacity);
    return path;
}

// The frame every run shares: between files the cancel prompt and one window message, then the first selected
// item; a missing record goes straight to the bookkeeping, which deselects the item and refreshes its row. The
// item at which a step ends the run stays selected, like those the loop did not come to.
void RunLoop(const OperationServices& s, const std::function<Outcome(MediaRecord&)>& step,
             const std::function<void(const MediaRecord*)>& count) {
    for (;;) {
        if (s.prompts.PollCancel()) {
            return;
        }
        s.host.DispatchOneMessage();
        const int item = s.selection.FirstSelected();
        if (item < 0) {
            return;
        }
        MediaRecord* record = s.selection.RecordOf(item);
        if (record != nullptr && !record->IsMissing() && step(*record) == Outcome::end) {
            return;
        }
        count(record);
        s.selection.Deselect(item);
        if (record != nullptr) {
            s.selection.RefreshItem(item, *record);
        }
        if (s.selection.FirstSelected() < 0) {
            return;
        }
    }
}

// The targets a run has written, so that it never writes over its own work: by the identity of the file where the
// file system tells one, and by the path, compared as the file system compares names, where it does not.
class WrittenTargets {
public:
    void Add(FileSystem& files, const std::wstring& target) {
        platform::FileIdentity identity;
        if (files.QueryFileIdentity(target, identity)) {
            identities.push_back(identity);
        } else {
            paths.push_back(target);
        }
    }
    [[nodiscard]] bool Holds(FileSystem& files, const std::wstring& target) const {
        platform::FileIdentity identity;
        if (files.QueryFileIdentity(target, identity)) {
            for (const platform::FileIdentity& written : identities) {
                if (written.volume == identity.volume && written.index == identity.index) {
                    return true;
                }
            }
            return false;
        }
        for (const std::wstring& path : paths) {
            if (platform::EqualIgnoringCase(path, target)) {
                return true;
            }
        }
        return false;
    }

private:
    std::vector<platform::FileIdentity> identities;
    std::vector<std::wstring> paths;
};

// The file step of copy, move and store, with the conflict answer the run remembers. Every copy is written under a
// partial-copy name in the target folder, flushed, checked and only then renamed to its name: an existing target
// stays exactly as it was until its replacement is complete on the disk, and a copy cut short never carries a
// media file's name.
class TransferRun {
public:
    // Gives the target folder of a record, or false when the run must end (the report says why).
    using FolderOf = std::function<bool(const MediaRecord&, std::wstring&, StepReport&)>;

    TransferRun(const OperationServices& s, const TransferTexts& texts, bool move, Progress* progress)
        : s(s), texts(texts), move(move), progress(progress), prefix(std::wstring(L"QRB::") + texts.operation) {}

    Outcome Step(MediaRecord& record, const FolderOf& folderOf) {
        StepReport report;
        const Outcome outcome = Transfer(record, folderOf, report);
        if (s.observer != nullptr) {
            s.observer->FileHandled(report);
        }
        return outcome;
    }

private:
    Outcome Skip(StepReport& report, StepReason reason, const std::wstring& line) {
        report.result = StepResult::skipped;
        report.reason = reason;
        AppendLine(s.console, line);
        return Outcome::next;
    }
    Outcome End(StepReport& report, StepReason reason, uint32_t code = 0) {
        report.result = StepResult::ended;
        report.reason = reason;
        report.code = code;
        return Outcome::end;
    }
    Outcome Fail(StepReport& report, uint32_t code, const wchar_t* tag) {
        LogSystemError(s.console, code, tag);
        return End(report, StepReason::failed, code);
    }

    Outcome Transfer(MediaRecord& record, const FolderOf& folderOf, StepReport& report) {
        const std::wstring source = FullPathOf(record, kFullPathCapacity);
        report.source = source;
        if (source.empty()) {
            return Skip(report, StepReason::noFullPath,
                        prefix + L"::Skipping File  because its full path cannot be built");
        }
        if (progress != nullptr) {
            progress->SetFileText(source);
        }
        std::wstring folder;
        if (!folderOf(record, folder, report)) {
            return Outcome::end;
        }
        AppendLine(s.console, source);
        const std::wstring name = record.fileName.value_or(std::wstring());
        // A name read from the media database that is no plain file name could lead out of the folder.
        if (!IsPlainFileName(name)) {
            return Skip(report, StepReason::nameNotPlain,
                        prefix + L"::Skipping File  because its file name cannot be used in a folder");
        }
        const std::wstring target = platform::JoinPath(folder, name);
        report.target = target;
        // The same file under another spelling is the source too: overwriting it would delete it.
        if (platform::EqualIgnoringCase(source, target) || s.files.IsSameFile(source, target)) {
            return Skip(report, StepReason::sameFile,
                        prefix + L"::Skipping File  because Source and Target filenames are equal");
        }
        const bool exists = s.files.PathExists(target);
        // Two files of one name from two folders: the second would destroy the first, whatever the answers say.
        if (exists && written.Holds(s.files, target)) {
            return Skip(report, StepReason::writtenByThisRun,
                        prefix + L"::Skipping File  because this run has already written a file of that name there");
        }
        if (exists) {
            const ConfirmAnswer answer = AskOverwrite(source, target);
            if (answer == ConfirmAnswer::Cancel) {
                return End(report, StepReason::cancelled);
            }
            if (!SaysYes(answer)) {
                return Skip(report, StepReason::targetKept, prefix + L"::Skipping");
            }
            AppendLine(s.console, prefix + L"::Overwriting");
            report.replaced = true;
        }
        if (move && s.files.IsSameRoot(source, target)) {
            // One rename puts the file in place, over the old target in one step.
            report.renamed = true;
            const uint32_t code = PutInPlace(source, target, exists);
            if (code != 0) {
                return Fail(report, code, texts.renameTag);
            }
        } else {
            const uint32_t code = CopyIntoPlace(source, folder, name, target, exists);
            if (code != 0) {
                return Fail(report, code, texts.copyTag);
            }
            if (move) {
                s.files.ClearReadOnly(source);
                if (const uint32_t removed = s.files.RemoveFile(source)) {
                    written.Add(s.files, target);
                    return Fail(report, removed, texts.deleteTag);
                }
            }
        }
        written.Add(s.files, target);
        if (move) {
            record.attributes = kMissingAttributes;
        }
        return Outcome::next;
    }

    // The conflict rule's question: YesToAll and SkipAll hold for the rest of the run, other answers ask again.
    ConfirmAnswer AskOverwrite(const std::wstring& source, const std::wstring& target) {
        if (remembered != ConfirmAnswer::YesToAll && remembered != ConfirmAnswer::SkipAll) {
            remembered = s.prompts.AskOverwrite(source, target);
        }
        return remembered;
    }

    // Renames from to target, over an existing target whose read-only bit is lifted for the rename and put back
    // when the rename fails. 0 or the system's code.
    uint32_t PutInPlace(const std::wstring& from, const std::wstring& target, bool replacing) {
        const uint32_t attributes = replacing ? s.files.ReadAttributes(target) : platform::kInvalidAttributes;
        const bool readOnly =
            attributes != platform::kInvalidAttributes && (attributes & platform::kAttributeReadOnly) != 0;
        if (readOnly) {
            (void)s.files.WriteAttributes(target, attributes & ~platform::kAttributeReadOnly);
        }
        const uint32_t code = s.files.MoveFileReplacing(from, target);
        if (code != 0 && readOnly) {
            (void)s.files.WriteAttributes(target, attributes);
        }
        return code;
    }

    // A partial-copy name in folder that nothing holds yet.
    std::wstring FreePartialName(const std::wstring& folder, const std::wstring& name) {
        std::wstring path;
        for (int attempt = 1; attempt < 100; ++attempt) {
            path = platform::JoinPath(folder, PartialCopyName(name, attempt));
            if (!s.files.PathExists(path)) {
                break;
            }
        }
        return path;
    }

    // Copies source under a partial-copy name beside target, flushes and checks the copy, then renames it to
    // target. On failure nothing of the copy remains and an old target is as it was. 0 or the system's code.
    uint32_t CopyIntoPlace(const std::wstring& source, const std::wstring& folder, const std::wstring& name,
                           const std::wstring& target, bool replacing) {
        const std::wstring partial = FreePartialName(folder, name);
        uint32_t code = s.files.CopyFileWithProgress(source, partial, CopyProgress(progress), CancelFlagOf(progress));
        if (code == 0) {
            code = s.files.FlushFile(partial);
        }
        platform::FileIdentity from;
        platform::FileIdentity to;
        if (code == 0 && !(s.files.QueryFileIdentity(source, from) && s.files.QueryFileIdentity(partial, to) &&
                           from.size == to.size)) {
            code = platform::kErrorCopyIncomplete;
        }
        if (code == 0) {
            code = PutInPlace(partial, target, replacing);
        }
        if (code != 0) {
            RemovePartial(partial);
        }
        return code;
    }

    void RemovePartial(const std::wstring& partial) {
        if (s.files.PathExists(partial)) {
            s.files.ClearReadOnly(partial);
            (void)s.files.RemoveFile(partial);
        }
    }

    const OperationServices& s;
    const TransferTexts& texts;
    bool move;
    Progress* progress;
    std::wstring prefix;
    ConfirmAnswer remembered = ConfirmAnswer::None;
    WrittenTargets written;
};

} // namespace

void FileOperations::CloseContainer() {
    if (s.container != nullptr) {
        s.container->Close();
    }
}

void FileOperations::CopyFiles() {
    Transfer(false);
}

void FileOperations::MoveFiles() {
    Transfer(true);
}

void FileOperations::Transfer(bool move) {
    CloseContainer();
    if (s.selection.FirstSelected() < 0) {
        return;
    }
    std::wstring folder;
    if (!s.prompts.ChooseFolder(folder)) {
        return;
    }
    AppendLine(s.console, move ? L"Moving files to:" : L"Copying files to:");
    AppendLine(s.console, folder);
    const uint64_t total = s.selection.SelectedSize();
    Progress* progress = s.host.OpenProgress();
    if (progress != nullptr) {
        progress->SetCaption(move ? L"Moving files...." : L"Copying files....");
        progress->AddFileBar();
    }
    s.host.EnterBusyState();
    TransferRun run(s, move ? kMoveTexts : kCopyTexts, move, progress);
    const TransferRun::FolderOf intoFolder = [&folder](const MediaRecord&, std::wstring& out, StepReport&) {
        out = folder;
        return true;
    };
    uint64_t done = 0;
    RunLoop(
        s, [&](MediaRecord& record) { return run.Step(record, intoFolder); },
        [&](const MediaRecord* record) {
            done += record != nullptr ? record->size : 0;
            if (progress != nullptr) {
                progress->SetProgress(done, total);
            }
        });
    AppendLine(s.console, move ? L"QRB::Move::Ok" : L"QRB::Copy::Ok");
    s.host.LeaveBusyState();
    s.host.CloseProgress();
}

void FileOperations::DeleteFiles() {
    CloseContainer();
    if (s.selection.FirstSelected() < 0) {
        return;
    }
    AppendLine(s.console, L"Deleting files...");
    const uint64_t total = s.selection.SelectedCount();
    Progress* progress = s.host.OpenProgress();
    if (progress != nullptr) {
        progress->SetCaption(L"Deleting files....");
    }
    s.host.EnterBusyState();
    ConfirmAnswer answer = ConfirmAnswer::None;
    ConfirmAnswer readOnlyAnswer = ConfirmAnswer::None;
    const auto remove = [&](MediaRecord& record, StepReport& report) {
        const auto skip = [&](StepReason reason, const std::wstring& line) {
            report.result = StepResult::skipped;
            report.reason = reason;
            AppendLine(s.console, line);
            return Outcome::next;
        };
        const auto end = [&](StepReason reason) {
            report.result = StepResult::ended;
            report.reason = reason;
            return Outcome::end;
        };
        // SkipAll skips the file it answered and ends the run at the next one.
        if (answer == ConfirmAnswer::Cancel || answer == ConfirmAnswer::SkipAll) {
            return end(answer == ConfirmAnswer::Cancel ? StepReason::cancelled : StepReason::deleteDeclined);
        }
        const std::wstring path = FullPathOf(record, kFullPathCapacity);
        report.source = path;
        if (path.empty()) {
            return skip(StepReason::noFullPath, L"QRB::Delete::Skipping File  because its full path cannot be built");
        }
        if (answer != ConfirmAnswer::YesToAll) {
            answer = s.prompts.AskDelete(path);
        }
        if (answer == ConfirmAnswer::Cancel) {
            return end(StepReason::cancelled);
        }
        if (!SaysYes(answer)) {
            return skip(StepReason::deleteDeclined, L"QRB::Delete::Skipping::" + path);
        }
        const uint32_t attributes = s.files.ReadAttributes(path);
        const bool readable = attributes != platform::kInvalidAttributes;
        if (readable && (attributes & platform::kAttributeReadOnly) != 0) {
            report.readOnly = true;
            if (readOnlyAnswer == ConfirmAnswer::Cancel || readOnlyAnswer == ConfirmAnswer::SkipAll) {
                return end(readOnlyAnswer == ConfirmAnswer::Cancel ? StepReason::cancelled : StepReason::readOnlyKept);
            }
            if (readOnlyAnswer != ConfirmAnswer::YesToAll) {
                readOnlyAnswer = s.prompts.AskDeleteReadOnly(path);
            }
            if (readOnlyAnswer == ConfirmAnswer::Cancel) {
                return end(StepReason::cancelled);
            }
            if (!SaysYes(readOnlyAnswer)) {
                return skip(StepReason::readOnlyKept, L"QRB::Delete::Skipping::" + path);
            }
            AppendLine(s.console, L"QRB::Delete::Read only file::" + path);
            // Attributes that could not be read are not written back: only a bit that was read is cleared.
            (void)s.files.WriteAttributes(path, attributes & ~platform::kAttributeReadOnly);
        }
        if (const uint32_t code = s.files.RemoveFile(path)) {
            AppendLine(s.console, L"QRB::Delete::Failed::" + path);
            LogSystemError(s.console, code, L"QRB::Delete");
            report.code = code;
            return end(StepReason::failed);
        }
        record.attributes = kMissingAttributes;
        return Outcome::next;
    };
    const auto step = [&](MediaRecord& record) {
        StepReport report;
        const Outcome outcome = remove(record, report);
        if (s.observer != nullptr) {
            s.observer->FileHandled(report);
        }
        return outcome;
    };
    uint64_t done = 0;
    RunLoop(s, step, [&](const MediaRecord*) {
        ++done;
        if (progress != nullptr) {
            progress->SetProgress(done, total);
        }
    });
    AppendLine(s.console, L"QRB::Delete::Ok");
    s.host.LeaveBusyState();
    s.host.CloseProgress();
}

void FileOperations::StoreFiles(const std::wstring& folder, bool move, bool byProject) {
    CloseContainer();
    AppendLine(s.console, move ? L"(Move)Storing  files to:" : L"(Copy)Storing files to:");
    AppendLine(s.console, folder);
    const uint64_t total = s.selection.SelectedSize();
    s.host.EnterBusyState();
    Progress* progress = s.host.OpenProgress();
    if (progress != nullptr) {
        progress->SetCaption(L"Storing files....");
        progress->AddFileBar();
    }
    TransferRun run(s, move ? kStoreMoveTexts : kStoreCopyTexts, move, progress);
    const TransferRun::FolderOf folderOf = [&](const MediaRecord& record, std::wstring& out, StepReport& report) {
        out = folder;
        if (!byProject) {
            return true;
        }
        report.result = StepResult::ended;
        // A project name read from the media database that is no plain folder name is a folder that cannot be
        // made, like the pseudo-project names.
        const std::wstring project = record.projectName.value_or(std::wstring());
        if (!IsPlainFolderName(project)) {
            report.reason = StepReason::projectNotFolder;
            s.prompts.ShowMessage(L"Aborted!", L"QRB", MessageButtons::Ok);
            return false;
        }
        out = platform::JoinPath(folder, project);
        if (s.files.PathExists(out)) {
            report.result = StepResult::done;
            return true;
        }
        const uint32_t code = s.files.CreateFolderWithParents(out);
        if (code != 0) {
            report.reason = StepReason::folderNotMade;
            report.code = code;
            report.madeFolder = out;
            s.prompts.ShowMessage(L"Aborted!", L"QRB", MessageButtons::Ok);
            return false;
        }
        report.result = StepResult::done;
        report.madeFolder = out;
        return true;
    };
    uint64_t done = 0;
    RunLoop(
        s, [&](MediaRecord& record) { return run.Step(record, folderOf); },
        [&](const MediaRecord* record) {
            done += record != nullptr ? record->size : 0;
            if (progress != nullptr) {
                progress->SetProgress(done, total);
            }
        });
    AppendLine(s.console, L"QRB::Store::Ok");
    s.host.CloseProgress();
    s.host.LeaveBusyState();
}

void FileOperations::ReadMediaInfo() {
    CloseContainer();
    Progress* progress = s.host.OpenProgress();
    const uint64_t total = s.selection.SelectedCount();
    int item = s.selection.FirstSelected();
    for (uint64_t handled = 0; item >= 0; ++handled) {
        if (s.prompts.PollCancel()) {
            break;
        }
        s.host.DispatchListMessage();
        const int next = s.selection.NextSelected(item);
        if (progress != nullptr) {
            progress->SetProgress(handled, total);
        }
        MediaRecord* record = s.selection.RecordOf(item);
        if (record != nullptr && !record->IsMissing() && !record->nameInBin && s.container != nullptr) {
            if (ReadOwnMediaInfo(*s.container, *record)) {
                s.selection.RefreshItem(item, *record);
            }
            s.container->Close();
        }
        item = next;
    }
    s.host.CloseProgress();
}

} // namespace tw
