#include "cli/terminal_progress.h"

#include "platform/platform.h"

namespace tw::cli {

namespace {

// Writes a whole line as UTF-8, as the console lines of every command are written.
void WriteWholeLine(std::FILE* stream, const std::wstring& text) {
    const std::string bytes = platform::WideToUtf8(text) + '\n';
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

// Writes text at the start of the line, blanking what is left of the text before it.
void Overwrite(std::FILE* stream, const std::wstring& text, size_t before) {
    std::string bytes = "\r" + platform::WideToUtf8(text);
    if (before > text.size()) {
        bytes.append(before - text.size(), ' ');
        bytes += '\r';
        bytes += platform::WideToUtf8(text);
    }
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

} // namespace

TerminalProgress::~TerminalProgress() {
    Clear();
}

std::unique_ptr<TerminalProgress> TerminalProgress::ForStderr() {
    if (!platform::IsTerminal(2)) {
        return nullptr;
    }
    return std::make_unique<TerminalProgress>(stderr);
}

void TerminalProgress::SetCaption(const std::wstring& text) {
    caption = text;
    Draw();
}

void TerminalProgress::SetProgress(uint64_t done, uint64_t total) {
    const BarUpdate update = scale.Update(done, total);
    if (anyProgress && !update.moved && !update.rangeChanged) {
        return;
    }
    anyProgress = true;
    Draw();
}

void TerminalProgress::Draw() {
    std::wstring percent = anyProgress ? PercentText(PercentOf(scale.LastPosition(), scale.Range())) : L"";
    // A long caption (a folder path) keeps its end, the part that tells one folder from another.
    const size_t room = kLineWidth - (percent.empty() ? 0 : percent.size() + 2);
    std::wstring text = caption;
    if (text.size() > room) {
        text = L"..." + text.substr(text.size() - (room - 3));
    }
    if (!percent.empty()) {
        text += (text.empty() ? L"" : L"  ") + percent;
    }
    if (text == shown) {
        return;
    }
    Overwrite(stream, text, shown.size());
    shown = std::move(text);
}

void TerminalProgress::WriteAbove(const std::wstring& line) {
    const std::wstring kept = shown;
    Clear();
    WriteWholeLine(stream, line);
    if (!kept.empty()) {
        Overwrite(stream, kept, 0);
        shown = kept;
    }
}

void TerminalProgress::Clear() {
    if (shown.empty()) {
        return;
    }
    Overwrite(stream, std::wstring(), shown.size());
    shown.clear();
}

void ConsoleAbove::AppendLine(const std::wstring& text) {
    if (progress != nullptr) {
        progress->WriteAbove(text);
    } else {
        WriteWholeLine(stderr, text);
    }
}

} // namespace tw::cli
