#pragma once

#include <bit>
#include <cstddef>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

/// Where the byte first occurs in the n bytes at p, or n. Script lines are
/// short (thirty bytes on average), where a library call's setup costs more
/// than the search: this one is inline and tests sixteen bytes at a time
/// where the processor can, the last ones in a block that overlaps the one
/// before. It never reads past the n bytes.
inline std::size_t FindByte(const char* p, std::size_t n, char c)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (; i + 16 <= n; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)))
            return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
    if (i < n && n >= 16) {
        // The last sixteen bytes, of which those before i were tested.
        const std::size_t start = n - 16;
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + start));
        const auto mask =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted))) >> (i - start);
        return mask != 0 ? i + static_cast<std::size_t>(std::countr_zero(mask)) : n;
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == c)
            return i;
    }
    return n;
}
