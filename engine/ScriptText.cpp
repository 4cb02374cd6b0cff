#include "engine/ScriptText.h"

#include "dictionary/Codec.h"
#include "engine/ByteSearch.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <sys/mman.h>
#include <utility>

namespace {

const Codec& CodecFor(int codePage)
{
    return Codec::Cached(codePage);
}

bool IsAscii(std::string_view bytes)
{
    // Eight bytes at a time: no byte of the word has its high bit set.
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; n > 0; ++p, --n) {
        if (static_cast<unsigned char>(*p) >= 0x80)
            return false;
    }
    return true;
}

// Every pragma's code page in an 8-bit script, in order, with the place
// where its line starts.
void FindPragmas(std::string_view bytes, std::vector<int>& pages, std::vector<std::size_t>& lines)
{
    // A pragma is a directive: its line starts with '#' after blanks, a
    // byte much rarer in a script than those of "code_page". Only a '#' that
    // begins "#pragma" can begin one: the others (#include, #define, ...)
    // are passed without looking for their line.
    std::size_t at = 0;
    while ((at = bytes.find('#', at)) != std::string_view::npos) {
        if (bytes.compare(at, 7, "#pragma") != 0) {
            ++at;
            continue;
        }
        const std::size_t lineStart = bytes.rfind('\n', at);
        const std::size_t begin = lineStart == std::string_view::npos ? 0 : lineStart + 1;
        const std::size_t lineEnd = bytes.find('\n', at);
        const std::string_view line =
            bytes.substr(begin, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd - begin);
        if (const int page = PragmaCodePage(line); page != 0) {
            pages.push_back(page);
            lines.push_back(begin);
        }
        if (lineEnd == std::string_view::npos)
            break;
        at = lineEnd + 1;
    }
}

// Whether the bytes look like UTF-16 without a mark: zero bytes in one half
// of the code units of the first block and not in the other.
bool LooksLikeUtf16(std::string_view bytes, bool& bigEndian)
{
    const std::size_t n = std::min<std::size_t>(bytes.size() & ~std::size_t(1), 1024);
    if (n < 4)
        return false;
    std::size_t evenZeros = 0, oddZeros = 0;
    for (std::size_t i = 0; i < n; i += 2) {
        evenZeros += bytes[i] == '\0';
        oddZeros += bytes[i + 1] == '\0';
    }
    const std::size_t units = n / 2;
    if (oddZeros * 10 >= units * 3 && evenZeros * 20 < units) {
        bigEndian = false;
        return true;
    }
    if (evenZeros * 10 >= units * 3 && oddZeros * 20 < units) {
        bigEndian = true;
        return true;
    }
    return false;
}

} // namespace

int PragmaCodePage(std::string_view line)
{
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string_view::npos || line.substr(i, 7) != "#pragma")
        return 0;
    i = line.find_first_not_of(" \t", i + 7);
    if (i == std::string_view::npos || line.substr(i, 9) != "code_page")
        return 0;
    i = line.find_first_not_of(" \t", i + 9);
    if (i == std::string_view::npos || line[i] != '(')
        return 0;
    const std::size_t close = line.find(')', i);
    if (close == std::string_view::npos)
        return 0;
    std::string_view value = line.substr(i + 1, close - i - 1);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.remove_suffix(1);
    if (value == "DEFAULT" || value == "default")
        return -1;
    if (value.empty() || value.size() > 5 || value.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    return std::stoi(std::string(value));
}

ScriptEncoding DetectScriptEncoding(std::string_view bytes, int defaultCodePage)
{
    ScriptEncoding e;
    e.codePage = defaultCodePage;
    auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (starts("\xEF\xBB\xBF")) {
        e.form = ScriptForm::Utf8;
        e.bom = true;
        return e;
    }
    if (starts("\xFF\xFE")) {
        e.form = ScriptForm::Utf16Le;
        e.bom = true;
        return e;
    }
    if (starts("\xFE\xFF")) {
        e.form = ScriptForm::Utf16Be;
        e.bom = true;
        return e;
    }
    bool bigEndian = false;
    if (LooksLikeUtf16(bytes, bigEndian)) {
        e.form = bigEndian ? ScriptForm::Utf16Be : ScriptForm::Utf16Le;
        return e;
    }
    FindPragmas(bytes, e.pragmas, e.pragmaLines);
    const bool declaredUtf8 = !e.pragmas.empty() && e.pragmas.front() == kUtf8CodePage;
    if (declaredUtf8 || (!IsAscii(bytes) && Codec::IsValidUtf8(bytes) && e.pragmas.empty()))
        e.form = ScriptForm::Utf8;
    return e;
}

namespace {

// The buffer of the last script read on this thread, kept for the next one:
// a run over many scripts, or over one large script again, does not ask the
// system for fresh memory each time.
thread_local char* t_spare = nullptr;
thread_local std::size_t t_spareCapacity = 0;

// Memory for a script's bytes, mapped from the system. A large buffer asks
// for huge pages: filling a fresh buffer page by page of 4 kB costs more
// than reading the file.
char* MapBuffer(std::size_t size)
{
    void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    if (size >= (std::size_t(2) << 20))
        ::madvise(p, size, MADV_HUGEPAGE);
#endif
    return static_cast<char*>(p);
}

} // namespace

ScriptText::Buffer::~Buffer()
{
    if (!m_data)
        return;
    if (m_capacity > t_spareCapacity) {
        if (t_spare)
            ::munmap(t_spare, t_spareCapacity);
        t_spare = m_data;
        t_spareCapacity = m_capacity;
    } else {
        ::munmap(m_data, m_capacity);
    }
}

void ScriptText::Buffer::Reserve(std::size_t size)
{
    if (size <= m_capacity)
        return;
    if (m_data)
        ::munmap(m_data, m_capacity);
    if (t_spareCapacity >= size) {
        m_data = std::exchange(t_spare, nullptr);
        m_capacity = std::exchange(t_spareCapacity, 0);
        return;
    }
    // Whole huge pages, so that the mapping can use them.
    const std::size_t unit = size >= (std::size_t(2) << 20) ? (std::size_t(2) << 20) : 4096;
    m_capacity = (size + unit - 1) / unit * unit;
    m_data = MapBuffer(m_capacity);
}

bool ScriptText::Open(const std::string& path, int workingCodePage)
{
    m_failed = false;
    m_error.clear();
    m_identity = {};
    LineFile file;
    if (!file.OpenForReading(path)) {
        m_error = file.ErrorText();
        m_failed = true;
        return false;
    }
    m_identity = file.Identity();
    bool read = true;
    const std::int64_t size = file.Size();
    if (size >= 0 && size <= static_cast<std::int64_t>(LineFile::kMaxLine)) {
        // One read into a buffer that is not cleared first; a file that
        // grew meanwhile is read again as a whole.
        m_buffer.Reserve(static_cast<std::size_t>(size) + 1);
        const std::int64_t got = file.ReadStart(m_buffer.Data(), static_cast<std::size_t>(size) + 1);
        read = got >= 0;
        if (got > size) {
            m_owned.clear();
            read = file.ReadAll(m_owned);
            m_bytes = m_owned;
        } else {
            m_bytes = std::string_view(m_buffer.Data(), read ? static_cast<std::size_t>(got) : 0);
        }
    } else {
        read = file.ReadAll(m_owned);
        m_bytes = m_owned;
    }
    Load(workingCodePage);
    // A file that could not be read whole gives no lines, and says why.
    if (!read) {
        m_error = file.ErrorText();
        m_failed = true;
    }
    return true;
}

ScriptFileRead ReadScriptFile(const std::string& path)
{
    ScriptFileRead read;
    LineFile file;
    read.opened = file.OpenForReading(path);
    read.identity = file.Identity();
    read.whole = read.opened && file.ReadAll(read.bytes);
    if (!read.whole)
        read.error = file.ErrorText();
    return read;
}

bool ScriptText::Open(ScriptFileRead&& read, int workingCodePage)
{
    m_failed = false;
    m_error.clear();
    m_identity = {};
    if (!read.opened) {
        m_error = std::move(read.error);
        m_failed = true;
        return false;
    }
    m_identity = read.identity;
    m_owned = std::move(read.bytes);
    m_bytes = m_owned;
    Load(workingCodePage);
    // A file that could not be read whole gives no lines, and says why.
    if (!read.whole) {
        m_error = std::move(read.error);
        m_failed = true;
    }
    return true;
}

void ScriptText::OpenMemory(std::string_view bytes, int workingCodePage)
{
    m_failed = false;
    m_error.clear();
    m_identity = {};
    m_bytes = bytes;
    Load(workingCodePage);
}

void ScriptText::Load(int workingCodePage)
{
    m_working = workingCodePage;
    const int fallback = workingCodePage == kUtf8CodePage ? 1252 : workingCodePage;
    m_encoding = DetectScriptEncoding(m_bytes, fallback);
    m_prologue = {};
    // An 8-bit script wholly in the dictionary's code page is read as it is.
    bool raw = false;
    if (m_encoding.form == ScriptForm::Bytes) {
        if (workingCodePage == kUtf8CodePage) {
            raw = IsAscii(m_bytes);
        } else {
            raw = true;
            for (int page : m_encoding.pragmas)
                raw = raw && (page == workingCodePage || page == -1);
        }
    }
    m_transcoded = !raw;
    if (m_encoding.bom)
        m_prologue = m_bytes.substr(0, m_encoding.form == ScriptForm::Utf8 ? 3 : 2);
    Rewind();
}

void ScriptText::Rewind()
{
    m_pos = m_prologue.size();
    m_nextPragma = 0;
    m_codePage = m_encoding.form == ScriptForm::Bytes ? m_encoding.codePage : kUtf8CodePage;
    if (!m_transcoded)
        m_codePage = m_working;
}

namespace {

// A line of UTF-8 in the working encoding; lossy when a character has no
// place in it (the line then keeps only what is ASCII, for the scanner).
void ToWorking(std::string& text, int working, bool& lossy)
{
    if (working == kUtf8CodePage || IsAscii(text))
        return;
    std::string out;
    if (!lossy && CodecFor(working).FromUtf8(text, out)) {
        text = std::move(out);
        return;
    }
    lossy = true;
    out.clear();
    for (char c : text)
        out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    text = std::move(out);
}

// UTF-16 code units as UTF-8; false at an unpaired surrogate or an odd
// byte (out then holds the ASCII of the line and '?' for the rest).
bool Utf16ToUtf8(std::string_view units, bool bigEndian, std::string& out)
{
    const std::size_t n = units.size() & ~std::size_t(1);
    out.resize(n / 2 * 3);
    char* o = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(units.data());
    const int hi = bigEndian ? 0 : 1;
    bool whole = units.size() % 2 == 0;
    for (std::size_t i = 0; i < n; i += 2) {
#if defined(__SSE2__)
        // Eight units at a time while they are ASCII, as most of a script
        // is: each becomes its low byte.
        for (; i + 16 <= n; i += 16) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            if (bigEndian)
                v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
            const __m128i high = _mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xFF80)));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) != 0xFFFF)
                break;
            _mm_storel_epi64(reinterpret_cast<__m128i*>(o), _mm_packus_epi16(v, v));
            o += 8;
        }
        if (i >= n)
            break;
#endif
        char32_t c = static_cast<char32_t>(p[i + hi] << 8 | p[i + 1 - hi]);
        if (c < 0x80) {
            *o++ = static_cast<char>(c);
            continue;
        }
        if (c < 0x800) {
            *o++ = static_cast<char>(0xC0 | (c >> 6));
            *o++ = static_cast<char>(0x80 | (c & 0x3F));
            continue;
        }
        if (c >= 0xD800 && c < 0xE000) {
            const char32_t next = i + 3 < n ? static_cast<char32_t>(p[i + 2 + hi] << 8 | p[i + 3 - hi]) : 0;
            if (c < 0xDC00 && next >= 0xDC00 && next < 0xE000) {
                // A pair: four bytes of UTF-8 for two units (six bytes were
                // set aside).
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                i += 2;
                *o++ = static_cast<char>(0xF0 | (c >> 18));
                *o++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                *o++ = static_cast<char>(0x80 | (c & 0x3F));
            } else {
                whole = false;
                *o++ = '?';
            }
            continue;
        }
        *o++ = static_cast<char>(0xE0 | (c >> 12));
        *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *o++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    if (!whole) {
        std::string ascii;
        for (char c : out)
            ascii += static_cast<unsigned char>(c) < 0x80 ? c : '?';
        out = std::move(ascii);
    }
    return whole;
}

// UTF-8 as UTF-16 code units; false when the text is not UTF-8.
bool Utf8ToUtf16(std::string_view text, bool bigEndian, std::string& out)
{
    out.clear();
    out.reserve(text.size() * 2);
    auto put = [&](char32_t u) {
        const char a = static_cast<char>(u >> 8), b = static_cast<char>(u & 0xFF);
        out += bigEndian ? a : b;
        out += bigEndian ? b : a;
    };
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        char32_t c = 0;
        std::size_t length = 0;
        if (b < 0x80) {
            c = b;
            length = 1;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            length = 2;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            length = 3;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07;
            length = 4;
        } else {
            return false;
        }
        if (i + length > n)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            c = c << 6 | (p[i + k] & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            return false;
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
        i += length;
    }
    return true;
}

} // namespace

std::int64_t ScriptText::ReadFirstLine(std::string& line)
{
    Rewind();
    return ReadLine(line);
}

std::int64_t ScriptText::ReadLine(std::string& line)
{
    std::string_view view;
    const std::int64_t length = ReadLine(view);
    if (length >= 0)
        line.assign(view);
    return length;
}

std::int64_t ScriptText::ReadFirstLine(std::string_view& line)
{
    Rewind();
    return ReadLine(line);
}

std::int64_t ScriptText::ReadLine(std::string_view& line)
{
    const std::string_view all = m_bytes;
    if (m_pos >= all.size()) {
        m_lastEnd = LineFile::LineEnd::None;
        m_lastOriginal = {};
        return -1;
    }
    const bool wide = m_encoding.form == ScriptForm::Utf16Le || m_encoding.form == ScriptForm::Utf16Be;
    const std::size_t start = m_pos;
    std::size_t contentEnd = all.size();
    m_lastEnd = LineFile::LineEnd::None;
    if (!wide) {
        const std::size_t lf = start + FindByte(all.data() + start, all.size() - start, '\n');
        if (lf < all.size()) {
            contentEnd = lf;
            m_pos = contentEnd + 1;
            m_lastEnd = LineFile::LineEnd::Lf;
            if (contentEnd > start && all[contentEnd - 1] == '\r') {
                --contentEnd;
                m_lastEnd = LineFile::LineEnd::CrLf;
            }
        } else {
            m_pos = all.size();
        }
    } else {
        const bool big = m_encoding.form == ScriptForm::Utf16Be;
        const std::size_t units = all.size() & ~std::size_t(1);
        const std::size_t low = big ? 1 : 0; // the byte that carries an ASCII character
        // A line feed is the byte 0x0A at the low place of a unit whose other
        // byte is zero.
        std::size_t i = units;
        for (std::size_t from = start + low; from < units;) {
            const void* hit = std::memchr(all.data() + from, '\n', units - from);
            if (!hit)
                break;
            const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - all.data());
            if (((at - start) & 1) == low && all[at + 1 - 2 * low] == '\0') {
                i = at - low;
                break;
            }
            from = at + 1;
        }
        if (i < units) {
            contentEnd = i;
            m_pos = i + 2;
            m_lastEnd = LineFile::LineEnd::Lf;
            if (contentEnd >= start + 2 && all[contentEnd - 2 + low] == '\r' &&
                all[contentEnd - 1 - low] == '\0') {
                contentEnd -= 2;
                m_lastEnd = LineFile::LineEnd::CrLf;
            }
        } else {
            m_pos = all.size();
        }
    }
    const std::string_view content = all.substr(start, contentEnd - start);
    m_lastOriginal = content;
    m_lastLossy = false;
    m_lastCodePage = m_codePage;
    // A line read as it is stays in the script's bytes; a converted one is
    // in m_converted until the next line is read.
    line = content;
    if (!m_transcoded)
        return static_cast<std::int64_t>(line.size());
    if (wide) {
        m_lastLossy = !Utf16ToUtf8(content, m_encoding.form == ScriptForm::Utf16Be, m_converted);
        // A line whose every unit became one byte is ASCII, which every
        // working encoding holds as it is (and so is what a lossy line
        // keeps): only the others are converted again.
        if (!m_lastLossy && m_converted.size() * 2 != content.size())
            ToWorking(m_converted, m_working, m_lastLossy);
        line = m_converted;
        return static_cast<std::int64_t>(line.size());
    }
    // 8-bit or UTF-8: ASCII needs no conversion, and neither does a line
    // already in the working encoding.
    bool converted = false;
    if (m_codePage == m_working || IsAscii(content)) {
        if (m_working == kUtf8CodePage && m_codePage == kUtf8CodePage && !Codec::IsValidUtf8(content)) {
            m_lastLossy = true;
            m_converted = Codec::RepairUtf8(content);
            converted = true;
        }
    } else {
        converted = true;
        if (!CodecFor(m_codePage).ToUtf8Strict(content, m_converted)) {
            m_lastLossy = true;
            m_converted = CodecFor(m_codePage).ToUtf8(content);
        }
    }
    if (m_codePage != m_working) {
        if (!converted)
            m_converted.assign(content);
        converted = true;
        ToWorking(m_converted, m_working, m_lastLossy);
    }
    if (converted)
        line = m_converted;
    // A pragma changes the code page of the lines after it. The lines of
    // the pragmas were found when the script was read.
    if (m_encoding.form == ScriptForm::Bytes) {
        const std::vector<std::size_t>& lines = m_encoding.pragmaLines;
        while (m_nextPragma < lines.size() && lines[m_nextPragma] < start)
            ++m_nextPragma;
        if (m_nextPragma < lines.size() && lines[m_nextPragma] == start) {
            const int page = m_encoding.pragmas[m_nextPragma];
            m_codePage = page == -1 ? m_encoding.codePage : page;
        }
    }
    return static_cast<std::int64_t>(line.size());
}

std::string_view ScriptText::EncodeEnd(LineFile::LineEnd end) const
{
    std::string_view text = end == LineFile::LineEnd::CrLf ? "\r\n"
                            : end == LineFile::LineEnd::Lf ? "\n"
                                                           : "";
    switch (m_encoding.form) {
    case ScriptForm::Utf16Le:
        text = end == LineFile::LineEnd::CrLf ? std::string_view("\r\0\n\0", 4)
               : end == LineFile::LineEnd::Lf ? std::string_view("\n\0", 2)
                                              : std::string_view();
        break;
    case ScriptForm::Utf16Be:
        text = end == LineFile::LineEnd::CrLf ? std::string_view("\0\r\0\n", 4)
               : end == LineFile::LineEnd::Lf ? std::string_view("\0\n", 2)
                                              : std::string_view();
        break;
    default:
        break;
    }
    return text;
}

bool ScriptText::TextsHoldRawHighBytes() const
{
    bool quoted = false;
    for (std::size_t i = 0; i < m_bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(m_bytes[i]);
        if (c == '\n') {
            quoted = false;
        } else if (c == '"') {
            quoted = !quoted; // a doubled quote inside a text toggles twice
        } else if (quoted && c >= 0x80) {
            return true;
        } else if (!quoted && c == '/' && i + 1 < m_bytes.size() && m_bytes[i + 1] == '/') {
            // A comment to the end of its line.
            const std::size_t end = m_bytes.find('\n', i);
            if (end == std::string_view::npos)
                break;
            i = end - 1;
        }
    }
    return false;
}

bool ScriptText::WritesAsIs(std::string_view working, int codePage) const
{
    if (!m_transcoded)
        return true;
    // A line of 8-bit or UTF-8 script that is ASCII, or that is already in
    // the code page of its place, is written as it is.
    if (m_encoding.form == ScriptForm::Bytes || m_encoding.form == ScriptForm::Utf8) {
        const int target = m_encoding.form == ScriptForm::Utf8 ? kUtf8CodePage : codePage;
        return target == m_working || IsAscii(working);
    }
    return false;
}

bool ScriptText::EncodeLine(std::string_view working, int codePage, std::string& out) const
{
    if (WritesAsIs(working, codePage)) {
        out.assign(working);
        return true;
    }
    // An ASCII line of a UTF-16 script widens byte by byte, sixteen bytes at
    // a time where the processor can.
    if (IsAscii(working)) {
        const bool big = m_encoding.form == ScriptForm::Utf16Be;
        out.resize(working.size() * 2);
        std::size_t i = 0;
#if defined(__SSE2__)
        for (; i + 16 <= working.size(); i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(working.data() + i));
            const __m128i zero = _mm_setzero_si128();
            const __m128i low = big ? _mm_unpacklo_epi8(zero, bytes) : _mm_unpacklo_epi8(bytes, zero);
            const __m128i upper = big ? _mm_unpackhi_epi8(zero, bytes) : _mm_unpackhi_epi8(bytes, zero);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out.data() + 2 * i), low);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out.data() + 2 * i + 16), upper);
        }
#endif
        for (; i < working.size(); ++i) {
            out[2 * i + (big ? 1 : 0)] = working[i];
            out[2 * i + (big ? 0 : 1)] = '\0';
        }
        return true;
    }
    std::string utf8;
    if (m_working == kUtf8CodePage) {
        if (!Codec::IsValidUtf8(working))
            return false;
        utf8.assign(working);
    } else if (!CodecFor(m_working).ToUtf8Strict(working, utf8)) {
        return false;
    }
    switch (m_encoding.form) {
    case ScriptForm::Utf8:
        out = std::move(utf8);
        return true;
    case ScriptForm::Utf16Le:
    case ScriptForm::Utf16Be:
        return Utf8ToUtf16(utf8, m_encoding.form == ScriptForm::Utf16Be, out);
    case ScriptForm::Bytes:
        break;
    }
    return CodecFor(codePage).FromUtf8(utf8, out);
}

std::vector<int> OtherDeclaredCodePages(const std::string& path, int codePage)
{
    std::vector<int> others;
    const ScriptFileRead read = ReadScriptFile(path);
    if (!read.opened)
        return others;
    const ScriptEncoding encoding = DetectScriptEncoding(read.bytes, codePage);
    if (encoding.form != ScriptForm::Bytes)
        return others;
    for (const int page : encoding.pragmas) {
        if (page > 0 && page != codePage && std::find(others.begin(), others.end(), page) == others.end())
            others.push_back(page);
    }
    return others;
}
