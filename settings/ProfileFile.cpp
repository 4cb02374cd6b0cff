#include "settings/ProfileFile.h"

#include "dictionary/LineFile.h"
#include "dictionary/TextRules.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// The file as lines, each with its own line end, so that a rewrite gives
// back every other line byte for byte. Reading and writing both look at
// the file through this one parse, so a value just written reads back
// whatever else the file holds (a lone "[", a NUL byte, lone carriage
// returns, a key or a section met twice).
struct ProfileLine
{
    std::string text;
    std::string end; // "\r\n", "\n", "\r" or "" for a last line without one
};

std::vector<ProfileLine> ParseLines(std::string_view bytes)
{
    std::vector<ProfileLine> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t stop = bytes.find_first_of("\r\n", start);
        if (stop == std::string::npos) {
            lines.push_back({std::string(bytes.substr(start)), {}});
            break;
        }
        const std::size_t endSize =
            bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n' ? 2 : 1;
        lines.push_back(
            {std::string(bytes.substr(start, stop - start)), std::string(bytes.substr(stop, endSize))});
        start = stop + endSize;
    }
    return lines;
}

bool ReadFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream out;
    out << in.rdbuf();
    bytes = out.str();
    return true;
}

// "[name]" on a line: the name is everything between the first "[" and the
// last "]", so that a dictionary path holding "]" is a section name too.
bool SectionName(std::string_view line, std::string_view& name)
{
    line = TrimBlanksAndTabs(line);
    if (line.size() < 2 || line.front() != '[')
        return false;
    const std::size_t close = line.rfind(']');
    if (close == 0)
        return false;
    name = TrimBlanksAndTabs(line.substr(1, close - 1));
    return true;
}

bool KeyName(std::string_view line, std::string_view& name)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    name = TrimBlanksAndTabs(line.substr(0, eq));
    return !name.empty() && name.front() != ';' && name.front() != '#';
}

// Where a key stands: the first section of that name, the first key of that
// name in it, and the section's last non-blank line. Positions are
// lines.size() when absent.
struct Place
{
    std::size_t section;
    std::size_t key;
    std::size_t lastOfSection;
};

Place Locate(const std::vector<ProfileLine>& lines, std::string_view section, std::string_view key)
{
    Place place{lines.size(), lines.size(), lines.size()};
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view name;
        if (SectionName(lines[i].text, name)) {
            if (inSection)
                break;
            if (EqualsNoCase(name, section)) {
                inSection = true;
                place.section = i;
                place.lastOfSection = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!TrimBlanksAndTabs(lines[i].text).empty())
            place.lastOfSection = i;
        if (place.key == lines.size() && KeyName(lines[i].text, name) && EqualsNoCase(name, key))
            place.key = i;
    }
    return place;
}

// The value of a key line: after the "=", without blanks around it.
std::string ValueOf(std::string_view line)
{
    return std::string(TrimBlanksAndTabs(line.substr(line.find('=') + 1)));
}

} // namespace

int ParseSettingInt(std::string_view text)
{
    return ParseIntPrefix(text);
}

bool ProfileFile::Exists() const
{
    std::error_code ec;
    return std::filesystem::is_regular_file(m_path, ec);
}

std::string ProfileFile::ReadFromText(std::string_view text, std::string_view section, std::string_view key,
                                      std::string_view defaultText)
{
    std::string value(defaultText);
    const std::vector<ProfileLine> lines = ParseLines(text);
    const Place place = Locate(lines, section, key);
    if (place.key < lines.size())
        value = ValueOf(lines[place.key].text);
    if (value.size() > kMaxValue)
        value.resize(kMaxValue);
    return value;
}

std::string ProfileFile::RewriteText(std::string_view text, std::string_view section, std::string_view key,
                                     const std::string* value)
{
    std::vector<ProfileLine> lines = ParseLines(text);
    // New lines take the line end the file uses; a last line without one
    // gets it before anything is added after it.
    const std::string usual = !lines.empty() && !lines.front().end.empty() ? lines.front().end : "\n";
    const Place place = Locate(lines, section, key);

    const std::string entry = std::string(key) + "=" + (value ? *value : std::string());
    if (!value) {
        if (place.key < lines.size())
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(place.key));
    } else if (place.key < lines.size()) {
        lines[place.key].text = entry;
    } else {
        if (!lines.empty() && lines.back().end.empty())
            lines.back().end = usual;
        if (place.section < lines.size()) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(place.lastOfSection) + 1,
                         {entry, usual});
        } else {
            if (!lines.empty() && !TrimBlanksAndTabs(lines.back().text).empty())
                lines.push_back({std::string(), usual});
            lines.push_back({"[" + std::string(section) + "]", usual});
            lines.push_back({entry, usual});
        }
    }
    std::string out;
    out.reserve(text.size() + entry.size() + 8);
    for (const ProfileLine& line : lines)
        out.append(line.text).append(line.end);
    return out;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultText) const
{
    std::string bytes;
    if (!ReadFile(m_path, bytes))
        bytes.clear();
    return ReadFromText(bytes, section, key, defaultText);
}

int ProfileFile::ReadInt(std::string_view section, std::string_view key, int defaultValue) const
{
    return ParseSettingInt(ReadString(section, key, std::to_string(defaultValue)));
}

bool ProfileFile::HasKey(std::string_view section, std::string_view key) const
{
    std::string bytes;
    if (!ReadFile(m_path, bytes))
        return false;
    const std::vector<ProfileLine> lines = ParseLines(bytes);
    return Locate(lines, section, key).key < lines.size();
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) const
{
    const std::string v(value);
    return Rewrite(section, key, &v);
}

bool ProfileFile::WriteInt(std::string_view section, std::string_view key, int value) const
{
    return WriteString(section, key, std::to_string(value));
}

bool ProfileFile::DeleteKey(std::string_view section, std::string_view key) const
{
    return Rewrite(section, key, nullptr);
}

bool ProfileFile::Rewrite(std::string_view section, std::string_view key, const std::string* value) const
{
    std::string bytes;
    ReadFile(m_path, bytes);
    const std::string text = RewriteText(bytes, section, key, value);
    if (!value && text == bytes)
        return true; // nothing to remove
    LineFile out;
    if (!out.OpenForWriting(m_path, nullptr))
        return false;
    out.WriteRaw(text.data(), text.size());
    return out.Close();
}
