#pragma once

#include <string>
#include <string_view>

// Layout constants shared by the four dictionary files. Every field is
// written between double quotes and nothing inside a field is escaped.

inline constexpr char kDicSeparator = '\xA4';

inline constexpr std::string_view kDicHeader = "General dictionary";
inline constexpr std::string_view kDicHeaderFrench = "Dictionnaire g\xE9n\xE9ral";
inline constexpr std::string_view kEntHeader = "Specific dictionary";
inline constexpr std::string_view kEntHeaderFrench = "Dictionnaire sp\xE9"
                                                     "cifique";
inline constexpr std::string_view kFilHeader = "List of files";
inline constexpr std::string_view kFilHeaderFrench = "Liste des fichiers";
inline constexpr std::string_view kNirHeader = "Not imported resources";

inline void AppendQuoted(std::string& out, std::string_view field)
{
    out += '"';
    out.append(field);
    out += '"';
}

/// Where the script path of a stored key ends: the "+" after the path's
/// ".rc" when there is one (a folder such as "Visual C++" holds a plus sign
/// of its own), else the key's first "+". npos when the key has no "+".
inline std::size_t ScriptPathEnd(std::string_view key)
{
    for (std::size_t at = key.find('+'); at != std::string_view::npos; at = key.find('+', at + 1)) {
        if (at >= 3 && key[at - 3] == '.' && (key[at - 2] | 0x20) == 'r' && (key[at - 1] | 0x20) == 'c')
            return at;
    }
    return key.find('+');
}
