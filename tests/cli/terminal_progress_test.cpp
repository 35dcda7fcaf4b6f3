#include "cli/terminal_progress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tw::cli {
namespace {

// A stream in a temporary file, read back as a terminal shows it: "\r" returns to the start of the line,
// characters overwrite what is there, "\n" ends the line.
class Screen {
public:
    Screen() : file(std::tmpfile()) {}
    ~Screen() { std::fclose(file); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    std::FILE* Stream() const { return file; }
    long Bytes() const { return std::ftell(file); }
    std::string Raw() const {
        std::string bytes(static_cast<size_t>(std::ftell(file)), '\0');
        std::rewind(file);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        std::fseek(file, 0, SEEK_END);
        return bytes;
    }
    // Every line; the last one is the line the cursor stands on, trailing blanks cut.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines(1);
        size_t column = 0;
        for (const char c : Raw()) {
            if (c == '\n') {
                lines.emplace_back();
                column = 0;
            } else if (c == '\r') {
                column = 0;
            } else {
                std::string& line = lines.back();
                if (column < line.size()) {
                    line[column] = c;
                } else {
                    line += c;
                }
                ++column;
            }
        }
        for (std::string& line : lines) {
            line.erase(line.find_last_not_of(' ') + 1);
        }
        return lines;
    }

private:
    std::FILE* file;
};

TEST(TerminalProgressTest, ShowsCaptionAndPercentOnOneLineAndClearsItAtTheEnd) {
    Screen screen;
    {
        TerminalProgress progress(screen.Stream());
        progress.SetCaption(L"Opening MOB Database...");
        EXPECT_EQ(screen.Lines(), std::vector<std::string>{"Opening MOB Database..."});
        progress.SetCaption(L"Indexing Files...");
        progress.SetProgress(0, 1000);
        progress.SetProgress(500, 1000);
        EXPECT_EQ(progress.Line(), L"Indexing Files...  50 %");
        EXPECT_EQ(screen.Lines(), std::vector<std::string>{"Indexing Files...  50 %"});
        // Calls that do not move the bar write nothing.
        const long written = screen.Bytes();
        progress.SetProgress(501, 1000);
        progress.SetProgress(500, 1000);
        EXPECT_EQ(screen.Bytes(), written);
        // A shorter text blanks what is left of the longer one.
        progress.SetCaption(L"Done");
        EXPECT_EQ(screen.Lines(), std::vector<std::string>{"Done  50 %"});
    }
    EXPECT_EQ(screen.Lines(), std::vector<std::string>{""});
}

TEST(TerminalProgressTest, ConsoleLinesGoAboveTheProgressLine) {
    Screen screen;
    TerminalProgress progress(screen.Stream());
    progress.SetCaption(L"Indexing Files...");
    progress.SetProgress(7, 0); // no total: done is the percentage
    progress.WriteAbove(L"------------<OPENING FILE>----------------");
    progress.WriteAbove(L"Caf\u00E9 Noir");
    EXPECT_EQ(screen.Lines(), (std::vector<std::string>{"------------<OPENING FILE>----------------",
                                                        "Caf\xC3\xA9 Noir", "Indexing Files...  7 %"}));
    progress.Clear();
    EXPECT_EQ(progress.Line(), L"");
    EXPECT_EQ(screen.Lines().back(), "");
    // Without a progress line, a console line is written as it is.
    progress.WriteAbove(L"------------------<OK!>-------------------");
    EXPECT_EQ(screen.Lines(),
              (std::vector<std::string>{"------------<OPENING FILE>----------------", "Caf\xC3\xA9 Noir",
                                        "------------------<OK!>-------------------", ""}));
}

TEST(TerminalProgressTest, ALongCaptionKeepsItsEndWithinOneLine) {
    Screen screen;
    TerminalProgress progress(screen.Stream());
    const std::wstring folder = L"/media/editor/" + std::wstring(100, L'x') + L"/OMFI MediaFiles/Archive";
    progress.SetCaption(folder);
    progress.SetProgress(255, 255);
    const std::wstring& line = progress.Line();
    EXPECT_EQ(line.size(), TerminalProgress::kLineWidth);
    EXPECT_EQ(line.substr(0, 3), L"...");
    EXPECT_NE(line.find(L"/OMFI MediaFiles/Archive  100 %"), std::wstring::npos);
}

} // namespace
} // namespace tw::cli
