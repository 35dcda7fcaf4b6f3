// The console seam: where engines write their log lines. The Windows program's console window,
// the CLI's stderr and the tests' line vector implement it. A null Console* means "write nothing".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tw {

class Console {
public:
    virtual ~Console() = default;
    // Appends one line; embedded line breaks and tabs stay in the line as they are.
    virtual void AppendLine(const std::wstring& text) = 0;

    // Appends "context : error code: text" with the system's text for code (as the system gives it, trailing
    // line break included), cut to 4,095 characters. Code 0 writes nothing.
    void LogSystemError(uint32_t code, const std::wstring& context);
    // Appends length bytes as hexadecimal rows of 16 (see HexDumpRow), each through AppendLine. Row addresses
    // count from firstAddress and, when showSecondAddress is set, from secondAddress too. Nothing for length 0.
    // Any length that data holds is dumped whole: row offsets are 64-bit.
    void HexDump(const uint8_t* data, size_t length, uint64_t firstAddress, bool asciiGroups, bool showSecondAddress,
                 uint64_t secondAddress);
};

// Writes the line when a console exists.
inline void AppendLine(Console* console, const std::wstring& text) {
    if (console != nullptr) {
        console->AppendLine(text);
    }
}

// Writes the error line when a console exists.
inline void LogSystemError(Console* console, uint32_t code, const std::wstring& context) {
    if (console != nullptr) {
        console->LogSystemError(code, context);
    }
}

// Keeps every line in memory: for tests and for callers that collect a log.
class LineConsole : public Console {
public:
    void AppendLine(const std::wstring& text) override { lines.push_back(text); }
    std::vector<std::wstring> lines;
};

} // namespace tw
