#include "settings/FontDescription.h"

#include "settings/ProfileFile.h"

#include <vector>

std::optional<FontDescription> FontDescription::Parse(const std::string& text)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semicolon = text.find(';', start);
        fields.push_back(
            text.substr(start, semicolon == std::string::npos ? std::string::npos : semicolon - start));
        if (semicolon == std::string::npos)
            break;
        start = semicolon + 1;
    }
    if (fields.size() < 5 || fields[0].empty())
        return std::nullopt;
    FontDescription d;
    d.face = fields[0];
    d.size = ParseSettingInt(fields[1]);
    d.charset = ParseSettingInt(fields[2]);
    d.bold = ParseSettingInt(fields[3]) != 0;
    d.italic = ParseSettingInt(fields[4]) != 0;
    if (d.size <= 0)
        return std::nullopt;
    return d;
}

std::string FontDescription::Format() const
{
    return face + ";" + std::to_string(size) + ";" + std::to_string(charset) + ";" + (bold ? "1" : "0") +
           ";" + (italic ? "1" : "0");
}
