#pragma once

#include <string_view>

/// Tells which literal of a resource's statements is a text.
///
/// A statement may run on over several lines: resource editors break a long
/// control after a comma and go on with the class, the style and the
/// coordinates on the next line. Only the text field of a statement is a
/// text; every other literal of it (the class of a CONTROL, a window class,
/// a font name) names something the program looks up at run time and must
/// never be translated. So the tracker follows the statements line by line:
/// - a line continues the statement before it when that one ended with a
///   comma, a bar or NOT (or was a CONTROL alone), or when it begins with a
///   comma or a bar; but a line that begins with a statement's keyword
///   (LTEXT, GROUPBOX, MENUITEM, ...) starts a new one, as after the stray
///   comma the compiler accepts at the end of a control;
/// - the text of a statement is its first literal, except that CONTROL has
///   its text only as its first field, and EDITTEXT, COMBOBOX, LISTBOX,
///   SCROLLBAR, ICON, CLASS, MENU, FONT, STYLE, EXSTYLE, LANGUAGE, VERSION
///   and CHARACTERISTICS have none;
/// - once a statement's text field is past, its continuation lines carry no
///   text.
class StatementTracker
{
public:
    void Reset();
    /// Takes the next non-empty line of a resource; returns whether the
    /// first literal of the line is the text of its statement.
    bool TextOnLine(std::string_view line);

private:
    bool m_open = false;        // the last line left its statement open
    bool m_textPending = false; // the statement's text may still come
    bool m_control = false;     // the statement is a CONTROL
};
