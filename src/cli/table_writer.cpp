#include "cli/table_writer.h"

#include "platform/platform.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace tw::cli {

namespace {

// The end of a CSV line. The Windows build writes every line feed of its standard streams as CR LF (the C
// runtime's text mode, or the output helpers for a table sent to a file or a pipe).
#ifdef _WIN32
constexpr char kCsvLineEnd[] = "\n";
#else
constexpr char kCsvLineEnd[] = "\r\n";
#endif

bool IsCount(const std::wstring& text) {
    if (text.empty() || text.size() > 20) {
        return false;
    }
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
    }
    return true;
}

} // namespace

std::string CsvCell(const std::wstring& text) {
    const std::string bytes = platform::WideToUtf8(text);
    if (bytes.find_first_of(",\"\r\n") == std::string::npos) {
        return bytes;
    }
    std::string quoted = "\"";
    for (const char c : bytes) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string JsonString(const std::wstring& text) {
    const std::string bytes = platform::WideToUtf8(text);
    std::string out = "\"";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20 || u == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

TableWriter::TableWriter(std::FILE* stream, OutputFormat format, std::vector<TableColumn> columns)
    : stream(stream), format(format), columns(std::move(columns)) {
    // A JSON array opens with its first row, or closes empty.
    if (format != OutputFormat::json) {
        std::vector<std::wstring> names;
        for (const TableColumn& column : this->columns) {
            names.push_back(column.name);
        }
        WriteSeparated(names);
    }
}

TableWriter::~TableWriter() {
    if (!ended) {
        End();
    }
}

void TableWriter::Write(const std::string& bytes) {
    WriteBytes(stream, bytes.data(), bytes.size());
}

void TableWriter::WriteSeparated(const std::vector<std::wstring>& cells) {
    line.clear();
    if (format == OutputFormat::tsv) {
        // As WriteLine writes a line: the cells in UTF-8, then a line feed.
        for (size_t i = 0; i < cells.size(); ++i) {
            if (i != 0) {
                line += '\t';
            }
            platform::AppendAsUtf8(cells[i], line);
        }
        line += '\n';
        WriteLineBytes(stream, line);
        return;
    }
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i != 0) {
            line += ',';
        }
        line += CsvCell(cells[i]);
    }
    line += kCsvLineEnd;
    Write(line);
}

void TableWriter::Row(const std::vector<std::wstring>& cells) {
    if (format != OutputFormat::json) {
        WriteSeparated(cells);
        ++rows;
        return;
    }
    std::string line = rows == 0 ? "[\n  {" : ",\n  {";
    for (size_t i = 0; i < cells.size() && i < columns.size(); ++i) {
        line += (i != 0 ? ", " : "") + JsonString(columns[i].name) + ": ";
        if (columns[i].kind == ColumnKind::count && cells[i].empty()) {
            line += "null";
        } else if (columns[i].kind == ColumnKind::count && IsCount(cells[i])) {
            line += platform::WideToUtf8(cells[i]);
        } else {
            line += JsonString(cells[i]);
        }
    }
    Write(line + "}");
    ++rows;
}

void TableWriter::End() {
    ended = true;
    if (format == OutputFormat::json) {
        Write(rows == 0 ? "[]\n" : "\n]\n");
    }
    std::fflush(stream);
}

} // namespace tw::cli
