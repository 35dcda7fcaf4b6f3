#include "operations/file_operations.h"

#include "catalog/media_file_info.h"
#include "operations/target_names.h"
#include "platform/platform.h"

#include <functional>

namespace tw {

namespace {

// The capacity in which a run builds a record's full path.
constexpr size_t kFullPathCapacity = 4096;

// What a file step leaves the loop to do: the bookkeeping of the file, or the end of the run.
enum class Outcome { next, end };

// The console texts of one kind of transfer.
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

// The file step of copy, move and store, with the conflict answer the run remembers.
class TransferRun {
public:
    // Gives the target folder of a record, or false when the run must end.
    using FolderOf = std::function<bool(const MediaRecord&, std::wstring&)>;

    TransferRun(const OperationServices& s, const TransferTexts& texts, bool move, Progress* progress)
        : s(s), texts(texts), move(move), progress(progress), prefix(std::wstring(L"QRB::") + texts.operation) {}

    Outcome Step(MediaRecord& record, const FolderOf& folderOf) {
        const std::wstring source = FullPathOf(record, kFullPathCapacity);
        if (source.empty()) {
            AppendLine(s.console, prefix + L"::Skipping File  because its full path cannot be built");
            return Outcome::next;
        }
        if (progress != nullptr) {
            progress->SetFileText(source);
        }
        std::wstring folder;
        if (!folderOf(record, folder)) {
            return Outcome::end;
        }
        AppendLine(s.console, source);
        const std::wstring name = record.fileName.value_or(std::wstring());
        // A name read from the media database that is no plain file name could lead out of the folder.
        if (!IsPlainFileName(name)) {
            AppendLine(s.console, prefix + L"::Skipping File  because its file name cannot be used in a folder");
            return Outcome::next;
        }
        const std::wstring target = platform::JoinPath(folder, name);
        // The same file under another spelling is the source too: overwriting it would delete it.
        if (platform::EqualIgnoringCase(source, target) || s.files.IsSameFile(source, target)) {
            AppendLine(s.console, prefix + L"::Skipping File  because Source and Target filenames are equal");
            return Outcome::next;
        }
        if (s.files.PathExists(target)) {
            const ConfirmAnswer answer = AskOverwrite(source, target);
            if (answer == ConfirmAnswer::Cancel) {
                return Outcome::end;
            }
            if (!SaysYes(answer)) {
                AppendLine(s.console, prefix + L"::Skipping");
                return Outcome::next;
            }
            AppendLine(s.console, prefix + L"::Overwriting");
            s.files.ClearReadOnly(target);
            (void)s.files.RemoveFile(target); // a target that stays makes the transfer below fail on it
        }
        if (move && s.files.IsSameRoot(source, target)) {
            if (const uint32_t code = s.files.MoveFileReplacing(source, target)) {
                LogSystemError(s.console, code, texts.renameTag);
                return Outcome::end;
            }
        } else {
            if (!Copy(source, target)) {
                return Outcome::end;
            }
            if (move) {
                if (!CopyIsComplete(source, target)) {
                    return Outcome::end;
                }
                s.files.ClearReadOnly(source);
                if (const uint32_t code = s.files.RemoveFile(source)) {
                    LogSystemError(s.console, code, texts.deleteTag);
                    return Outcome::end;
                }
            }
        }
        if (move) {
            record.attributes = kMissingAttributes;
        }
        return Outcome::next;
    }

private:
    // The conflict rule's question: YesToAll and SkipAll hold for the rest of the run, other answers ask again.
    ConfirmAnswer AskOverwrite(const std::wstring& source, const std::wstring& target) {
        if (remembered != ConfirmAnswer::YesToAll && remembered != ConfirmAnswer::SkipAll) {
            remembered = s.prompts.AskOverwrite(source, target);
        }
        return remembered;
    }

    bool Copy(const std::wstring& source, const std::wstring& target) {
        const bool targetWasThere = s.files.PathExists(target);
        const uint32_t code =
            s.files.CopyFileWithProgress(source, target, CopyProgress(progress), CancelFlagOf(progress));
        if (code == 0) {
            return true;
        }
        // Whatever a failed copy left where nothing was before is part of a copy: it goes.
        if (!targetWasThere) {
            RemoveTarget(target);
        }
        LogSystemError(s.console, code, texts.copyTag);
        return false;
    }

    // Before a move deletes its source: the copy is on the disk and as long as the source. Otherwise the copy
    // goes and the run ends as a failed copy does.
    bool CopyIsComplete(const std::wstring& source, const std::wstring& target) {
        uint32_t code = s.files.FlushFile(target);
        platform::FileIdentity from;
        platform::FileIdentity to;
        if (code == 0 && !(s.files.QueryFileIdentity(source, from) && s.files.QueryFileIdentity(target, to) &&
                           from.size == to.size)) {
            code = platform::kErrorCopyIncomplete;
        }
        if (code == 0) {
            return true;
        }
        RemoveTarget(target);
        LogSystemError(s.console, code, texts.copyTag);
        return false;
    }

    void RemoveTarget(const std::wstring& target) {
        if (s.files.PathExists(target)) {
            s.files.ClearReadOnly(target);
            (void)s.files.RemoveFile(target);
        }
    }

    const OperationServices& s;
    const TransferTexts& texts;
    bool move;
    Progress* progress;
    std::wstring prefix;
    ConfirmAnswer remembered = ConfirmAnswer::None;
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
    const TransferRun::FolderOf intoFolder = [&folder](const MediaRecord&, std::wstring& out) {
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
    const auto step = [&](MediaRecord& record) {
        // SkipAll skips the file it answered and ends the run at the next one.
        if (answer == ConfirmAnswer::Cancel || answer == ConfirmAnswer::SkipAll) {
            return Outcome::end;
        }
        const std::wstring path = FullPathOf(record, kFullPathCapacity);
        if (path.empty()) {
            AppendLine(s.console, L"QRB::Delete::Skipping File  because its full path cannot be built");
            return Outcome::next;
        }
        if (answer != ConfirmAnswer::YesToAll) {
            answer = s.prompts.AskDelete(path);
        }
        if (answer == ConfirmAnswer::Cancel) {
            return Outcome::end;
        }
        if (!SaysYes(answer)) {
            AppendLine(s.console, L"QRB::Delete::Skipping::" + path);
            return Outcome::next;
        }
        const uint32_t attributes = s.files.ReadAttributes(path);
        const bool readable = attributes != platform::kInvalidAttributes;
        if (readable && (attributes & platform::kAttributeReadOnly) != 0) {
            if (readOnlyAnswer == ConfirmAnswer::Cancel || readOnlyAnswer == ConfirmAnswer::SkipAll) {
                return Outcome::end;
            }
            if (readOnlyAnswer != ConfirmAnswer::YesToAll) {
                readOnlyAnswer = s.prompts.AskDeleteReadOnly(path);
            }
            if (readOnlyAnswer == ConfirmAnswer::Cancel) {
                return Outcome::end;
            }
            if (!SaysYes(readOnlyAnswer)) {
                AppendLine(s.console, L"QRB::Delete::Skipping::" + path);
                return Outcome::next;
            }
            AppendLine(s.console, L"QRB::Delete::Read only file::" + path);
            // Attributes that could not be read are not written back: only a bit that was read is cleared.
            (void)s.files.WriteAttributes(path, attributes & ~platform::kAttributeReadOnly);
        }
        if (const uint32_t code = s.files.RemoveFile(path)) {
            AppendLine(s.console, L"QRB::Delete::Failed::" + path);
            LogSystemError(s.console, code, L"QRB::Delete");
            return Outcome::end;
        }
        record.attributes = kMissingAttributes;
        return Outcome::next;
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
    const TransferRun::FolderOf folderOf = [&](const MediaRecord& record, std::wstring& out) {
        out = folder;
        if (!byProject) {
            return true;
        }
        // A project name read from the media database that is no plain folder name is a folder that cannot be
        // made, like the pseudo-project names.
        const std::wstring project = record.projectName.value_or(std::wstring());
        bool made = IsPlainFolderName(project);
        if (made) {
            out = platform::JoinPath(folder, project);
            made = s.files.PathExists(out) || s.files.CreateFolderWithParents(out) == 0;
        }
        if (!made) {
            s.prompts.ShowMessage(L"Aborted!", L"QRB", MessageButtons::Ok);
        }
        return made;
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
