#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

/// Converts the dictionary's 8-bit texts to and from UTF-8 for display and
/// input. The stores never convert; only the layers that show or take texts
/// do, through one Codec (Windows-1252 unless told otherwise).
class Codec
{
public:
    explicit Codec(std::string codePage = "WINDOWS-1252");
    /// The codec of a Windows code page number (65001: UTF-8).
    static Codec ForCodePage(int codePage);
    /// The same, made once per code page and kept (a single-byte codec
    /// builds its tables when it is made).
    static const Codec& Cached(int codePage);

    const std::string& CodePage() const { return m_codePage; }
    /// Whether the code page is known to the system's converter.
    bool IsValid() const;

    /// The bytes as UTF-8; bytes the code page does not define become U+FFFD.
    std::string ToUtf8(std::string_view bytes) const;
    /// The bytes as UTF-8; false (out untouched) when a byte or sequence is
    /// not a character of the code page.
    bool ToUtf8Strict(std::string_view bytes, std::string& out) const;
    bool IsUtf8() const { return m_utf8; }
    /// The UTF-8 text in the code page; false (out untouched) when a
    /// character cannot be represented or the input is not UTF-8.
    bool FromUtf8(std::string_view utf8, std::string& out) const;

    static bool IsValidUtf8(std::string_view text);
    /// The text with every byte that is not part of well-formed UTF-8
    /// replaced by U+FFFD.
    static std::string RepairUtf8(std::string_view text);

private:
    // Single-byte code pages convert through tables built once.
    void BuildTables();

    std::string m_codePage;
    bool m_utf8 = false;
    bool m_singleByte = false;
    std::string m_toUtf8[256];
    std::unordered_map<char32_t, char> m_fromUnicode;
};

// Windows code pages by number, as scripts declare them ("#pragma
// code_page(932)") and as the fonts' character sets imply them.

inline constexpr int kUtf8CodePage = 65001;

/// The converter's name of a code page ("WINDOWS-1252", "CP932", "UTF-8").
std::string CodePageName(int codePage);
/// The code page of a font's character set (ANSI 1252, SHIFTJIS 932, ...);
/// 1252 for a set without one.
int CodePageOfCharset(int charset);
/// The character set of a font for texts in the code page (0, ANSI, for
/// Windows-1252 and those without one).
int CharsetOfCodePage(int codePage);
/// The 8-bit code pages a dictionary's texts may be in, Windows-1252 first.
const std::vector<int>& EightBitCodePages();
/// The code page a user names: "utf-8", "cp932", "932", "windows-1251",
/// "shift_jis", ...; 0 when unknown.
int ParseCodePage(std::string_view name);
/// Whether the code page has two-byte characters (932, 936, 949, 950), and
/// whether a byte starts one of them.
bool IsDbcsCodePage(int codePage);
bool IsDbcsLeadByte(int codePage, unsigned char byte);
/// The length in bytes of the character at i of a text in the code page: a
/// UTF-8 sequence or a double-byte character is one character.
std::size_t CharacterLength(std::string_view text, std::size_t i, int codePage);

/// The encodings of the open dictionary's originals and translations, for
/// the readers and windows that have no dictionary at hand (the tree, the
/// resource scan, the previews, the lists). The document sets them when it
/// opens and when its encodings change; 1252 for both before.
void SetOpenEncodings(int originals, int translations);
int OpenOriginalsCodePage();
int OpenTranslationsCodePage();
