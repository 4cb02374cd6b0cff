#pragma once

#include <string>
#include <vector>

class CTrelvarDoc;
class MessageReporter;
struct TextOccurrence;
class ProgressSink;

// Brings the translations of a script translated by hand into the
// dictionary of its original. Resources are paired by kind and name, and
// the texts of a resource by what identifies them in the compiled program:
// a control's or a menu item's identifier, a string's identifier, the
// caption, a pop-up's place among the pop-ups of its menu, a combo box's
// control; texts that share an identifier (IDC_STATIC, -1) pair in their
// order.

/// What an alignment did and what it could not do.
struct AlignmentSummary
{
    int aligned = 0;   ///< texts of the original given their translation
    int general = 0;   ///< general translations set or changed
    int inContext = 0; ///< texts a resource translates its own way
    int kept = 0;      ///< translations the dictionary kept (no replace)
    int unmatched = 0; ///< texts of either script without a counterpart, or not held
    /// One line each: "file:line: resource: what", or what stopped the
    /// alignment.
    std::vector<std::string> problems;
    bool read = true; ///< false when a script could not be read at all
};

/// The dictionary's own path of the original script, inserting it (to
/// destination, else the dictionary's destination folder) and extracting
/// it when the dictionary does not have it yet; empty, reported, when it
/// cannot. inserted tells where an inserted script will be generated.
std::string AlignableScript(CTrelvarDoc& doc, const std::string& original, const std::string& destination,
                            MessageReporter& reporter, std::string* inserted = nullptr);

/// Aligns `translated` with `original`, a script of the open dictionary
/// (inserted and extracted), and sets what it finds: for each text, the
/// translation most of its occurrences have as the general one, a
/// resource's own translation where its occurrences agree on another, and
/// each occurrence's access key from the translated text. Texts marked not
/// to translate are left alone; existing translations are kept unless
/// replace. The caller saves the dictionary.
AlignmentSummary AlignTranslatedScript(CTrelvarDoc& doc, const std::string& original,
                                       const std::string& translated, bool replace,
                                       ProgressSink* progress = nullptr);

/// Where each text stands in the compiled program, one string each in the
/// order given: texts of two scripts at the same place pair.
std::vector<std::string> TextPlaces(const std::vector<TextOccurrence>& texts);

/// The summary line: "N texts aligned, M general translations, K in
/// context, L unmatched".
std::string AlignmentSummaryLine(const AlignmentSummary& summary);
