// The console's formatters, built on AppendLine.
#include "seams/console.h"

#include "platform/system.h"
#include "seams/hex_dump.h"

namespace tw {

void Console::LogSystemError(uint32_t code, const std::wstring& context) {
    if (code == 0) {
        return;
    }
    constexpr size_t kLineCapacity = 4096;
    std::wstring text = platform::SystemErrorText(code);
    if (text.empty()) {
        text = L"(the system has no text for this code)";
    }
    std::wstring line = context + L" : error " + std::to_wstring(static_cast<int32_t>(code)) + L": " + text;
    if (line.size() > kLineCapacity - 1) {
        line.resize(kLineCapacity - 1);
    }
    AppendLine(line);
}

void Console::HexDump(const uint8_t* data, size_t length, uint64_t firstAddress, bool asciiGroups,
                      bool showSecondAddress, uint64_t secondAddress) {
    if (data == nullptr) {
        return;
    }
    ForEachHexDumpRow(length, [&](uint64_t offset, size_t count) {
        AppendLine(HexDumpRow(data + offset, count, firstAddress + offset, asciiGroups, showSecondAddress,
                              secondAddress + offset));
    });
}

} // namespace tw
