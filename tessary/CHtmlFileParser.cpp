#include "tessary/CHtmlFileParser.h"

#include "dictionary/Codec.h"
#include "dictionary/LineFile.h"

namespace {

const Codec& Ansi()
{
    static const Codec codec;
    return codec;
}

} // namespace

QByteArray ToAnsi(const QString& text, bool html)
{
    std::string bytes;
    if (Ansi().FromUtf8(text.toStdString(), bytes))
        return QByteArray::fromStdString(bytes);
    QByteArray out;
    for (const QChar c : text) {
        std::string one;
        if (Ansi().FromUtf8(QString(c).toStdString(), one))
            out += QByteArray::fromStdString(one);
        else
            out += html ? QByteArray("&#") + QByteArray::number(c.unicode()) + ';' : QByteArray("?");
    }
    return out;
}

QString FromAnsi(const std::string& bytes)
{
    return QString::fromStdString(Ansi().ToUtf8(bytes));
}

QString HtmlEscape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QStringLiteral("&amp;");
            break;
        case '<':
            out += QStringLiteral("&lt;");
            break;
        case '>':
            out += QStringLiteral("&gt;");
            break;
        case '"':
            out += QStringLiteral("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString HtmlUnescape(const QString& text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            const int semicolon = text.indexOf(QLatin1Char(';'), i);
            if (semicolon > i && semicolon - i <= 8) {
                const QString name = text.mid(i + 1, semicolon - i - 1);
                QString replacement;
                if (name == QLatin1String("amp"))
                    replacement = QStringLiteral("&");
                else if (name == QLatin1String("lt"))
                    replacement = QStringLiteral("<");
                else if (name == QLatin1String("gt"))
                    replacement = QStringLiteral(">");
                else if (name == QLatin1String("quot"))
                    replacement = QStringLiteral("\"");
                else if (name == QLatin1String("nbsp"))
                    replacement = QString(QChar(0xA0));
                else if (name.startsWith(QLatin1Char('#'))) {
                    bool ok = false;
                    const uint code = name.mid(1).toUInt(&ok);
                    if (ok && code > 0 && code < 0x10000)
                        replacement = QString(QChar(static_cast<char16_t>(code)));
                }
                if (!replacement.isNull()) {
                    out += replacement;
                    i = semicolon;
                    continue;
                }
            }
        }
        out += text[i];
    }
    return out;
}

CHtmlFileParser::CHtmlFileParser(const QString& path) : m_file(std::make_unique<LineFile>())
{
    m_file->OpenForReading(path.toStdString());
}

CHtmlFileParser::~CHtmlFileParser() = default;

bool CHtmlFileParser::IsOpen() const
{
    return m_file->IsOpen();
}

bool CHtmlFileParser::NextLine()
{
    std::string line;
    const auto n = m_started ? m_file->ReadLine(line) : m_file->ReadFirstLine(line);
    m_started = true;
    if (n < 0)
        return false;
    m_line = FromAnsi(line);
    m_position = 0;
    return true;
}

bool CHtmlFileParser::ReadElement(QString& element)
{
    element.clear();
    for (;;) {
        while (m_position >= m_line.size()) {
            if (!NextLine())
                return false;
        }
        const QChar c = m_line[m_position];
        if (c == QLatin1Char('<') && !element.isEmpty()) {
            const QString text = element.trimmed();
            if (!text.isEmpty()) {
                element = text;
                return true; // the "<" stays for the next element
            }
            element += c;
            ++m_position;
            continue;
        }
        if (c == QLatin1Char('>')) {
            element += c;
            element = element.trimmed();
            ++m_position;
            if (!element.isEmpty())
                return true;
            continue;
        }
        element += c;
        ++m_position;
    }
}

bool CHtmlFileParser::ReadTag(QString& tag)
{
    while (ReadElement(tag)) {
        if (tag.startsWith(QLatin1Char('<')))
            return true;
    }
    return false;
}

QString CHtmlFileParser::GetTag(QString& element)
{
    int start = 0;
    while (start < element.size() && element[start].isSpace())
        ++start;
    element.remove(0, start);
    if (!element.startsWith(QLatin1Char('<')))
        return {};
    int end = 1;
    while (end < element.size() && element[end] != QLatin1Char(' ') && element[end] != QLatin1Char('>'))
        ++end;
    return element.mid(1, end - 1);
}

QString CHtmlFileParser::GetAttribute(const QString& name, const QString& element)
{
    const int at = element.indexOf(name);
    if (at < 0)
        return {};
    const int equals = element.indexOf(QLatin1Char('='), at + name.size());
    if (equals < 0)
        return {};
    int start = equals + 1;
    while (start < element.size() && element[start] == QLatin1Char(' '))
        ++start;
    int end = start;
    while (end < element.size() && element[end] != QLatin1Char(' ') && element[end] != QLatin1Char('>'))
        ++end;
    QString value = element.mid(start, end - start);
    if (value.startsWith(QLatin1Char('"')))
        value.remove(0, 1);
    if (value.endsWith(QLatin1Char('"')))
        value.chop(1);
    return value;
}

std::uint32_t CHtmlFileParser::GetColor(const QString& name, const QString& element)
{
    const QString value = GetAttribute(name, element);
    if (!value.startsWith(QLatin1Char('#')) || value.size() < 7)
        return 0;
    bool ok = false;
    const uint red = value.mid(1, 2).toUInt(&ok, 16);
    const uint green = value.mid(3, 2).toUInt(&ok, 16);
    const uint blue = value.mid(5, 2).toUInt(&ok, 16);
    return red | green << 8 | blue << 16;
}
