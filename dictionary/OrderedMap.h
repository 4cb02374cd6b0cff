#pragma once

#include "dictionary/ChunkedStore.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// The bytes of a map's keys, packed one after the other in blocks that
/// never move: a key costs no allocation of its own and no header, and the
/// keys of a map go away with it at once.
class KeyBytes
{
public:
    KeyBytes() = default;
    KeyBytes(const KeyBytes&) = delete;
    KeyBytes& operator=(const KeyBytes&) = delete;
    // The blocks go to the new owner; the one moved from starts afresh
    // rather than go on filling a block it no longer owns.
    KeyBytes(KeyBytes&& other) noexcept
        : m_blocks(std::move(other.m_blocks)), m_next(other.m_next), m_left(other.m_left),
          m_blockSize(other.m_blockSize)
    {
        other.Clear();
    }
    KeyBytes& operator=(KeyBytes&& other) noexcept
    {
        if (this != &other) {
            m_blocks = std::move(other.m_blocks);
            m_next = other.m_next;
            m_left = other.m_left;
            m_blockSize = other.m_blockSize;
            other.Clear();
        }
        return *this;
    }

    std::string_view Store(std::string_view key)
    {
        if (key.size() > m_left) {
            // Blocks double from 256 bytes to 4 kB, small enough for the
            // allocator to keep for the next map when this one goes (larger
            // ones went back to the system and were paged in again); a
            // longer key has a block of its own.
            m_blockSize = std::min<std::size_t>(m_blockSize * 2, kLargest);
            const std::size_t size = std::max(m_blockSize, key.size());
            m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
            m_next = m_blocks.back().get();
            m_left = size;
        }
        char* stored = m_next;
        if (!key.empty())
            std::memcpy(stored, key.data(), key.size());
        m_next += key.size();
        m_left -= key.size();
        return {stored ? stored : "", key.size()};
    }
    void Clear()
    {
        m_blocks.clear();
        m_next = nullptr;
        m_left = 0;
        m_blockSize = kFirst / 2;
    }

private:
    static constexpr std::size_t kFirst = 256;
    static constexpr std::size_t kLargest = 4 * 1024;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_next = nullptr;
    std::size_t m_left = 0;
    std::size_t m_blockSize = kFirst / 2;
};

/// A hash map from string to V that iterates in insertion order.
///
/// The stores are written back in the order of their maps, so keeping the
/// insertion order makes a loaded and saved dictionary come out byte for byte
/// as it went in. Entries live in chunks (their addresses never move while
/// entries are added), their keys in blocks of bytes of the map's own, and
/// erased entries are compacted away once they outnumber the live ones. The
/// index is one flat array of slots with linear probing, each slot 32 bits
/// of the key's hash and the entry's number: no allocation per entry, and a
/// probe compares keys only when the hashes agree.
template <class V>
class OrderedMap
{
public:
    struct Entry
    {
        /// Held by the map; valid as long as the entry is.
        std::string_view key;
        V value;
        /// An erased entry stays in its place, dead, until the map compacts.
        bool Live() const { return key.data() != nullptr; }
    };

    // Iteration skips erased entries.
    template <class Store, class E>
    class BasicIterator
    {
    public:
        BasicIterator(Store* store, std::size_t at) : m_store(store), m_at(at) { Skip(); }
        E& operator*() const { return (*m_store)[m_at]; }
        E* operator->() const { return &(*m_store)[m_at]; }
        BasicIterator& operator++()
        {
            ++m_at;
            Skip();
            return *this;
        }
        bool operator==(const BasicIterator& other) const { return m_at == other.m_at; }

    private:
        void Skip()
        {
            while (m_at < m_store->size() && !(*m_store)[m_at].Live())
                ++m_at;
        }
        Store* m_store;
        std::size_t m_at;
    };
    using Iterator = BasicIterator<ChunkedStore<Entry>, Entry>;
    using ConstIterator = BasicIterator<const ChunkedStore<Entry>, const Entry>;

    OrderedMap() = default;
    OrderedMap(const OrderedMap&) = delete;
    OrderedMap& operator=(const OrderedMap&) = delete;
    OrderedMap(OrderedMap&& other) noexcept
        : m_entries(std::move(other.m_entries)), m_keys(std::move(other.m_keys)),
          m_slots(std::move(other.m_slots)), m_live(std::exchange(other.m_live, 0)),
          m_dead(std::exchange(other.m_dead, 0))
    {
        other.m_slots.clear();
    }
    OrderedMap& operator=(OrderedMap&& other) noexcept
    {
        if (this != &other) {
            m_entries = std::move(other.m_entries);
            m_keys = std::move(other.m_keys);
            m_slots = std::move(other.m_slots);
            other.m_slots.clear();
            m_live = std::exchange(other.m_live, 0);
            m_dead = std::exchange(other.m_dead, 0);
        }
        return *this;
    }

    std::size_t Size() const { return m_live; }
    bool Empty() const { return m_live == 0; }

    V* Find(std::string_view key)
    {
        const std::size_t slot = FindSlot(key, Hash(key));
        return slot == kNone ? nullptr : &m_entries[EntryOf(m_slots[slot])].value;
    }
    const V* Find(std::string_view key) const
    {
        const std::size_t slot = FindSlot(key, Hash(key));
        return slot == kNone ? nullptr : &m_entries[EntryOf(m_slots[slot])].value;
    }
    /// Finds the key, looking first at the entry after the one this cursor
    /// found last. Keys looked up in the order they were inserted (a script
    /// read again in the order its texts were added) are then found without
    /// hashing and without a random probe of the index; any other key costs
    /// one comparison more than Find.
    const V* FindAfter(std::string_view key, std::size_t& cursor) const
    {
        if (cursor < m_entries.size()) {
            const Entry& next = m_entries[cursor];
            if (next.Live() && next.key == key) {
                ++cursor;
                return &next.value;
            }
        }
        const std::size_t slot = FindSlot(key, Hash(key));
        if (slot == kNone)
            return nullptr;
        const std::size_t at = EntryOf(m_slots[slot]);
        cursor = at + 1;
        return &m_entries[at].value;
    }
    bool Contains(std::string_view key) const
    {
        // An empty map is not worth hashing the key for.
        return m_live != 0 && FindSlot(key, Hash(key)) != kNone;
    }

    /// Inserts the pair unless the key is present; an existing value is kept.
    /// Returns the value now stored and whether it was inserted.
    std::pair<V*, bool> Insert(std::string_view key, V value)
    {
        const std::uint32_t hash = Hash(key);
        if (const std::size_t slot = FindSlot(key, hash); slot != kNone)
            return {&m_entries[EntryOf(m_slots[slot])].value, false};
        Entry& e = m_entries.emplace_back(Entry{m_keys.Store(key), std::move(value)});
        Place(hash, m_entries.size() - 1);
        return {&e.value, true};
    }

    /// Inserts make() under the key unless the key is present; the value is
    /// made only when it is inserted, and the key is hashed once.
    template <class Make>
    std::pair<V*, bool> InsertWith(std::string_view key, Make make)
    {
        const std::uint32_t hash = Hash(key);
        if (const std::size_t slot = FindSlot(key, hash); slot != kNone)
            return {&m_entries[EntryOf(m_slots[slot])].value, false};
        Entry& e = m_entries.emplace_back(Entry{m_keys.Store(key), make()});
        Place(hash, m_entries.size() - 1);
        return {&e.value, true};
    }

    /// Sets the value of the key, inserting it at the end when absent.
    V& Assign(std::string_view key, V value)
    {
        if (V* existing = Find(key)) {
            *existing = std::move(value);
            return *existing;
        }
        return *Insert(key, std::move(value)).first;
    }

    bool Erase(std::string_view key)
    {
        const std::size_t slot = FindSlot(key, Hash(key));
        if (slot == kNone)
            return false;
        Entry& e = m_entries[EntryOf(m_slots[slot])];
        RemoveSlot(slot);
        e.key = std::string_view();
        e.value = V();
        if (++m_dead > 64 && m_dead > m_live)
            Compact();
        return true;
    }

    void Clear()
    {
        m_slots.clear();
        m_entries.clear();
        m_keys.Clear();
        m_live = 0;
        m_dead = 0;
    }

    void Reserve(std::size_t n)
    {
        if (SlotsFor(n) > m_slots.size())
            Rehash(SlotsFor(n));
    }

    Iterator begin() { return Iterator(&m_entries, 0); }
    Iterator end() { return Iterator(&m_entries, m_entries.size()); }
    ConstIterator begin() const { return ConstIterator(&m_entries, 0); }
    ConstIterator end() const { return ConstIterator(&m_entries, m_entries.size()); }

private:
    static constexpr std::size_t kNone = ~std::size_t(0);

    // 32 bits of a fast hash of the key, eight bytes at a time.
    static std::uint32_t Hash(std::string_view key)
    {
        std::uint64_t h = 0x9E3779B97F4A7C15ull ^ key.size();
        const char* p = key.data();
        std::size_t n = key.size();
        for (; n >= 8; p += 8, n -= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
            h ^= h >> 31;
        }
        // The last bytes, as a copy of them into a cleared word would give,
        // in loads of known length: a copy of unknown length is a library
        // call. A key of eight bytes or more gives them in one load of its
        // last eight, a shorter one in two overlapping loads.
        std::uint64_t tail = 0;
        if (n != 0 && key.size() >= 8) {
            std::memcpy(&tail, key.data() + key.size() - 8, 8);
            tail >>= (8 - n) * 8;
        } else if (n >= 4) {
            std::uint32_t first = 0;
            std::uint32_t last = 0;
            std::memcpy(&first, p, 4);
            std::memcpy(&last, p + n - 4, 4);
            tail = first | (std::uint64_t(last) << (8 * (n - 4)));
        } else if (n != 0) {
            const auto byte = [p](std::size_t i) {
                return std::uint64_t(static_cast<unsigned char>(p[i])) << (8 * i);
            };
            tail = byte(0) | byte(n / 2) | byte(n - 1);
        }
        h = (h ^ tail) * 0x94D049BB133111EBull;
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        return static_cast<std::uint32_t>(h >> 32);
    }
    static std::size_t EntryOf(std::uint64_t slot)
    {
        return static_cast<std::size_t>(slot & 0xFFFFFFFFu) - 1;
    }
    static std::uint32_t HashOf(std::uint64_t slot) { return static_cast<std::uint32_t>(slot >> 32); }
    // At most seven slots in ten are used.
    static std::size_t SlotsFor(std::size_t n)
    {
        std::size_t count = 16;
        while (count * 7 < n * 10)
            count *= 2;
        return count;
    }

    std::size_t FindSlot(std::string_view key, std::uint32_t hash) const
    {
        if (m_slots.empty())
            return kNone;
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const std::uint64_t slot = m_slots[i];
            if (slot == 0)
                return kNone;
            if (HashOf(slot) == hash && m_entries[EntryOf(slot)].key == key)
                return i;
        }
    }

    void Place(std::uint32_t hash, std::size_t entry)
    {
        if (SlotsFor(m_live + 1) > m_slots.size())
            Rehash(SlotsFor(m_live + 1));
        PlaceInto(m_slots, hash, entry);
        ++m_live;
    }

    static void PlaceInto(std::vector<std::uint64_t>& table, std::uint32_t hash, std::size_t entry)
    {
        const std::size_t mask = table.size() - 1;
        std::size_t i = hash & mask;
        while (table[i] != 0)
            i = (i + 1) & mask;
        table[i] = static_cast<std::uint64_t>(hash) << 32 | static_cast<std::uint64_t>(entry + 1);
    }

    void Rehash(std::size_t size)
    {
        std::vector<std::uint64_t> table(size, 0);
        for (std::uint64_t slot : m_slots) {
            if (slot != 0)
                PlaceInto(table, HashOf(slot), EntryOf(slot));
        }
        m_slots = std::move(table);
    }

    // Linear probing keeps no tombstones: the slots after the freed one that
    // belong before it move back.
    void RemoveSlot(std::size_t hole)
    {
        const std::size_t mask = m_slots.size() - 1;
        m_slots[hole] = 0;
        for (std::size_t j = (hole + 1) & mask; m_slots[j] != 0; j = (j + 1) & mask) {
            const std::size_t home = HashOf(m_slots[j]) & mask;
            // The slot stays when its home lies cyclically in (hole, j].
            const bool stays = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
            if (!stays) {
                m_slots[hole] = m_slots[j];
                m_slots[j] = 0;
                hole = j;
            }
        }
        --m_live;
    }

    void Compact()
    {
        ChunkedStore<Entry> kept;
        KeyBytes keys;
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].Live())
                kept.emplace_back(Entry{keys.Store(m_entries[i].key), std::move(m_entries[i].value)});
        }
        m_entries = std::move(kept);
        m_keys = std::move(keys);
        m_slots.assign(SlotsFor(m_entries.size()), 0);
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            PlaceInto(m_slots, Hash(m_entries[i].key), i);
        m_live = m_entries.size();
        m_dead = 0;
    }

    ChunkedStore<Entry> m_entries;
    KeyBytes m_keys;
    std::vector<std::uint64_t> m_slots;
    std::size_t m_live = 0;
    std::size_t m_dead = 0;
};
