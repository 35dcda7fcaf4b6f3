// Output helpers of tarnwick-cli: UTF-8 on stdout and stderr, the console seam on stderr.
#pragma once

#include "seams/console.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tw::cli {

using Args = std::vector<std::wstring>;

// Writes text as UTF-8, followed by a line break.
void WriteLine(std::FILE* stream, const std::wstring& text);
// Writes a line already in UTF-8, its line break included; stderr is flushed at once, as for WriteLine.
void WriteLineBytes(std::FILE* stream, const std::string& line);
// Writes bytes as they are, but for the line feeds of a stream whose line ends the program writes itself.
void WriteBytes(std::FILE* stream, const char* bytes, size_t size);
// Appends bytes to out with each line feed as CR LF, a CR before it or not, as the C runtime's text mode
// writes it.
void AppendLineFeedsAsCrLf(std::string_view bytes, std::string& out);
// From now on every line feed written to stdout through these helpers goes out as CR LF: for a standard
// output that the platform has taken out of the C runtime's text mode (platform::TakeOverLineEnds).
void WriteStdoutLineFeedsAsCrLf();

// Console lines go to stderr as they are written.
class StderrConsole : public Console {
public:
    void AppendLine(const std::wstring& text) override { WriteLine(stderr, text); }
};

// Console lines go to stdout: for commands whose output is console text.
class StdoutConsole : public Console {
public:
    void AppendLine(const std::wstring& text) override { WriteLine(stdout, text); }
};

// The platform's byte-size text, with the exact count after it when the text rounds: "7.51 KB (7694 bytes)".
std::wstring ByteCountText(uint64_t bytes);

// 16 lower-case hexadecimal digits, zero-padded.
std::wstring Hex16(uint64_t value);

} // namespace tw::cli
