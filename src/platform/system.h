// The system: error texts, the standard streams, the clock and local time.
#pragma once

#include <cstdint>
#include <string>

namespace tw::platform {

// The system's message text for an error code (FormatMessageW on Windows, strerror elsewhere), as the
// platform delivers it; empty when the system has none.
[[nodiscard]] std::wstring SystemErrorText(uint32_t code);

// True when the standard stream numbered stream (0 input, 1 output, 2 errors) is a terminal that a person
// reads and types at: a console on Windows (never the NUL device or another character device, which the C
// runtime's _isatty also takes for one), a tty elsewhere.
[[nodiscard]] bool IsTerminal(int stream);
// Where the C runtime writes a standard stream in text mode, turning each line feed into CR LF itself and
// handing the file its bytes in pieces of about 2 KB (Windows), puts stream (1 output, 2 errors) in binary
// mode and returns true: the caller then writes each line feed as CR LF itself. False where a line ends in a
// line feed and nothing is translated. Called before anything is written to the stream.
[[nodiscard]] bool TakeOverLineEnds(int stream);

// Milliseconds of a monotonic process clock (GetTickCount64).
[[nodiscard]] uint64_t TickCountMs();

// A FILETIME converted to the local time zone.
struct LocalTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};
[[nodiscard]] bool FileTimeToLocal(uint64_t fileTime, LocalTime& local);

} // namespace tw::platform
