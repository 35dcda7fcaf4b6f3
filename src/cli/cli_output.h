// Output helpers of tarnwick-cli: UTF-8 on stdout and stderr, the console seam on stderr.
#pragma once

#include "seams/console.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tw::cli {

using Args = std::vector<std::wstring>;

// Writes text as UTF-8, followed by a line break.
void WriteLine(std::FILE* stream, const std::wstring& text);
// Writes a line already in UTF-8, its line break included; stderr is flushed at once, as for WriteLine.
void WriteLineBytes(std::FILE* stream, const std::string& line);

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
