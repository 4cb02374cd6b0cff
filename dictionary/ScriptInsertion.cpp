#include "dictionary/ScriptInsertion.h"

#include "dictionary/FileList.h"
#include "dictionary/FileSystem.h"
#include "dictionary/Messages.h"
#include "dictionary/TextRules.h"

#include <filesystem>

namespace {

bool HasSeparator(const std::string& path)
{
    return path.find_first_of("\\/") != std::string::npos;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// A destination names a file when it ends like a script or is one already.
bool NamesAFile(const std::string& target)
{
    return EndsWithNoCase(target, ".rc") || EndsWithNoCase(target, ".rc2") || FileExists(target);
}

ScriptInsertion Refused(int message, ScriptInsertion::Field field, std::string argument = {},
                        std::string owner = {})
{
    ScriptInsertion refused;
    refused.message = message;
    refused.focus = field;
    refused.argument = std::move(argument);
    refused.owner = std::move(owner);
    return refused;
}

} // namespace

const std::string* DestinationOwner(const FileList& list, const std::string& source,
                                    const std::string& target, bool earlierOnly)
{
    const FileIdentity targetFile = IdentityOf(target);
    auto names = [&](const std::string& taken) {
        return EqualsNoCase(taken, target) || (targetFile.known && NamesFile(taken, targetFile));
    };
    bool after = false;
    for (const auto& entry : list.Files()) {
        const FileList::Record& record = entry.value;
        if (EqualsNoCase(record.source, source)) {
            after = true;
            continue;
        }
        // A script's own source is never another's destination; of two
        // scripts with one destination, the later one is refused.
        if (names(record.source) || (names(record.destination) && !(earlierOnly && after)))
            return &record.source;
    }
    return nullptr;
}

ScriptInsertion InsertScript(FileList& list, const std::string& source, const std::string& destination,
                             const std::string& defaultDestinationFolder)
{
    using Field = ScriptInsertion::Field;
    ScriptInsertion result;
    if (source.empty())
        return Refused(MsgInvalidFileName, Field::File);
    std::string target = destination.empty() ? defaultDestinationFolder : destination;
    if (!target.empty()) {
        if (!HasSeparator(source))
            return Refused(MsgFullPathRequired, Field::File);
        if (!NamesAFile(target)) {
            // A folder: the script keeps its file name there, joined with
            // the separator the folder already uses.
            if (target.back() != '\\' && target.back() != '/') {
                const bool windowsStyle =
                    target.find('\\') != std::string::npos && target.find('/') == std::string::npos;
                target += windowsStyle ? '\\' : '/';
            }
            target += FileNameOf(source);
        }
    } else {
        target = source;
    }
    if (!HasSeparator(target))
        return Refused(MsgFullPathOrFolderRequired, Field::Destination);
    if (!IsStorablePath(source))
        return Refused(MsgPathNotStorable, Field::File, source);
    if (!IsStorablePath(target))
        return Refused(MsgPathNotStorable, Field::Destination, target);
    const std::string resolved = ResolveExistingPath(source);
    if (!FileExists(resolved)) {
        // Something that is there but is no file (a folder, a FIFO) is said
        // to be what it is.
        std::error_code ec;
        if (std::filesystem::exists(resolved, ec))
            return Refused(MsgNotARegularFile, Field::File, source);
        return Refused(MsgFileDoesNotExist, Field::File);
    }
    if (EqualsNoCase(source, target) || NamesFile(target, IdentityOf(resolved)))
        return Refused(MsgSourceEqualsDestination, Field::Destination);
    if (list.Find(source))
        return Refused(MsgFileAlreadyInDictionary, Field::File);
    // Two scripts never write one file: each translation would replace the
    // other's. Nor does a translation replace another script of the list.
    if (const std::string* owner = DestinationOwner(list, source, target))
        return Refused(MsgDestinationTaken, Field::Destination, target, *owner);
    const auto time = LastWriteFileTime(source);
    if (!list.AddFile(source, target, time ? FormatStamp(*time) : std::string()))
        return Refused(MsgFileAlreadyInDictionary, Field::File);
    result.destination = target;
    return result;
}
