#pragma once

#include <string>

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
};

/// Adds a script with its destination to the list, by the rules of the
/// Insert page: an empty destination takes the default destination folder;
/// a destination is a file when its name ends in .rc or .rc2 (in any case)
/// or it is an existing file, else a folder that gets the script's file
/// name; both must be full paths the dictionary files can hold, the script
/// must exist, and the two must be different files (also through links).
/// Paths may use "\" or "/".
ScriptInsertion InsertScript(FileList& list, const std::string& source, const std::string& destination,
                             const std::string& defaultDestinationFolder);
