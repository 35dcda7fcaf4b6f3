#include "cli/terminal.h"

#include "platform/platform.h"

#include <atomic>
#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <cerrno>
#include <poll.h>
#include <unistd.h>
#endif

namespace tw::cli {

namespace {

// Every Ctrl+C the process has seen while a watch lived.
std::atomic<uint32_t> interruptCount{0};
uint32_t countAtStart = 0;

#ifdef _WIN32
using Handler = void (*)(int);
Handler previousHandler = SIG_DFL;

void OnInterrupt(int) {
    std::signal(SIGINT, OnInterrupt); // the runtime puts the default back before each call
    interruptCount.fetch_add(1);
}
#else
struct sigaction previousAction;

void OnInterrupt(int) {
    interruptCount.fetch_add(1);
}
#endif

void WriteText(const std::wstring& text) {
    const std::string bytes = platform::WideToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
}

} // namespace

InterruptWatch::InterruptWatch() {
    countAtStart = interruptCount.load();
#ifdef _WIN32
    previousHandler = std::signal(SIGINT, OnInterrupt);
#else
    // Calls that a press interrupts go on (a write to a full pipe stays whole); waits for an answer look at the
    // count themselves.
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousAction);
#endif
}

InterruptWatch::~InterruptWatch() {
#ifdef _WIN32
    std::signal(SIGINT, previousHandler);
#else
    sigaction(SIGINT, &previousAction, nullptr);
#endif
}

uint32_t InterruptWatch::Count() const {
    return interruptCount.load() - countAtStart;
}

bool IsTerminalStream(int number) {
    return platform::IsTerminal(number);
}

bool StandardTerminal::Interactive() const {
    return !inputTaken && IsTerminalStream(0) && IsTerminalStream(2);
}

bool StandardTerminal::Ask(const std::wstring& question, std::wstring& answer) {
    // Ctrl+C pressed from the moment the question starts to show ends the wait.
    const uint32_t before = interrupts.Count();
    WriteText(question);
    std::string line;
#ifdef _WIN32
    char buffer[1024];
    // Ctrl+C ends the console's read without a line.
    const bool read = std::fgets(buffer, sizeof buffer, stdin) != nullptr;
    if (!read || interrupts.Count() != before) {
        WriteText(L"\n");
        return false;
    }
    line = buffer;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
#else
    for (;;) {
        if (interrupts.Count() != before) {
            WriteText(L"\n");
            return false;
        }
        pollfd input{0, POLLIN, 0};
        const int ready = poll(&input, 1, 100);
        if (ready < 0 && errno != EINTR) {
            return false;
        }
        if (ready <= 0) {
            continue;
        }
        char c = 0;
        const ssize_t got = read(0, &c, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            WriteText(L"\n");
            return false;
        }
        if (c == '\n') {
            break;
        }
        line += c;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
#endif
    answer = platform::Utf8ToWide(line);
    return true;
}

} // namespace tw::cli
