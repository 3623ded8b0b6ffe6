#include "page/section_arena.h"

#include <algorithm>
#include <cstdint>

void CSectionArena::SizeFor(size_t textSize) {
    m_chunkSize = MIN_CHUNK;
    m_maxChunk = std::clamp<size_t>(textSize / 8, MIN_CHUNK, size_t{8} << 20);
}

void* CSectionArena::Allocate(size_t size, size_t align) {
    auto p = reinterpret_cast<uintptr_t>(m_next);
    p = (p + align - 1) & ~(uintptr_t{align} - 1);
    if (!m_next || p + size > reinterpret_cast<uintptr_t>(m_end)) {
        const size_t chunk = std::max(m_chunkSize, size + align);
        m_chunkSize = std::min(m_chunkSize * 2, m_maxChunk);
        m_chunks.push_back(std::make_unique_for_overwrite<std::byte[]>(chunk));
        m_next = m_chunks.back().get();
        m_end = m_next + chunk;
        p = (reinterpret_cast<uintptr_t>(m_next) + align - 1) & ~(uintptr_t{align} - 1);
    }
    m_next = reinterpret_cast<std::byte*>(p + size);
    return reinterpret_cast<void*>(p);
}

void CSectionArena::Release() {
    m_chunks.clear();
    m_next = m_end = nullptr;
}
