// Memory for the sections parsed from one page text: handed out by bumping a
// pointer through chunks, freed all at once. The chunk size follows the page
// size, so that the unused end of the last chunk stays a small part of it.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class CSectionArena {
public:
    // Chunks from now on grow to about an eighth of a page of textSize bytes.
    void SizeFor(size_t textSize);
    void* Allocate(size_t size, size_t align);
    void Release();

private:
    std::vector<std::unique_ptr<std::byte[]>> m_chunks;
    std::byte* m_next = nullptr;
    std::byte* m_end = nullptr;
    size_t m_chunkSize = MIN_CHUNK;
    size_t m_maxChunk = MIN_CHUNK;
    static constexpr size_t MIN_CHUNK = 4096;
};
