#pragma once

#include "dictionary/LineFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// How a script's bytes are written.
enum class ScriptForm : std::uint8_t
{
    Bytes,   ///< 8-bit, in the code page of its place ("#pragma code_page(N)")
    Utf8,    ///< UTF-8, with or without a byte-order mark
    Utf16Le, ///< UTF-16 little-endian, with or without a byte-order mark
    Utf16Be
};

struct ScriptEncoding
{
    ScriptForm form = ScriptForm::Bytes;
    bool bom = false;
    int codePage = 1252;      ///< an 8-bit script's code page before its first pragma
    std::vector<int> pragmas; ///< an 8-bit script's "#pragma code_page" values, in order
    /// Where the line of each of those pragmas starts, in bytes.
    std::vector<std::size_t> pragmaLines;
};

/// Recognises a script's encoding from its first bytes and its pragmas:
/// a byte-order mark, else UTF-16 by its zero bytes, else UTF-8 when the
/// bytes are well-formed UTF-8 with at least one character beyond ASCII or
/// when "#pragma code_page(65001)" says so, else 8-bit in defaultCodePage.
ScriptEncoding DetectScriptEncoding(std::string_view bytes, int defaultCodePage);

/// A script file as read from the disk, before its bytes are decoded.
struct ScriptFileRead
{
    bool opened = false; ///< else error says why it could not be opened
    bool whole = false;  ///< read to its end; else error says why not
    std::string error;
    FileIdentity identity;
    std::string bytes;
};

/// Opens and reads a script file whole, as ScriptText::Open does. It
/// touches nothing shared, so that the scripts of a run can be read on
/// another thread.
ScriptFileRead ReadScriptFile(const std::string& path);

/// The code pages the "#pragma code_page" lines of an 8-bit script name
/// besides the given one, in order and once each (none for a script that
/// cannot be read or is Unicode).
std::vector<int> OtherDeclaredCodePages(const std::string& path, int codePage);

/// The lines of a script in the encoding the dictionary works in, each with
/// the bytes it was read from, so that a line nobody changed is written back
/// exactly as it was.
///
/// When the script is 8-bit in the dictionary's own code page (the usual
/// case), the lines are its bytes as they are. Otherwise every line is
/// converted from the script's encoding (UTF-16, UTF-8 or the code page of
/// its place) into the dictionary's; a line holding a character the
/// dictionary's encoding cannot hold, or bytes that are not characters of
/// the script's encoding, is "lossy": its texts are neither extracted nor
/// translated, and it is always written back as it was read.
class ScriptText
{
public:
    /// workingCodePage: the code page of the dictionary's originals
    /// (65001 for a Unicode dictionary). False when the file cannot be read
    /// (ErrorText says why).
    bool Open(const std::string& path, int workingCodePage);
    /// The same for a file read before (ReadScriptFile); takes its bytes.
    bool Open(ScriptFileRead&& read, int workingCodePage);
    /// Reads the bytes in place: they must outlive the reading.
    void OpenMemory(std::string_view bytes, int workingCodePage);

    const ScriptEncoding& Encoding() const { return m_encoding; }
    int WorkingCodePage() const { return m_working; }
    /// Whether the lines were converted (else they are the script's bytes).
    bool Transcoded() const { return m_transcoded; }

    /// Rewinds and reads the first line; -1 when there is none.
    std::int64_t ReadFirstLine(std::string& line);
    /// The next line (its length in the working encoding), -1 at the end.
    std::int64_t ReadLine(std::string& line);
    /// The same without a copy: the view is into the script's bytes, or
    /// into a line converted for it, valid until the next line is read.
    std::int64_t ReadFirstLine(std::string_view& line);
    std::int64_t ReadLine(std::string_view& line);
    LineFile::LineEnd LastLineEnd() const { return m_lastEnd; }
    /// The bytes the last line was read from (without its line end), its
    /// state and the code page of its place.
    std::string_view LastOriginal() const { return m_lastOriginal; }
    bool LastLossy() const { return m_lastLossy; }
    int LastCodePage() const { return m_lastCodePage; }

    /// Size of the script in bytes.
    std::int64_t Size() const { return static_cast<std::int64_t>(m_bytes.size()); }
    /// Whether the script writes characters above ASCII into its quoted
    /// texts as they are (rather than as escapes); comments do not count.
    bool TextsHoldRawHighBytes() const;
    bool Failed() const { return m_failed; }
    const std::string& ErrorText() const { return m_error; }
    /// The file the script was read from (unknown for bytes in memory).
    const FileIdentity& Identity() const { return m_identity; }

    /// What precedes the first line in the file (a byte-order mark).
    std::string_view Prologue() const { return m_prologue; }
    /// A line end in the script's encoding.
    std::string_view EncodeEnd(LineFile::LineEnd end) const;
    /// A line of the working encoding in the script's encoding, for the
    /// place whose code page is given; false when a character of it has no
    /// place there.
    bool EncodeLine(std::string_view working, int codePage, std::string& out) const;
    /// Whether EncodeLine gives the working text back as it is (the parts of
    /// a line can then be written one after the other).
    bool WritesAsIs(std::string_view working, int codePage) const;

private:
    void Load(int workingCodePage);
    void Rewind();

    // The bytes read from a file are kept in a buffer of their own.
    class Buffer
    {
    public:
        Buffer() = default;
        ~Buffer();
        Buffer(const Buffer&) = delete;
        Buffer& operator=(const Buffer&) = delete;
        void Reserve(std::size_t size);
        char* Data() { return m_data; }

    private:
        char* m_data = nullptr;
        std::size_t m_capacity = 0;
    };

    // The script's bytes: in the buffer, in m_owned, or the caller's.
    std::string_view m_bytes;
    Buffer m_buffer;
    std::string m_owned;
    std::string_view m_prologue;
    ScriptEncoding m_encoding;
    int m_working = 1252;
    bool m_transcoded = false;
    // The walk: where the next line starts and the code page of its place.
    std::size_t m_pos = 0;
    int m_codePage = 1252;
    std::size_t m_nextPragma = 0; // the first pragma not passed yet
    LineFile::LineEnd m_lastEnd = LineFile::LineEnd::None;
    std::string_view m_lastOriginal;
    std::string m_converted; // the last line read, when it was converted
    bool m_lastLossy = false;
    int m_lastCodePage = 0;
    bool m_failed = false;
    FileIdentity m_identity;
    std::string m_error;
};

/// The code page a "#pragma code_page(...)" line names (65001 for UTF-8,
/// -1 for DEFAULT); 0 when the line is not such a pragma.
int PragmaCodePage(std::string_view line);
