#include "heap_counter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<size_t> heapNow{0};
std::atomic<size_t> heapPeak{0};

void* Counted(size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    const size_t now = heapNow += malloc_usable_size(p);
    size_t peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void Uncounted(void* p) {
    if (p != nullptr) {
        heapNow -= malloc_usable_size(p);
        std::free(p);
    }
}

} // namespace

namespace tw::bench {

size_t HeapNow() {
    return heapNow.load();
}

size_t HeapPeak() {
    return heapPeak.load();
}

void ResetHeapPeak() {
    heapPeak = heapNow.load();
}

} // namespace tw::bench

void* operator new(size_t size) {
    return Counted(size);
}
void* operator new[](size_t size) {
    return Counted(size);
}
void operator delete(void* p) noexcept {
    Uncounted(p);
}
void operator delete[](void* p) noexcept {
    Uncounted(p);
}
void operator delete(void* p, size_t) noexcept {
    Uncounted(p);
}
void operator delete[](void* p, size_t) noexcept {
    Uncounted(p);
}
