#include "exchange/TextOccurrences.h"

#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "engine/ResourceKind.h"
#include "engine/ResourceScript.h"

#include <cctype>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The word at i (up to a blank, a comma or a quote); i moves past it.
std::string_view WordAt(std::string_view line, std::size_t& i)
{
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i]) && line[i] != ',' && line[i] != '"')
        ++i;
    return line.substr(start, i - start);
}

// Where the literal that starts at the quote `open` ends (after its closing
// quote): a doubled quote and an escaped character stay inside.
std::size_t LiteralEnd(std::string_view line, std::size_t open)
{
    std::size_t i = open + 1;
    while (i < line.size()) {
        if (line[i] == '\\') {
            i += 2;
        } else if (line[i] == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"')
                i += 2;
            else
                return i + 1;
        } else {
            ++i;
        }
    }
    return line.size();
}

std::string Upper(std::string_view word)
{
    std::string upper(word);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

} // namespace

std::string StatementIdentifier(std::string_view statement, int kind)
{
    std::size_t i = 0;
    const std::string_view first = WordAt(statement, i);
    const std::size_t open = statement.find('"');
    // A string's identifier stands before its text; the line may hold the
    // text alone when the identifier is on the line before.
    if (kind == KindStringTable) {
        const bool before =
            !first.empty() && (open == std::string_view::npos || first.data() < statement.data() + open);
        return before && first != "L" ? std::string(first) : std::string();
    }
    const std::string keyword = Upper(first);
    if (keyword == "CAPTION" || keyword == "POPUP")
        return keyword;
    if (open == std::string_view::npos)
        return std::string();
    std::size_t after = LiteralEnd(statement, open);
    while (after < statement.size() && IsBlank(statement[after]))
        ++after;
    if (after < statement.size() && statement[after] == ',')
        ++after;
    return std::string(WordAt(statement, after));
}

bool ReadTextOccurrences(const std::string& path, int originalsCodePage, int translationsCodePage,
                         NotExtractedList* notExtracted, std::vector<TextOccurrence>& occurrences,
                         MessageReporter* reporter)
{
    // The extraction fills dictionaries of its own, thrown away after.
    GeneralDictionary general;
    ContextDictionary context;
    ResourceScript script;
    script.SetGeneralDictionary(&general);
    script.SetContextDictionary(&context);
    script.SetNotExtractedList(notExtracted);
    script.SetReporter(reporter);
    script.SetEncodings(originalsCodePage, translationsCodePage);
    script.SetOccurrenceObserver([&](const ScriptTextOccurrence& o) {
        // A combo box's strings are known by their control.
        std::string identifier = o.decoded->itemReference.empty() ? StatementIdentifier(o.statement, o.kind)
                                                                  : "combo " + o.decoded->itemReference;
        occurrences.push_back({std::string(o.resource), o.kind, o.line, o.group, o.decoded->text,
                               o.decoded->shortcut, std::string(o.text), o.shortcut, std::move(identifier)});
    });
    if (!script.OpenSource(path))
        return false;
    const bool whole = script.Extract();
    script.Close();
    return whole;
}
