#include "cli/plan_rows.h"

#include "platform/paths.h"

#include <algorithm>
#include <cwctype>
#include <utility>

namespace tw::cli {

namespace {

bool ParseSize(const std::wstring& text, uint64_t& size) {
    if (text.empty() || text.size() > 20) {
        return false;
    }
    uint64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
        const auto digit = static_cast<uint64_t>(c - L'0');
        if (value > (UINT64_MAX - digit) / 10) {
            return false;
        }
        value = value * 10 + digit;
    }
    size = value;
    return true;
}

bool IsOnePlainName(const std::wstring& name) {
    return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"/\\") == std::wstring::npos;
}

} // namespace

bool ParseRebase(const std::wstring& text, Rebase& rebase) {
    const size_t equals = text.find(L'=');
    if (equals == std::wstring::npos || equals == 0 || equals + 1 == text.size()) {
        return false;
    }
    rebase.from = text.substr(0, equals);
    rebase.to = platform::MakeFullPath(text.substr(equals + 1));
    return true;
}

std::wstring Rebased(const std::wstring& path, const std::vector<Rebase>& rebases) {
    const auto separator = [](wchar_t c) { return c == L'/' || c == L'\\'; };
    for (const Rebase& rebase : rebases) {
        std::wstring from = rebase.from;
        while (!from.empty() && separator(from.back())) {
            from.pop_back();
        }
        if (path.size() < from.size() || (path.size() > from.size() && !separator(path[from.size()]))) {
            continue;
        }
        bool same = true;
        for (size_t i = 0; i < from.size() && same; ++i) {
            const wchar_t a = path[i];
            const wchar_t b = from[i];
            same = (separator(a) && separator(b)) ||
                   std::towlower(static_cast<wint_t>(a)) == std::towlower(static_cast<wint_t>(b));
        }
        if (!same) {
            continue;
        }
        // The rest of the path in this system's separators.
        std::wstring rest = path.substr(from.size());
        for (wchar_t& c : rest) {
            c = separator(c) ? platform::kPathSeparator : c;
        }
        std::wstring to = rebase.to;
        while (!rest.empty() && !to.empty() && separator(to.back())) {
            to.pop_back();
        }
        return rest.empty() ? rebase.to : to + rest;
    }
    return path;
}

bool TakePlanRows(const PlanTable& table, bool needProject, std::vector<PlanRow>& rows, std::wstring& error,
                  const std::vector<Rebase>& rebases) {
    rows.clear();
    const auto columnOf = [&](const wchar_t* name, size_t& column) {
        const auto found = std::find(table.header.begin(), table.header.end(), name);
        column = static_cast<size_t>(found - table.header.begin());
        return found != table.header.end();
    };
    size_t project = 0;
    size_t group = 0;
    size_t kept = 0;
    const bool haveGroup = columnOf(kPlanGroup, group);
    const bool haveKept = columnOf(kPlanKept, kept);
    size_t name = 0;
    size_t size = 0;
    size_t path = 0;
    for (const auto& [header, column] : {std::pair<const wchar_t*, size_t*>{kPlanName, &name},
                                         {kPlanSize, &size},
                                         {kPlanPath, &path},
                                         {kPlanProject, &project}}) {
        if (!columnOf(header, *column) && (column != &project || needProject)) {
            error = std::wstring(L"the plan has no column \"") + header + L"\"";
            return false;
        }
    }
    const bool haveProject = project < table.header.size();
    for (size_t i = 0; i < table.rows.size(); ++i) {
        const auto& cells = table.rows[i];
        PlanRow row;
        row.number = i < table.numbers.size() ? table.numbers[i] : i + 2;
        const auto cell = [&](size_t column, const wchar_t* header, std::wstring& out) {
            if (!cells[column]) {
                error = RowText(row.number) + L" has no \"" + header + L"\"";
                return false;
            }
            out = *cells[column];
            return true;
        };
        std::wstring sizeText;
        if (!cell(path, kPlanPath, row.path) || !cell(name, kPlanName, row.name) || !cell(size, kPlanSize, sizeText) ||
            (haveProject && !cell(project, kPlanProject, row.project))) {
            return false;
        }
        if (haveGroup) {
            row.group = cells[group].value_or(std::wstring());
        }
        if (haveKept && cells[kept] && !cells[kept]->empty()) {
            row.kept = Rebased(*cells[kept], rebases);
        }
        row.path = Rebased(row.path, rebases);
        if (!row.path.empty()) {
            std::wstring fault;
            if (row.path.find(L'\0') != std::wstring::npos || platform::IsRelativePath(row.path)) {
                fault = L"the Path \"" + row.path + L"\" is not an absolute folder";
            } else if (row.name.find(L'\0') != std::wstring::npos || !IsOnePlainName(row.name)) {
                fault = L"the Name \"" + row.name + L"\" is not one plain file name";
            } else if (!ParseSize(sizeText, row.size)) {
                fault = L"the Size \"" + sizeText + L"\" is not a number of bytes";
            }
            if (!fault.empty()) {
                error = RowText(row.number) + L": " + fault;
                return false;
            }
        }
        rows.push_back(std::move(row));
    }
    return true;
}

} // namespace tw::cli
