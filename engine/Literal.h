#pragma once

#include <string>
#include <string_view>

/// The encoding of the texts the literal functions see, for the walk of one
/// script. Bytes of a two-byte character of a DBCS code page (932, 936, 949,
/// 950) are never split, so a trail byte is never taken for a backslash. In
/// UTF-8 an escape of a byte above 127 stands for that character (U+0080 to
/// U+00FF), as the compiler reads it in a Unicode script. Only an 8-bit
/// script read as it is writes bytes above 127 as octal escapes; converted
/// scripts get their characters as they are.
struct LiteralEncoding
{
    int codePage = 1252;
    bool escapeHighBytes = true;
};
/// The encoding in force; a scope sets it for its lifetime.
const LiteralEncoding& CurrentLiteralEncoding();
class LiteralEncodingScope
{
public:
    explicit LiteralEncodingScope(LiteralEncoding encoding);
    ~LiteralEncodingScope();
    LiteralEncodingScope(const LiteralEncodingScope&) = delete;
    LiteralEncodingScope& operator=(const LiteralEncodingScope&) = delete;

private:
    LiteralEncoding m_saved;
};

/// The first string literal of a script line, decoded, with the untouched
/// characters around it.
struct DecodedLiteral
{
    std::string prefix;        // up to and including the opening quote
    std::string text;          // escapes resolved, mnemonic ampersand removed
    std::string suffix;        // from the closing quote to the end of the line
    int shortcut = 0;          // 1-based position of the mnemonic character; 0 = none
    std::string itemReference; // combo-box strings only: the control identifier
    bool closed = false;       // the literal's closing quote is on the line
};

/// Decodes the first literal of a line into the text the dictionary shows.
/// \" "" and && resolve to one character; \xHH and octal escapes give one
/// byte. Every other escape stays as it is written, so that the text shows
/// what the script means and encoding writes it back: "\\" (a backslash),
/// "\n", "\t" and the other letter escapes, and escapes of a zero byte
/// ("\0", "\000", "\x00"). A single "&" marks the next character as the
/// mnemonic. A literal without closing quote runs to the end of the line.
DecodedLiteral DecodeLiteral(std::string_view line);
/// The same into a literal decoded before, whose strings keep their memory.
void DecodeLiteral(std::string_view line, DecodedLiteral& decoded);

/// Whether a literal that the line leaves open goes on on the next line: the
/// line ends with a backslash, which the compiler's preprocessor joins to
/// the next line.
bool LiteralRunsOn(const DecodedLiteral& decoded, std::string_view line);

/// The bytes the resource compiler makes of a literal's body (what stands
/// between its quotes): escapes resolved, doubled quotes made single.
/// Ampersands stay; they mark mnemonics for the window, not the compiler.
std::string CompileLiteral(std::string_view body);

/// Blanks are spaces only; tabs are ordinary characters.
void TrimBlanks(std::string& text);
void StripEllipsis(std::string& text);
void StripColon(std::string& text);
/// TrimBlanks, StripEllipsis, StripColon.
/// The normalised form as a part of the text itself (normalisation only
/// cuts blanks and decorations off its ends).
std::string_view NormalisedView(std::string_view text);
void Normalise(std::string& text);
std::string Normalised(std::string_view text);

std::string LeadingBlanks(std::string_view text);
std::string TrailingBlanks(std::string_view text);
std::string ColonSuffix(std::string_view text);
std::string EllipsisSuffix(std::string_view text);

/// Writes a text in literal form: quotes and ampersands doubled, control
/// bytes and bytes above 127 as octal escapes, escapes kept as the text
/// shows them, and a backslash that escapes nothing (at the end, or before
/// a byte written as an escape) doubled. shortcutOut is where the mnemonic
/// character landed in the encoded text.
void EncodeLiteral(std::string& text, int shortcutIn, int& shortcutOut);
/// Inserts "&" before the character at the 1-based position, if there is one.
bool InsertMnemonic(std::string& text, int position);

// Conversions for showing texts in previews and lists.
void TrimBlanksAndTabs(std::string& text);
void DecodeOctalForDisplay(std::string& text);
bool ExpandLineBreaks(std::string& text);
bool ExpandTabs(std::string& text);
