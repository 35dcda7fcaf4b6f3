#include "cli/cli_output.h"

#include "platform/platform.h"

#include <cwchar>

namespace tw::cli {

void WriteLine(std::FILE* stream, const std::wstring& text) {
    std::string bytes = platform::WideToUtf8(text);
    bytes += '\n';
    WriteLineBytes(stream, bytes);
}

void WriteLineBytes(std::FILE* stream, const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stream);
    if (stream == stderr) {
        std::fflush(stream);
    }
}

std::wstring ByteCountText(uint64_t bytes) {
    const std::wstring text = platform::FormatByteSize(bytes);
    return bytes < 1024 ? text : text + L" (" + std::to_wstring(bytes) + L" bytes)";
}

std::wstring Hex16(uint64_t value) {
    wchar_t buffer[17];
    std::swprintf(buffer, 17, L"%016llx", static_cast<unsigned long long>(value));
    return buffer;
}

} // namespace tw::cli
