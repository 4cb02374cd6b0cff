#pragma once

#include <string>
#include <string_view>
#include <vector>

class ContextDictionary;
class GeneralDictionary;

/// The length of a printf conversion ("%s", "%-5.2f", "%I64d", "%%") or a
/// FormatMessage insert ("%1", "%12!s!") at the start of the text; 0 when
/// none starts there.
std::size_t PlaceholderLength(std::string_view text);

/// The pseudo-translation of a text as the dictionary holds it: between
/// brackets, every letter replaced by an accented one where the code page
/// of the translations has it, and lengthened by expandPercent with "~"
/// before the closing bracket, so that previews and builds show truncated
/// and hard-coded texts before anyone translates. Placeholders (printf's
/// "%s", "%-5.2f", "%%", FormatMessage's "%1"), escapes ("\n", "\\") and a
/// menu accelerator after "\t" are kept as they are; a character of several
/// bytes is never split. positions (when given) receives, for each byte of
/// the text, the position of its counterpart in the result, so that an
/// access key can follow its letter.
std::string PseudoTranslate(std::string_view text, int expandPercent, int codePage,
                            std::vector<std::size_t>* positions = nullptr);

/// Gives every text without translation (and not marked "do not translate")
/// its pseudo-translation, and moves the access keys of its in-context
/// entries onto the same letters. Translated texts are left alone. Returns
/// how many texts were filled.
int PseudoTranslateDictionary(GeneralDictionary& general, ContextDictionary& context, int expandPercent,
                              int codePage);
