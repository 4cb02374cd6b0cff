#pragma once

#include "tessary/TessaryExport.h"

#include <QString>

#include <cstdint>
#include <ctime>

class QLocale;

/// A date as callers exchange it: the month from 1 to 12.
struct tagDATE
{
    int day = 1;
    int month = 1;
    int year = 1970;
};

struct tagTIME
{
    int hour = 0;
    int minute = 0;
    int second = 0;
};

/// The stored form of a CDateTime, copied between values as it is (the
/// month from 0 to 11).
struct TAGdatetime
{
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
    std::uint32_t extra = 0;
};

/// The short date and time formats of the user's region. On Windows they
/// come from the "intl" section of the user's profile; here they come from
/// the locale (QLocale), mapped this way:
/// - shortDate ("sShortDate"): the locale's short date format with only its
///   day, month and year fields ("d", "M", "y" runs) and what separates them,
///   e.g. "dd/MM/yyyy" (fr_FR), "M/d/yy" (en_US), "dd.MM.yy" (de_DE);
/// - dateSeparator ("sDate"): the first character between the first two of
///   those fields ("/" when there is none);
/// - clock ("iTime"): 0 (12-hour) when the short time format shows AM/PM
///   ("AP"/"ap"), else 1 (24-hour);
/// - leadingZero ("iTLZero"): whether its hour field has two letters;
/// - timeSeparator ("sTime"): the character after its hour field;
/// - morning, afternoon ("s1159", "s2359"): the locale's AM and PM texts on a
///   12-hour clock, empty on a 24-hour one.
/// The default values are the profile's defaults.
struct TESSARY_EXPORT RegionalFormats
{
    QString dateSeparator = QStringLiteral("/");
    QString shortDate = QStringLiteral("dd/MM/yyyy");
    int clock = -1;
    bool leadingZero = false;
    QString timeSeparator = QStringLiteral(":");
    QString morning;
    QString afternoon;

    static RegionalFormats FromLocale(const QLocale& locale);
    /// The formats of the running system's locale.
    static RegionalFormats System();
};

/// A date and time read from and written to text in the regional short
/// formats. Every reader fails (returns false, empties its text) while the
/// value is invalid; parsers leave it invalid when a piece is missing.
class TESSARY_EXPORT CDateTime
{
public:
    CDateTime();
    explicit CDateTime(const RegionalFormats& formats);
    CDateTime(const CDateTime& other);
    CDateTime& operator=(const CDateTime& other);
    virtual ~CDateTime();

    void SetFormats(const RegionalFormats& formats) { m_formats = formats; }
    const RegionalFormats& Formats() const { return m_formats; }

    void Set(const tagDATE& date, const tagTIME& time);
    void Set(const TAGdatetime& stored);
    /// Reads a date in the short date format; only the date changes.
    bool SetDate(const QString& text);
    /// Reads "hour:minute:second" with an optional AM/PM designator; only the
    /// time changes. The seconds are required.
    bool SetTime(const QString& text);
    void SetCurrentDateTime();
    /// A calendar time in local time; valid only for years after 1970.
    bool SetTimeT(std::time_t time);

    bool GetDateString(QString& text) const;
    bool GetTimeString(QString& text) const;
    /// The date, a blank and the time.
    bool GetString(QString& text) const;
    bool GetDateTime(TAGdatetime& stored) const;
    bool GetDateAndTime(tagDATE& date, tagTIME& time) const;
    bool GetTimeT(std::time_t& time) const;

    bool IsValid() const { return m_valid; }
    void Invalidate() { m_valid = false; }

protected:
    /// One field of a date: "M" the month, "d" the day, any other letter the
    /// year (a two-digit year is 2000 + it below 80, else 1900 + it).
    void FillDatetimeStruct(const QString& text, QChar letter);
    /// One field of a date as the format writes it, width the number of
    /// letters of the format's field.
    QString GetDatetimeStruct(QChar letter, int width) const;

private:
    RegionalFormats m_formats;
    bool m_valid = false;
    TAGdatetime m_value;
};
