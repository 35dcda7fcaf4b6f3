#include "cli/plan_table.h"

#include "cli/json_table.h"
#include "cli/plan_text_encoding.h"
#include "cli/separated_table.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace tw::cli {

std::wstring RowText(size_t number) {
    return L"row " + std::to_wstring(number);
}

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
            const size_t line =
                1 +
                static_cast<size_t>(std::count(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(bad), '\n'));
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
        ok = ParseJsonTable(body, table, error);
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

} // namespace tw::cli
