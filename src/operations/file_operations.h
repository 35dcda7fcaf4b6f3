// FileOperations: copy, move, delete and store of the selected media files, and the media read of the selected
// files ("Scan Media Info"). Each run is one loop on the calling thread, file by file: it asks through the
// prompts, shows its progress, writes its steps to the console and reaches the files only through FileSystem.
// After every failure each file is whole at its source or at its target, and a failed copy leaves nothing of
// itself behind. A copy is written under a partial-copy name and renamed to its own only once it is complete on
// the disk, so an existing target is replaced only by a whole file; a run never writes over a file it wrote.
#pragma once

#include "container/bento_container.h"
#include "operations/file_selection.h"
#include "operations/file_system.h"
#include "operations/operation_host.h"
#include "operations/step_report.h"
#include "seams/console.h"
#include "seams/prompts.h"

#include <string>

namespace tw {

// What a run works with. The prompts serve one run (their confirmation texts persist between its questions).
// console and container may be null: nothing is logged, no container is closed or read.
struct OperationServices {
    FileSelection& selection;
    Prompts& prompts;
    OperationHost& host;
    FileSystem& files;
    Console* console = nullptr;
    BentoContainer* container = nullptr;
    // Told of every file a copy, move, store or delete run handles; may be null.
    StepObserver* observer = nullptr;
    // Each copy is read back and compared with its source byte for byte before it takes the file's name (and so
    // before a move deletes the source); a copy that differs is a failure (platform::kErrorCopyIncomplete).
    bool verify = false;
};

class FileOperations {
public:
    explicit FileOperations(const OperationServices& services) : s(services) {}

    // F5: copies the selected files into a folder the user chooses; records stay as they are.
    void CopyFiles();
    // F6: moves them (a rename on the same volume, else a copy whose source is deleted once the copy is complete
    // on the disk); moved records are marked missing.
    void MoveFiles();
    // F8: deletes them after asking; deleted records are marked missing.
    void DeleteFiles();
    // F2: reads the name in bin, kind and compression of each selected file whose name in bin is not known, from
    // the file itself. Nothing is deselected or logged.
    void ReadMediaInfo();
    // A store run into folder (checked by ValidateStoreTarget): all files into it, or byProject into one
    // subfolder per project, made as needed; moved or copied.
    void StoreFiles(const std::wstring& folder, bool move, bool byProject);

private:
    void Transfer(bool move);
    void CloseContainer();

    OperationServices s;
};

} // namespace tw
