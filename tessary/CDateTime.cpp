#include "tessary/CDateTime.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <vector>

namespace {

// The letter runs of a format ("dd", "MM", "yyyy") in order.
struct Field
{
    QChar letter;
    int width;
};

std::vector<Field> DateFields(const QString& pattern)
{
    std::vector<Field> fields;
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c != u'd' && c != u'M' && c != u'y') {
            ++i;
            continue;
        }
        int j = i;
        while (j < pattern.size() && pattern[j] == c)
            ++j;
        fields.push_back({c, j - i});
        i = j;
    }
    return fields;
}

// Splits at any of the characters; pieces keep their blanks.
QStringList SplitAtAny(const QString& text, const QString& separators)
{
    QStringList pieces;
    QString piece;
    for (const QChar c : text) {
        if (separators.contains(c)) {
            pieces << piece;
            piece.clear();
        } else {
            piece += c;
        }
    }
    pieces << piece;
    return pieces;
}

// A number as atoi reads it: leading blanks, digits, the rest ignored.
bool ReadNumber(const QString& text, int& value)
{
    const QString trimmed = text.trimmed();
    int i = 0;
    value = 0;
    while (i < trimmed.size() && trimmed[i].isDigit()) {
        value = value * 10 + trimmed[i].digitValue();
        ++i;
    }
    return i > 0;
}

} // namespace

RegionalFormats RegionalFormats::FromLocale(const QLocale& locale)
{
    RegionalFormats f;
    const QString date = locale.dateFormat(QLocale::ShortFormat);
    // Only the day, month and year fields and what lies between them.
    QString pattern;
    QString separator;
    bool inField = false;
    int fields = 0;
    for (const QChar c : date) {
        const bool letter = c == u'd' || c == u'M' || c == u'y';
        if (letter) {
            if (!inField)
                ++fields;
            pattern += c;
        } else if (c.isLetter() || c == u'\'') {
            continue;
        } else if (fields > 0 && fields < 3) {
            pattern += c;
            if (separator.isEmpty() && !c.isSpace())
                separator = c;
        }
        inField = letter;
    }
    f.shortDate = pattern.trimmed();
    f.dateSeparator = separator.isEmpty() ? QStringLiteral("/") : separator;

    const QString time = locale.timeFormat(QLocale::ShortFormat);
    const bool twelveHours = time.contains(QStringLiteral("AP"), Qt::CaseInsensitive);
    f.clock = twelveHours ? 0 : 1;
    const int hour = static_cast<int>(time.indexOf(QRegularExpression(QStringLiteral("[hH]"))));
    int hourWidth = 0;
    while (hour >= 0 && hour + hourWidth < time.size() && time[hour + hourWidth].toLower() == u'h')
        ++hourWidth;
    f.leadingZero = hourWidth >= 2;
    f.timeSeparator =
        hour >= 0 && hour + hourWidth < time.size() ? QString(time[hour + hourWidth]) : QStringLiteral(":");
    if (twelveHours) {
        f.morning = locale.amText();
        f.afternoon = locale.pmText();
    }
    return f;
}

RegionalFormats RegionalFormats::System()
{
    return FromLocale(QLocale::system());
}

CDateTime::CDateTime() : m_formats(RegionalFormats::System()) {}

CDateTime::CDateTime(const RegionalFormats& formats) : m_formats(formats) {}

CDateTime::CDateTime(const CDateTime& other) = default;

CDateTime& CDateTime::operator=(const CDateTime& other)
{
    if (this != &other) {
        m_formats = other.m_formats;
        m_valid = other.m_valid;
        m_value = other.m_value;
    }
    return *this;
}

CDateTime::~CDateTime() = default;

void CDateTime::Set(const tagDATE& date, const tagTIME& time)
{
    m_value.year = static_cast<std::uint16_t>(date.year);
    m_value.month = static_cast<std::uint8_t>(date.month - 1);
    m_value.day = static_cast<std::uint8_t>(date.day);
    m_value.hour = static_cast<std::uint8_t>(time.hour);
    m_value.minute = static_cast<std::uint8_t>(time.minute);
    m_value.second = static_cast<std::uint8_t>(time.second);
    m_value.extra = 0;
    m_valid = true;
}

void CDateTime::Set(const TAGdatetime& stored)
{
    m_value = stored;
    m_valid = true;
}

void CDateTime::FillDatetimeStruct(const QString& text, QChar letter)
{
    int number = 0;
    ReadNumber(text, number);
    if (letter == u'M') {
        m_value.month = static_cast<std::uint8_t>(number - 1);
    } else if (letter == u'd') {
        m_value.day = static_cast<std::uint8_t>(number);
    } else {
        if (number < 100)
            number += number < 80 ? 2000 : 1900;
        m_value.year = static_cast<std::uint16_t>(number);
    }
}

bool CDateTime::SetDate(const QString& text)
{
    m_valid = false;
    const std::vector<Field> fields = DateFields(m_formats.shortDate);
    const QStringList pieces = SplitAtAny(text, m_formats.dateSeparator);
    if (fields.size() < 3 || pieces.size() < 3)
        return false;
    int unused = 0;
    for (int i = 0; i < 3; ++i) {
        if (!ReadNumber(pieces[i], unused))
            return false;
    }
    for (int i = 0; i < 3; ++i)
        FillDatetimeStruct(pieces[i], fields[static_cast<std::size_t>(i)].letter);
    m_valid = true;
    return true;
}

bool CDateTime::SetTime(const QString& text)
{
    m_valid = false;
    const QStringList pieces = SplitAtAny(text, m_formats.timeSeparator);
    if (pieces.size() < 3)
        return false;
    // The seconds end at a blank or at the first letter of a designator.
    QString seconds = pieces[2];
    QString rest;
    for (int i = 0; i < seconds.size(); ++i) {
        if (QStringLiteral(" pPaA").contains(seconds[i])) {
            rest = seconds.mid(i);
            seconds.truncate(i);
            break;
        }
    }
    int hour = 0, minute = 0, second = 0;
    if (!ReadNumber(pieces[0], hour) || !ReadNumber(pieces[1], minute) || !ReadNumber(seconds, second))
        return false;
    if (!rest.trimmed().isEmpty()) {
        // 12 PM is noon and 12 AM midnight; other afternoon hours get 12.
        const bool afternoon = text.contains(u'p', Qt::CaseInsensitive);
        if (afternoon && hour < 12)
            hour += 12;
        else if (!afternoon && hour == 12)
            hour = 0;
    }
    m_value.hour = static_cast<std::uint8_t>(hour);
    m_value.minute = static_cast<std::uint8_t>(minute);
    m_value.second = static_cast<std::uint8_t>(second);
    m_value.extra = 0;
    m_valid = true;
    return true;
}

void CDateTime::SetCurrentDateTime()
{
    SetTimeT(std::time(nullptr));
}

bool CDateTime::SetTimeT(std::time_t time)
{
    m_valid = false;
    std::tm local{};
    if (!localtime_r(&time, &local))
        return false;
    if (local.tm_year + 1900 <= 1970 || local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 0 ||
        local.tm_mday > 31 || local.tm_hour > 23 || local.tm_min > 59 || local.tm_sec > 59)
        return false;
    tagDATE date;
    date.year = local.tm_year + 1900;
    date.month = local.tm_mon + 1;
    date.day = local.tm_mday;
    tagTIME clock;
    clock.hour = local.tm_hour;
    clock.minute = local.tm_min;
    clock.second = local.tm_sec;
    Set(date, clock);
    return true;
}

QString CDateTime::GetDatetimeStruct(QChar letter, int width) const
{
    if (letter == u'M' || letter == u'd') {
        const int value = letter == u'M' ? m_value.month + 1 : m_value.day;
        return width == 1 ? QString::number(value) : QString::asprintf("%02d", value);
    }
    if (width == 2)
        return QString::asprintf("%04d", m_value.year).mid(2, 2);
    return QString::asprintf("%4d", m_value.year);
}

bool CDateTime::GetDateString(QString& text) const
{
    text.clear();
    if (!m_valid)
        return false;
    const std::vector<Field> fields = DateFields(m_formats.shortDate);
    for (std::size_t i = 0; i < fields.size() && i < 3; ++i) {
        if (i > 0)
            text += m_formats.dateSeparator;
        text += GetDatetimeStruct(fields[i].letter, fields[i].width);
    }
    return true;
}

bool CDateTime::GetTimeString(QString& text) const
{
    text.clear();
    if (!m_valid)
        return false;
    int hour = m_value.hour;
    QString designator;
    if (m_formats.clock != 0) {
        designator = m_formats.morning;
    } else {
        // Noon and the afternoon hours are "PM", midnight reads 12.
        designator = hour >= 12 ? m_formats.afternoon : m_formats.morning;
        if (hour > 12)
            hour -= 12;
        else if (hour == 0)
            hour = 12;
    }
    auto number = [this](int value) {
        return m_formats.leadingZero ? QString::asprintf("%02d", value) : QString::number(value);
    };
    text = number(hour) + m_formats.timeSeparator + number(m_value.minute) + m_formats.timeSeparator +
           number(m_value.second) + designator;
    return true;
}

bool CDateTime::GetString(QString& text) const
{
    QString date, time;
    if (!GetDateString(date) || !GetTimeString(time)) {
        text.clear();
        return false;
    }
    text = date + QLatin1Char(' ') + time;
    return true;
}

bool CDateTime::GetDateTime(TAGdatetime& stored) const
{
    if (!m_valid) {
        stored = TAGdatetime{};
        return false;
    }
    stored = m_value;
    return true;
}

bool CDateTime::GetDateAndTime(tagDATE& date, tagTIME& time) const
{
    if (!m_valid)
        return false;
    date.year = m_value.year;
    date.month = m_value.month + 1;
    date.day = m_value.day;
    time.hour = m_value.hour;
    time.minute = m_value.minute;
    time.second = m_value.second;
    return true;
}

bool CDateTime::GetTimeT(std::time_t& time) const
{
    if (!m_valid)
        return false;
    std::tm local{};
    local.tm_year = m_value.year - 1900;
    local.tm_mon = m_value.month;
    local.tm_mday = m_value.day;
    local.tm_hour = m_value.hour;
    local.tm_min = m_value.minute;
    local.tm_sec = m_value.second;
    local.tm_isdst = -1;
    time = std::mktime(&local);
    return true;
}
