#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

/// The symbolic style names the preview understands, with the values the
/// Windows SDK gives them. Anything else in a style expression (unknown
/// names, numbers, parentheses) contributes nothing. Lookups are exact and
/// case-sensitive.
class StyleNameTable
{
public:
    StyleNameTable() { Fill(); }

    /// Empties the table and inserts the 87 known names.
    void Fill();
    void Clear() { m_values.clear(); }
    void Set(std::string_view name, std::uint32_t value) { m_values[std::string(name)] = value; }
    bool Lookup(std::string_view name, std::uint32_t& value) const;
    std::size_t Size() const { return m_values.size(); }

private:
    std::unordered_map<std::string, std::uint32_t> m_values;
};
