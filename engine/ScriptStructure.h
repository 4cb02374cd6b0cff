#pragma once

#include "engine/StatementTracker.h"

#include <cstddef>
#include <string_view>
#include <vector>

/// The resources of a script as the resource compiler reads them, followed
/// line by line: which resource each line belongs to, whether it is the
/// resource's statement, one of its header lines or a line of its block,
/// and whether its first literal is a text to translate.
///
/// A resource begins with its statement, a name and a type ("IDD_ABOUT
/// DIALOGEX 0, 0, 200, 80", "IDR_MAIN MENU", "STRINGTABLE"); header lines
/// (STYLE, CAPTION, FONT, LANGUAGE, ...) may follow, then its block between
/// BEGIN and END (or braces), whose depth is counted. Only dialogs, menus,
/// string tables and the combo-box entries of DLGINIT blocks hold texts:
/// file names of icons, bitmaps and custom resources, the data of RCDATA or
/// user-defined resources, version information, accelerators and text
/// includes are not texts.
///
/// The lines are given as ScriptCode's keyword views: comments, directives
/// and the insides of literals are blank there, so none of them declares,
/// opens or ends anything.
class ScriptStructure
{
public:
    enum class Resource
    {
        None, // outside any resource
        Dialog,
        Menu,
        StringTable,
        DlgInit,
        Other, // a resource without texts
    };

    /// One field of a statement in a keyword view: a literal with its
    /// quotes, a brace, or a run of characters up to a blank, a comma or a
    /// brace.
    struct Token
    {
        std::string_view text;
        std::size_t at = 0;
        std::size_t end = 0;
    };

    void Reset();
    /// Takes the keyword view of the next line of the script; a directive
    /// is passed over.
    void Next(std::string_view keywords, bool directive);

    /// The resource the last line belongs to (its statement, a header line,
    /// a line of its block, or the END that closes it).
    Resource Current() const { return m_lineResource; }
    /// The line declares a resource (its statement).
    bool Declares() const { return m_declares; }
    /// On a statement: the resource's name is the line up to this place,
    /// as the script writes it (a string table has none).
    std::size_t NameEnd() const { return m_nameEnd; }
    /// The line's first literal is a text to translate.
    bool HasText() const { return m_hasText; }
    /// The line is a dialog's CAPTION.
    bool Caption() const { return m_caption; }
    /// The line is the header of a combo-box entry of a DLGINIT block.
    bool ComboEntry() const { return m_comboEntry; }
    /// The texts that share access keys have the same group: a dialog's,
    /// the items of one pop-up menu, the titles of a menu bar.
    int Group() const { return m_lineGroup; }
    /// How many blocks of the resource are open before the line's own
    /// BEGIN and END (the items of a menu bar are at 1).
    int Depth() const { return m_lineDepth; }
    /// The line closes the resource's block.
    bool Ends() const { return m_ends; }

private:
    void Declare(Resource resource, std::size_t nameEnd);
    /// Opens and closes the blocks the line marks, from the place on.
    void CountBlocks(std::string_view keywords, std::size_t from);
    void CountBlocks(std::string_view keywords, const Token& first);
    void Mark(std::string_view word);

    Resource m_resource = Resource::None;
    Resource m_lineResource = Resource::None;
    int m_depth = 0;
    bool m_open = false; // the last line left its statement open
    bool m_declares = false;
    std::size_t m_nameEnd = 0;
    bool m_hasText = false;
    bool m_caption = false;
    bool m_comboEntry = false;
    int m_lineGroup = 0;
    int m_lineDepth = 0;
    bool m_ends = false;
    int m_resourceGroup = 0;
    int m_lastGroup = 0;
    int m_popupGroup = 0; // the group of the block a POPUP line opens next
    std::vector<int> m_groups;
    StatementTracker m_statements;
};
