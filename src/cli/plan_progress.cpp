#include "cli/plan_progress.h"

#include "platform/platform.h"

#include <algorithm>
#include <cstdio>

namespace tw::cli {

namespace {

// The line is drawn again at most this often, and at once when the caption changes.
constexpr uint64_t kRedrawMs = 100;

// "0:42", "12:05", "1:02:03".
std::wstring TimeText(uint64_t ms) {
    const uint64_t seconds = ms / 1000;
    wchar_t text[32];
    if (seconds >= 3600) {
        std::swprintf(text, 32, L"%llu:%02llu:%02llu", static_cast<unsigned long long>(seconds / 3600),
                      static_cast<unsigned long long>(seconds / 60 % 60),
                      static_cast<unsigned long long>(seconds % 60));
    } else {
        std::swprintf(text, 32, L"%llu:%02llu", static_cast<unsigned long long>(seconds / 60),
                      static_cast<unsigned long long>(seconds % 60));
    }
    return text;
}

// done of total scaled to ms without overflow, for the time left.
uint64_t Scaled(uint64_t elapsedMs, uint64_t remaining, uint64_t done) {
    const long double ms =
        static_cast<long double>(elapsedMs) * static_cast<long double>(remaining) / static_cast<long double>(done);
    return ms >= 1.8e19L ? UINT64_MAX : static_cast<uint64_t>(ms);
}

} // namespace

std::wstring PlanProgressText(const std::wstring& caption, const PlanCounts& counts, uint64_t elapsedMs, bool byBytes) {
    std::wstring text = std::to_wstring(counts.filesDone - std::min(counts.filesSkipped, counts.filesDone)) + L"/" +
                        std::to_wstring(counts.files) + L" files";
    if (counts.filesSkipped != 0) {
        text += L", " + std::to_wstring(counts.filesSkipped) + L" skipped";
    }
    const uint64_t done = byBytes ? counts.bytesDone : counts.filesDone;
    const uint64_t total = byBytes ? counts.bytes : counts.files;
    if (byBytes) {
        text += L"  " + platform::FormatByteSize(counts.bytesDone) + L" of " + platform::FormatByteSize(counts.bytes);
    }
    if (elapsedMs >= 1000 && done > 0) {
        if (byBytes) {
            text += L"  " + platform::FormatByteSize(counts.bytesDone * 1000 / elapsedMs) + L"/s";
        }
        text += L"  " + TimeText(Scaled(elapsedMs, total - std::min(done, total), done)) + L" left";
    }
    // The percentage takes "  100 %" at most.
    const size_t room = TerminalProgress::kLineWidth - 7;
    if (!caption.empty() && caption.size() + 2 + text.size() <= room) {
        text = caption + L"  " + text;
    }
    return text;
}

PlanProgress::PlanProgress(TerminalProgress* display, uint64_t files, uint64_t bytes, bool byBytes,
                           std::function<void()> onFileProgress)
    : display(display), byBytes(byBytes), onFileProgress(std::move(onFileProgress)), started(platform::TickCountMs()) {
    counts.files = files;
    counts.bytes = bytes;
}

void PlanProgress::SetCaption(const std::wstring& text) {
    caption = text;
    Draw(true);
}

void PlanProgress::SetFileProgress(uint64_t done, uint64_t /*total*/) {
    fileBytes = done;
    if (onFileProgress) {
        onFileProgress();
    }
    Draw(false);
}

void PlanProgress::RowDone(uint64_t size, bool skipped) {
    ++counts.filesDone;
    counts.filesSkipped += skipped ? 1 : 0;
    counts.bytesDone += size;
    fileBytes = 0;
    Draw(counts.filesDone == counts.files);
}

void PlanProgress::Hide() {
    if (display != nullptr) {
        display->Clear();
    }
}

void PlanProgress::Show() {
    Draw(true);
}

void PlanProgress::Draw(bool now) {
    if (display == nullptr) {
        return;
    }
    const uint64_t tick = platform::TickCountMs();
    if (!now && drawn && tick - lastDrawn < kRedrawMs) {
        return;
    }
    drawn = true;
    lastDrawn = tick;
    PlanCounts shown = counts;
    shown.bytesDone += std::min(fileBytes, counts.bytes - std::min(counts.bytes, counts.bytesDone));
    display->SetCaption(PlanProgressText(caption, shown, tick - started, byBytes));
    // Files of no bytes at all are counted by files.
    const bool bytesKnown = byBytes && shown.bytes > 0;
    display->SetProgress(bytesKnown ? shown.bytesDone : shown.filesDone, bytesKnown ? shown.bytes : shown.files);
}

} // namespace tw::cli
