// The one writer of every table tarnwick-cli prints: tab-separated (the default), comma-separated as RFC 4180
// has it (for spreadsheets), or JSON (one array of objects keyed by the header names).
#pragma once

#include "cli/cli_output.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tw::cli {

enum class OutputFormat { tsv, csv, json };

// What a column holds: text, or a count of things that JSON writes as a number (an empty cell as null).
enum class ColumnKind { text, count };

struct TableColumn {
    std::wstring name;
    ColumnKind kind = ColumnKind::text;
};

// Writes a table to stream as its rows come. tsv: the header and each row as tab-separated cells, each line ended as
// every line the program writes (cells are written as they are). csv: cells that hold a comma, a quote or a line
// break in quotes, quotes doubled, lines ended by CR LF. json: "[", one object per row on a line of its own, "]";
// texts escaped, counts as numbers.
class TableWriter {
public:
    TableWriter(std::FILE* stream, OutputFormat format, std::vector<TableColumn> columns);
    // Ends the table when End was not called.
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    // One cell per column, in the columns' order.
    void Row(const std::vector<std::wstring>& cells);
    // Writes what closes the table and flushes the stream.
    void End();

private:
    void Write(const std::string& bytes);
    // A tsv or csv line of cells.
    void WriteSeparated(const std::vector<std::wstring>& cells);

    std::FILE* stream;
    OutputFormat format;
    std::vector<TableColumn> columns;
    size_t rows = 0;
    bool ended = false;
    // A tsv or csv line's bytes, kept from row to row so that a long table allocates nothing a row.
    std::string line;
};

// The texts of the cells in the table's formats, for tests and readers.
[[nodiscard]] std::string CsvCell(const std::wstring& text);
[[nodiscard]] std::string JsonString(const std::wstring& text);

} // namespace tw::cli
