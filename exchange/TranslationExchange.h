#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CTrelvarDoc;
class MessageReporter;
class ProgressSink;

// The dictionary as translation tools see it, whatever the file format:
// every text of the general dictionary once, without context, and the
// entries of one resource that carry their own translation or access key,
// with a context naming the script and the resource. Texts are UTF-8. In
// the entries with a context, "&" marks the access key and "&&" stands for
// an ampersand, as a script writes them.

/// One entry of an exchange file.
struct ExchangeEntry
{
    std::string script; ///< empty for a general text; else as the file names it
    std::string resource;
    std::string original;
    std::string translation; ///< empty = untranslated
    bool doNotTranslate = false;
    /// A resource's own translation that equals the general one (without
    /// the mark it would read back as "no translation of its own").
    bool inContext = false;
    bool fuzzy = false; ///< read only: a translation the tool marked unsure
    std::vector<std::pair<std::string, std::int64_t>> references; ///< script, line (0: unknown)
    int kind = 0; ///< of the resource: 3 string table, 4 menu, 5 dialog; 0 unknown or general
    /// A text met several times in the resource whose occurrences have keys
    /// of their own: which one the entry's key is (0 the first).
    std::size_t occurrence = 0;
};

struct ExchangeDocument
{
    std::string name; ///< the dictionary's name
    std::string sourceLanguage = "en";
    std::string targetLanguage; ///< empty = not given
    std::vector<ExchangeEntry> entries;
};

/// The exchange document of an open dictionary. The scripts are read (as
/// an extraction reads them) for the lines where each text is used; a
/// script that cannot be read gives no lines. Texts that UTF-8 cannot carry
/// (bytes the code page does not define) are reported in problems and left
/// out.
/// everyEntry: the template form (a PO template, POT): every text and every
/// text of every resource, all without translation, so that a translator's
/// file merged with it (msgmerge) keeps whatever a file of the dictionary
/// can hold.
ExchangeDocument BuildExchange(const CTrelvarDoc& doc, std::vector<std::string>& problems,
                               ProgressSink* progress = nullptr, bool everyEntry = false);

/// What an import changed and what it left out.
struct ImportSummary
{
    int translations = 0;              ///< general translations set or changed
    int resourceEntries = 0;           ///< in-context translations and access keys changed
    int doNotTranslate = 0;            ///< texts newly marked not to translate
    int unsure = 0;                    ///< translations marked unsure, left out (no error)
    int kept = 0;                      ///< translations the dictionary kept (the rule said so)
    std::vector<std::string> problems; ///< one line each, for the user: errors
};

/// Brings the translations of an exchange document into the dictionary:
/// a general entry sets the text's translation (an empty or unsure one
/// changes nothing), an entry with a context the resource's own
/// translation and access key. Texts the dictionary does not have, unknown
/// scripts and resources, and characters the dictionary's encoding cannot
/// hold are reported and not imported; no text is ever added.
/// replace: a translation of the file takes the place of the one the
/// dictionary has; without it only texts without a translation get one.
ImportSummary ApplyExchange(const ExchangeDocument& exchange, CTrelvarDoc& doc,
                            ProgressSink* progress = nullptr, bool replace = true);

/// The context of a resource entry in a file: "script:resource", and "#N"
/// after it for the N-th occurrence (from 2) of a text whose occurrences
/// have keys of their own.
std::string EntryContext(const ExchangeEntry& entry);
/// Reads such a context back into the entry; false when it names none.
/// The ids of the units of an XLIFF file of ours are read too, as tools
/// that turn it into a PO file (xliff2po) make contexts of them: "g7", a
/// general text, leaves the entry general; a resource's unit is its
/// context followed by kUnitNumberMark and its number.
bool ReadEntryContext(const std::string& context, ExchangeEntry& entry);
/// What joins a resource entry's context and its number in a unit's id.
inline constexpr const char* kUnitNumberMark = "|c";

/// The context of an entry as one string ("app.rc:IDD_ABOUT") and back; the
/// resource follows the last colon.
std::string JoinContext(const std::string& script, const std::string& resource);
bool SplitContext(const std::string& context, std::string& script, std::string& resource);

/// A text of the dictionary (in the code page given) as a file carries it,
/// UTF-8; bytes an 8-bit code page does not define travel as the control
/// characters of the same value. False when it cannot be carried.
bool TextToExchange(int codePage, std::string_view bytes, std::string& out);

/// A translation with its access key marked ("&&" for an ampersand) and
/// back; shortcut is the 1-based byte position of the key, 0 when none.
std::string MarkAccessKey(const std::string& text, int shortcut);
std::string UnmarkAccessKey(const std::string& marked, int& shortcut);
