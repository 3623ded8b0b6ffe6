#include "page/tag_scan.h"

#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool NameAt(std::string_view text, size_t i, std::string_view name) {
    if (text.size() - i < name.size())
        return false;
    for (size_t k = 0; k < name.size(); ++k) {
        if ((text[i + k] | 0x20) != name[k])
            return false;
    }
    const size_t after = i + name.size();
    return after == text.size() || IsSpace(text[after]) || text[after] == '/' || text[after] == '>';
}

// The close look at a "<" at i.
bool PossibleTagAt(std::string_view text, size_t i, TagNameSet names) {
    const size_t n = text.size();
    ++i;
    while (i < n && IsSpace(text[i]))
        ++i;
    if (i < n && text[i] == '/')
        ++i;
    while (i < n && IsSpace(text[i]))
        ++i;
    if (i >= n)
        return false;
    return (names.meta && NameAt(text, i, "meta")) || (names.head && NameAt(text, i, "head")) ||
           (names.body && NameAt(text, i, "body"));
}

#if defined(__x86_64__) && defined(__GNUC__)
// Where each byte of c may begin a name sought (m, h, b: its first letter,
// or 0) or is white space (up to 0x20).
__attribute__((target("avx2"))) inline __m256i Starts(__m256i c, __m256i lower, __m256i m,
                                                      __m256i h, __m256i b) {
    const __m256i low = _mm256_or_si256(c, lower);
    const __m256i space = _mm256_cmpeq_epi8(_mm256_min_epu8(c, lower), c);
    return _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(low, m), _mm256_cmpeq_epi8(low, h)),
                           _mm256_or_si256(_mm256_cmpeq_epi8(low, b), space));
}

// The block loop of LastPossibleTag, thirty-two offsets at a time where the
// processor has AVX2 (most since 2013): the pages' bodies are most of what a
// site scan reads. Looks at the blocks below end down to from, as the SSE2
// loop does, and leaves end at the lowest offset looked at.
__attribute__((target("avx2"))) bool LastPossibleTagAvx2(std::string_view text, size_t from,
                                                         TagNameSet names, size_t& end,
                                                         size_t& found) {
    const char* s = text.data();
    const __m256i lt = _mm256_set1_epi8('<');
    const __m256i slash = _mm256_set1_epi8('/');
    const __m256i lower = _mm256_set1_epi8(0x20);
    const __m256i m = _mm256_set1_epi8(names.meta ? 'm' : 0);
    const __m256i h = _mm256_set1_epi8(names.head ? 'h' : 0);
    const __m256i b = _mm256_set1_epi8(names.body ? 'b' : 0);
    while (end >= from + 32) {
        const size_t block = end - 32;
        const __m256i c0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + block));
        // No branch on whether the block holds a "<" at all: in markup that
        // is a coin toss, and a missed guess costs more than the look.
        const unsigned lts = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(c0, lt)));
        const __m256i c1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + block + 1));
        const __m256i c2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + block + 2));
        const __m256i after = _mm256_or_si256(
            Starts(c1, lower, m, h, b),
            _mm256_and_si256(_mm256_cmpeq_epi8(c1, slash), Starts(c2, lower, m, h, b)));
        unsigned mask = lts & static_cast<unsigned>(_mm256_movemask_epi8(after));
        while (mask) {
            const unsigned bit = 31u - static_cast<unsigned>(__builtin_clz(mask));
            if (PossibleTagAt(text, block + bit, names)) {
                found = block + bit;
                return true;
            }
            mask &= ~(1u << bit);
        }
        end = block;
    }
    return false;
}

bool HasAvx2() {
    static const bool has = [] {
        __builtin_cpu_init(); // in case the first page is read before main
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}
#endif

} // namespace

size_t LastPossibleTag(std::string_view text, size_t from, TagNameSet names) {
    const char* s = text.data();
    size_t end = text.size(); // "<" at offsets before end are still to look at
    if (from >= end || !(names.meta || names.head || names.body))
        return std::string_view::npos;
#ifdef __SSE2__
    // Sixteen offsets at a time, from the end: a "<" is looked at closely only
    // when the byte after it (or after its "/") may begin a name sought, or is
    // white space. The loads reach two bytes past the block.
    const auto tail = [&](size_t stop) {
        while (end > stop) {
            --end;
            if (s[end] == '<' && PossibleTagAt(text, end, names))
                return true;
        }
        return false;
    };
    if (end - from >= 18) {
        if (tail(text.size() - 2))
            return end;
        const __m128i lt = _mm_set1_epi8('<');
        const __m128i slash = _mm_set1_epi8('/');
        const __m128i lower = _mm_set1_epi8(0x20);
        const __m128i m = _mm_set1_epi8(names.meta ? 'm' : 0);
        const __m128i h = _mm_set1_epi8(names.head ? 'h' : 0);
        const __m128i b = _mm_set1_epi8(names.body ? 'b' : 0);
        const auto starts = [&](__m128i c) {
            const __m128i low = _mm_or_si128(c, lower);
            const __m128i space = _mm_cmpeq_epi8(_mm_min_epu8(c, lower), c); // up to 0x20
            return _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(low, m), _mm_cmpeq_epi8(low, h)),
                                _mm_or_si128(_mm_cmpeq_epi8(low, b), space));
        };
#if defined(__x86_64__) && defined(__GNUC__)
        if (size_t found = 0; HasAvx2() && LastPossibleTagAvx2(text, from, names, end, found))
            return found;
#endif
        while (end >= from + 16) {
            const size_t block = end - 16;
            const __m128i c0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + block));
            const __m128i c1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + block + 1));
            const __m128i c2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + block + 2));
            const __m128i after =
                _mm_or_si128(starts(c1), _mm_and_si128(_mm_cmpeq_epi8(c1, slash), starts(c2)));
            unsigned mask = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(c0, lt), after)));
            while (mask) {
                const unsigned bit = 31u - static_cast<unsigned>(__builtin_clz(mask));
                if (PossibleTagAt(text, block + bit, names))
                    return block + bit;
                mask &= ~(1u << bit);
            }
            end = block;
        }
    }
#endif
    while (end > from) {
        const void* lt = memrchr(s + from, '<', end - from);
        if (!lt)
            break;
        end = static_cast<size_t>(static_cast<const char*>(lt) - s);
        if (PossibleTagAt(text, end, names))
            return end;
    }
    return std::string_view::npos;
}
