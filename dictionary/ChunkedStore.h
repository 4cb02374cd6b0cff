#pragma once

#include <bit>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

/// A sequence whose elements never move once added. They live in chunks
/// that double in size from 8 elements up to 1,024, so that a small map
/// (a script with a few texts) takes little memory and a large one asks the
/// system for memory once per thousand elements.
template <class T>
class ChunkedStore
{
public:
    ChunkedStore() = default;
    ~ChunkedStore() { clear(); }
    ChunkedStore(const ChunkedStore&) = delete;
    ChunkedStore& operator=(const ChunkedStore&) = delete;
    ChunkedStore(ChunkedStore&& other) noexcept
        : m_chunks(std::move(other.m_chunks)), m_size(std::exchange(other.m_size, 0))
    {
    }
    ChunkedStore& operator=(ChunkedStore&& other) noexcept
    {
        if (this != &other) {
            clear();
            m_chunks = std::move(other.m_chunks);
            m_size = std::exchange(other.m_size, 0);
        }
        return *this;
    }

    std::size_t size() const { return m_size; }

    T& operator[](std::size_t i) { return m_chunks[ChunkOf(i)][OffsetOf(i)]; }
    const T& operator[](std::size_t i) const { return m_chunks[ChunkOf(i)][OffsetOf(i)]; }

    T& emplace_back(T&& value)
    {
        const std::size_t chunk = ChunkOf(m_size);
        if (chunk == m_chunks.size())
            m_chunks.push_back(std::allocator<T>().allocate(ChunkSize(chunk)));
        T* slot = m_chunks[chunk] + OffsetOf(m_size);
        ::new (static_cast<void*>(slot)) T(std::move(value));
        ++m_size;
        return *slot;
    }

    void clear()
    {
        for (std::size_t i = 0; i < m_size; ++i)
            (*this)[i].~T();
        for (std::size_t c = 0; c < m_chunks.size(); ++c)
            std::allocator<T>().deallocate(m_chunks[c], ChunkSize(c));
        m_chunks.clear();
        m_size = 0;
    }

private:
    static constexpr std::size_t kFirst = 8;
    static constexpr std::size_t kLargest = 1024;
    // Chunk c holds 8 << c elements up to chunk 7, then 1,024 each.
    static constexpr std::size_t kGrowing = 7;
    static constexpr std::size_t kGrowingEnd = kFirst * ((std::size_t(1) << kGrowing) - 1); // 1,016

    static std::size_t ChunkSize(std::size_t c) { return c < kGrowing ? kFirst << c : kLargest; }
    static std::size_t ChunkOf(std::size_t i)
    {
        if (i >= kGrowingEnd)
            return kGrowing + (i - kGrowingEnd) / kLargest;
        return static_cast<std::size_t>(std::bit_width(i / kFirst + 1)) - 1;
    }
    static std::size_t OffsetOf(std::size_t i)
    {
        if (i >= kGrowingEnd)
            return (i - kGrowingEnd) % kLargest;
        const std::size_t c = ChunkOf(i);
        return i - kFirst * ((std::size_t(1) << c) - 1);
    }

    std::vector<T*> m_chunks;
    std::size_t m_size = 0;
};
