#pragma once

#include "tessary/TessaryExport.h"

#include <QString>

/// The library's own strings, in English, French and German; the language
/// of the running system picks the table.
namespace TessaryStrings {

enum Language
{
    English,
    French,
    German
};

/// The language used: the system's, unless set for tests.
TESSARY_EXPORT Language CurrentLanguage();
TESSARY_EXPORT void SetLanguage(Language language);
TESSARY_EXPORT void UseSystemLanguage();

/// The string of that number in the current language ("" when unknown).
TESSARY_EXPORT QString Load(int id);

// Numbers of the strings.
enum : int
{
    ButtonBase = 40003,   // + button identifier: 40004 "&Ok" ... 40010 "&No"
    CategoryBase = 40010, // + category: 40011 "Information message" ... 40017 "%s message"
    ConfirmUninstall = 40021,
    UninstallRemaining = 40022,
    CloseBeforeUninstall = 40023,
    DontShowAgain = 40030,
    NoManifest = 40031,
    NotDeleted = 40032,
    Uninstalled = 40033,
    LogFileError = 40034,
    UserFilesRemoved = 40035,
    Welcome = 40080,
    WelcomeOnce = 40081,
    Continue = 40082,
    About = 40083,
    YesAll = 40084,
    NoAll = 40085,
    WebSite = 40086,
};

} // namespace TessaryStrings
