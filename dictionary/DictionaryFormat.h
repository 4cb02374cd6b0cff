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
