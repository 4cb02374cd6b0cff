#pragma once

#include <string>
#include <string_view>
#include <vector>

/// The dialogs and menus a script declares, found by a quick scan of every
/// line for DIALOG, DIALOGEX and MENU statements (no comment test and no
/// BEGIN/END state). A name is listed once; a dialog name hides a menu of
/// the same name; "Stringtable" in any case is never a resource name.
struct ScriptResources
{
    enum ShownKinds : int
    {
        Menus = 1,
        Dialogs = 2,
        StringTable = 4,
        All = 7
    };

    std::vector<std::string> dialogs; // in the order met
    std::vector<std::string> menus;

    /// The resources a line declares: a menu (MENU or MENUEX) and a dialog
    /// (DIALOG or DIALOGEX), in that order, as (kind, name) with kind 4 or 5;
    /// the keywords count before a blank or at the end of the line.
    static std::vector<std::pair<int, std::string_view>> Declarations(std::string_view line, int shownKinds);

    /// Looks at one line and adds what it declares.
    void Recognise(std::string_view line, int shownKinds = All);
    bool Contains(std::string_view name) const;

    /// Scans a whole script; false when it cannot be opened.
    bool Scan(const std::string& path, int shownKinds = All);
    /// Scans the bytes of a script in memory.
    void ScanText(std::string_view script, int shownKinds = All);
};
