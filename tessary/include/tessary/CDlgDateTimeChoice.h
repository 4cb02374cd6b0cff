#pragma once

#include "tessary/CDateTime.h"
#include "tessary/CRkCoolDlg.h"
#include "tessary/TessaryExport.h"

#include <QStringList>

#include <ctime>

class QListWidget;
class QSlider;

/// Where the days of a month fall in a calendar of seven columns, the week
/// starting on Monday.
struct TESSARY_EXPORT MonthLayout
{
    int firstColumn = 0; ///< the column of day 1, Monday = 0 ... Sunday = 6
    int days = 31;
    int rows = 5;
    int lastColumn = 0; ///< the column of the last day, in the last row

    static MonthLayout Of(int year, int month);
    /// The cell of a day (1 ... days).
    void CellOf(int day, int& column, int& row) const;
    /// The day in a cell; 0 for a cell before day 1 or after the last day.
    int DayAt(int column, int row) const;
};

/// The date and time picker: a month calendar drawn by hand (date mode) or
/// an hour and a minute slider (time mode), and ready-made choices
/// ("Today", "In 1 hour", ...). A day clicked, a click on the background or
/// a ready-made choice end it with OK; Escape with Cancel. Chosen() tells
/// whether a day or a ready-made choice was taken.
class TESSARY_EXPORT CDlgDateTimeChoice : public CRkCoolDlg
{
    Q_OBJECT
public:
    /// mode: nonzero for the calendar, zero for the sliders.
    explicit CDlgDateTimeChoice(QWidget* parent = nullptr, int mode = 1);

    bool DateMode() const { return m_mode != 0; }
    void SetDate(int day, int month, int year);
    void SetTime(int hour, int minute);
    int Day() const { return m_day; }
    int Month() const { return m_month; }
    int Year() const { return m_year; }
    int Hour() const { return m_hour; }
    int Minute() const { return m_minute; }
    bool Chosen() const { return m_chosen; }

    /// The month shown: back one (January goes to December of the year
    /// before), forward one. A day past the new month's end becomes its
    /// last day.
    void PreviousMonth();
    void NextMonth();
    /// A day of the shown month was picked: it is the choice, and the
    /// dialog ends with OK.
    void PickDay(int day);
    /// A ready-made choice, relative to now (or to the time set for tests).
    void OnSelchangeListBox(int entry);
    /// The time the ready-made choices count from; 0 for the clock.
    void SetNow(std::time_t now) { m_now = now; }

    QListWidget* ChoiceList() const { return m_choices; }
    QSlider* HourSlider() const { return m_hourSlider; }
    QSlider* MinuteSlider() const { return m_minuteSlider; }
    QWidget* Area() const { return m_area; }

    /// The texts of the ready-made choices of a mode, in the library's language.
    static QStringList ChoiceTexts(bool dateMode);
    /// The value of a ready-made choice: an offset added to now, or a fixed
    /// hour of today (minutes and seconds 0).
    static CDateTime ReadyMadeChoice(bool dateMode, int entry, std::time_t now);
    /// The month's name and the two-letter names of the weekdays, Monday first.
    static QString MonthName(int month);
    static QString WeekdayName(int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    friend class DateTimeArea;
    void ClampDay();

    int m_mode;
    int m_day = 1;
    int m_month = 1;
    int m_year = 1995;
    int m_hour = 1;
    int m_minute = 1;
    bool m_chosen = false;
    std::time_t m_now = 0;
    QWidget* m_area = nullptr;
    QListWidget* m_choices = nullptr;
    QSlider* m_hourSlider = nullptr;
    QSlider* m_minuteSlider = nullptr;
};
