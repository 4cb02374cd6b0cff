#pragma once

#include <bit>
#include <cstddef>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace byte_search {

/// The first place in the n bytes at p whose byte is one sought, or n.
/// Script lines are short (thirty bytes on average), where a library call's
/// setup costs more than the search: this one is inline and tests sixteen
/// bytes at a time where the processor can (`block` gives a bit for each
/// byte sought among the sixteen at a place), the last ones in a block that
/// overlaps the one before, and the rest byte by byte (`sought`). It never
/// reads past the n bytes.
template <class Block, class Sought>
inline std::size_t FirstSought(const char* p, std::size_t n, [[maybe_unused]] Block&& block, Sought&& sought)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        if (const unsigned mask = block(p + i))
            return i + static_cast<std::size_t>(std::countr_zero(mask));
    }
    if (i < n && n >= 16) {
        // The last sixteen bytes, of which those before i were tested.
        const std::size_t start = n - 16;
        const unsigned mask = block(p + start) >> (i - start);
        return mask != 0 ? i + static_cast<std::size_t>(std::countr_zero(mask)) : n;
    }
#endif
    for (; i < n; ++i) {
        if (sought(static_cast<unsigned char>(p[i])))
            return i;
    }
    return n;
}

#if defined(__SSE2__)
// The sixteen bytes at p, and a bit for each of them that the test marks.
template <class Test>
inline unsigned Marked(const char* p, Test&& test)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return static_cast<unsigned>(_mm_movemask_epi8(test(bytes)));
}
#endif

} // namespace byte_search

/// Where the byte first occurs in the n bytes at p, or n.
inline std::size_t FindByte(const char* p, std::size_t n, char c)
{
    const auto block = [c]([[maybe_unused]] const char* at) {
#if defined(__SSE2__)
        return byte_search::Marked(at,
                                   [c](__m128i bytes) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); });
#else
        return 0u; // never called without SSE2
#endif
    };
    return byte_search::FirstSought(p, n, block,
                                    [c](unsigned char b) { return b == static_cast<unsigned char>(c); });
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
/// runs.
template <PlainRun kind>
inline std::size_t PlainRunEnd(const char* p, std::size_t n)
{
    const auto block = []([[maybe_unused]] const char* at) {
#if defined(__SSE2__)
        return byte_search::Marked(at, [](__m128i bytes) {
            const auto is = [&bytes](char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
            __m128i out = _mm_or_si128(_mm_or_si128(is('"'), is('&')), is('\\'));
            // Compared as signed bytes, those above 127 are below zero.
            if constexpr (kind == PlainRun::Ascii)
                out = _mm_or_si128(out, _mm_cmplt_epi8(bytes, _mm_setzero_si128()));
            if constexpr (kind == PlainRun::Printable)
                out = _mm_or_si128(out, _mm_cmplt_epi8(bytes, _mm_set1_epi8(' ')));
            return out;
        });
#else
        return 0u; // never called without SSE2
#endif
    };
    return byte_search::FirstSought(p, n, block, [](unsigned char b) {
        return b == '"' || b == '&' || b == '\\' || (kind == PlainRun::Ascii && b >= 0x80) ||
               (kind == PlainRun::Printable && (b < ' ' || b >= 0x80));
    });
}

/// Where the first byte that a script line's code view may change stands in
/// the n bytes at p, or n: a quote, a slash (a comment), a hash (a
/// directive) or a lower-case letter (a keyword written in lower case).
inline std::size_t CodeSpecialEnd(const char* p, std::size_t n)
{
    const auto block = []([[maybe_unused]] const char* at) {
#if defined(__SSE2__)
        return byte_search::Marked(at, [](__m128i bytes) {
            const auto is = [&bytes](char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
            // a..z: above '`' and below '{', compared as signed bytes.
            const __m128i lower = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('`')),
                                                _mm_cmplt_epi8(bytes, _mm_set1_epi8('{')));
            return _mm_or_si128(_mm_or_si128(is('"'), is('/')), _mm_or_si128(is('#'), lower));
        });
#else
        return 0u; // never called without SSE2
#endif
    };
    return byte_search::FirstSought(p, n, block, [](unsigned char b) {
        return b == '"' || b == '/' || b == '#' || (b >= 'a' && b <= 'z');
    });
}

/// Where the first quote or backslash stands in the n bytes at p (with
/// highBytes, also the first byte above 127, which may start a character of
/// two bytes), or n: the places where a literal may end.
inline std::size_t LiteralSpecialEnd(const char* p, std::size_t n, bool highBytes)
{
    const auto block = [highBytes]([[maybe_unused]] const char* at) {
#if defined(__SSE2__)
        return byte_search::Marked(at, [highBytes](__m128i bytes) {
            const auto is = [&bytes](char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
            __m128i out = _mm_or_si128(is('"'), is('\\'));
            if (highBytes)
                out = _mm_or_si128(out, _mm_cmplt_epi8(bytes, _mm_setzero_si128()));
            return out;
        });
#else
        return 0u; // never called without SSE2
#endif
    };
    return byte_search::FirstSought(p, n, block, [highBytes](unsigned char b) {
        return b == '"' || b == '\\' || (highBytes && b >= 0x80);
    });
}
