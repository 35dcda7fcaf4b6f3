#include "cli/plan_reader.h"

#include "platform/platform.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cwctype>
#include <utility>

namespace tw::cli {

namespace {

// Appends one code point (at most U+10FFFF) to out as UTF-8.
void AppendCodePoint(uint32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::wstring RowText(size_t number) {
    return L"row " + std::to_wstring(number);
}

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

// Tab-separated lines: each line a row, cells as they are (the tables write no quotes).
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

// Comma-separated records as RFC 4180 has them (or separated by another character: spreadsheets of languages that
// write a decimal comma save them with semicolons): a cell in quotes may hold separators, line breaks and doubled
// quotes.
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

// JSON: an array of objects whose values are texts, numbers, true, false or null.
class JsonReader {
public:
    JsonReader(const std::string& text, PlanTable& table, std::wstring& error)
        : text(text), table(table), error(error) {}

    bool Read() {
        Space();
        if (!Take('[')) {
            return Fail(L"a JSON plan is an array of objects");
        }
        Space();
        if (!Take(']')) {
            do {
                Space();
                if (!Object()) {
                    return false;
                }
                Space();
            } while (Take(','));
            if (!Take(']')) {
                return Fail(RowText(table.rows.size() + 1) + L": \",\" or \"]\" expected after it");
            }
        }
        Space();
        return at == text.size() || Fail(L"text after the end of the array");
    }

private:
    bool Object() {
        const size_t number = table.rows.size() + 2;
        if (!Take('{')) {
            return Fail(RowText(number) + L" is not an object");
        }
        std::vector<std::optional<std::wstring>> cells(table.header.size());
        Space();
        if (!Take('}')) {
            do {
                Space();
                std::string key;
                std::string value;
                if (!String(key)) {
                    return Fail(RowText(number) + L": a key in quotes expected");
                }
                Space();
                if (!Take(':')) {
                    return Fail(RowText(number) + L": \":\" expected");
                }
                Space();
                if (!Value(value)) {
                    return Fail(RowText(number) + L": the value of \"" + platform::Utf8ToWide(key) +
                                L"\" is not a text, a number or null");
                }
                const std::wstring name = platform::Utf8ToWide(key);
                const auto found = std::find(table.header.begin(), table.header.end(), name);
                const auto column = static_cast<size_t>(found - table.header.begin());
                if (found == table.header.end()) {
                    table.header.push_back(name);
                    cells.resize(table.header.size());
                    for (auto& row : table.rows) {
                        row.resize(table.header.size());
                    }
                } else if (cells[column]) {
                    return Fail(RowText(number) + L" has \"" + name + L"\" twice");
                }
                cells[column] = platform::Utf8ToWide(value);
                Space();
            } while (Take(','));
            if (!Take('}')) {
                return Fail(RowText(number) + L": \",\" or \"}\" expected");
            }
        }
        table.rows.push_back(std::move(cells));
        table.numbers.push_back(number);
        return true;
    }

    // A text, a number (as written), null (as an empty text), true or false.
    bool Value(std::string& value) {
        if (at < text.size() && text[at] == '"') {
            return String(value);
        }
        for (const char* word : {"null", "true", "false"}) {
            const std::string w = word;
            if (text.compare(at, w.size(), w) == 0) {
                at += w.size();
                value = w == "null" ? std::string() : w;
                return true;
            }
        }
        const size_t start = at;
        Take('-');
        if (!Digits()) {
            return false;
        }
        if (Take('.') && !Digits()) {
            return false;
        }
        if (Take('e') || Take('E')) {
            if (!Take('+')) {
                Take('-');
            }
            if (!Digits()) {
                return false;
            }
        }
        value = text.substr(start, at - start);
        return true;
    }

    bool Digits() {
        const size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            ++at;
        }
        return at > start;
    }

    bool String(std::string& out) {
        if (!Take('"')) {
            return false;
        }
        out.clear();
        while (at < text.size()) {
            const char c = text[at++];
            if (c == '"') {
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at >= text.size()) {
                return false;
            }
            const char e = text[at++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u':
                if (!Escaped(out)) {
                    return false;
                }
                break;
            default:
                return false;
            }
        }
        return false;
    }

    // The code point of \uXXXX (after the "\u"), a surrogate pair joined, appended as UTF-8; a lone surrogate
    // becomes U+FFFD.
    bool Escaped(std::string& out) {
        uint32_t unit = 0;
        if (!Hex4(unit)) {
            return false;
        }
        uint32_t code = unit;
        if (unit >= 0xD800 && unit < 0xDC00 && text.compare(at, 2, "\\u") == 0) {
            const size_t back = at;
            at += 2;
            uint32_t low = 0;
            if (!Hex4(low)) {
                return false;
            }
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            } else {
                at = back;
            }
        }
        if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        AppendCodePoint(code, out);
        return true;
    }

    bool Hex4(uint32_t& value) {
        if (at + 4 > text.size()) {
            return false;
        }
        value = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = text[at++];
            value <<= 4;
            if (h >= '0' && h <= '9') {
                value |= static_cast<uint32_t>(h - '0');
            } else if (h >= 'a' && h <= 'f') {
                value |= static_cast<uint32_t>(h - 'a' + 10);
            } else if (h >= 'A' && h <= 'F') {
                value |= static_cast<uint32_t>(h - 'A' + 10);
            } else {
                return false;
            }
        }
        return true;
    }

    void Space() {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r')) {
            ++at;
        }
    }

    bool Take(char c) {
        if (at < text.size() && text[at] == c) {
            ++at;
            return true;
        }
        return false;
    }

    bool Fail(const std::wstring& message) {
        error = message;
        return false;
    }

    const std::string& text;
    PlanTable& table;
    std::wstring& error;
    size_t at = 0;
};

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


// UTF-16 text after its byte order mark, as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::string& text, bool bigEndian) {
    std::wstring wide;
    std::vector<uint32_t> codes;
    for (size_t i = 2; i + 1 < text.size(); i += 2) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(text[i + 1]);
        codes.push_back(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    std::string out;
    for (size_t i = 0; i < codes.size(); ++i) {
        uint32_t code = codes[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < codes.size() && codes[i + 1] >= 0xDC00 && codes[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (codes[++i] - 0xDC00);
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        AppendCodePoint(code, out);
    }
    return out;
}

// Where text stops being UTF-8 (overlong forms, surrogates and values past U+10FFFF included), or npos.
size_t FirstNonUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t more = 0;
        uint32_t code = 0;
        uint32_t least = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c < 0xE0) {
            more = 1, code = c & 0x1F, least = 0x80;
        } else if (c >= 0xE0 && c < 0xF0) {
            more = 2, code = c & 0x0F, least = 0x800;
        } else if (c >= 0xF0 && c < 0xF5) {
            more = 3, code = c & 0x07, least = 0x10000;
        } else {
            return i;
        }
        if (i + more >= text.size()) {
            return i;
        }
        for (size_t k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return i;
            }
            code = code << 6 | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
            return i;
        }
        i += more + 1;
    }
    return std::string::npos;
}

} // namespace

bool ParseTable(const std::string& text, PlanTable& table, std::wstring& error) {
    table = PlanTable{};
    std::string body;
    if (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0) {
        body = Utf16ToUtf8(text, text[0] == '\xFE');
    } else {
        body = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text;
        if (body.find('\0') != std::string::npos) {
            error = L"the plan holds zero bytes: it may be UTF-16 text without a byte order mark; save it as UTF-8 "
                    L"or as UTF-16 with one";
            return false;
        }
        const size_t bad = FirstNonUtf8(body);
        if (bad != std::string::npos) {
            wchar_t byte[8];
            std::swprintf(byte, 8, L"0x%02X", static_cast<unsigned>(static_cast<unsigned char>(body[bad])));
            const size_t line = 1 + static_cast<size_t>(std::count(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(bad), '\n'));
            error = L"the plan is not UTF-8 text (" + RowText(line) + L" holds the byte " + byte +
                    L", as text in a Windows code page does): save it as UTF-8 and run it again";
            return false;
        }
    }
    // Old Mac text ends its lines with a CR alone.
    if (body.find('\n') == std::string::npos) {
        std::replace(body.begin(), body.end(), '\r', '\n');
    }
    const size_t first = body.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        error = L"the plan is empty";
        return false;
    }
    bool ok = false;
    if (body[first] == '[' || body[first] == '{') {
        ok = JsonReader(body, table, error).Read();
    } else {
        const std::string headerLine = body.substr(0, body.find('\n'));
        const auto commas = std::count(headerLine.begin(), headerLine.end(), ',');
        const auto semicolons = std::count(headerLine.begin(), headerLine.end(), ';');
        ok = headerLine.find('\t') != std::string::npos
                 ? ParseTabSeparated(body, table, error)
                 : ParseCommaSeparated(body, semicolons > commas ? ';' : ',', table, error);
    }
    if (ok && table.header.empty() && table.rows.empty()) {
        error = L"the plan has no header";
        return false;
    }
    return ok;
}

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
            same = (separator(a) && separator(b)) || std::towlower(static_cast<wint_t>(a)) ==
                                                         std::towlower(static_cast<wint_t>(b));
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
