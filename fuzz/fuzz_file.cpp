#include "fuzz_file.h"

#include "platform/memory_files.h"

namespace tw::fuzz {

namespace {

const std::wstring& ScratchPath() {
    static const std::wstring path = L"/tarnwick-fuzz/input";
    return path;
}

} // namespace

const std::wstring& WriteInputSpread(const uint8_t* data, size_t size, size_t tailSize, uint64_t fileLength) {
    const size_t tail = tailSize < size ? tailSize : size;
    const size_t head = size - tail;
    platform::memory::PutFile(ScratchPath(), data, head, data + head, tail, fileLength);
    return ScratchPath();
}

const std::wstring& WriteInput(const uint8_t* data, size_t size) {
    platform::memory::PutFile(ScratchPath(), data, size);
    return ScratchPath();
}

} // namespace tw::fuzz
