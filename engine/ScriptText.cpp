#include "engine/ScriptText.h"

#include "dictionary/Codec.h"

namespace {

const Codec& CodecFor(int codePage)
{
    return Codec::Cached(codePage);
}

const Codec& Utf16Codec(bool bigEndian)
{
    static const Codec little("UTF-16LE");
    static const Codec big("UTF-16BE");
    return bigEndian ? big : little;
}

bool IsAscii(std::string_view bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// Every pragma's code page in an 8-bit script, in order.
std::vector<int> PragmaCodePages(std::string_view bytes)
{
    std::vector<int> pages;
    std::size_t at = 0;
    while ((at = bytes.find("code_page", at)) != std::string_view::npos) {
        const std::size_t lineStart = bytes.rfind('\n', at);
        const std::size_t begin = lineStart == std::string_view::npos ? 0 : lineStart + 1;
        const std::size_t lineEnd = bytes.find('\n', at);
        const int page = PragmaCodePage(bytes.substr(
            begin, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd - begin));
        if (page != 0)
            pages.push_back(page);
        at += 9;
    }
    return pages;
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
    const std::vector<int> pragmas = PragmaCodePages(bytes);
    const bool declaredUtf8 = !pragmas.empty() && pragmas.front() == kUtf8CodePage;
    if (declaredUtf8 || (!IsAscii(bytes) && Codec::IsValidUtf8(bytes) && pragmas.empty()))
        e.form = ScriptForm::Utf8;
    return e;
}

bool ScriptText::Open(const std::string& path, int workingCodePage)
{
    m_failed = false;
    m_error.clear();
    LineFile file;
    if (!file.OpenForReading(path)) {
        m_error = file.ErrorText();
        m_failed = true;
        return false;
    }
    std::string bytes;
    const bool read = file.ReadAll(bytes);
    m_bytes = std::move(bytes);
    Load(workingCodePage);
    // A file that could not be read whole gives no lines, and says why.
    if (!read) {
        m_error = file.ErrorText();
        m_failed = true;
    }
    return true;
}

void ScriptText::OpenMemory(std::string_view bytes, int workingCodePage)
{
    m_failed = false;
    m_error.clear();
    m_bytes.assign(bytes);
    Load(workingCodePage);
}

void ScriptText::Load(int workingCodePage)
{
    m_working = workingCodePage;
    const int fallback = workingCodePage == kUtf8CodePage ? 1252 : workingCodePage;
    m_encoding = DetectScriptEncoding(m_bytes, fallback);
    m_lines.clear();
    m_lossyLines = 0;
    m_prologue = {};
    m_next = 0;
    // An 8-bit script wholly in the dictionary's code page is read as it is.
    bool raw = false;
    if (m_encoding.form == ScriptForm::Bytes) {
        if (workingCodePage == kUtf8CodePage) {
            raw = IsAscii(m_bytes);
        } else {
            raw = true;
            for (int page : PragmaCodePages(m_bytes))
                raw = raw && (page == workingCodePage || page == -1);
        }
    }
    m_transcoded = !raw;
    if (raw) {
        m_raw.OpenMemory(m_bytes);
        return;
    }
    switch (m_encoding.form) {
    case ScriptForm::Bytes:
        SplitBytes();
        break;
    case ScriptForm::Utf8:
        if (m_encoding.bom)
            m_prologue = std::string_view(m_bytes).substr(0, 3);
        SplitBytes();
        break;
    case ScriptForm::Utf16Le:
    case ScriptForm::Utf16Be:
        if (m_encoding.bom)
            m_prologue = std::string_view(m_bytes).substr(0, 2);
        SplitUtf16(m_encoding.form == ScriptForm::Utf16Be);
        break;
    }
    for (const Line& line : m_lines)
        m_lossyLines += line.lossy ? 1 : 0;
}

namespace {

// A line of UTF-8 in the working encoding; lossy when a character has no
// place in it (the line then keeps only what is ASCII, for the scanner).
void ToWorking(std::string& text, int working, bool& lossy)
{
    if (working == kUtf8CodePage)
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

} // namespace

void ScriptText::SplitBytes()
{
    const std::string_view all(m_bytes);
    std::size_t pos = m_prologue.size();
    int codePage = m_encoding.form == ScriptForm::Utf8 ? kUtf8CodePage : m_encoding.codePage;
    while (pos < all.size()) {
        Line line;
        line.start = pos;
        const std::size_t lf = all.find('\n', pos);
        std::size_t contentEnd = lf == std::string_view::npos ? all.size() : lf;
        line.end = LineFile::LineEnd::None;
        if (lf != std::string_view::npos) {
            line.end = LineFile::LineEnd::Lf;
            if (contentEnd > pos && all[contentEnd - 1] == '\r') {
                --contentEnd;
                line.end = LineFile::LineEnd::CrLf;
            }
        }
        line.length = contentEnd - pos;
        line.codePage = codePage;
        const std::string_view content = all.substr(line.start, line.length);
        if (!CodecFor(codePage).ToUtf8Strict(content, line.text)) {
            line.lossy = true;
            line.text = CodecFor(codePage).ToUtf8(content);
        }
        ToWorking(line.text, m_working, line.lossy);
        // A pragma changes the code page of the lines after it.
        if (m_encoding.form == ScriptForm::Bytes) {
            if (const int page = PragmaCodePage(content); page != 0)
                codePage = page == -1 ? m_encoding.codePage : page;
        }
        m_lines.push_back(std::move(line));
        pos = lf == std::string_view::npos ? all.size() : lf + 1;
    }
}

void ScriptText::SplitUtf16(bool bigEndian)
{
    const std::string_view all(m_bytes);
    auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(all[i]);
        const auto b = static_cast<unsigned char>(all[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    std::size_t pos = m_prologue.size();
    const std::size_t units = all.size() & ~std::size_t(1);
    while (pos < all.size()) {
        Line line;
        line.start = pos;
        std::size_t i = pos;
        while (i < units && unit(i) != 0x0A)
            i += 2;
        std::size_t contentEnd = i < units ? i : all.size();
        line.end = LineFile::LineEnd::None;
        if (i < units) {
            line.end = LineFile::LineEnd::Lf;
            if (contentEnd >= pos + 2 && unit(contentEnd - 2) == 0x0D) {
                contentEnd -= 2;
                line.end = LineFile::LineEnd::CrLf;
            }
        }
        line.length = contentEnd - pos;
        line.codePage = kUtf8CodePage;
        const std::string_view content = all.substr(line.start, line.length);
        if (content.size() % 2 != 0 || !Utf16Codec(bigEndian).ToUtf8Strict(content, line.text)) {
            line.lossy = true;
            line.text.clear();
            for (std::size_t k = 0; k + 1 < content.size(); k += 2) {
                const int u = bigEndian ? (static_cast<unsigned char>(content[k]) << 8 |
                                           static_cast<unsigned char>(content[k + 1]))
                                        : (static_cast<unsigned char>(content[k + 1]) << 8 |
                                           static_cast<unsigned char>(content[k]));
                line.text += u < 0x80 ? static_cast<char>(u) : '?';
            }
        }
        ToWorking(line.text, m_working, line.lossy);
        m_lines.push_back(std::move(line));
        pos = i < units ? i + 2 : all.size();
    }
}

std::int64_t ScriptText::ReadFirstLine(std::string& line)
{
    if (!m_transcoded) {
        const std::int64_t n = m_raw.ReadFirstLine(line);
        m_lastEnd = m_raw.LastLineEnd();
        m_lastRaw = line;
        m_lastLossy = false;
        m_lastCodePage = m_working;
        return n;
    }
    m_next = 0;
    return ReadLine(line);
}

std::int64_t ScriptText::ReadLine(std::string& line)
{
    if (!m_transcoded) {
        const std::int64_t n = m_raw.ReadLine(line);
        m_lastEnd = m_raw.LastLineEnd();
        m_lastRaw = line;
        m_lastLossy = false;
        m_lastCodePage = m_working;
        return n;
    }
    if (m_next >= m_lines.size()) {
        m_lastEnd = LineFile::LineEnd::None;
        return -1;
    }
    const Line& l = m_lines[m_next++];
    line = l.text;
    m_lastEnd = l.end;
    m_lastOriginal = std::string_view(m_bytes).substr(l.start, l.length);
    m_lastLossy = l.lossy;
    m_lastCodePage = l.codePage;
    return static_cast<std::int64_t>(line.size());
}

std::string_view ScriptText::LastOriginal() const
{
    return m_transcoded ? m_lastOriginal : std::string_view(m_lastRaw);
}

std::string ScriptText::EncodeEnd(LineFile::LineEnd end) const
{
    std::string text = end == LineFile::LineEnd::CrLf ? "\r\n" : end == LineFile::LineEnd::Lf ? "\n" : "";
    if (!m_transcoded || m_encoding.form == ScriptForm::Bytes || m_encoding.form == ScriptForm::Utf8)
        return text;
    std::string wide;
    for (char c : text) {
        if (m_encoding.form == ScriptForm::Utf16Le) {
            wide += c;
            wide += '\0';
        } else {
            wide += '\0';
            wide += c;
        }
    }
    return wide;
}

bool ScriptText::EncodeLine(std::string_view working, int codePage, std::string& out) const
{
    if (!m_transcoded) {
        out.assign(working);
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
        return Utf16Codec(m_encoding.form == ScriptForm::Utf16Be).FromUtf8(utf8, out);
    case ScriptForm::Bytes:
        break;
    }
    return CodecFor(codePage).FromUtf8(utf8, out);
}
