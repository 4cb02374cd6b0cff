#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

/// Converts the dictionary's 8-bit texts to and from UTF-8 for display and
/// input. The stores never convert; only the layers that show or take texts
/// do, through one Codec (Windows-1252 unless told otherwise).
class Codec
{
public:
    explicit Codec(std::string codePage = "WINDOWS-1252");

    const std::string& CodePage() const { return m_codePage; }
    /// Whether the code page is known to the system's converter.
    bool IsValid() const;

    /// The bytes as UTF-8; bytes the code page does not define become U+FFFD.
    std::string ToUtf8(std::string_view bytes) const;
    /// The UTF-8 text in the code page; false (out untouched) when a
    /// character cannot be represented or the input is not UTF-8.
    bool FromUtf8(std::string_view utf8, std::string& out) const;

    static bool IsValidUtf8(std::string_view text);

private:
    // Single-byte code pages convert through tables built once.
    void BuildTables();

    std::string m_codePage;
    bool m_singleByte = false;
    std::string m_toUtf8[256];
    std::unordered_map<char32_t, char> m_fromUnicode;
};
