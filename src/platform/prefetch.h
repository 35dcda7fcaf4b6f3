// A hint to start bringing memory into the cache that the caller will read soon; nothing where the
// compiler has no such hint.
#pragma once

namespace tw::platform {

inline void PrefetchForRead(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

} // namespace tw::platform
