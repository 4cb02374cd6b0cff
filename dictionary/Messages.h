#pragma once

#include <string>
#include <string_view>
#include <vector>

// Identifiers of the system's messages. Numbers below 2000 are the string
// table numbers the windows share; the rest are the core's own.
enum MessageId : int
{
    MsgNameAndLocationRequired = 1001,
    MsgLocation = 1002,
    MsgInvalidFileName = 1006,
    MsgErrorOpeningFile = 1007,
    MsgMenus = 1016,
    MsgDialogBoxes = 1017,
    MsgStringtable = 1018,
    MsgLoadingResources = 1019,
    MsgDirectory = 1020,
    MsgSourceEqualsDestination = 1029,
    MsgSaveGeneralDictionary = 1032,
    MsgFileDoesNotExist = 1040,
    MsgFullPathRequired = 1041,
    MsgCannotSaveFile = 1050,
    MsgFullPathOrFolderRequired = 1066,
    MsgFileAlreadyInDictionary = 1067,

    MsgNotGeneralDictionary = 2001,
    MsgNotSpecificDictionary = 2002,
    MsgNotListOfFiles = 2003,
    MsgNotNotImportedResources = 2004,
    MsgFilesAlreadyExist = 2005,
    MsgErrorCreatingFile = 2006,
    MsgFileChanged = 2007,
    MsgLoadingDictionary = 2008,
    MsgUpdatingDictionary = 2009,
    MsgDeleteAllShortcuts = 2010,
    MsgCannotBackUpFile = 2011,
    MsgFileNotInDictionary = 2012,
    MsgTextNotInDictionary = 2013,
    MsgResourceNotInFile = 2014,
    MsgTextNotInCodePage = 2015,
    MsgDisplayDictionary = 2016,
    MsgDeleteShortcutsInResource = 2017,
    MsgCloseDictionaryWindow = 2018,
    MsgDamagedComboData = 2019,
    MsgDictionaryInUse = 2020,
    MsgUnreadableNotSaved = 2021,
    MsgDictionaryReadOnly = 2022,
    MsgPathNotStorable = 2023,
    MsgErrorReadingFile = 2024,
    MsgOpenReadOnly = 2025,
    MsgReplaceUnreadable = 2026,
    MsgOpenDamaged = 2027,
    MsgFileDamaged = 2028,
    MsgCreateFolder = 2029,
    MsgTextNotFound = 2030,
    MsgEndOfList = 2031,
    MsgBeginningOfList = 2032,
    MsgFindResultsTitle = 2033,
    MsgLoadingTexts = 2034,
    MsgExportingDictionary = 2035,
    MsgCannotExport = 2036,
    MsgCannotExportWithoutList = 2037,
    MsgSearchingUnusedTexts = 2038,
    MsgCannotDisplayUnused = 2039,
    MsgImportedTranslations = 2040,
    MsgTextsNotInEncoding = 2041,
    MsgTranslationNotInEncoding = 2042,
    MsgUnicodeDictionary = 2043,
    MsgScriptCodePageDiffers = 2044,
    MsgExportOverDictionary = 2045,
    MsgLockUnusable = 2046,
    MsgSaveNotCompleted = 2047,
    MsgNotARegularFile = 2048,
    MsgDestinationTaken = 2049,
    MsgNoRecordRead = 2050,
    MsgNotOnDoNotTranslateList = 2051,
    MsgDialogBox = 1061,
    MsgMenu = 1062,
    MsgTexts = 1033,
};

/// The English text of a message, "" for an unknown id.
std::string_view MessageText(int messageId);

/// The message with its "%s" and "%d" markers replaced by the arguments in
/// order ("%%" gives one percent sign); missing arguments leave the marker,
/// and arguments beyond the markers (the system's reason for a failure)
/// follow, each on a line of its own.
std::string FormatMessage(int messageId, const std::vector<std::string>& arguments);
std::string FormatText(std::string_view format, const std::vector<std::string>& arguments);
