#include "cli/separated_table.h"

#include "platform/text.h"

#include <optional>
#include <utility>
#include <vector>

namespace tw::cli {

namespace {

// The first record of a separated text is the header, each later one a row of as many cells; number is the row a
// spreadsheet shows it in.
bool TakeRecord(std::vector<std::optional<std::wstring>> cells, size_t number, bool& haveHeader, PlanTable& table,
                std::wstring& error) {
    if (!haveHeader) {
        for (const auto& cell : cells) {
            table.header.push_back(*cell);
        }
        haveHeader = true;
        return true;
    }
    if (cells.size() != table.header.size()) {
        error = RowText(number) + L" has " + std::to_wstring(cells.size()) + L" cells, the header " +
                std::to_wstring(table.header.size());
        return false;
    }
    table.rows.push_back(std::move(cells));
    table.numbers.push_back(number);
    return true;
}

} // namespace

bool ParseTabSeparated(const std::string& text, PlanTable& table, std::wstring& error) {
    size_t at = 0;
    size_t number = 0;
    bool haveHeader = false;
    while (at < text.size()) {
        ++number;
        size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        std::vector<std::optional<std::wstring>> cells;
        size_t from = 0;
        for (;;) {
            const size_t tab = line.find('\t', from);
            cells.emplace_back(platform::Utf8ToWide(line.substr(from, tab - from)));
            if (tab == std::string::npos) {
                break;
            }
            from = tab + 1;
        }
        if (!TakeRecord(std::move(cells), number, haveHeader, table, error)) {
            return false;
        }
    }
    return true;
}

bool ParseCommaSeparated(const std::string& text, char separator, PlanTable& table, std::wstring& error) {
    std::vector<std::string> record;
    std::string cell;
    bool quoted = false;   // inside a quoted cell
    bool anything = false; // the record holds a character or a comma
    bool haveHeader = false;
    size_t number = 0;
    const auto endRecord = [&]() {
        ++number;
        if (!anything) {
            return true; // an empty line
        }
        record.push_back(cell);
        cell.clear();
        anything = false;
        std::vector<std::optional<std::wstring>> cells;
        for (const std::string& c : record) {
            cells.emplace_back(platform::Utf8ToWide(c));
        }
        record.clear();
        return TakeRecord(std::move(cells), number, haveHeader, table, error);
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') {
                cell += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == '"' && cell.empty()) {
            quoted = true;
            anything = true;
        } else if (c == separator) {
            record.push_back(cell);
            cell.clear();
            anything = true;
        } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            if (c == '\r') {
                ++i;
            }
            if (!endRecord()) {
                return false;
            }
        } else {
            cell += c;
            anything = true;
        }
    }
    if (quoted) {
        error = RowText(number + 1) + L": a quote is not closed";
        return false;
    }
    return endRecord();
}

} // namespace tw::cli
