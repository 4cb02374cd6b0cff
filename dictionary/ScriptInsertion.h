#pragma once

#include <string>
#include <vector>

class FileList;

/// Outcome of adding a resource script to the list of files.
struct ScriptInsertion
{
    enum class Field
    {
        None,
        File,
        Destination
    };

    int message = 0;           // message id of the refusal; 0 = added
    Field focus = Field::None; // the field at fault
    std::string destination;   // the destination as recorded
    std::string argument;      // the path the refusal names, if any
    std::string owner;         // the other script, when the destination is taken

    /// The arguments of the refusal's message.
    std::vector<std::string> Arguments() const
    {
        return owner.empty() ? std::vector<std::string>{argument} : std::vector<std::string>{argument, owner};
    }
};

/// The script of the list whose destination or source the target is, other
/// than the given source; null when there is none. earlierOnly: a script
/// after the source in the list with the same destination does not count
/// (the source is then the first of the two, which keeps it).
const std::string* DestinationOwner(const FileList& list, const std::string& source,
                                    const std::string& target, bool earlierOnly = false);

/// Adds a script with its destination to the list, by the rules of the
/// Insert page: an empty destination takes the default destination folder;
/// a destination is a file when its name ends in .rc or .rc2 (in any case)
/// or it is an existing file, else a folder that gets the script's file
/// name; both must be full paths the dictionary files can hold, the script
/// must exist, and the two must be different files (also through links);
/// no other script of the list may have the same destination, nor be it.
/// Paths may use "\" or "/".
ScriptInsertion InsertScript(FileList& list, const std::string& source, const std::string& destination,
                             const std::string& defaultDestinationFolder);
