#include "cli/plan_outcome.h"

#include "cli/plan_texts.h"

namespace tw::cli {

RowDescription DescribeItem(const PlanItem* item, const PlanOptions& options) {
    if (item == nullptr) {
        return {L"skip", {}, L"no file: it was missing when the plan was made"};
    }
    if (item->alreadyDone) {
        return {L"skip", item->doneTarget,
                MovesFiles(options) ? L"already done: the file is there and gone from its source"
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
            return item->asked ? RowDescription{L"ask", {}, L"read-only: asked about again"}
                               : RowDescription{L"delete", {}, r.readOnly ? L"read-only" : L""};
        }
        if (item->asked) {
            return {L"ask", r.target, with(L"a file of that name is there: asks whether to overwrite it")};
        }
        const std::wstring how = !MovesFiles(options) ? std::wstring()
                                 : r.renamed          ? L"renamed on the same drive"
                                                      : L"copied, then the source deleted";
        const std::wstring replaced = r.replaced ? L"overwrites the file there" : L"";
        return {MovesFiles(options) ? L"move" : L"copy", r.target,
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
            return {L"fail", r.target,
                    L"the run would fail here: " +
                        (r.differs ? std::wstring(L"the copy read back differs from its source") : ErrorText(r.code))};
        }
    }
    return {L"skip", {}, {}};
}

} // namespace tw::cli
