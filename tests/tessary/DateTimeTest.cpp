// The date and time value in the regional formats, and the picker.
#include "gui/GuiTestSupport.h"
#include "tessary/CDateTime.h"
#include "tessary/CDlgDateTimeChoice.h"
#include "tessary/TessaryStrings.h"

#include <QListWidget>
#include <QLocale>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace {

RegionalFormats DayMonthYear()
{
    RegionalFormats f;
    f.shortDate = QStringLiteral("dd/MM/yyyy");
    f.dateSeparator = QStringLiteral("/");
    return f;
}

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

QString Text(const CDateTime& value)
{
    QString text;
    value.GetString(text);
    return text;
}

} // namespace

TEST(CDateTime, ReadsAndWritesTheShortDateFormat)
{
    CDateTime value(DayMonthYear());
    QString text = QStringLiteral("left over");
    EXPECT_FALSE(value.GetDateString(text));
    EXPECT_TRUE(text.isEmpty());
    ASSERT_TRUE(value.SetDate(QStringLiteral("7/3/98")));
    tagDATE date;
    tagTIME time;
    ASSERT_TRUE(value.GetDateAndTime(date, time));
    EXPECT_EQ(date.day, 7);
    EXPECT_EQ(date.month, 3);
    EXPECT_EQ(date.year, 1998);
    value.GetDateString(text);
    EXPECT_EQ(text, QStringLiteral("07/03/1998"));
    ASSERT_TRUE(value.SetDate(QStringLiteral("7/3/05")));
    value.GetDateString(text);
    EXPECT_EQ(text, QStringLiteral("07/03/2005"));
    EXPECT_FALSE(value.SetDate(QStringLiteral("7/3")));
    EXPECT_FALSE(value.IsValid());
    TAGdatetime stored;
    stored.year = 1999;
    EXPECT_FALSE(value.GetDateTime(stored));
    EXPECT_EQ(stored.year, 0); // an invalid value gives zeros
}

TEST(CDateTime, ReadsTimesWithSecondsAndDesignators)
{
    CDateTime value(DayMonthYear());
    EXPECT_FALSE(value.SetTime(QStringLiteral("10:30")));
    ASSERT_TRUE(value.SetTime(QStringLiteral("10:30:15 PM")));
    tagDATE date;
    tagTIME time;
    value.GetDateAndTime(date, time);
    EXPECT_EQ(time.hour, 22);
    EXPECT_EQ(time.minute, 30);
    EXPECT_EQ(time.second, 15);
    // Noon and midnight on a 12-hour clock.
    value.SetTime(QStringLiteral("12:00:00 PM"));
    value.GetDateAndTime(date, time);
    EXPECT_EQ(time.hour, 12);
    value.SetTime(QStringLiteral("12:00:00AM"));
    value.GetDateAndTime(date, time);
    EXPECT_EQ(time.hour, 0);
}

TEST(CDateTime, WritesTimesOnTwelveAndTwentyFourHourClocks)
{
    RegionalFormats twelve = DayMonthYear();
    twelve.clock = 0;
    twelve.leadingZero = false;
    twelve.morning = QStringLiteral("AM");
    twelve.afternoon = QStringLiteral("PM");
    CDateTime value(twelve);
    value.Set(tagDATE{1, 2, 2003}, tagTIME{0, 5, 9});
    QString text;
    value.GetTimeString(text);
    EXPECT_EQ(text, QStringLiteral("12:5:9AM"));
    value.Set(tagDATE{1, 2, 2003}, tagTIME{13, 5, 0});
    value.GetTimeString(text);
    EXPECT_EQ(text, QStringLiteral("1:5:0PM"));
    value.Set(tagDATE{1, 2, 2003}, tagTIME{12, 0, 0});
    value.GetTimeString(text);
    EXPECT_EQ(text, QStringLiteral("12:0:0PM"));
    RegionalFormats day = DayMonthYear();
    day.clock = 1;
    day.leadingZero = true;
    CDateTime european(day);
    european.Set(tagDATE{1, 2, 2003}, tagTIME{13, 5, 0});
    EXPECT_EQ(Text(european), QStringLiteral("01/02/2003 13:05:00"));
}

TEST(CDateTime, TheLocaleGivesTheRegionalFormats)
{
    const RegionalFormats french = RegionalFormats::FromLocale(QLocale(QStringLiteral("fr_FR")));
    EXPECT_EQ(french.shortDate, QStringLiteral("dd/MM/yyyy"));
    EXPECT_EQ(french.dateSeparator, QStringLiteral("/"));
    EXPECT_EQ(french.clock, 1);
    EXPECT_TRUE(french.leadingZero);
    EXPECT_EQ(french.timeSeparator, QStringLiteral(":"));
    EXPECT_TRUE(french.morning.isEmpty());
    const RegionalFormats american = RegionalFormats::FromLocale(QLocale(QStringLiteral("en_US")));
    EXPECT_EQ(american.shortDate, QStringLiteral("M/d/yy"));
    EXPECT_EQ(american.clock, 0);
    EXPECT_FALSE(american.leadingZero);
    EXPECT_EQ(american.afternoon, QStringLiteral("PM"));
    const RegionalFormats german = RegionalFormats::FromLocale(QLocale(QStringLiteral("de_DE")));
    EXPECT_EQ(german.shortDate, QStringLiteral("dd.MM.yy"));
    EXPECT_EQ(german.dateSeparator, QStringLiteral("."));

    // One date in each.
    for (const auto& [formats, expected] :
         std::vector<std::pair<RegionalFormats, QString>>{{french, QStringLiteral("07/03/1998 22:30:15")},
                                                          {american, QStringLiteral("3/7/98 10:30:15PM")},
                                                          {german, QStringLiteral("07.03.98 22:30:15")}}) {
        CDateTime value(formats);
        value.Set(tagDATE{7, 3, 1998}, tagTIME{22, 30, 15});
        EXPECT_EQ(Text(value), expected);
        QString date;
        value.GetDateString(date);
        CDateTime back(formats);
        ASSERT_TRUE(back.SetDate(date)) << date.toStdString();
        tagDATE d;
        tagTIME t;
        back.GetDateAndTime(d, t);
        EXPECT_EQ(d.day, 7);
        EXPECT_EQ(d.month, 3);
        EXPECT_EQ(d.year, 1998);
    }
}

TEST(CDateTime, CalendarTimesAndCopies)
{
    CDateTime value(DayMonthYear());
    const std::time_t when = LocalTime(2026, 12, 8, 10, 20, 30);
    ASSERT_TRUE(value.SetTimeT(when));
    std::time_t back = 0;
    ASSERT_TRUE(value.GetTimeT(back));
    EXPECT_EQ(back, when);
    CDateTime copy(DayMonthYear());
    copy = value;
    EXPECT_EQ(Text(copy), QStringLiteral("08/12/2026 10:20:30"));
    // Not after 1970: not valid.
    EXPECT_FALSE(value.SetTimeT(LocalTime(1970, 6, 1, 12, 0, 0)));
    EXPECT_FALSE(value.IsValid());
    EXPECT_FALSE(value.GetTimeT(back));
}

TEST(MonthLayout, DaysAndRowsOfAMonth)
{
    EXPECT_EQ(MonthLayout::Of(2024, 2).days, 29);
    EXPECT_EQ(MonthLayout::Of(2023, 2).days, 28);
    // August 2021 begins on a Sunday: the seventh column, six rows.
    const MonthLayout august = MonthLayout::Of(2021, 8);
    EXPECT_EQ(august.firstColumn, 6);
    EXPECT_EQ(august.rows, 6);
    EXPECT_EQ(august.lastColumn, 1); // the 31st is a Tuesday
    int column = 0, row = 0;
    august.CellOf(2, column, row);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(august.DayAt(0, 0), 0); // before the first
    EXPECT_EQ(august.DayAt(6, 0), 1);
    EXPECT_EQ(august.DayAt(2, 5), 0); // after the last
}

TEST(DateTimeChoice, MonthsTurnAndTheDayFollows)
{
    TessaryStrings::SetLanguage(TessaryStrings::English);
    CDlgDateTimeChoice picker(nullptr, 1);
    EXPECT_EQ(picker.Day(), 1);
    EXPECT_EQ(picker.Month(), 1);
    EXPECT_EQ(picker.Year(), 1995);
    picker.SetDate(31, 1, 2025);
    picker.NextMonth();
    EXPECT_EQ(picker.Month(), 2);
    EXPECT_EQ(picker.Day(), 28); // February has no 31st
    picker.SetDate(15, 1, 2025);
    GrabToPng(&picker, QStringLiteral("date-picker"));
    // A click on the left arrow: December of the year before.
    QTest::mouseClick(picker.Area(), Qt::LeftButton, {}, QPoint(8, 10));
    EXPECT_EQ(picker.Month(), 12);
    EXPECT_EQ(picker.Year(), 2024);
    EXPECT_EQ(CDlgDateTimeChoice::MonthName(12), QStringLiteral("December"));
    EXPECT_EQ(CDlgDateTimeChoice::WeekdayName(0), QStringLiteral("Mo"));
    EXPECT_EQ(CDlgDateTimeChoice::WeekdayName(6), QStringLiteral("Su"));
    // The keys: a week later, then Enter takes the day.
    picker.Area()->setFocus();
    QTest::keyClick(picker.Area(), Qt::Key_Down);
    QTest::keyClick(picker.Area(), Qt::Key_Return);
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_TRUE(picker.Chosen());
    EXPECT_EQ(picker.Day(), 22);
}

TEST(DateTimeChoice, ReadyMadeChoicesCountFromNow)
{
    const std::time_t now = LocalTime(2026, 12, 8, 10, 20, 30);
    auto at = [](const CDateTime& value) {
        tagDATE d;
        tagTIME t;
        value.GetDateAndTime(d, t);
        return QStringLiteral("%1-%2-%3 %4:%5:%6")
            .arg(d.year)
            .arg(d.month)
            .arg(d.day)
            .arg(t.hour)
            .arg(t.minute)
            .arg(t.second);
    };
    EXPECT_EQ(at(CDlgDateTimeChoice::ReadyMadeChoice(true, 0, now)), QStringLiteral("2026-12-8 10:20:30"));
    EXPECT_EQ(at(CDlgDateTimeChoice::ReadyMadeChoice(true, 2, now)), QStringLiteral("2026-12-10 10:20:30"));
    EXPECT_EQ(at(CDlgDateTimeChoice::ReadyMadeChoice(true, 4, now)), QStringLiteral("2027-1-7 10:20:30"));
    EXPECT_EQ(at(CDlgDateTimeChoice::ReadyMadeChoice(false, 1, now)), QStringLiteral("2026-12-8 11:20:30"));
    EXPECT_EQ(at(CDlgDateTimeChoice::ReadyMadeChoice(false, 6, now)), QStringLiteral("2026-12-8 12:0:0"));
    EXPECT_EQ(at(CDlgDateTimeChoice::ReadyMadeChoice(false, 7, now)), QStringLiteral("2026-12-8 14:0:0"));
    EXPECT_EQ(CDlgDateTimeChoice::ChoiceTexts(false).size(), 10);
    EXPECT_EQ(CDlgDateTimeChoice::ChoiceTexts(true).first(), QStringLiteral("Today"));

    CDlgDateTimeChoice picker(nullptr, 0);
    picker.SetNow(now);
    ASSERT_EQ(picker.ChoiceList()->count(), 10);
    picker.OnSelchangeListBox(3);
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_TRUE(picker.Chosen());
    EXPECT_EQ(picker.Hour(), 8);
    EXPECT_EQ(picker.Minute(), 0);
    EXPECT_EQ(picker.Day(), 8);

    // Time mode: Enter takes the sliders' time.
    CDlgDateTimeChoice sliders(nullptr, 0);
    sliders.SetTime(9, 45);
    GrabToPng(&sliders, QStringLiteral("time-picker"));
    sliders.HourSlider()->setValue(17);
    QTest::keyClick(&sliders, Qt::Key_Return);
    EXPECT_EQ(sliders.result(), QDialog::Accepted);
    EXPECT_EQ(sliders.Hour(), 17);
    EXPECT_EQ(sliders.Minute(), 45);
}

TEST(DateTimeChoice, TheSlidersStartAtTheTimeGiven)
{
    CDlgDateTimeChoice picker(nullptr, 0);
    EXPECT_EQ(picker.HourSlider()->value(), picker.Hour());
    EXPECT_EQ(picker.MinuteSlider()->value(), picker.Minute());
    picker.SetTime(14, 35);
    EXPECT_EQ(picker.HourSlider()->value(), 14);
    EXPECT_EQ(picker.MinuteSlider()->value(), 35);
    // A click on the background takes the sliders' time: the one given.
    QTest::mouseClick(&picker, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(picker.Hour(), 14);
    EXPECT_EQ(picker.Minute(), 35);
}
