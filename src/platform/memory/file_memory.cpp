// Memory backend of the read-only file: the files put by path with memory::PutFile. Opening a path that
// holds none fails as the system fails for a missing file.
#include "platform/files.h"
#include "platform/memory_files.h"
#include "platform/system.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace tw::platform {

namespace {

struct MemoryFile {
    std::vector<uint8_t> head;
    std::vector<uint8_t> tail;
    uint64_t length = 0;

    // Copies up to count bytes from offset, the hole between head and tail read as zeros.
    uint32_t ReadAt(uint64_t offset, uint8_t* out, uint32_t count) const {
        const uint64_t end = std::min<uint64_t>(length, offset + count);
        const uint64_t tailStart = length - tail.size();
        for (uint64_t at = offset; at < end;) {
            uint64_t upTo;
            if (at < head.size()) {
                upTo = std::min<uint64_t>(end, head.size());
                std::memcpy(out, head.data() + at, static_cast<size_t>(upTo - at));
            } else if (at < tailStart) {
                upTo = std::min(end, tailStart);
                std::memset(out, 0, static_cast<size_t>(upTo - at));
            } else {
                upTo = end;
                std::memcpy(out, tail.data() + (at - tailStart), static_cast<size_t>(upTo - at));
            }
            out += upTo - at;
            at = upTo;
        }
        return end > offset ? static_cast<uint32_t>(end - offset) : 0;
    }
};

std::map<std::wstring, std::shared_ptr<const MemoryFile>>& Files() {
    static std::map<std::wstring, std::shared_ptr<const MemoryFile>> files;
    return files;
}

} // namespace

namespace memory {

void PutFile(const std::wstring& path, const uint8_t* head, size_t headSize, const uint8_t* tail, size_t tailSize,
             uint64_t length) {
    // A file that no open file holds any more takes the new bytes in its own storage: a fuzz target puts one
    // input after another at the same path.
    std::shared_ptr<const MemoryFile>& slot = Files()[path];
    std::shared_ptr<MemoryFile> file;
    if (slot != nullptr && slot.use_count() == 1) {
        file = std::const_pointer_cast<MemoryFile>(slot);
    } else {
        file = std::make_shared<MemoryFile>();
    }
    file->head.assign(head, head + headSize);
    file->tail.clear();
    if (tail != nullptr) {
        file->tail.assign(tail, tail + tailSize);
    }
    file->length = std::max<uint64_t>(length, uint64_t{headSize} + file->tail.size());
    slot = std::move(file);
}

void RemoveFile(const std::wstring& path) {
    Files().erase(path);
}

} // namespace memory

struct ReadOnlyFile::Impl {
    std::shared_ptr<const MemoryFile> file;
    std::wstring path;
    uint64_t position = 0;
};

ReadOnlyFile::ReadOnlyFile() : impl(std::make_unique<Impl>()) {}

ReadOnlyFile::~ReadOnlyFile() {
    Close();
}

bool ReadOnlyFile::Open(const std::wstring& path, uint32_t& errorCode, std::wstring& errorText) {
    Close();
    const auto found = Files().find(path);
    if (found == Files().end()) {
        errorCode = ENOENT;
        errorText = path + L": " + SystemErrorText(errorCode);
        return false;
    }
    impl->file = found->second;
    impl->path = path;
    impl->position = 0;
    return true;
}

void ReadOnlyFile::Close() {
    impl->file.reset();
    impl->path.clear();
    impl->position = 0;
}

bool ReadOnlyFile::IsOpen() const {
    return impl->file != nullptr;
}

uint64_t ReadOnlyFile::Length() const {
    return impl->file != nullptr ? impl->file->length : 0;
}

uint64_t ReadOnlyFile::SeekAbsolute(uint64_t offset) {
    if (impl->file == nullptr) {
        return 0;
    }
    // As a system file, the position may stand past the end; reads there deliver nothing.
    impl->position = offset;
    return offset;
}

uint32_t ReadOnlyFile::Read(void* destination, uint32_t count) {
    if (impl->file == nullptr || impl->position >= impl->file->length) {
        return 0;
    }
    const uint32_t got = impl->file->ReadAt(impl->position, static_cast<uint8_t*>(destination), count);
    impl->position += got;
    return got;
}

uint64_t ReadOnlyFile::Position() const {
    return impl->file != nullptr ? impl->position : 0;
}

const std::wstring& ReadOnlyFile::FullPath() const {
    return impl->path;
}

} // namespace tw::platform
