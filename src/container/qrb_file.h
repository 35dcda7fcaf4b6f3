// QRBFile: read-only, random-access reader with one 2048-byte read-ahead window and 64-bit positions.
// Every read and seek is clamped to the file's extent; failures are written as console lines.
#pragma once

#include "platform/platform.h"
#include "seams/console.h"

#include <array>
#include <cstdint>
#include <string>

namespace tw {

class QRBFile {
public:
    static constexpr uint32_t kWindowSize = 2048;
    // The one open mode every caller uses: read access, others may keep reading and writing.
    static constexpr uint32_t kOpenReadShared = 0x40;

    enum SeekOrigin : int { begin = 0, current = 1 };

    // console may be null: lines are then dropped, results stay the same.
    explicit QRBFile(Console* console = nullptr);
    virtual ~QRBFile();
    QRBFile(const QRBFile&) = delete;
    QRBFile& operator=(const QRBFile&) = delete;

    // Nonzero on success. A failure writes "QRB File->Open error : " and the platform's text for the cause.
    [[nodiscard]] int Open(const std::wstring& path, uint32_t flags = kOpenReadShared);
    void Close();
    [[nodiscard]] bool IsOpen() const { return file.IsOpen(); }
    // Re-reads the file's length from the platform; 0 when no file is open.
    uint64_t GetLength();
    [[nodiscard]] uint64_t GetPosition() const;
    // Moves the logical position only; the platform file is positioned by the next read that needs it.
    uint64_t Seek(int64_t offset, SeekOrigin origin);
    // Bytes delivered; 0 on failure or when nothing is left.
    [[nodiscard]] uint32_t Read(void* destination, uint32_t count);
    // The next count bytes, straight from the window, when the valid window holds them all; null
    // otherwise. Moves nothing: callers that use the bytes Seek past them.
    [[nodiscard]] const uint8_t* Peek(uint32_t count) const {
        if (windowInvalid || position < windowStart || position + count > windowStart + lastFill) {
            return nullptr;
        }
        return window.data() + (position - windowStart);
    }
    // The bytes from the position to the end of what the valid window holds, straight from the window, and
    // their count; null (count 0) when the window does not hold the position. Moves nothing.
    [[nodiscard]] const uint8_t* PeekRest(uint32_t& count) const {
        if (windowInvalid || position < windowStart || position >= windowStart + lastFill) {
            count = 0;
            return nullptr;
        }
        count = static_cast<uint32_t>(windowStart + lastFill - position);
        return window.data() + (position - windowStart);
    }
    // Where later lines go; null drops them.
    void SetConsole(Console* newConsole) { console = newConsole; }
    // Full path of the open file; empty when closed.
    [[nodiscard]] const std::wstring& GetFilePath() const { return file.FullPath(); }

    // Window state, for tests of the window rule.
    [[nodiscard]] uint64_t WindowStart() const { return windowStart; }
    [[nodiscard]] bool WindowValid() const { return !windowInvalid; }
    [[nodiscard]] uint64_t PlatformSeekCount() const { return platformSeeks; }

protected:
    Console* console;

private:
    void ApplyWindowRule();

    platform::ReadOnlyFile file;
    std::array<uint8_t, kWindowSize> window{};
    uint32_t openErrorCode = 0;
    std::wstring openErrorText;
    uint64_t windowStart = 0;
    uint64_t position = 0;
    uint64_t length = 0;
    bool windowInvalid = true;
    uint32_t granted = 0;
    // Bytes the last platform read put into the window; the platform file stands at windowStart + lastFill.
    uint32_t lastFill = 0;
    uint64_t platformSeeks = 0;
};

} // namespace tw
