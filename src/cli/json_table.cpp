#include "cli/json_table.h"

#include "cli/plan_text_encoding.h"
#include "platform/text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tw::cli {

namespace {

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

} // namespace

bool ParseJsonTable(const std::string& text, PlanTable& table, std::wstring& error) {
    return JsonReader(text, table, error).Read();
}

} // namespace tw::cli
