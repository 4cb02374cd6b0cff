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

/// The bytes a run of literal text may hold besides those that never stand
/// for themselves (a quote, an ampersand, a backslash): any other byte, only
/// ASCII (in double-byte code pages, where a high byte starts a character),
/// or only printable ASCII (what is written into a script as it is).
enum class PlainRun
{
    AnyByte,
    Ascii,
    Printable
};

/// Where the run of plain bytes at p ends within the n bytes: the place of
/// the first byte the kind of run leaves out, or n. Texts are mostly such
/// runs, and sixteen bytes are tested at once where the processor can.
template <PlainRun kind>
inline std::size_t PlainRunEnd(const char* p, std::size_t n)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const auto special = [](const char* at) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const auto is = [&bytes](char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
        __m128i out = _mm_or_si128(_mm_or_si128(is('"'), is('&')), is('\\'));
        // Compared as signed bytes, those above 127 are below zero.
        if constexpr (kind == PlainRun::Ascii)
            out = _mm_or_si128(out, _mm_cmplt_epi8(bytes, _mm_setzero_si128()));
        if constexpr (kind == PlainRun::Printable)
            out = _mm_or_si128(out, _mm_cmplt_epi8(bytes, _mm_set1_epi8(' ')));
        return static_cast<unsigned>(_mm_movemask_epi8(out));
    };
    for (; i + 16 <= n; i += 16) {
        if (const unsigned mask = special(p + i))
            return i + static_cast<std::size_t>(std::countr_zero(mask));
    }
    if (i < n && n >= 16) {
        const std::size_t start = n - 16;
        const unsigned mask = special(p + start) >> (i - start);
        return mask != 0 ? i + static_cast<std::size_t>(std::countr_zero(mask)) : n;
    }
#endif
    for (; i < n; ++i) {
        const auto b = static_cast<unsigned char>(p[i]);
        if (b == '"' || b == '&' || b == '\\' || (kind == PlainRun::Ascii && b >= 0x80) ||
            (kind == PlainRun::Printable && (b < ' ' || b >= 0x80)))
            return i;
    }
    return n;
}
