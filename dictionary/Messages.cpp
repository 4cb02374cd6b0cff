#include "dictionary/Messages.h"

#include "dictionary/Feedback.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<int, std::string_view>, 70> kMessages{{
    {MsgNameAndLocationRequired, "The name and the location of the dictionary must be defined"},
    {MsgLocation, "Location"},
    {MsgInvalidFileName, "Invalid file name"},
    {MsgErrorOpeningFile, "Error when opening file %s"},
    {MsgMenus, "Menus"},
    {MsgDialogBoxes, "Dialog boxes"},
    {MsgStringtable, "Stringtable"},
    {MsgLoadingResources, "Loading resources"},
    {MsgDirectory, "Directory"},
    {MsgSourceEqualsDestination, "Source and destination files must be different"},
    {MsgSaveGeneralDictionary, "Would you like to save the general dictionary ?"},
    {MsgFileDoesNotExist, "This file does not exist !"},
    {MsgFullPathRequired, "You have to enter the full pathname of the file."},
    {MsgCannotSaveFile, "Cannot save the file %s"},
    {MsgFullPathOrFolderRequired,
     "You have to enter the full pathname of the file or an existing directory name."},
    {MsgFileAlreadyInDictionary, "This file is already in the active dictionary."},
    {MsgNotGeneralDictionary, "%s is not a general dictionary file"},
    {MsgNotSpecificDictionary, "%s is not a specific dictionary file"},
    {MsgNotListOfFiles, "%s is not a list of files file"},
    {MsgNotNotImportedResources, "%s is not a not imported resources file"},
    {MsgFilesAlreadyExist, "The files %s, %s, %s, %s already exist."},
    {MsgErrorCreatingFile, "Error when creating file %s"},
    {MsgFileChanged, "The file %s has changed, do you want to extract the new resources ?"},
    {MsgLoadingDictionary, "Loading dictionary"},
    {MsgUpdatingDictionary, "Updating the dictionary"},
    {MsgDeleteAllShortcuts, "Do you want to delete all shortcuts ?"},
    {MsgCannotBackUpFile, "Cannot make a backup copy of the file %s"},
    {MsgFileNotInDictionary, "The file %s is not in the active dictionary."},
    {MsgTextNotInDictionary, "The text %s is not in the dictionary."},
    {MsgResourceNotInFile, "The resource %s is not in the file %s."},
    {MsgTextNotInCodePage, "The text %s cannot be written in the code page %s."},
    {MsgDisplayDictionary, "Display the dictionary"},
    {MsgDeleteShortcutsInResource, "Do you want to delete shortcuts in this resource ?"},
    {MsgCloseDictionaryWindow, "You have to close the dictionary window."},
    {MsgDamagedComboData,
     "The combo-box data at line %d of %s does not end where its length says; the entry is left as it is."},
    {MsgDictionaryInUse, "The dictionary %s is in use by another program."},
    {MsgUnreadableNotSaved, "The file %s could not be read; the dictionary is not saved over it."},
    {MsgDictionaryReadOnly, "The dictionary %s is open read-only; it cannot be saved."},
    {MsgPathNotStorable,
     "The path %s cannot be stored in a dictionary: it holds a double quote or a line break."},
    {MsgErrorReadingFile, "The file %s could not be read to its end."},
    {MsgOpenReadOnly, "The dictionary %s is in use by another program. Do you want to open it read-only ?"},
    {MsgReplaceUnreadable,
     "The file %s could not be read. Saving replaces it with what the program holds. Do you want to save ?"},
    {MsgOpenDamaged, "The file %s could not be read at line %d. Do you want to open what could be read ? "
                     "Saving it will then ask "
                     "before replacing the file."},
    {MsgFileDamaged, "The file %s could not be read at line %d; the dictionary is not opened."},
    {MsgCreateFolder, "The folder %s does not exist. Do you want to create it ?"},
    {MsgTexts, "Texts"},
    {MsgTextNotFound, "Text not found !"},
    {MsgEndOfList, "The end of the list is reached. Would you like to continue ?"},
    {MsgBeginningOfList, "The beginning of the list is reached. Would you like to continue ?"},
    {MsgFindResultsTitle, "Find in resources results"},
    {MsgLoadingTexts, "Loading texts"},
    {MsgExportingDictionary, "Exporting dictionary"},
    {MsgCannotExport, "Cannot export the active dictionary."},
    {MsgCannotExportWithoutList, "Cannot export if a dictionary is not displayed."},
    {MsgSearchingUnusedTexts, "Searching unused texts"},
    {MsgCannotDisplayUnused, "Cannot display unused texts."},
    {MsgImportedTranslations, "%d translation(s) imported"},
    {MsgTextsNotInEncoding,
     "Some texts of %s have characters that the dictionary's encoding cannot hold: they "
     "were not extracted. A Unicode dictionary holds every character."},
    {MsgTranslationNotInEncoding,
     "The translation of \"%s\" (%s) has characters that the encoding of %s cannot "
     "hold: the text stays untranslated."},
    {MsgUnicodeDictionary, "Unicode (UTF-8)"},
    {MsgLockUnusable,
     "The lock file %s cannot be used (%s): the dictionary is not written, as another program "
     "could be writing it at the same time."},
    {MsgSaveNotCompleted, "A save of the dictionary %s is not completed (%s): it is not read until it is."},
    {MsgNotARegularFile, "%s is not a file (a folder, a device or a pipe)."},
    {MsgDestinationTaken, "The destination %s is already the file of the script %s: each script needs a "
                          "destination of its own."},
    {MsgNoRecordRead, "No record of %s could be read: a file to import holds a dictionary's records, the "
                      "original and the translation between quotes, separated by the byte A4 (hexadecimal)."},
    {MsgNotOnDoNotTranslateList, "%s is not on the list of texts not to translate."},
    {MsgExportOverDictionary, "%s is a file of the dictionary %s: nothing is exported over it."},
    {MsgScriptCodePageDiffers,
     "The script %s declares code page %s, but the dictionary's texts are in code page %s: its texts in "
     "characters that code page does not have will not be extracted. A Unicode dictionary holds every "
     "character."},
    {MsgDialogBox, "Dialog box"},
    {MsgMenu, "Menu"},
}};

class NullReporter : public MessageReporter
{
public:
    void Report(int, const std::vector<std::string>&) override {}
};

} // namespace

MessageReporter& SilentReporter()
{
    static NullReporter reporter;
    return reporter;
}

std::string_view MessageText(int messageId)
{
    for (const auto& [id, text] : kMessages) {
        if (id == messageId)
            return text;
    }
    return {};
}

std::string FormatText(std::string_view format, const std::vector<std::string>& arguments)
{
    std::string out;
    out.reserve(format.size() + 64);
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '%' && i + 1 < format.size()) {
            const char k = format[i + 1];
            if (k == '%') {
                out += '%';
                ++i;
                continue;
            }
            if ((k == 's' || k == 'd') && next < arguments.size()) {
                out += arguments[next++];
                ++i;
                continue;
            }
        }
        out += c;
    }
    // Arguments the text has no marker for (the system's reason for a
    // failure) follow on lines of their own.
    for (; next < arguments.size(); ++next) {
        if (!arguments[next].empty())
            out += "\n" + arguments[next];
    }
    return out;
}

std::string FormatMessage(int messageId, const std::vector<std::string>& arguments)
{
    return FormatText(MessageText(messageId), arguments);
}
