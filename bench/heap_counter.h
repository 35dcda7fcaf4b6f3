// Every allocation through operator new of the program that links heap_counter.cpp is counted, so that a
// benchmark can report the peak of the heap during a piece of work and what stays allocated after it.
#pragma once

#include <cstddef>

namespace tw::bench {

// Bytes handed out by operator new and not yet given back (usable sizes, as the allocator rounds them).
[[nodiscard]] size_t HeapNow();
// The highest HeapNow() since the last ResetHeapPeak().
[[nodiscard]] size_t HeapPeak();
void ResetHeapPeak();

} // namespace tw::bench
