#include "catalog/shared_text.h"

#include "platform/platform.h"

#include <cstring>
#include <ostream>
#include <new>
#include <stdexcept>

namespace tw {

SharedText::Block* SharedText::Make(std::wstring_view text) {
    if (text.size() > UINT32_MAX - 1) {
        throw std::length_error("text too long");
    }
    void* memory = ::operator new(sizeof(Block) + (text.size() + 1) * sizeof(wchar_t));
    Block* b = new (memory) Block{};
    b->holders.store(1, std::memory_order_relaxed);
    b->length = static_cast<uint32_t>(text.size());
    wchar_t* chars = Chars(b);
    if (!text.empty()) {
        std::memcpy(chars, text.data(), text.size() * sizeof(wchar_t));
    }
    chars[text.size()] = L'\0';
    return b;
}

void SharedText::Destroy(Block* b) noexcept {
    b->~Block();
    ::operator delete(static_cast<void*>(b));
}

std::ostream& operator<<(std::ostream& out, const SharedText& text) {
    return text ? out << '"' << platform::WideToUtf8(text.str()) << '"' : out << "(absent)";
}

} // namespace tw
