#pragma once

#include "tessary/TessaryExport.h"

#include <QString>

#include <cstdint>
#include <memory>

class LineFile;

/// Reads an HTML file element by element: an element is either a whole
/// tag, from its "<" to its ">", or a trimmed run of text between tags.
class TESSARY_EXPORT CHtmlFileParser
{
public:
    explicit CHtmlFileParser(const QString& path);
    ~CHtmlFileParser();
    CHtmlFileParser(const CHtmlFileParser&) = delete;
    CHtmlFileParser& operator=(const CHtmlFileParser&) = delete;

    bool IsOpen() const;
    /// The next element; false at the end of the file.
    bool ReadElement(QString& element);
    /// The next whole tag, skipping text.
    bool ReadTag(QString& tag);

    /// The tag's name ("td", "/td", "font"), empty for text; trims the
    /// element's left side.
    static QString GetTag(QString& element);
    /// The value after "name=" in the element, without one pair of quotes,
    /// up to a blank or ">".
    static QString GetAttribute(const QString& name, const QString& element);
    /// A "#RRGGBB" attribute as a COLORREF (0 when missing or not "#").
    static std::uint32_t GetColor(const QString& name, const QString& element);

private:
    bool NextLine();

    std::unique_ptr<LineFile> m_file;
    QString m_line;
    int m_position = 0;
    bool m_started = false;
};

/// Texts written into and read from the list's files: the Windows-1252
/// bytes of a text (characters it lacks as "&#N;" in HTML, "?" in text),
/// and back.
TESSARY_EXPORT QByteArray ToAnsi(const QString& text, bool html);
TESSARY_EXPORT QString FromAnsi(const std::string& bytes);
TESSARY_EXPORT QString HtmlEscape(const QString& text);
TESSARY_EXPORT QString HtmlUnescape(const QString& text);
