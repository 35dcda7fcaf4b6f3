// StepReport: what a copy, move, store or delete run did with one file, told once the file is handled. The
// console says it in the run's own lines; a report says it as data, for the command line's summaries and its dry
// run, which prints one table row per report.
#pragma once

#include <cstdint>
#include <string>

namespace tw {

enum class StepResult {
    done,    // copied, moved or deleted
    skipped, // passed over, and the run goes on
    ended    // the run ends at this file (a failure, Cancel, or a folder that cannot be made)
};

// Why a file was skipped or the run ended; none when it was done.
enum class StepReason {
    none,
    noFullPath,       // the record's full path cannot be built
    nameNotPlain,     // its file name cannot be used in a folder
    sameFile,         // source and target are one file
    targetKept,       // a file of that name is there and the answer kept it
    writtenByThisRun, // a file of that name was written there by this run
    deleteDeclined,   // the delete question was not answered Yes
    readOnlyKept,     // the read-only question was not answered Yes
    cancelled,        // Cancel was answered
    projectNotFolder, // store by project: the project name cannot be a folder name
    folderNotMade,    // store by project: the project's folder cannot be made
    failed            // a file-system call failed (code says which error)
};

struct StepReport {
    StepResult result = StepResult::done;
    StepReason reason = StepReason::none;
    std::wstring source;
    // Copy, move and store: the target path, once the run knew it.
    std::wstring target;
    // Store by project: the project folder this file made.
    std::wstring madeFolder;
    // The system's code of a failure.
    uint32_t code = 0;
    bool replaced = false; // an existing target was replaced
    bool renamed = false;  // moved by a rename on one volume rather than a copy and a delete
    bool readOnly = false; // delete: the file was read-only
    bool differs = false;  // the copy, read back, differs from its source (failed with the run's verify)
};

// Told of every file a run handles (files marked missing are passed over without a report).
class StepObserver {
public:
    virtual ~StepObserver() = default;
    virtual void FileHandled(const StepReport& report) = 0;
};

} // namespace tw
