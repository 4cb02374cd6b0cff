#include "settings/Settings.h"

#include <array>

namespace {

struct KeyInfo
{
    const char* section;
    const char* key;
    const char* defaultText;
};

constexpr std::array<KeyInfo, 9> kFlags{{
    {"General", "Reload", "0"},
    {"General", "Center", "1"},
    {"General", "UpdateTree", "0"},
    {"General", "AskExtract", "1"},
    {"General", "ShowRectangle", "1"},
    {"General", "ShowTexture", "1"},
    {"Interface", "Dictionary", "0"},
    {"Interface", "FindInResource", "0"},
    {"Interface", "Main_maximized", "0"},
}};

constexpr std::array<KeyInfo, 14> kIntegers{{
    {"Interface", "Split_cx", "230"},
    {"Interface", "SelTab", "0"},
    {"Interface", "Dictionary_left", "-1"},
    {"Interface", "Dictionary_top", "-1"},
    {"Interface", "Entity_dic_left", "0"},
    {"Interface", "Entity_dic_top", "0"},
    {"Interface", "Main_left", "-1"},
    {"Interface", "Main_top", "-1"},
    {"Interface", "Main_width", "-1"},
    {"Interface", "Main_height", "-1"},
    {"Interface", "Dictionary_width", "-1"},
    {"Interface", "Dictionary_height", "-1"},
    {"Interface", "Check_width", "-1"},
    {"Interface", "Check_height", "-1"},
}};

constexpr std::array<KeyInfo, 6> kColours{{
    {"Color", "OddLineColor", "16777215"},
    {"Color", "EvenLineColor", "12632256"},
    {"Color", "DialogColor", "16777215"},
    {"Color", "MenuColor", "12632256"},
    {"Color", "StringtableColor", "8421504"},
    {"Color", "RectangleColor", "255"},
}};

constexpr std::array<KeyInfo, 1> kTexts{{
    {"General", "MainViewTexture", "BACKGROUND_ORANGE"},
}};

constexpr std::array<KeyInfo, 6> kDictionaryKeys{{
    {"", "OriginalFont", ""},
    {"", "TranslationFont", ""},
    {"", "SetFontLists", "0"},
    {"", "SetFontPreviews", "0"},
    {"", "SelTreeItem", ""},
    {"", "Language", ""},
}};

constexpr std::array<const char*, 3> kHistorySections{"Find", "Replace", "FindInResources"};

template <class Table, class Key>
const KeyInfo& Info(const Table& table, Key key)
{
    return table[static_cast<std::size_t>(key)];
}

} // namespace

const char* const Settings::kParametersSection = "Parameters";

bool Settings::Get(Flag flag) const
{
    const KeyInfo& k = Info(kFlags, flag);
    return ParseSettingInt(m_file.ReadString(k.section, k.key, k.defaultText)) != 0;
}

bool Settings::Set(Flag flag, bool on) const
{
    const KeyInfo& k = Info(kFlags, flag);
    return m_file.WriteInt(k.section, k.key, on ? 1 : 0);
}

int Settings::Get(Integer key) const
{
    const KeyInfo& k = Info(kIntegers, key);
    return ParseSettingInt(m_file.ReadString(k.section, k.key, k.defaultText));
}

bool Settings::Set(Integer key, int value) const
{
    const KeyInfo& k = Info(kIntegers, key);
    return m_file.WriteInt(k.section, k.key, value);
}

std::uint32_t Settings::Get(Colour key) const
{
    const KeyInfo& k = Info(kColours, key);
    return static_cast<std::uint32_t>(ParseSettingInt(m_file.ReadString(k.section, k.key, k.defaultText)));
}

bool Settings::Set(Colour key, std::uint32_t colour) const
{
    const KeyInfo& k = Info(kColours, key);
    return m_file.WriteString(k.section, k.key, std::to_string(colour));
}

std::string Settings::Get(Text key) const
{
    const KeyInfo& k = Info(kTexts, key);
    return m_file.ReadString(k.section, k.key, k.defaultText);
}

bool Settings::Set(Text key, const std::string& value) const
{
    const KeyInfo& k = Info(kTexts, key);
    return m_file.WriteString(k.section, k.key, value);
}

std::vector<std::string> Settings::Get(History history) const
{
    const std::string section = kHistorySections[static_cast<std::size_t>(history)];
    std::vector<std::string> entries;
    for (int i = 1; i <= 10; ++i) {
        std::string value = m_file.ReadString(section, section + std::to_string(i), "");
        if (!value.empty())
            entries.push_back(std::move(value));
    }
    return entries;
}

bool Settings::Set(History history, const std::vector<std::string>& entries) const
{
    const std::string section = kHistorySections[static_cast<std::size_t>(history)];
    bool ok = true;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].empty())
            ok = m_file.WriteString(section, section + std::to_string(i + 1), entries[i]) && ok;
    }
    return ok;
}

std::string Settings::Get(const std::string& dicPath, DictionaryKey key) const
{
    const KeyInfo& k = Info(kDictionaryKeys, key);
    return m_file.ReadString(dicPath, k.key, k.defaultText);
}

bool Settings::Set(const std::string& dicPath, DictionaryKey key, const std::string& value) const
{
    return m_file.WriteString(dicPath, Info(kDictionaryKeys, key).key, value);
}

bool Settings::HasFirstLaunchMark() const
{
    return m_file.HasKey(kParametersSection, "FirstLaunch");
}

bool Settings::ClearFirstLaunchMark() const
{
    return m_file.DeleteKey(kParametersSection, "FirstLaunch");
}

bool Settings::SetFirstLaunchMark() const
{
    return m_file.WriteString(kParametersSection, "FirstLaunch", "1");
}

int Settings::SuppressedCategories() const
{
    return m_file.ReadInt(kParametersSection, "grpDisabled", 0);
}

bool Settings::SetSuppressedCategories(int mask) const
{
    return m_file.WriteInt(kParametersSection, "grpDisabled", mask);
}
