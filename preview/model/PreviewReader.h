#pragma once

#include "engine/ScriptCode.h"
#include "engine/ScriptStructure.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ScriptText;
class PreviewMenu;
class StyleNameTable;
struct PreviewControl;
struct PreviewDialogInfo;

/// Reads one dialog or menu resource from its script into a description.
///
/// The reader works on substrings of lines as the compiler reads them
/// (ScriptCode: comments blanked, keywords in upper case), never on tokens:
/// it finds the resource's statement by name where ScriptStructure finds a
/// statement, then recognises statements by their keywords outside
/// literals, cuts their fields at commas (a statement may run on over the
/// following lines) and evaluates style expressions with the style-name
/// table. What it does not recognise it skips; a malformed statement loses
/// its record only.
class PreviewReader
{
public:
    /// controlCounter belongs to the owner of the previews; every control
    /// and menu item record takes its value and increments it.
    PreviewReader(const StyleNameTable& styles, int& controlCounter)
        : m_styles(styles), m_counter(controlCounter)
    {
    }

    struct Result
    {
        bool opened = false; ///< the script could be read
        bool ended = false;  ///< the resource's END was met
    };

    /// Reads the resource of that name and kind (5 dialog, 4 menu) from the
    /// script. The dialog's records are appended to dialog.controls; the
    /// description is cleared first.
    Result Read(const std::string& path, const std::string& resourceName, int kind, PreviewDialogInfo& dialog,
                PreviewMenu& menu);
    /// The same from the bytes of a script in memory.
    Result ReadText(std::string_view script, const std::string& resourceName, int kind,
                    PreviewDialogInfo& dialog, PreviewMenu& menu);

    /// The text between the first double quote and the next single one
    /// (doubled quotes are kept as the two characters). False without an
    /// opening quote; *after is the index of the closing quote (or the end).
    static bool QuotedText(std::string_view text, std::string& quoted, std::size_t* after = nullptr);

private:
    Result ReadLines(ScriptText& file, const std::string& resourceName, int kind, PreviewDialogInfo& dialog,
                     PreviewMenu& menu);
    bool DialogLine(const std::string& line, PreviewDialogInfo& dialog);
    bool MenuLine(const std::string& line, PreviewMenu& menu);
    /// Whether the line just read is the statement of the resource to read;
    /// after: where its fields begin.
    bool DeclaresResource(ScriptStructure::Resource resource, std::size_t& after) const;
    /// Reads the next line of the script into its code view.
    bool ReadCode(std::string& line, bool first = false);
    void ParseHeader(std::string text, PreviewDialogInfo& dialog);
    void ParseHeaderFields(std::string_view text, PreviewDialogInfo& dialog);

    /// The next comma-separated field of rest (trimmed), reading the next
    /// line when rest is empty. requireComma: the field must end at a comma.
    bool NextField(std::string& rest, std::string& field, bool requireComma);
    bool NextLine(std::string& line);
    /// Skips a name field: a word up to its comma, or a quoted name.
    bool SkipNameField(std::string& rest);
    /// Trims the text; while it is empty, reads the next line into it.
    bool Refill(std::string& text);

    std::uint32_t DialogStyle(std::string text);
    /// Returns false when statement mode found no comma to end the style.
    bool ControlStyle(std::string text, bool statementMode, std::uint32_t& style,
                      std::vector<std::uint32_t>& nots, std::string* remainder);
    bool Lookup(std::string_view name, std::uint32_t& value) const;

    void TextControl(std::string rest, int alignment, int kind, PreviewDialogInfo& dialog);
    void ControlWithoutText(std::string rest, int kind, PreviewDialogInfo& dialog);
    void IconControl(std::string rest, PreviewDialogInfo& dialog);
    void GenericControl(std::string rest, PreviewDialogInfo& dialog);
    /// x, y, cx, cy and the optional style field; the control's style is
    /// that field with the added bits, less its NOT bits. False discards
    /// the record.
    bool Coordinates(std::string& rest, PreviewControl& control, std::uint32_t addedBits);

    const StyleNameTable& m_styles;
    int& m_counter;
    ScriptText* m_file = nullptr;
    std::string m_name; // of the resource to read
    bool m_inside = false;
    bool m_ended = false;
    ScriptCode m_code;
    ScriptStructure m_structure;
    std::string m_raw;      // the line read last, as the script writes it
    std::string m_keywords; // its keyword view
};
