#pragma once

#include <optional>
#include <string>
#include <vector>

class ContextDictionary;
class GeneralDictionary;
class MessageReporter;
class ProgressSink;

// The tools that keep a dictionary useful across projects, without a
// window: import of translations, export of the texts, the texts no
// resource uses any more.

/// Reads a file to import: a dictionary file (its first line must be a
/// .dic header) or a text file in the .dic record layout without header.
/// "\X" escapes are decoded in both fields. Reports "Error when opening file
/// %s" or "%s is not a general dictionary file" and gives nothing on failure.
std::optional<GeneralDictionary> ReadImportFile(const std::string& path, bool dictionaryFile,
                                                MessageReporter* reporter);

/// Code pages of the originals and of the translations.
struct TextEncodings
{
    int originals = 1252;
    int translations = 1252;
};

/// The imported texts in the dictionary's encodings (to): a Unicode file's
/// from UTF-8, an 8-bit file's from the code pages given for it. Texts the
/// dictionary cannot hold are left out; nothing changes when the encodings
/// are the same.
void ConvertTexts(GeneralDictionary& imported, TextEncodings file, TextEncodings to);

/// Gives every text of the dictionary that has no translation yet the
/// translation the imported dictionary has for it, if any. Existing
/// translations are never replaced and no text is added. The bar steps
/// once per text. Returns how many translations came in.
int ImportTranslations(GeneralDictionary& target, const GeneralDictionary& imported,
                       ProgressSink* progress = nullptr);
/// The same without changing the target: the (original, translation) pairs
/// to set, for a caller that keeps the resources' access keys on their
/// letters as it sets them. replace: translations the target has are
/// replaced too (by a different one).
std::vector<std::pair<std::string, std::string>> TranslationsToImport(const GeneralDictionary& target,
                                                                      const GeneralDictionary& imported,
                                                                      ProgressSink* progress = nullptr,
                                                                      bool replace = false);

/// Writes one line per text, the original and the translation each between
/// double quotes, joined by a semicolon; a line end inside a text is
/// written as "\X0D"/"\X0A". Written as every save is (whole or not at
/// all); reports "Cannot save the file %s".
bool ExportTexts(const GeneralDictionary& general, const std::string& path, MessageReporter* reporter,
                 ProgressSink* progress = nullptr);

/// The texts of the general dictionary that no in-context entry has as its
/// original (exactly, case included), in the dictionary's order. The bar
/// steps once per text.
std::vector<std::string> UnusedTexts(const GeneralDictionary& general, const ContextDictionary& context,
                                     ProgressSink* progress = nullptr);
