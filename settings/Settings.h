#pragma once

#include "settings/ProfileFile.h"

#include <cstdint>
#include <string>
#include <vector>

/// Every setting of the program with its section, key and default, read
/// from and written to the settings file at the moment of use.
class Settings
{
public:
    enum class Flag
    {
        Reload,         // [General] reopen the last dictionary at start-up
        Center,         // [General] centre the "Texts of this resource" window
        UpdateTree,     // [General] keep the tree's translated icons up to date
        AskExtract,     // [General] ask before extracting changed scripts
        ShowRectangle,  // [General] frame untranslated texts in previews
        ShowTexture,    // [General] textured dialog backgrounds
        DictionaryOpen, // [Interface] Dictionary: the window was open at close
        FindInResource, // [Interface] the results window was open at close
        MainMaximized,  // [Interface] Main_maximized: the main window was maximised at close
    };
    enum class Integer
    {
        SplitCx,        // [Interface] Split_cx: width of the tree column
        SelTab,         // [Interface] selected preview tab
        DictionaryLeft, // [Interface] Dictionary_left (-1: never saved)
        DictionaryTop,  // [Interface] Dictionary_top
        EntityDicLeft,  // [Interface] Entity_dic_left
        EntityDicTop,   // [Interface] Entity_dic_top
        // Where the windows were at the last close (-1: never saved).
        MainLeft,         // [Interface] Main_left
        MainTop,          // [Interface] Main_top
        MainWidth,        // [Interface] Main_width
        MainHeight,       // [Interface] Main_height
        DictionaryWidth,  // [Interface] Dictionary_width
        DictionaryHeight, // [Interface] Dictionary_height
        CheckWidth,       // [Interface] Check_width: the checks' findings window
        CheckHeight,      // [Interface] Check_height
    };
    /// Colours are RGB colour references: red in the low byte.
    enum class Colour
    {
        OddLine,
        EvenLine,
        Dialog,
        Menu,
        Stringtable,
        Rectangle,
    };
    enum class Text
    {
        MainViewTexture, // [General] texture of the main view
    };
    enum class History
    {
        Find,
        Replace,
        FindInResources
    };
    /// Keys of the section named by a dictionary's full path.
    enum class DictionaryKey
    {
        OriginalFont,
        TranslationFont,
        SetFontLists,
        SetFontPreviews,
        SelTreeItem,
        Language ///< the translations' language for spelling ("fr_FR"; empty: none)
    };

    explicit Settings(std::string path) : m_file(std::move(path)) {}

    const ProfileFile& File() const { return m_file; }
    const std::string& Path() const { return m_file.Path(); }

    bool Get(Flag flag) const;
    bool Set(Flag flag, bool on) const;
    int Get(Integer key) const;
    bool Set(Integer key, int value) const;
    std::uint32_t Get(Colour key) const;
    bool Set(Colour key, std::uint32_t colour) const;
    std::string Get(Text key) const;
    bool Set(Text key, const std::string& value) const;

    /// Up to ten remembered entries, in key order, empty ones skipped.
    std::vector<std::string> Get(History history) const;
    /// Writes the entries under numbers 1, 2, ... (empty entries skipped);
    /// higher numbers already in the file stay.
    bool Set(History history, const std::vector<std::string>& entries) const;

    std::string Get(const std::string& dicPath, DictionaryKey key) const;
    bool Set(const std::string& dicPath, DictionaryKey key, const std::string& value) const;

    /// The shared library's own section.
    bool HasFirstLaunchMark() const;
    bool ClearFirstLaunchMark() const;
    bool SetFirstLaunchMark() const;
    int SuppressedCategories() const;
    bool SetSuppressedCategories(int mask) const;

    static const char* const kParametersSection;

private:
    ProfileFile m_file;
};
