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

} // namespace

ScriptInsertion InsertScript(FileList& list, const std::string& source, const std::string& destination,
                             const std::string& defaultDestinationFolder)
{
    using Field = ScriptInsertion::Field;
    ScriptInsertion result;
    if (source.empty())
        return {MsgInvalidFileName, Field::File, {}, {}};
    std::string target = destination.empty() ? defaultDestinationFolder : destination;
    if (!target.empty()) {
        if (!HasSeparator(source))
            return {MsgFullPathRequired, Field::File, {}, {}};
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
        return {MsgFullPathOrFolderRequired, Field::Destination, {}, {}};
    if (!IsStorablePath(source))
        return {MsgPathNotStorable, Field::File, {}, source};
    if (!IsStorablePath(target))
        return {MsgPathNotStorable, Field::Destination, {}, target};
    const std::string resolved = ResolveExistingPath(source);
    if (!FileExists(resolved))
        return {MsgFileDoesNotExist, Field::File, {}, {}};
    if (EqualsNoCase(source, target) || NamesFile(target, IdentityOf(resolved)))
        return {MsgSourceEqualsDestination, Field::Destination, {}, {}};
    const auto time = LastWriteFileTime(source);
    if (!list.AddFile(source, target, time ? FormatStamp(*time) : std::string()))
        return {MsgFileAlreadyInDictionary, Field::File, {}, {}};
    result.destination = target;
    return result;
}
