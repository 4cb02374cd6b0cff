#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

/// A hash map from string to V that iterates in insertion order.
///
/// The stores are written back in the order of their maps, so keeping the
/// insertion order makes a loaded and saved dictionary come out byte for byte
/// as it went in. Entries live in a deque (their addresses never move while
/// entries are added), the hash index refers to the keys in place, and erased
/// entries are compacted away once they outnumber the live ones.
template <class V>
class OrderedMap
{
public:
    struct Entry
    {
        std::string key;
        V value;
        bool live = true;
    };

    class Iterator
    {
    public:
        Iterator(typename std::deque<Entry>::iterator it, typename std::deque<Entry>::iterator end)
            : m_it(it), m_end(end)
        {
            Skip();
        }
        Entry& operator*() const { return *m_it; }
        Entry* operator->() const { return &*m_it; }
        Iterator& operator++()
        {
            ++m_it;
            Skip();
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_it == other.m_it; }

    private:
        void Skip()
        {
            while (m_it != m_end && !m_it->live)
                ++m_it;
        }
        typename std::deque<Entry>::iterator m_it;
        typename std::deque<Entry>::iterator m_end;
    };

    class ConstIterator
    {
    public:
        ConstIterator(typename std::deque<Entry>::const_iterator it,
                      typename std::deque<Entry>::const_iterator end)
            : m_it(it), m_end(end)
        {
            Skip();
        }
        const Entry& operator*() const { return *m_it; }
        const Entry* operator->() const { return &*m_it; }
        ConstIterator& operator++()
        {
            ++m_it;
            Skip();
            return *this;
        }
        bool operator==(const ConstIterator& other) const { return m_it == other.m_it; }

    private:
        void Skip()
        {
            while (m_it != m_end && !m_it->live)
                ++m_it;
        }
        typename std::deque<Entry>::const_iterator m_it;
        typename std::deque<Entry>::const_iterator m_end;
    };

    OrderedMap() = default;
    OrderedMap(const OrderedMap&) = delete;
    OrderedMap& operator=(const OrderedMap&) = delete;
    OrderedMap(OrderedMap&& other) noexcept = default;
    OrderedMap& operator=(OrderedMap&& other) noexcept = default;

    std::size_t Size() const { return m_index.size(); }
    bool Empty() const { return m_index.empty(); }

    V* Find(std::string_view key)
    {
        auto it = m_index.find(key);
        return it == m_index.end() ? nullptr : &m_entries[it->second].value;
    }
    const V* Find(std::string_view key) const
    {
        auto it = m_index.find(key);
        return it == m_index.end() ? nullptr : &m_entries[it->second].value;
    }
    bool Contains(std::string_view key) const { return m_index.count(key) != 0; }

    /// Inserts the pair unless the key is present; an existing value is kept.
    /// Returns the value now stored and whether it was inserted.
    std::pair<V*, bool> Insert(std::string_view key, V value)
    {
        if (V* existing = Find(key))
            return {existing, false};
        Entry& e = m_entries.emplace_back(Entry{std::string(key), std::move(value), true});
        m_index.emplace(std::string_view(e.key), m_entries.size() - 1);
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
        auto it = m_index.find(key);
        if (it == m_index.end())
            return false;
        Entry& e = m_entries[it->second];
        m_index.erase(it);
        e.live = false;
        e.key = std::string();
        e.value = V();
        if (++m_dead > 64 && m_dead > m_index.size())
            Compact();
        return true;
    }

    void Clear()
    {
        m_index.clear();
        m_entries.clear();
        m_dead = 0;
    }

    void Reserve(std::size_t n) { m_index.reserve(n); }

    Iterator begin() { return Iterator(m_entries.begin(), m_entries.end()); }
    Iterator end() { return Iterator(m_entries.end(), m_entries.end()); }
    ConstIterator begin() const { return ConstIterator(m_entries.begin(), m_entries.end()); }
    ConstIterator end() const { return ConstIterator(m_entries.end(), m_entries.end()); }

private:
    void Compact()
    {
        std::deque<Entry> kept;
        for (Entry& e : m_entries) {
            if (e.live)
                kept.push_back(std::move(e));
        }
        m_entries = std::move(kept);
        m_index.clear();
        m_index.reserve(m_entries.size());
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            m_index.emplace(std::string_view(m_entries[i].key), i);
        m_dead = 0;
    }

    std::deque<Entry> m_entries;
    std::unordered_map<std::string_view, std::size_t> m_index;
    std::size_t m_dead = 0;
};
