#include "page/tag_scan.h"

#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
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
