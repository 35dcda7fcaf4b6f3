#include "cli/cli_output.h"

#include "platform/platform.h"

#include <cwchar>

namespace tw::cli {

namespace {

bool stdoutCrLf = false;

} // namespace

void WriteStdoutLineFeedsAsCrLf() {
    stdoutCrLf = true;
}

void AppendLineFeedsAsCrLf(std::string_view bytes, std::string& out) {
    for (size_t at = 0; at < bytes.size();) {
        const size_t feed = bytes.find('\n', at);
        if (feed == std::string_view::npos) {
            out.append(bytes.substr(at));
            return;
        }
        out.append(bytes.substr(at, feed - at));
        out += "\r\n";
        at = feed + 1;
    }
}

void WriteBytes(std::FILE* stream, const char* bytes, size_t size) {
    if (stream != stdout || !stdoutCrLf) {
        std::fwrite(bytes, 1, size, stream);
        return;
    }
    // The translated bytes go into the stream's buffer, which writes the file in large blocks.
    static std::string translated;
    translated.clear();
    AppendLineFeedsAsCrLf(std::string_view(bytes, size), translated);
    std::fwrite(translated.data(), 1, translated.size(), stream);
}

void WriteLine(std::FILE* stream, const std::wstring& text) {
    std::string bytes = platform::WideToUtf8(text);
    bytes += '\n';
    WriteLineBytes(stream, bytes);
}

void WriteLineBytes(std::FILE* stream, const std::string& line) {
    WriteBytes(stream, line.data(), line.size());
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
