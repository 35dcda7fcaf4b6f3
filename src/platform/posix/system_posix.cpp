// System services of the POSIX backend: byte-size text, error texts, clock and local time.
#include "platform/system.h"
#include "platform/text.h"

#include <cmath>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <type_traits>
#include <unistd.h>

namespace tw::platform {

namespace {

struct ByteFormat {
    uint64_t limit;
    double divisor;
    double normaliser;
    int decimals;
    wchar_t prefix;
};

constexpr uint64_t KB = 1024;
constexpr uint64_t MB = KB * KB;
constexpr uint64_t GB = MB * KB;
constexpr uint64_t TB = GB * KB;
constexpr uint64_t PB = TB * KB;

// From 10 TB on the count is shifted down by 1 MB first, so the divisors there are scaled down to match.
constexpr ByteFormat kFormats[] = {
    {10 * KB, 10.24, 100.0, 2, L'K'},        {100 * KB, 102.4, 10.0, 1, L'K'},
    {1000 * KB, 1024.0, 1.0, 0, L'K'},       {10 * MB, 10485.76, 100.0, 2, L'M'},
    {100 * MB, 104857.6, 10.0, 1, L'M'},     {1000 * MB, 1048576.0, 1.0, 0, L'M'},
    {10 * GB, 10737418.24, 100.0, 2, L'G'},  {100 * GB, 107374182.4, 10.0, 1, L'G'},
    {1000 * GB, 1073741824.0, 1.0, 0, L'G'}, {10 * TB, 10485.76, 100.0, 2, L'T'},
    {100 * TB, 104857.6, 10.0, 1, L'T'},     {1000 * TB, 1048576.0, 1.0, 0, L'T'},
    {10 * PB, 10737418.24, 100.0, 2, L'P'},  {100 * PB, 107374182.4, 10.0, 1, L'P'},
    {1000 * PB, 1073741824.0, 1.0, 0, L'P'}, {0, 10995116277.76, 100.0, 2, L'E'},
};

} // namespace

// The byte-size text of the shell, computed as the shell computes it: truncated to three significant
// digits, units of 1024.
std::wstring FormatByteSize(uint64_t bytes) {
    wchar_t buffer[64];
    // The shell takes a signed 64-bit count; so do we.
    const auto count = static_cast<int64_t>(bytes);
    if (count < 1024) {
        std::swprintf(buffer, 64, L"%d bytes", static_cast<int>(count));
        return buffer;
    }
    size_t i = 0;
    while (i < sizeof kFormats / sizeof kFormats[0] - 1 && static_cast<uint64_t>(count) >= kFormats[i].limit) {
        ++i;
    }
    double value = i > 8 ? static_cast<double>(count >> 20) + 0.001 : static_cast<double>(count) + 0.00001;
    value = std::floor(value / kFormats[i].divisor) / kFormats[i].normaliser;
    std::swprintf(buffer, 64, L"%.*f %lcB", kFormats[i].decimals, value, kFormats[i].prefix);
    return buffer;
}

std::wstring SystemErrorText(uint32_t code) {
    char buffer[256] = {};
    // The GNU strerror_r may return a static text instead of filling the buffer.
    const auto result = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    if constexpr (std::is_same_v<std::decay_t<decltype(result)>, char*>) {
        return Utf8ToWide(result != nullptr ? result : buffer);
    } else {
        return result == 0 ? Utf8ToWide(buffer) : std::wstring();
    }
}

uint64_t TickCountMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

bool FileTimeToLocal(uint64_t fileTime, LocalTime& local) {
    constexpr uint64_t kUnixEpoch = 116444736000000000ull;
    if (fileTime < kUnixEpoch) {
        return false;
    }
    const auto seconds = static_cast<time_t>((fileTime - kUnixEpoch) / 10000000ull);
    tm parts{};
    if (localtime_r(&seconds, &parts) == nullptr) {
        return false;
    }
    local.year = parts.tm_year + 1900;
    local.month = parts.tm_mon + 1;
    local.day = parts.tm_mday;
    local.hour = parts.tm_hour;
    local.minute = parts.tm_min;
    local.second = parts.tm_sec;
    return true;
}

bool IsTerminal(int stream) {
    return stream >= 0 && stream <= 2 && isatty(stream) != 0;
}

bool TakeOverLineEnds(int) {
    return false;
}

} // namespace tw::platform
