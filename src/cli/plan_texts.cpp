#include "cli/plan_texts.h"

#include "platform/system.h"

namespace tw::cli {

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

bool MovesFiles(const PlanOptions& options) {
    return options.action == PlanAction::move || (options.action == PlanAction::store && options.move);
}

std::wstring ErrorText(uint32_t code) {
    std::wstring text = platform::SystemErrorText(code);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return text.empty() ? L"error " + std::to_wstring(code) : text;
}

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

} // namespace tw::cli
