#pragma once

#include <string>
#include <string_view>
#include <vector>

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

/// How a literal's ampersands read. In most texts a single "&" marks the
/// mnemonic and "&&" is an ampersand; a caption is shown in a title bar as it
/// is written, so its ampersands are characters.
enum class LiteralMode
{
    Text,
    Caption,
};

/// Decodes the first literal of a line into the text the dictionary shows.
/// \" "" and && resolve to one character; \xHH and octal escapes give one
/// byte. Every other escape stays as it is written, so that the text shows
/// what the script means and encoding writes it back: "\\" (a backslash),
/// "\n", "\t" and the other letter escapes, and escapes of a zero byte
/// ("\0", "\000", "\x00"). A single "&" marks the next character as the
/// mnemonic. A literal without closing quote runs to the end of the line.
DecodedLiteral DecodeLiteral(std::string_view line);
/// The same into a literal decoded before, whose strings keep their memory;
/// the literal is the first that opens at or after from (a comment before
/// it may hold quotes).
void DecodeLiteral(std::string_view line, DecodedLiteral& decoded, std::size_t from = 0,
                   LiteralMode mode = LiteralMode::Text);

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
void EncodeLiteral(std::string& text, int shortcutIn, int& shortcutOut, LiteralMode mode = LiteralMode::Text);
/// Whether the character at the 0-based place of a text (as the dictionary
/// shows texts) can carry a mnemonic: a letter, a digit or a sign, but not
/// a blank, a quote, an ampersand, a control character, either character of
/// an escape ("\n", "\\"), the second byte of a character, or anything
/// after "\t", which begins a menu item's accelerator.
std::vector<bool> AccessKeyPlaces(std::string_view text);
/// A mnemonic position (1-based) moved to a character that can carry it: the
/// position itself when it can, else the next one that can, else the one
/// before; 0 when none can (or the position was 0 or less).
int AccessKeyPlace(std::string_view text, int position);

/// Inserts "&" before the character at the 1-based position, if there is one.
bool InsertMnemonic(std::string& text, int position);

// Conversions for showing texts in previews and lists.
void TrimBlanksAndTabs(std::string& text);
void DecodeOctalForDisplay(std::string& text);
bool ExpandLineBreaks(std::string& text);
bool ExpandTabs(std::string& text);
