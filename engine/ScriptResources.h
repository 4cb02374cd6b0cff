#pragma once

#include "engine/ScriptCode.h"
#include "engine/ScriptStructure.h"

#include <string>
#include <string_view>
#include <vector>

/// The dialogs and menus a script declares, found as the resource compiler
/// reads their statements (ScriptStructure): a statement in a comment, in a
/// literal or in a block of another resource declares nothing. A name is
/// listed once; a dialog name hides a menu of the same name; "Stringtable"
/// in any case is never a resource name.
struct ScriptResources
{
    enum ShownKinds : int
    {
        Menus = 1,
        Dialogs = 2,
        StringTable = 4,
        All = 7
    };

    /// Follows the lines of one script in order.
    class Reader
    {
    public:
        /// The resource the next line declares, when it is a dialog or a
        /// menu of the kinds shown: (kind 4 or 5, name); (0, "") otherwise.
        std::pair<int, std::string_view> Next(std::string_view line, int shownKinds = All);

    private:
        ScriptCode m_code;
        ScriptStructure m_structure;
    };

    std::vector<std::string> dialogs; // in the order met
    std::vector<std::string> menus;

    /// Looks at the next line of the script and adds what it declares.
    void Recognise(std::string_view line, int shownKinds = All);
    bool Contains(std::string_view name) const;

    /// Scans a whole script; false when it cannot be opened.
    bool Scan(const std::string& path, int shownKinds = All);
    /// Scans the bytes of a script in memory.
    void ScanText(std::string_view script, int shownKinds = All);

private:
    Reader m_reader;
};
