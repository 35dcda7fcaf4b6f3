#include "container/qrb_file.h"

#include <algorithm>
#include <cstring>

namespace tw {

QRBFile::QRBFile(Console* console) : console(console) {}

QRBFile::~QRBFile() {
    Close();
}

int QRBFile::Open(const std::wstring& path, uint32_t /*flags: always read-shared*/) {
    window.fill(0);
    Close();
    if (!file.Open(path, openErrorCode, openErrorText)) {
        std::wstring description = openErrorText;
        if (description.size() > 1023) {
            description.resize(1023);
        }
        AppendLine(console, L"QRB File->Open error : ");
        AppendLine(console, description);
        return 0;
    }
    length = file.Length();
    return 1;
}

void QRBFile::Close() {
    file.Close();
    position = 0;
    windowStart = 0;
    length = 0;
    windowInvalid = true;
    lastFill = 0;
}

uint64_t QRBFile::GetLength() {
    if (!file.IsOpen()) {
        return 0;
    }
    length = file.Length();
    // A file that shrank since it was opened must not leave the position beyond its end.
    if (position > length) {
        position = length;
        ApplyWindowRule();
    }
    return length;
}

uint64_t QRBFile::GetPosition() const {
    return file.IsOpen() ? position : 0;
}

void QRBFile::ApplyWindowRule() {
    if (position < windowStart || position >= windowStart + kWindowSize) {
        windowStart = position;
        windowInvalid = true;
    }
}

uint64_t QRBFile::Seek(int64_t offset, SeekOrigin origin) {
    if (!file.IsOpen()) {
        AppendLine(console, L"Bad seek");
        return 0;
    }
    if (origin == begin) {
        if (offset < 0) {
            AppendLine(console, L"Bad seek");
            return position;
        }
        position = std::min(static_cast<uint64_t>(offset), length);
    } else if (offset >= 0) {
        position += std::min(static_cast<uint64_t>(offset), length - position);
    } else {
        const uint64_t back =
            offset == INT64_MIN ? static_cast<uint64_t>(INT64_MAX) + 1 : static_cast<uint64_t>(-offset);
        position = back > position ? 0 : position - back;
    }
    ApplyWindowRule();
    return position;
}

uint32_t QRBFile::Read(void* destination, uint32_t count) {
    if (position >= length) {
        return 0; // also when closed: length is 0 then
    }
    granted = static_cast<uint32_t>(std::min<uint64_t>(count, length - position));
    if (granted == 0) {
        return 0;
    }
    auto* out = static_cast<uint8_t*>(destination);

    if (windowInvalid) {
        ++platformSeeks;
        position = file.SeekAbsolute(position);
        ApplyWindowRule();
        if (granted > kWindowSize) {
            // Large reads bypass the window so that big values are not copied twice.
            const uint32_t got = file.Read(out, granted);
            position = file.Position();
            windowStart = position;
            return got;
        }
        lastFill = file.Read(window.data(), kWindowSize);
        if (lastFill < granted) {
            lastFill = 0;
            AppendLine(console, L"unknown Read error 01 in QRBFile");
            return 0;
        }
        std::memcpy(out, window.data(), granted);
        windowStart = position;
        position += granted;
        windowInvalid = false;
        return granted;
    }

    const uint64_t windowEnd = windowStart + lastFill;
    if (position + granted <= windowEnd) {
        std::memcpy(out, window.data() + (position - windowStart), granted);
        position += granted;
        ApplyWindowRule();
        return granted;
    }

    // The request runs past the window: take what the window still holds, then continue from the
    // platform file, which already stands at the window's end.
    const auto k = static_cast<uint32_t>(windowEnd - position);
    std::memcpy(out, window.data() + (position - windowStart), k);
    position += k;
    windowStart = position;
    const uint32_t r = granted - k;
    if (r > kWindowSize) {
        const uint32_t got = file.Read(out + k, r);
        position += got;
        windowStart = position;
        windowInvalid = true;
        return k + got;
    }
    lastFill = file.Read(window.data(), kWindowSize);
    if (lastFill < r) {
        windowInvalid = true;
        return 0;
    }
    std::memcpy(out + k, window.data(), r);
    position += r;
    windowInvalid = false;
    return granted;
}

} // namespace tw
