// SharedText: an immutable wide text that copies share. One allocation holds the number of holders, the
// length and the characters with a terminating zero, so a record's text costs one pointer in the record, and
// the records of one folder, project or compression hold one copy of its name between them. An absent text
// holds nothing; an empty text is present.
#pragma once

#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

class SharedText {
public:
    SharedText() noexcept = default;
    SharedText(std::nullopt_t) noexcept {}
    SharedText(std::wstring_view text) { block = Make(text); }
    SharedText(const std::wstring& text) : SharedText(std::wstring_view(text)) {}
    SharedText(const wchar_t* text) : SharedText(std::wstring_view(text)) {}
    SharedText(const std::optional<std::wstring>& text) {
        if (text) {
            block = Make(*text);
        }
    }
    SharedText(const SharedText& other) noexcept : block(other.block) { Hold(block); }
    SharedText(SharedText&& other) noexcept : block(other.block) { other.block = nullptr; }
    SharedText& operator=(const SharedText& other) noexcept {
        Hold(other.block);
        Release(block);
        block = other.block;
        return *this;
    }
    SharedText& operator=(SharedText&& other) noexcept {
        if (this != &other) {
            Release(block);
            block = other.block;
            other.block = nullptr;
        }
        return *this;
    }
    ~SharedText() { Release(block); }

    [[nodiscard]] bool has_value() const noexcept { return block != nullptr; }
    explicit operator bool() const noexcept { return block != nullptr; }
    // The characters; empty when the text is absent.
    [[nodiscard]] std::wstring_view view() const noexcept {
        return block != nullptr ? std::wstring_view(Chars(block), block->length) : std::wstring_view();
    }
    [[nodiscard]] std::wstring_view operator*() const noexcept { return view(); }
    // Zero-terminated; "" when the text is absent.
    [[nodiscard]] const wchar_t* c_str() const noexcept { return block != nullptr ? Chars(block) : L""; }
    [[nodiscard]] std::wstring str() const { return std::wstring(view()); }
    [[nodiscard]] std::wstring value_or(std::wstring_view fallback) const {
        return std::wstring(block != nullptr ? view() : fallback);
    }
    // Present and empty.
    void emplace() { *this = SharedText(std::wstring_view()); }
    void reset() noexcept {
        Release(block);
        block = nullptr;
    }
    // True when both hold the same allocation (or both are absent): equal without comparing characters.
    [[nodiscard]] bool SharesWith(const SharedText& other) const noexcept { return block == other.block; }
    // A number that texts sharing one allocation have in common and no other text alive has: a key for
    // caches that hold the text while they use it. 0 for an absent text.
    [[nodiscard]] uintptr_t Identity() const noexcept { return reinterpret_cast<uintptr_t>(block); }

    friend bool operator==(const SharedText& a, const SharedText& b) noexcept {
        return a.block == b.block || (a.block != nullptr && b.block != nullptr && a.view() == b.view());
    }
    friend bool operator!=(const SharedText& a, const SharedText& b) noexcept { return !(a == b); }
    friend bool operator==(const SharedText& a, std::nullopt_t) noexcept { return a.block == nullptr; }
    friend bool operator!=(const SharedText& a, std::nullopt_t) noexcept { return a.block != nullptr; }
    friend bool operator==(const SharedText& a, std::wstring_view b) noexcept { return a && a.view() == b; }
    friend bool operator!=(const SharedText& a, std::wstring_view b) noexcept { return !(a == b); }
    friend bool operator==(const SharedText& a, const std::wstring& b) noexcept { return a == std::wstring_view(b); }
    friend bool operator!=(const SharedText& a, const std::wstring& b) noexcept { return !(a == b); }
    friend bool operator==(const SharedText& a, const std::optional<std::wstring>& b) noexcept {
        return b ? a == *b : !a;
    }
    friend bool operator!=(const SharedText& a, const std::optional<std::wstring>& b) noexcept { return !(a == b); }
    friend bool operator==(const std::optional<std::wstring>& a, const SharedText& b) noexcept { return b == a; }
    friend bool operator!=(const std::optional<std::wstring>& a, const SharedText& b) noexcept { return !(b == a); }
    friend bool operator==(const SharedText& a, const wchar_t* b) noexcept { return a == std::wstring_view(b); }
    friend bool operator!=(const SharedText& a, const wchar_t* b) noexcept { return !(a == b); }
    // Ordered as optional texts are: an absent text first, then by the characters.
    friend bool operator<(const SharedText& a, const SharedText& b) noexcept {
        return b && (!a || a.view() < b.view());
    }

private:
    // The allocation's head; the characters follow it.
    struct Block {
        std::atomic<uint32_t> holders;
        uint32_t length;
    };
    static_assert(sizeof(Block) % alignof(wchar_t) == 0, "the characters follow the block");

    static wchar_t* Chars(Block* b) noexcept { return reinterpret_cast<wchar_t*>(b + 1); }
    static Block* Make(std::wstring_view text);
    static void Hold(Block* b) noexcept {
        if (b != nullptr) {
            b->holders.fetch_add(1, std::memory_order_relaxed);
        }
    }
    static void Release(Block* b) noexcept {
        if (b != nullptr && b->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            Destroy(b);
        }
    }
    static void Destroy(Block* b) noexcept;

    Block* block = nullptr;
};

// The text in UTF-8, "(absent)" when absent: for messages and test output.
std::ostream& operator<<(std::ostream& out, const SharedText& text);

} // namespace tw
