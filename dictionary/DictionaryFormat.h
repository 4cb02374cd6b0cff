#pragma once

#include "dictionary/TextRules.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Layout shared by the four dictionary files. Every field is written between
// double quotes, and the fields of the .dic and .ent files are separated by
// the byte 0xA4.
//
// A text may hold bytes that the layout cannot carry raw: a carriage
// return or a line feed (which would split the record) and 0xA4 (which
// would split the field). These are written as a backslash, a capital X and
// two hexadecimal digits ("\X0A"), and so is the backslash of a "\X" that
// a text holds itself ("\X5CX"), so that reading back is exact. A field
// without such bytes is written as it is: files of texts without them do
// not change by one byte.

inline constexpr char kDicSeparator = '\xA4';

/// A Unicode dictionary's .dic file begins with a UTF-8 byte-order mark
/// before its header line: its texts are UTF-8. A program that knows only
/// 8-bit dictionaries refuses such a file for its header.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

inline constexpr std::string_view kDicHeader = "General dictionary";
inline constexpr std::string_view kDicHeaderFrench = "Dictionnaire g\xE9n\xE9ral";
inline constexpr std::string_view kEntHeader = "Specific dictionary";
inline constexpr std::string_view kEntHeaderFrench = "Dictionnaire sp\xE9"
                                                     "cifique";
inline constexpr std::string_view kFilHeader = "List of files";
inline constexpr std::string_view kFilHeaderFrench = "Liste des fichiers";
inline constexpr std::string_view kNirHeader = "Not imported resources";

inline void AppendQuoted(std::string& out, std::string_view field)
{
    out += '"';
    out.append(field);
    out += '"';
}

/// Appends a .dic or .ent field, quoted, with the bytes the layout cannot
/// carry written as "\XHH".
void AppendQuotedField(std::string& out, std::string_view field);

/// Appends a .fil field (a path or a stamp), quoted. A path never holds a
/// double quote or a line break when the program stores it, but one read
/// from a file edited by hand may: such bytes, and the backslash of a "\X",
/// are written as "\XHH" so that the list reads back as it was.
void AppendQuotedPath(std::string& out, std::string_view field);

/// Appends a text between double quotes, with only its line ends (and the
/// backslash of a "\X") written as "\XHH": the layout of text exports,
/// where a text keeps its quotes and separators as they are.
void AppendQuotedText(std::string& out, std::string_view field);

/// A .dic or .ent field as read (quotes stripped) with every "\XHH" turned
/// back into its byte.
std::string DecodeField(std::string_view field);
/// The fields of a record with their quotes stripped, and whether the line
/// is a whole record: minFields to N fields, each between double quotes,
/// separated by single separator bytes. A record cut short (a file truncated
/// in the middle of one) or split (a line end inside a text of an old file)
/// is not. The fields are those SplitFields finds (a run of separators
/// counts as one, at most N are taken); a sound record is split and checked
/// in one pass over its bytes.
template <std::size_t N>
struct RecordFields
{
    std::array<std::string_view, N> fields{};
    std::size_t count = 0;
    bool whole = false;
};

template <std::size_t N>
RecordFields<N> SplitRecord(std::string_view line, char separator, std::size_t minFields)
{
    RecordFields<N> record;
    std::string_view rest = line;
    for (;;) {
        const std::size_t end = rest.find(separator);
        const std::string_view field = rest.substr(0, end);
        if (field.size() < 2 || field.front() != '"' || field.back() != '"' || record.count == N)
            break;
        record.fields[record.count++] = field.substr(1, field.size() - 2);
        if (end == std::string_view::npos) {
            record.whole = record.count >= minFields;
            return record;
        }
        rest.remove_prefix(end + 1);
    }
    // Not a whole record: split it field by field as an old or damaged file
    // is read.
    record = RecordFields<N>();
    SplitFields(line, separator, N,
                [&record](std::string_view f) { record.fields[record.count++] = StripQuotes(f); });
    return record;
}

/// Whether DecodeField would change the field.
inline bool HasFieldEscape(std::string_view field)
{
    return field.find("\\X") != std::string_view::npos;
}

/// Where the script path of a stored key ends: the "+" after the path's
/// ".rc" when there is one (a folder such as "Visual C++" holds a plus sign
/// of its own), else the key's first "+". npos when the key has no "+".
inline std::size_t ScriptPathEnd(std::string_view key)
{
    for (std::size_t at = key.find('+'); at != std::string_view::npos; at = key.find('+', at + 1)) {
        if (at >= 3 && key[at - 3] == '.' && (key[at - 2] | 0x20) == 'r' && (key[at - 1] | 0x20) == 'c')
            return at;
    }
    return key.find('+');
}
