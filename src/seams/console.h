// The console seam: where engines write their log lines. The Windows program's console window,
// the CLI's stderr and the tests' line vector implement it. A null Console* means "write nothing".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tw {

class Console {
public:
    virtual ~Console() = default;
    // Appends one line; embedded line breaks and tabs stay in the line as they are.
    virtual void AppendLine(const std::wstring& text) = 0;
};

// Writes the line when a console exists.
inline void AppendLine(Console* console, const std::wstring& text) {
    if (console != nullptr) {
        console->AppendLine(text);
    }
}

// Keeps every line in memory: for tests and for callers that collect a log.
class LineConsole : public Console {
public:
    void AppendLine(const std::wstring& text) override { lines.push_back(text); }
    std::vector<std::wstring> lines;
};

} // namespace tw
