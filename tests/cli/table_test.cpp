// The shared table writer and the plan reader: each format as written, every format read back to the same cells,
// and the plans that are refused.
#include "cli/cli_output.h"
#include "cli/plan_reader.h"
#include "cli/table_writer.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tw::cli {
namespace {

using Cells = std::vector<std::wstring>;

const std::vector<TableColumn> kColumns{{L"Project"}, {L"Name"}, {L"Size (bytes)", ColumnKind::count}, {L"Path"}};

// What the writer writes for the rows to the program's standard output.
std::string Written(OutputFormat format, const std::vector<Cells>& rows) {
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        return "<no file>";
    }
    {
        TableWriter table(file, format, kColumns);
        for (const Cells& row : rows) {
            table.Row(row);
        }
    }
    std::rewind(file);
    std::string text;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    std::fclose(file);
#ifdef _WIN32
    // The program's standard output is in text mode, which writes each line feed as CR LF; the file is not.
    std::string textMode;
    for (const char c : text) {
        textMode += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    text = textMode;
#endif
    return text;
}

TEST(TableWriterTest, WritesEachFormatAsItsReadersExpect) {
    const std::vector<Cells> rows{{L"Harbour", L"a, \"b\".omf", L"153", L"/m/x"}, {L"Caf\u00E9", L"c\nd", L"", L"\\"}};
#ifdef _WIN32
    const std::string lineEnd = "\r\n"; // text mode adds the CR
#else
    const std::string lineEnd = "\n";
#endif
    EXPECT_EQ(Written(OutputFormat::tsv, rows), "Project\tName\tSize (bytes)\tPath" + lineEnd +
                                                    "Harbour\ta, \"b\".omf\t153\t/m/x" + lineEnd + "Caf\xC3\xA9\tc" +
                                                    lineEnd + "d\t\t\\" + lineEnd);
    EXPECT_EQ(Written(OutputFormat::csv, rows), "Project,Name,Size (bytes),Path\r\n"
                                                "Harbour,\"a, \"\"b\"\".omf\",153,/m/x\r\n"
                                                "Caf\xC3\xA9,\"c" +
                                                    lineEnd + "d\",,\\\r\n");
    EXPECT_EQ(Written(OutputFormat::json, rows),
              "[" + lineEnd + "  {\"Project\": \"Harbour\", \"Name\": \"a, \\\"b\\\".omf\", \"Size (bytes)\": 153, " +
                  "\"Path\": \"/m/x\"}," + lineEnd +
                  "  {\"Project\": \"Caf\xC3\xA9\", \"Name\": \"c\\nd\", \"Size (bytes)\": null, \"Path\": \"\\\\\"}" +
                  lineEnd + "]" + lineEnd);
    EXPECT_EQ(Written(OutputFormat::json, {}), "[]" + lineEnd);
    EXPECT_EQ(Written(OutputFormat::csv, {}), "Project,Name,Size (bytes),Path\r\n");
}

TEST(TableWriterTest, EveryFormatReadsBackToTheCellsWritten) {
    std::vector<Cells> rows{
        {L"Harbour Lights", L"Clip 1.omf", L"1312", L"/media/OMFI MediaFiles"},
        {L"Caf\u00E9 \u201CNoir\u201D", L"a,b \"c\".wav", L"0", L"C:\\Media\\x"},
        {L"**UNREFERENCED FILES", L"tab\there", L"18446744073709551615", L""},
    };
#ifndef _WIN32
    // Names with line breaks exist only where the file system allows them.
    rows.push_back({L"", L"line\r\nbreak", L"7", L"/\u00FC/\U0001F3AC"});
#endif
    for (const OutputFormat format : {OutputFormat::csv, OutputFormat::json}) {
        SCOPED_TRACE(static_cast<int>(format));
        PlanTable table;
        std::wstring error;
        ASSERT_TRUE(ParseTable(Written(format, rows), table, error)) << platform::WideToUtf8(error);
        EXPECT_EQ(table.header, (Cells{L"Project", L"Name", L"Size (bytes)", L"Path"}));
        ASSERT_EQ(table.rows.size(), rows.size());
        for (size_t r = 0; r < rows.size(); ++r) {
            for (size_t c = 0; c < rows[r].size(); ++c) {
                EXPECT_EQ(table.rows[r][c], rows[r][c]);
            }
        }
    }
    // Tab-separated text holds no tabs or line breaks in a cell: the rows without them read back alike.
    PlanTable table;
    std::wstring error;
    ASSERT_TRUE(ParseTable(Written(OutputFormat::tsv, {rows[0], rows[1]}), table, error));
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[1][1], rows[1][1]);
}

TEST(CliOutputTest, LineFeedsBecomeCrLfAsTheRuntimesTextModeWritesThem) {
    // A table sent to a file by the Windows build goes out in binary mode, its line feeds turned here: the
    // bytes must be those that text mode wrote, a CR already before the line feed included.
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"", ""},
        {"no line feed", "no line feed"},
        {"a\tb\n", "a\tb\r\n"},
        {"\n\nx\n", "\r\n\r\nx\r\n"},
        {"csv\r\n", "csv\r\r\n"},
        {std::string("nul\0\n", 5), std::string("nul\0\r\n", 6)},
    };
    for (const auto& c : cases) {
        std::string out = "kept";
        tw::cli::AppendLineFeedsAsCrLf(c.in, out);
        EXPECT_EQ(out, "kept" + c.out) << c.in;
    }
}

TEST(PlanReaderTest, FindsItsColumnsByNameInAnyOrderAndTakesRowsWithoutAPathAsTheyAre) {
#ifdef _WIN32
    const std::string folder = "C:\\\\media";
#else
    const std::string folder = "/media";
#endif
    const std::string text = "\xEF\xBB\xBF[{\"Size (bytes)\": 153, \"Group\": 1, \"Name\": \"a.omf\", \"Path\": \"" +
                             folder +
                             "\", \"Project\": \"P\"},\r\n {\"Name\": \"gone.omf\", \"Path\": \"\", "
                             "\"Size (bytes)\": \"0\", \"Project\": null}]";
    PlanTable table;
    std::wstring error;
    ASSERT_TRUE(ParseTable(text, table, error)) << platform::WideToUtf8(error);
    std::vector<PlanRow> rows;
    ASSERT_TRUE(TakePlanRows(table, true, rows, error)) << platform::WideToUtf8(error);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number, 2u);
    EXPECT_EQ(rows[0].name, L"a.omf");
    EXPECT_EQ(rows[0].size, 153u);
    EXPECT_EQ(rows[0].project, L"P");
    EXPECT_EQ(rows[1].path, L"");
    EXPECT_EQ(rows[1].project, L"");
}

TEST(PlanReaderTest, RefusesPlansItCannotReadOrWhoseRowsNameFilesUnsafely) {
#ifdef _WIN32
    const std::string absolute = "C:\\m";
    const std::string absoluteInJson = "C:\\\\m";
#else
    const std::string absolute = "/m";
    const std::string absoluteInJson = absolute;
#endif
    const std::string header = "Project\tName\tSize (bytes)\tPath\n";
    struct Case {
        std::string text;
        bool needProject;
        std::wstring error;
    };
    const Case cases[] = {
        {"", false, L"the plan is empty"},
        {header + "P\ta.omf\t1\n", false, L"row 2 has 3 cells, the header 4"},
        {"Project\tName\tPath\nP\ta\t" + absolute + "\n", false, L"the plan has no column \"Size (bytes)\""},
        {"Name\tSize (bytes)\tPath\na\t1\t" + absolute + "\n", true, L"the plan has no column \"Project\""},
        {header + "P\ta.omf\t1\tmedia\n", false, L"row 2: the Path \"media\" is not an absolute folder"},
        {header + "P\ta.omf\t1\t" + absolute + "\nP\t..\t1\t" + absolute + "\n", false,
         L"row 3: the Name \"..\" is not one plain file name"},
        {header + "P\tx/a.omf\t1\t" + absolute + "\n", false,
         L"row 2: the Name \"x/a.omf\" is not one plain file name"},
        {header + "P\tx\\a.omf\t1\t" + absolute + "\n", false,
         L"row 2: the Name \"x\\a.omf\" is not one plain file name"},
        {header + "P\t\t1\t" + absolute + "\n", false, L"row 2: the Name \"\" is not one plain file name"},
        {header + "P\ta.omf\t1.2 MB\t" + absolute + "\n", false,
         L"row 2: the Size \"1.2 MB\" is not a number of bytes"},
        {header + "P\ta.omf\t18446744073709551616\t" + absolute + "\n", false,
         L"row 2: the Size \"18446744073709551616\" is not a number of bytes"},
        {"Project,Name,Size (bytes),Path\nP,\"a.omf,1," + absolute + "\n", false, L"row 2: a quote is not closed"},
        {"{\"Name\": \"a\"}", false, L"a JSON plan is an array of objects"},
        {"[{\"Name\": \"a\", \"Name\": \"b\"}]", false, L"row 2 has \"Name\" twice"},
        {"[{\"Name\": [1]}]", false, L"row 2: the value of \"Name\" is not a text, a number or null"},
        {"[{\"Name\": \"a\", \"Size (bytes)\": 1, \"Path\": \"\"}, {\"Name\": \"b\", \"Size (bytes)\": 1}]", false,
         L"row 3 has no \"Path\""},
        {"[{\"Name\": \"a\\u0000b\", \"Size (bytes)\": 1, \"Path\": \"" + absoluteInJson + "\"}]", false,
         L"row 2: the Name \"a"},
        {"[{\"Name\": \"a\"}] x", false, L"text after the end of the array"},
        // Text saved in a Windows code page, and UTF-16 saved without its byte order mark, are named as such.
        {header + "P\tSc\xE8ne 1.omf\t1\t" + absolute + "\n", false,
         L"the plan is not UTF-8 text (row 2 holds the byte 0xE8, as text in a Windows code page does)"},
        {header + "P\ta.omf\t1\t" + absolute + "\nP\tb\xC3.omf\t1\t" + absolute + "\n", false,
         L"the plan is not UTF-8 text (row 3 holds the byte 0xC3"},
        {std::string("N\0a\0m\0e\0", 8), false, L"the plan holds zero bytes: it may be UTF-16 text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        PlanTable table;
        std::vector<PlanRow> rows;
        std::wstring error;
        EXPECT_FALSE(ParseTable(c.text, table, error) && TakePlanRows(table, c.needProject, rows, error));
        EXPECT_EQ(error.substr(0, c.error.size()), c.error);
    }
}

// The encodings, separators and line ends that spreadsheets and editors save a plan in are all read alike, and rows
// are numbered as a spreadsheet shows them, blank lines included.
TEST(PlanReaderTest, ReadsThePlanAsAnySpreadsheetSavesIt) {
#ifdef _WIN32
    const std::string folder = "C:\\Rushes";
#else
    const std::string folder = "/Rushes";
#endif
    const std::string scene = "Sc\xC3\xA8ne 1.omf"; // "Scène 1.omf" in UTF-8
    const auto utf16 = [](const std::string& utf8, bool bigEndian) {
        std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const wchar_t c : platform::Utf8ToWide(utf8)) {
            const char high = static_cast<char>((c >> 8) & 0xFF);
            const char low = static_cast<char>(c & 0xFF);
            out += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return out;
    };
    const std::string tabs = "Project\tName\tSize (bytes)\tPath\r\nP\t" + scene + "\t7\t" + folder + "\r\n";
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"tab-separated UTF-8", tabs},
        {"UTF-16 little-endian with its mark", utf16(tabs, false)},
        {"UTF-16 big-endian with its mark", utf16(tabs, true)},
        {"semicolons", "Project;Name;Size (bytes);Path\r\nP;\"" + scene + "\";7;" + folder + "\r\n"},
        {"old Mac line ends", "Project,Name,Size (bytes),Path\rP," + scene + ",7," + folder + "\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PlanTable table;
        std::vector<PlanRow> rows;
        std::wstring error;
        ASSERT_TRUE(ParseTable(c.text, table, error)) << platform::WideToUtf8(error);
        ASSERT_TRUE(TakePlanRows(table, true, rows, error)) << platform::WideToUtf8(error);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].number, 2u);
        EXPECT_EQ(rows[0].name, platform::Utf8ToWide(scene));
        EXPECT_EQ(rows[0].size, 7u);
    }
    PlanTable table;
    std::vector<PlanRow> rows;
    std::wstring error;
    ASSERT_TRUE(ParseTable("Name,Size (bytes),Path\n\na,1,\n\"b\nc\",2,\n", table, error));
    ASSERT_TRUE(TakePlanRows(table, false, rows, error));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number, 3u);
    EXPECT_EQ(rows[1].number, 4u);
}

// A plan made where the drive was mounted elsewhere (another letter, another machine) is read against where it is
// mounted now; paths of other drives are left as they are, and a folder is only ever matched whole.
TEST(PlanReaderTest, RebasesPathsToWhereTheDriveIsMountedNow) {
    Rebase fromLetter;
    ASSERT_TRUE(ParseRebase(L"M:\\=" + platform::MakeFullPath(L"media"), fromLetter));
    Rebase fromMount;
    ASSERT_TRUE(ParseRebase(L"/Volumes/Edit 1=" + platform::MakeFullPath(L"edit"), fromMount));
    const std::vector<Rebase> rebases{fromLetter, fromMount};
    const std::wstring sep(1, platform::kPathSeparator);
    const struct {
        std::wstring path;
        std::wstring expected;
    } cases[] = {
        {L"M:\\OMFI MediaFiles\\Reel 1", fromLetter.to + sep + L"OMFI MediaFiles" + sep + L"Reel 1"},
        {L"m:/OMFI MediaFiles", fromLetter.to + sep + L"OMFI MediaFiles"},
        {L"M:", fromLetter.to},
        {L"/Volumes/Edit 1/Avid MediaFiles/MXF/1", fromMount.to + sep + L"Avid MediaFiles" + sep + L"MXF" + sep + L"1"},
        {L"/Volumes/Edit 10/Avid MediaFiles", L"/Volumes/Edit 10/Avid MediaFiles"},
        {L"N:\\OMFI MediaFiles", L"N:\\OMFI MediaFiles"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(c.path));
        EXPECT_EQ(Rebased(c.path, rebases), c.expected);
    }
    Rebase wrong;
    EXPECT_FALSE(ParseRebase(L"M:\\", wrong));
    EXPECT_FALSE(ParseRebase(L"=/media", wrong));

    // Rebased rows pass the plan's checks: a Windows plan read on another system.
    PlanTable table;
    std::vector<PlanRow> rows;
    std::wstring error;
    ASSERT_TRUE(ParseTable("Name\tSize (bytes)\tPath\na.omf\t1\tM:\\OMFI MediaFiles\n", table, error));
    ASSERT_TRUE(TakePlanRows(table, false, rows, error, rebases)) << platform::WideToUtf8(error);
    EXPECT_EQ(rows[0].path, fromLetter.to + sep + L"OMFI MediaFiles");
}

} // namespace
} // namespace tw::cli
