#include "preview/model/PreviewReader.h"

#include "dictionary/Codec.h"
#include "dictionary/FileSystem.h"
#include "dictionary/TextRules.h"
#include "engine/Literal.h"
#include "engine/ScriptCode.h"
#include "engine/ScriptText.h"
#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"
#include "preview/model/StyleNameTable.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

constexpr std::uint32_t kWsChild = 0x40000000;
constexpr std::uint32_t kWsPopup = 0x80000000;
constexpr std::uint32_t kWsDisabled = 0x08000000;
constexpr std::uint32_t kChildVisible = 0x50000000;

std::string Trimmed(std::string_view s)
{
    return std::string(TrimBlanksAndTabs(s));
}

// The standard atol: leading white space, a sign, digits.
std::int32_t Atol(std::string_view text)
{
    const DecimalPrefix number = ReadDecimalPrefix(text, true, 0x7FFFFFFF);
    const std::int64_t value = std::min<std::int64_t>(number.magnitude, 0x7FFFFFFF);
    return static_cast<std::int32_t>(number.negative ? -value : value);
}

// A position and a size added as the compiler keeps them, in 32 bits, but
// without the overflow of a size as large as that allows.
std::int32_t Beyond(std::int32_t at, std::int32_t size)
{
    const std::int64_t sum = static_cast<std::int64_t>(at) + size;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
}

bool StartsWith(std::string_view line, std::string_view keyword)
{
    return line.substr(0, keyword.size()) == keyword;
}

std::string_view RightTrimmed(std::string_view line)
{
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

// Where the statement text of a keyword begins: after " KEYWORD " or
// "\tKEYWORD ", or at the end of a line that the keyword ends (the fields
// are on the next line); npos when the line has none of them.
std::size_t Statement(std::string_view line, std::string_view keyword)
{
    // The keyword between blanks or tabs.
    for (std::size_t p = line.find(keyword); p != std::string_view::npos; p = line.find(keyword, p + 1)) {
        const std::size_t end = p + keyword.size();
        if (p > 0 && (line[p - 1] == ' ' || line[p - 1] == '\t') && end < line.size() &&
            (line[end] == ' ' || line[end] == '\t'))
            return end + 1;
    }
    const std::string_view right = RightTrimmed(line);
    if (right.size() > keyword.size() && right.substr(right.size() - keyword.size()) == keyword) {
        const char before = right[right.size() - keyword.size() - 1];
        if (before == ' ' || before == '\t')
            return line.size();
    }
    return std::string_view::npos;
}

} // namespace

bool PreviewReader::QuotedText(std::string_view text, std::string& quoted, std::size_t* after)
{
    quoted.clear();
    const std::size_t open = text.find('"');
    if (open == std::string_view::npos)
        return false;
    std::size_t i = open + 1;
    while (i < text.size()) {
        if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
                quoted += "\"\"";
                i += 2;
                continue;
            }
            break;
        }
        quoted += text[i++];
    }
    if (after)
        *after = i;
    return true;
}

bool PreviewReader::ReadCode(std::string& line, bool first)
{
    if (!m_file || (first ? m_file->ReadFirstLine(m_raw) : m_file->ReadLine(m_raw)) < 0)
        return false;
    m_code.Next(m_raw);
    m_structure.Next(m_code.Keywords(), m_code.Directive());
    // The resource's END may be read as part of a statement before it.
    m_ended = m_ended || (m_inside && m_structure.Ends());
    m_keywords.assign(m_code.Keywords());
    line.assign(m_code.Code());
    return true;
}

bool PreviewReader::NextLine(std::string& line)
{
    return ReadCode(line);
}

bool PreviewReader::Refill(std::string& text)
{
    TrimBlanksAndTabs(text);
    while (text.empty()) {
        if (!NextLine(text))
            return false;
        TrimBlanksAndTabs(text);
    }
    return true;
}

bool PreviewReader::NextField(std::string& rest, std::string& field, bool requireComma)
{
    if (!Refill(rest))
        return false;
    const std::size_t comma = rest.find(',');
    if (comma == std::string::npos) {
        if (requireComma)
            return false;
        field = rest;
        rest.clear();
        return true;
    }
    field = Trimmed(std::string_view(rest).substr(0, comma));
    rest.erase(0, comma + 1);
    return true;
}

bool PreviewReader::SkipNameField(std::string& rest)
{
    if (!Refill(rest))
        return false;
    if (rest.front() == '"') {
        // A quoted name ends at its quote, with or without the comma.
        std::string name;
        std::size_t after = 0;
        QuotedText(rest, name, &after);
        rest.erase(0, std::min(rest.size(), after + 1));
        TrimBlanksAndTabs(rest);
        if (!rest.empty() && rest.front() == ',')
            rest.erase(0, 1);
        return true;
    }
    std::string name;
    return NextField(rest, name, true);
}

bool PreviewReader::Lookup(std::string_view name, std::uint32_t& value) const
{
    return m_styles.Lookup(name, value);
}

std::uint32_t PreviewReader::DialogStyle(std::string text)
{
    std::uint32_t style = 0;
    auto add = [&](std::string_view token) {
        std::uint32_t value = 0;
        if (Lookup(Trimmed(token), value))
            style |= value == kWsChild ? kWsPopup : value;
    };
    for (;;) {
        const std::size_t bar = text.find('|');
        if (bar == std::string::npos)
            break;
        add(std::string_view(text).substr(0, bar));
        text.erase(0, bar + 1);
        // A style continued after a trailing bar goes on on the next line.
        if (!Refill(text))
            break;
    }
    add(text);
    return style & ~kWsDisabled;
}

bool PreviewReader::ControlStyle(std::string text, bool statementMode, std::uint32_t& style,
                                 std::vector<std::uint32_t>& nots, std::string* remainder)
{
    bool pendingNot = false;
    // Returns whether the token asks for the next line (a NOT at the end).
    auto handle = [&](std::string token) {
        TrimBlanksAndTabs(token);
        std::uint32_t value = 0;
        const std::size_t notAt = token.find("NOT");
        if (notAt != std::string::npos) {
            const std::string name = notAt + 4 <= token.size() ? token.substr(notAt + 4) : std::string();
            if (name.empty()) {
                pendingNot = true;
                return true;
            }
            if (Lookup(name, value))
                nots.push_back(value);
            return false;
        }
        if (pendingNot) {
            pendingNot = false;
            if (Lookup(token, value))
                nots.push_back(value);
        } else if (Lookup(token, value)) {
            style |= value;
        }
        return false;
    };
    // A style that starts on the next line (the statement broke after a comma).
    if (!Refill(text))
        return !statementMode;
    for (;;) {
        const std::size_t bar = text.find('|');
        const std::size_t comma = statementMode ? text.find(',') : std::string::npos;
        if (comma != std::string::npos && (bar == std::string::npos || comma < bar)) {
            handle(text.substr(0, comma));
            if (remainder)
                *remainder = text.substr(comma + 1);
            return true;
        }
        if (bar == std::string::npos) {
            if (handle(text)) {
                // "NOT" ended the line: its name is on the next one.
                text.clear();
                if (!Refill(text))
                    return !statementMode;
                continue;
            }
            return !statementMode; // a statement's style must end at a comma
        }
        handle(text.substr(0, bar));
        text.erase(0, bar + 1);
        // An expression continued after a trailing bar (or NOT) goes on on
        // the next line.
        if (!Refill(text))
            return !statementMode;
    }
    return false;
}

void PreviewReader::ParseHeader(std::string text, PreviewDialogInfo& dialog)
{
    dialog.rect = PreviewRect();
    // A header that ends with its keyword has its coordinates on the next line.
    if (TrimmedLine(text).empty() && !Refill(text))
        return;
    std::string_view rest = text;
    const std::size_t discardable = rest.find("DISCARDABLE");
    if (discardable != std::string_view::npos)
        rest.remove_prefix(discardable + 11);
    ParseHeaderFields(rest, dialog);
}

void PreviewReader::ParseHeaderFields(std::string_view text, PreviewDialogInfo& dialog)
{
    std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return;
    const std::int32_t x = Atol(text.substr(0, comma));
    dialog.rect.left = x;
    text.remove_prefix(comma + 1);
    if ((comma = text.find(',')) == std::string_view::npos)
        return;
    const std::int32_t y = Atol(text.substr(0, comma));
    dialog.rect.top = y;
    text.remove_prefix(comma + 1);
    if ((comma = text.find(',')) == std::string_view::npos)
        return;
    dialog.rect.right = Beyond(x, Atol(text.substr(0, comma)));
    text.remove_prefix(comma + 1);
    dialog.rect.bottom = Beyond(y, Atol(text));
}

namespace {

void ClearNots(std::uint32_t& style, const std::vector<std::uint32_t>& nots)
{
    for (std::uint32_t value : nots)
        style &= ~value;
}

} // namespace

bool PreviewReader::Coordinates(std::string& rest, PreviewControl& control, std::uint32_t addedBits)
{
    std::uint32_t style = 0;
    std::vector<std::uint32_t> nots;
    const auto finish = [&] {
        style |= addedBits;
        ClearNots(style, nots);
        control.style = style;
        return true;
    };
    std::string field;
    if (!NextField(rest, field, true))
        return false;
    control.rect.left = Atol(field);
    if (!NextField(rest, field, true))
        return false;
    control.rect.top = Atol(field);
    if (!NextField(rest, field, true))
        return false;
    control.rect.right = Beyond(control.rect.left, Atol(field));
    // cy: up to a comma when a style follows, else the whole remainder.
    if (!Refill(rest))
        return false;
    const std::size_t comma = rest.find(',');
    const bool hasStyle = comma != std::string::npos;
    control.rect.bottom =
        Beyond(control.rect.top, Atol(hasStyle ? std::string_view(rest).substr(0, comma) : rest));
    if (!hasStyle)
        return finish();
    std::string expression = rest.substr(comma + 1);
    if (!Refill(expression))
        return finish();
    // Whatever follows the style (an extended style) is not read.
    const std::size_t end = expression.find(',');
    if (end != std::string::npos)
        expression.resize(end);
    ControlStyle(expression, false, style, nots, nullptr);
    return finish();
}

namespace {

// The control text: line-break and tab escapes resolved, the script form
// kept aside when anything was resolved.
void SetControlText(PreviewControl& control, const std::string& quoted)
{
    control.text = quoted;
    const bool lines = ExpandLineBreaks(control.text);
    const bool tabs = ExpandTabs(control.text);
    if (lines || tabs)
        control.rawText = quoted;
}

} // namespace

void PreviewReader::TextControl(std::string rest, int alignment, int kind, PreviewDialogInfo& dialog)
{
    auto control = std::make_unique<PreviewControl>();
    control->index = m_counter++;
    control->kind = static_cast<PreviewControlKind>(kind);
    std::string quoted;
    std::size_t after = 0;
    // The text may stand on the line after the keyword.
    if (!Refill(rest) || !QuotedText(rest, quoted, &after))
        return;
    SetControlText(*control, quoted);
    rest.erase(0, std::min(rest.size(), after + 2)); // the closing quote and the comma
    if (!NextField(rest, control->idName, true))
        return;
    if (!Coordinates(rest, *control, static_cast<std::uint32_t>(alignment) | kChildVisible))
        return;
    std::uint32_t& style = control->style;
    switch (control->kind) {
    case PreviewControlKind::Frame:
        style |= 7; // BS_GROUPBOX
        break;
    case PreviewControlKind::DefPushButton:
        style |= 1; // BS_DEFPUSHBUTTON
        break;
    case PreviewControlKind::CheckBox:
        style |= 3; // BS_AUTOCHECKBOX
        break;
    case PreviewControlKind::RadioButton:
        style |= 9; // BS_AUTORADIOBUTTON
        break;
    default:
        break;
    }
    dialog.controls.push_back(std::move(control));
}

void PreviewReader::ControlWithoutText(std::string rest, int kind, PreviewDialogInfo& dialog)
{
    auto control = std::make_unique<PreviewControl>();
    control->index = m_counter++;
    control->kind = static_cast<PreviewControlKind>(kind);
    if (!NextField(rest, control->idName, true))
        return;
    // WS_CHILD | WS_VISIBLE, and WS_BORDER but for a scroll bar.
    const std::uint32_t added =
        kind == static_cast<int>(PreviewControlKind::ScrollBar) ? kChildVisible : 0x50800000;
    if (!Coordinates(rest, *control, added))
        return;
    dialog.controls.push_back(std::move(control));
}

void PreviewReader::IconControl(std::string rest, PreviewDialogInfo& dialog)
{
    auto control = std::make_unique<PreviewControl>();
    control->index = m_counter++;
    control->kind = PreviewControlKind::Icon;
    std::string skipped;
    if (!SkipNameField(rest) || !NextField(rest, skipped, true))
        return;                                   // the icon's name and the identifier
    if (!Coordinates(rest, *control, 0x50000003)) // WS_CHILD | WS_VISIBLE | SS_ICON
        return;
    dialog.controls.push_back(std::move(control));
}

void PreviewReader::GenericControl(std::string rest, PreviewDialogInfo& dialog)
{
    auto control = std::make_unique<PreviewControl>();
    control->index = m_counter++;
    std::string quoted;
    std::size_t after = 0;
    if (!Refill(rest))
        return;
    if (rest.front() == '"') {
        QuotedText(rest, quoted, &after);
        SetControlText(*control, quoted);
        rest.erase(0, std::min(rest.size(), after + 2));
    } else {
        // A picture's resource name or number instead of a text.
        std::string name;
        if (!NextField(rest, name, true))
            return;
    }
    // The identifier; the compiler does not need the comma after it when
    // the class follows.
    if (!Refill(rest))
        return;
    const std::size_t quote = rest.find('"');
    const std::size_t comma = rest.find(',');
    if (quote != std::string::npos && (comma == std::string::npos || quote < comma)) {
        rest.erase(0, quote);
    } else {
        std::string skipped;
        if (!NextField(rest, skipped, true))
            return;
    }
    // Editors break long controls after the identifier: the class and
    // everything after it are then on the next line.
    std::string className;
    if (!Refill(rest) || !QuotedText(rest, className, &after) || after >= rest.size())
        return;
    const std::size_t styleComma = rest.find(',', after + 1);
    if (styleComma == std::string::npos)
        return;
    rest.erase(0, styleComma + 1);
    std::uint32_t style = 0;
    std::vector<std::uint32_t> nots;
    std::string remainder;
    if (!ControlStyle(rest, true, style, nots, &remainder))
        return;
    rest = remainder;
    style |= kChildVisible;
    ClearNots(style, nots);
    std::string field;
    if (!NextField(rest, field, true))
        return;
    control->rect.left = Atol(field);
    if (!NextField(rest, field, true))
        return;
    control->rect.top = Atol(field);
    if (!NextField(rest, field, true))
        return;
    control->rect.right = Beyond(control->rect.left, Atol(field));
    if (!NextField(rest, field, false))
        return;
    control->rect.bottom = Beyond(control->rect.top, Atol(field));

    PreviewControlKind kind = PreviewControlKind::Frame;
    if (className == "Static") {
        kind = PreviewControlKind::Static;
    } else if (className == "Button") {
        if ((style & 3) == 3 || (style & 2))
            kind = PreviewControlKind::CheckBox;
        if ((style & 9) == 9 || (style & 4))
            kind = PreviewControlKind::RadioButton;
    } else if (className == "SysListView32") {
        kind = PreviewControlKind::ListView;
    } else if (className == "SysTreeView32") {
        kind = PreviewControlKind::TreeView;
    } else if (className == "SysTabControl32") {
        kind = PreviewControlKind::Tab;
    } else if (className == "SysAnimate32") {
        kind = PreviewControlKind::Animate;
    } else if (className == "msctls_progress32") {
        kind = PreviewControlKind::Progress;
    } else if (className == "msctls_trackbar32") {
        kind = PreviewControlKind::Slider;
    } else if (className == "msctls_updown32") {
        kind = PreviewControlKind::Spin;
    } else if (className == "ScrollBar") {
        kind = PreviewControlKind::ScrollBar;
    }
    // Unknown classes and push buttons are shown as a frame with their text.
    if (kind == PreviewControlKind::Frame)
        style |= 7;
    control->kind = kind;
    control->style = style;
    dialog.controls.push_back(std::move(control));
}

bool PreviewReader::DeclaresResource(ScriptStructure::Resource resource, std::size_t& after) const
{
    if (!m_structure.Declares() || m_structure.Current() != resource)
        return false;
    const std::size_t nameEnd = m_structure.NameEnd();
    if (std::string_view(m_raw).substr(0, nameEnd) != m_name)
        return false;
    // The statement's fields begin after its type.
    after = nameEnd + 1;
    while (after < m_keywords.size() && m_keywords[after] != ' ' && m_keywords[after] != '\t')
        ++after;
    after = std::min(after + 1, m_keywords.size());
    return true;
}

bool PreviewReader::DialogLine(const std::string& line, PreviewDialogInfo& dialog)
{
    std::size_t after = 0;
    if (!m_inside && DeclaresResource(ScriptStructure::Resource::Dialog, after)) {
        dialog.found = 1;
        m_inside = true;
        ParseHeader(line.substr(after), dialog);
        return false;
    }
    if (!m_inside)
        return false;
    // Keywords are looked for where the compiler reads them, outside literals.
    const std::string keywords = m_keywords;

    if (StartsWith(line, "STYLE "))
        dialog.style = DialogStyle(line.substr(6));
    if (StartsWith(line, "EXSTYLE "))
        dialog.exStyle = DialogStyle(line.substr(8));
    if (StartsWith(line, "CAPTION "))
        QuotedText(std::string_view(line).substr(8), dialog.caption);
    if (StartsWith(line, "FONT ")) {
        const std::string_view rest = std::string_view(line).substr(5);
        const std::size_t comma = rest.find(',');
        dialog.fontPoints = Atol(rest.substr(0, comma));
        if (comma != std::string_view::npos) {
            const std::size_t open = rest.find('"', comma);
            const std::size_t close = open == std::string_view::npos ? open : rest.find('"', open + 1);
            if (close != std::string_view::npos)
                dialog.fontFace = std::string(rest.substr(open + 1, close - open - 1));
        }
    }
    static const struct
    {
        const char* keyword;
        int alignment;
        int kind;
    } textControls[] = {
        {"LTEXT", 0, 1},      {"RTEXT", 2, 1},         {"CTEXT", 1, 1},    {"GROUPBOX", 0, 5},
        {"PUSHBUTTON", 0, 6}, {"DEFPUSHBUTTON", 0, 7}, {"CHECKBOX", 0, 8}, {"RADIOBUTTON", 0, 9},
    };
    for (const auto& t : textControls) {
        const std::size_t start = Statement(keywords, t.keyword);
        if (start != std::string::npos)
            TextControl(line.substr(std::min(start, line.size())), t.alignment, t.kind, dialog);
    }
    static const struct
    {
        const char* keyword;
        int kind;
    } plainControls[] = {{"EDITTEXT", 2}, {"LISTBOX", 11}, {"COMBOBOX", 10}, {"SCROLLBAR", 19}};
    for (const auto& t : plainControls) {
        const std::size_t start = Statement(keywords, t.keyword);
        if (start != std::string::npos)
            ControlWithoutText(line.substr(std::min(start, line.size())), t.kind, dialog);
    }
    if (const std::size_t start = Statement(keywords, "ICON"); start != std::string::npos)
        IconControl(line.substr(std::min(start, line.size())), dialog);
    if (const std::size_t start = Statement(keywords, "CONTROL"); start != std::string::npos)
        GenericControl(line.substr(std::min(start, line.size())), dialog);
    return m_ended;
}

bool PreviewReader::MenuLine(const std::string& line, PreviewMenu& menu)
{
    std::size_t after = 0;
    if (!m_inside && DeclaresResource(ScriptStructure::Resource::Menu, after)) {
        m_inside = true;
        menu.Reset();
        return false;
    }
    if (!m_inside)
        return false;
    // The items of the menu bar are at level 0, those of its pop-ups below.
    const int level = m_structure.Depth() - 1;
    const std::string keywords = m_keywords;
    std::size_t popup = keywords.find(" POPUP ");
    if (popup == std::string::npos)
        popup = keywords.find("\tPOPUP ");
    if (popup == std::string::npos && StartsWith(TrimmedLine(keywords), "POPUP "))
        popup = keywords.find("POPUP ") - 1;
    // The options after an entry's text: GRAYED and CHECKED, or their
    // MFS_ forms in an extended menu.
    auto options = [](PreviewMenuEntry* entry, std::string_view after) {
        if (!entry)
            return;
        entry->grayed = after.find("GRAYED") != std::string_view::npos ||
                        after.find("MFS_DISABLED") != std::string_view::npos;
        entry->checked = after.find("CHECKED") != std::string_view::npos;
    };
    if (popup != std::string::npos) {
        std::string text;
        std::size_t afterText = 0;
        const std::string_view rest = std::string_view(line).substr(popup + 6);
        if (QuotedText(rest, text, &afterText))
            options(menu.AddPopup(text, level),
                    std::string_view(keywords).substr(popup + 6 + std::min(rest.size(), afterText + 1)));
    }
    const std::size_t item = keywords.find("MENUITEM ");
    if (item != std::string::npos) {
        std::string text;
        std::size_t afterText = 0;
        const std::string_view rest = std::string_view(line).substr(item + 9);
        const bool quoted = QuotedText(rest, text, &afterText);
        // An extended menu writes its separators as items of that type.
        const bool separator =
            !quoted || (text.empty() && keywords.find("MFT_SEPARATOR") != std::string::npos);
        PreviewMenuEntry* entry = menu.AddItem(separator, text, level, m_counter++);
        if (quoted)
            options(entry,
                    std::string_view(keywords).substr(item + 9 + std::min(rest.size(), afterText + 1)));
    }
    return m_ended;
}

PreviewReader::Result PreviewReader::Read(const std::string& path, const std::string& resourceName, int kind,
                                          PreviewDialogInfo& dialog, PreviewMenu& menu)
{
    ScriptText file;
    if (path.empty() || !file.Open(ResolveExistingPath(path), OpenOriginalsCodePage()) || file.Failed()) {
        dialog.Clear();
        dialog.controls.clear();
        menu.Reset();
        return {};
    }
    return ReadLines(file, resourceName, kind, dialog, menu);
}

PreviewReader::Result PreviewReader::ReadText(std::string_view script, const std::string& resourceName,
                                              int kind, PreviewDialogInfo& dialog, PreviewMenu& menu)
{
    ScriptText file;
    file.OpenMemory(script, OpenOriginalsCodePage());
    return ReadLines(file, resourceName, kind, dialog, menu);
}

PreviewReader::Result PreviewReader::ReadLines(ScriptText& file, const std::string& resourceName, int kind,
                                               PreviewDialogInfo& dialog, PreviewMenu& menu)
{
    Result result;
    dialog.Clear();
    dialog.controls.clear();
    menu.Reset();
    m_inside = false;
    m_ended = false;
    m_code.Reset();
    m_structure.Reset();
    if (kind != 4 && kind != 5)
        return result;
    result.opened = true;
    m_file = &file;
    // Literals are read in the encoding the lines were given in.
    const LiteralEncodingScope encoding(LiteralEncoding{file.WorkingCodePage(), !file.Transcoded()});
    m_name = resourceName;
    std::string line;
    for (bool read = ReadCode(line, true); read; read = ReadCode(line)) {
        if (line.empty())
            continue;
        const bool ended = kind == 5 ? DialogLine(line, dialog) : MenuLine(line, menu);
        if (ended) {
            result.ended = true;
            break;
        }
    }
    m_file = nullptr;
    return result;
}
