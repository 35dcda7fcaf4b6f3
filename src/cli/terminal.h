// The user at the terminal during a run of tarnwick-cli: Ctrl+C presses, and questions answered with a line.
#pragma once

#include <cstdint>
#include <string>

namespace tw::cli {

// How many times Ctrl+C was pressed.
class Interrupts {
public:
    virtual ~Interrupts() = default;
    [[nodiscard]] virtual uint32_t Count() const = 0;
};

// Counts Ctrl+C (SIGINT) while it lives, instead of ending the program; the handler that was there before is
// back when it ends. One at a time.
class InterruptWatch : public Interrupts {
public:
    InterruptWatch();
    ~InterruptWatch() override;
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    [[nodiscard]] uint32_t Count() const override;
};

// Where questions are asked and answered.
class Terminal {
public:
    virtual ~Terminal() = default;
    // True when there is someone to ask: standard input and standard error are both a terminal.
    [[nodiscard]] virtual bool Interactive() const = 0;
    // Writes question on stderr (it ends where the answer is typed) and reads one line from standard input,
    // without its line break. False when no answer came: the end of the input, or Ctrl+C pressed while waiting.
    virtual bool Ask(const std::wstring& question, std::wstring& answer) = 0;
};

// The process's own standard input and standard error; Ctrl+C while waiting for an answer is seen through
// interrupts. Standard input that brought the plan answers nothing: inputTaken makes the terminal not interactive.
class StandardTerminal : public Terminal {
public:
    StandardTerminal(const Interrupts& interrupts, bool inputTaken) : interrupts(interrupts), inputTaken(inputTaken) {}
    [[nodiscard]] bool Interactive() const override;
    bool Ask(const std::wstring& question, std::wstring& answer) override;

private:
    const Interrupts& interrupts;
    bool inputTaken;
};

// True when the stream of that number (0 standard input, 2 standard error) is a terminal.
[[nodiscard]] bool IsTerminalStream(int number);

} // namespace tw::cli
