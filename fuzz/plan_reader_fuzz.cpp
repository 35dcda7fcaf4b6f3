// Arbitrary bytes as a plan: read as a table, then as the rows of a plan. Whatever is taken names its files safely.
#include "cli/plan_reader.h"
#include "platform/platform.h"

#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    tw::cli::PlanTable table;
    std::wstring error;
    if (!tw::cli::ParseTable(text, table, error)) {
        return 0;
    }
    for (const auto& row : table.rows) {
        if (row.size() != table.header.size()) {
            std::abort();
        }
    }
    std::vector<tw::cli::PlanRow> rows;
    if (!tw::cli::TakePlanRows(table, true, rows, error)) {
        return 0;
    }
    for (const tw::cli::PlanRow& row : rows) {
        const bool plainName = !row.name.empty() && row.name != L"." && row.name != L".." &&
                               row.name.find_first_of(L"/\\") == std::wstring::npos &&
                               row.name.find(L'\0') == std::wstring::npos;
        if (!row.path.empty() && (tw::platform::IsRelativePath(row.path) || !plainName)) {
            std::abort();
        }
    }
    return 0;
}
