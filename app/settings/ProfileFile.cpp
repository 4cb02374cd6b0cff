#include "app/settings/ProfileFile.h"

#include "dictionary/LineFile.h"
#include "dictionary/TextRules.h"

// Bytes in, bytes out: the settings file is read without any conversion.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// "[name]" on a line: the name, or nothing.
bool SectionName(std::string_view line, std::string_view& name)
{
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[')
        return false;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos)
        return false;
    name = Trim(line.substr(1, close - 1));
    return true;
}

bool KeyName(std::string_view line, std::string_view& name)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    name = Trim(line.substr(0, eq));
    return !name.empty() && name.front() != ';' && name.front() != '#';
}

bool LoadIni(const std::string& path, CSimpleIniA& ini)
{
    // Section and key names compare without regard to case; a key met
    // twice keeps its first value, as the private-profile calls read it.
    ini.SetUnicode(false);
    ini.SetMultiKey(true);
    ini.SetMultiLine(false);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string data = bytes.str();
    return ini.LoadData(data.data(), data.size()) >= 0;
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

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultText) const
{
    CSimpleIniA ini;
    std::string value(defaultText);
    if (LoadIni(m_path, ini)) {
        const std::string s(section), k(key);
        if (const char* found = ini.GetValue(s.c_str(), k.c_str(), nullptr))
            value = found;
    }
    if (value.size() > kMaxValue)
        value.resize(kMaxValue);
    return value;
}

int ProfileFile::ReadInt(std::string_view section, std::string_view key, int defaultValue) const
{
    return ParseSettingInt(ReadString(section, key, std::to_string(defaultValue)));
}

bool ProfileFile::HasKey(std::string_view section, std::string_view key) const
{
    CSimpleIniA ini;
    if (!LoadIni(m_path, ini))
        return false;
    const std::string s(section), k(key);
    return ini.GetValue(s.c_str(), k.c_str(), nullptr) != nullptr;
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
    // Read every line as it is, with its own line end.
    std::vector<std::pair<std::string, LineFile::LineEnd>> lines;
    LineFile::LineEnd usual = LineFile::LineEnd::Lf;
    {
        LineFile in;
        if (in.OpenForReading(m_path)) {
            std::string line;
            for (auto n = in.ReadFirstLine(line); n >= 0; n = in.ReadLine(line)) {
                lines.emplace_back(line, in.LastLineEnd());
                if (lines.size() == 1 && in.LastLineEnd() != LineFile::LineEnd::None)
                    usual = in.LastLineEnd();
            }
        }
    }
    if (!lines.empty() && lines.back().second == LineFile::LineEnd::None)
        lines.back().second = usual;

    // Find the section, the key in it, and the last line of the section.
    std::size_t sectionLine = lines.size();
    std::size_t keyLine = lines.size();
    std::size_t lastOfSection = lines.size();
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view name;
        if (SectionName(lines[i].first, name)) {
            if (inSection)
                break;
            if (EqualsNoCase(name, section)) {
                inSection = true;
                sectionLine = i;
                lastOfSection = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!Trim(lines[i].first).empty())
            lastOfSection = i;
        if (keyLine == lines.size() && KeyName(lines[i].first, name) && EqualsNoCase(name, key))
            keyLine = i;
    }

    const std::string entry = std::string(key) + "=" + (value ? *value : std::string());
    if (!value) {
        if (keyLine == lines.size())
            return true; // nothing to remove
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(keyLine));
    } else if (keyLine < lines.size()) {
        lines[keyLine].first = entry;
    } else if (sectionLine < lines.size()) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastOfSection) + 1, {entry, usual});
    } else {
        if (!lines.empty() && !Trim(lines.back().first).empty())
            lines.emplace_back(std::string(), usual);
        lines.emplace_back("[" + std::string(section) + "]", usual);
        lines.emplace_back(entry, usual);
    }

    LineFile out;
    if (!out.OpenForWriting(m_path, nullptr))
        return false;
    for (const auto& [text, end] : lines)
        out.WriteLine(text, end);
    return out.Close();
}
