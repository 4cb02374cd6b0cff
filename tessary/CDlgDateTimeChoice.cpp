#include "tessary/CDlgDateTimeChoice.h"

#include "tessary/TessaryStrings.h"

#include <QDate>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {

struct ChoiceText
{
    const char* english;
    const char* french;
    const char* german;
};

constexpr ChoiceText kDateChoices[] = {
    {"Today", "Aujourd'hui", "Heute"},
    {"Tomorrow", "Demain", "Morgen"},
    {"Day after tomorrow", "Apr\xC3\xA8s-demain",
     "\xC3\x9C"
     "bermorgen"},
    {"In a week", "Dans une semaine", "In einer Woche"},
    {"In a month", "Dans un mois", "In einem Monat"},
};

constexpr ChoiceText kTimeChoices[] = {
    {"Now", "Maintenant", "Jetzt"},
    {"In 1 hour", "Dans 1 heure", "In 1 Stunde"},
    {"In 2 hours", "Dans 2 heures", "In 2 Stunden"},
    {"At 8 o'clock", "A 8 heures", "Um 8 Uhr"},
    {"At 9 o'clock", "A 9 heures", "Um 9 Uhr"},
    {"At 10 o'clock", "A 10 heures", "Um 10 Uhr"},
    {"At midday", "A midi", "Mittags"},
    {"At 14 o'clock", "A 14 heures", "Um 14 Uhr"},
    {"At 16 o'clock", "A 16 heures", "Um 16 Uhr"},
    {"At 18 o'clock", "A 18 heures", "Um 18 Uhr"},
};

// Seconds added to now by the date choices and the first time choices.
constexpr long kDateOffsets[] = {0, 86400, 172800, 604800, 2592000};
constexpr long kTimeOffsets[] = {0, 3600, 7200};
constexpr int kFixedHours[] = {8, 9, 10, 12, 14, 16, 18};

QString Localised(const ChoiceText& text)
{
    switch (TessaryStrings::CurrentLanguage()) {
    case TessaryStrings::French:
        return QString::fromUtf8(text.french);
    case TessaryStrings::German:
        return QString::fromUtf8(text.german);
    default:
        return QString::fromUtf8(text.english);
    }
}

QLocale LibraryLocale()
{
    switch (TessaryStrings::CurrentLanguage()) {
    case TessaryStrings::French:
        return QLocale(QLocale::French);
    case TessaryStrings::German:
        return QLocale(QLocale::German);
    default:
        return QLocale(QLocale::English);
    }
}

} // namespace

// The part of the picker that is drawn by hand: the month calendar, or the
// scales and the readout of the two sliders.
class DateTimeArea : public QWidget
{
public:
    explicit DateTimeArea(CDlgDateTimeChoice* owner) : QWidget(owner), m_owner(owner)
    {
        setObjectName(QStringLiteral("dateTimeArea"));
        setMinimumSize(260, 190);
        setMouseTracking(false);
    }

    // The calendar's rectangles, from the area and the font's height.
    struct Geometry
    {
        QRect title, weekdays, grid;
        int cellWidth = 0;
        int rowHeight = 0;
        MonthLayout month;
    };
    Geometry Compute() const
    {
        Geometry g;
        const QRect a = rect();
        const int h = fontMetrics().height();
        g.title = QRect(QPoint(a.left(), a.top() + 5), QPoint(a.right(), a.top() + 10 + h));
        g.weekdays =
            QRect(QPoint(a.left() + 45, a.top() + 10 + h), QPoint(a.right() - 45, a.top() + 15 + 2 * h));
        g.grid = QRect(QPoint(a.left() + 45, a.top() + 20 + 2 * h), QPoint(a.right() - 45, a.bottom() - 5));
        g.cellWidth = (a.width() - 90) / 7;
        g.month = MonthLayout::Of(m_owner->m_year, m_owner->m_month);
        g.rowHeight = g.grid.height() / std::max(1, g.month.rows);
        return g;
    }
    // 1 on the previous-month arrow, 2 on the next-month arrow, else -1.
    int Zone(QPoint p) const
    {
        if (p.x() < rect().left() + 20 && p.y() < rect().top() + 20)
            return 1;
        if (p.x() > rect().right() - 20 && p.y() < rect().top() + 20)
            return 2;
        return -1;
    }
    // The day under the point; 0 for none.
    int DayAt(QPoint p) const
    {
        const Geometry g = Compute();
        const QRect full(g.grid.left(), g.grid.top(), 7 * g.cellWidth, g.month.rows * g.rowHeight);
        if (!full.contains(p) || g.cellWidth <= 0 || g.rowHeight <= 0)
            return 0;
        return g.month.DayAt((p.x() - g.grid.left()) / g.cellWidth, (p.y() - g.grid.top()) / g.rowHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, false);
        if (m_owner->DateMode())
            PaintCalendar(painter);
        else
            PaintTime(painter);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (!m_owner->DateMode()) {
            m_owner->mousePressEvent(event);
            return;
        }
        if (event->button() != Qt::LeftButton)
            return;
        const QPoint p = event->position().toPoint();
        const int zone = Zone(p);
        if (zone == 1) {
            m_owner->PreviousMonth();
            return;
        }
        if (zone == 2) {
            m_owner->NextMonth();
            return;
        }
        m_dragging = true;
        Choose(p);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (m_dragging)
            Choose(event->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (!m_owner->DateMode() || !m_dragging)
            return;
        m_dragging = false;
        if (Zone(event->position().toPoint()) < 0)
            m_owner->accept();
    }

private:
    void Choose(QPoint p)
    {
        const int day = DayAt(p);
        if (day > 0) {
            m_owner->m_day = day;
            m_owner->m_chosen = true;
        } else {
            m_owner->m_chosen = false;
        }
        update();
    }
    void PaintCalendar(QPainter& painter)
    {
        const Geometry g = Compute();
        const QRect a = rect();
        painter.setPen(Qt::black);
        painter.setBrush(Qt::black);
        // The month arrows: small triangles of 7 by 9 pixels.
        const QPoint left(a.left() + 6, a.top() + 7);
        painter.drawPolygon(QPolygon{left + QPoint(6, 0), left + QPoint(6, 8), left + QPoint(0, 4)});
        const QPoint right(a.right() - 12, a.top() + 7);
        painter.drawPolygon(QPolygon{right, right + QPoint(0, 8), right + QPoint(6, 4)});
        painter.setBrush(Qt::NoBrush);
        painter.drawText(g.title, Qt::AlignCenter | Qt::TextSingleLine,
                         CDlgDateTimeChoice::MonthName(m_owner->m_month) + QLatin1Char(' ') +
                             QString::number(m_owner->m_year));
        for (int c = 0; c < 7; ++c)
            painter.drawText(QRect(g.weekdays.left() + c * g.cellWidth, g.weekdays.top(), g.cellWidth - 4,
                                   g.weekdays.height()),
                             Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                             CDlgDateTimeChoice::WeekdayName(c));
        painter.setPen(Qt::black);
        painter.drawLine(g.grid.left(), g.weekdays.bottom(), g.grid.right(), g.weekdays.bottom());
        painter.setPen(Qt::white);
        painter.drawLine(g.grid.left(), g.weekdays.bottom() + 1, g.grid.right(), g.weekdays.bottom() + 1);
        painter.setPen(Qt::black);
        for (int day = 1; day <= g.month.days; ++day) {
            int column = 0, row = 0;
            g.month.CellOf(day, column, row);
            const QRect cell(g.grid.left() + column * g.cellWidth, g.grid.top() + row * g.rowHeight,
                             g.cellWidth, g.rowHeight);
            painter.drawText(cell.adjusted(0, 0, -4, 0),
                             Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, QString::number(day));
        }
        // The chosen day in a sunken frame.
        int column = 0, row = 0;
        g.month.CellOf(m_owner->m_day, column, row);
        const int x = g.grid.left() + column * g.cellWidth;
        const int y = g.grid.top() + row * g.rowHeight;
        const int w = g.cellWidth;
        const int r = g.rowHeight;
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawLine(x, y + r - 1, x, y);
        painter.drawLine(x, y, x + w, y);
        painter.setPen(Qt::white);
        painter.drawLine(x + 1, y + r - 1, x + w - 1, y + r - 1);
        painter.drawLine(x + w - 1, y + r - 1, x + w - 1, y + 1);
        if (hasFocus() || m_owner->hasFocus()) {
            painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1, Qt::DotLine));
            painter.drawRect(x + 2, y + 2, w - 5, r - 5);
        }
    }
    void PaintTime(QPainter& painter)
    {
        const int h = fontMetrics().height();
        painter.setPen(Qt::black);
        const struct
        {
            QSlider* slider;
            int step;
            int maximum;
        } scales[2] = {{m_owner->m_hourSlider, 3, 24}, {m_owner->m_minuteSlider, 15, 60}};
        for (const auto& s : scales) {
            const QRect g = s.slider->geometry();
            const double first = g.top() + 8;
            const double span = g.height() - 16;
            for (int value = 0; value <= s.maximum; value += s.step) {
                const double y = first + span * value / s.maximum;
                painter.drawText(QRectF(g.right() + 3, y - h / 2.0, 30, h), Qt::AlignLeft | Qt::AlignVCenter,
                                 QString::number(value));
            }
        }
        // The readout, in a sunken box below the sliders.
        const QRect box(width() / 20, height() - 2 * h - 12, width() - width() / 10, 2 * h);
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawLine(box.topLeft(), box.topRight());
        painter.drawLine(box.topLeft(), box.bottomLeft());
        painter.setPen(Qt::white);
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomRight());
        painter.fillRect(box.adjusted(4, 4, -4, -4), QColor(0xC0, 0xC0, 0xC0));
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter,
                         QStringLiteral("%1 : %2")
                             .arg(m_owner->m_hourSlider->value())
                             .arg(m_owner->m_minuteSlider->value()));
    }
    void resizeEvent(QResizeEvent*) override
    {
        if (m_owner->DateMode())
            return;
        // Two vertical sliders side by side, above the readout.
        const int h = fontMetrics().height();
        const int bottom = height() - 2 * h - 24;
        m_owner->m_hourSlider->setGeometry(width() / 8, 4, 28, std::max(60, bottom - 4));
        m_owner->m_minuteSlider->setGeometry(width() / 2, 4, 28, std::max(60, bottom - 4));
    }

    CDlgDateTimeChoice* m_owner;
    bool m_dragging = false;
};

MonthLayout MonthLayout::Of(int year, int month)
{
    MonthLayout m;
    const QDate first(year, month, 1);
    m.firstColumn = first.isValid() ? first.dayOfWeek() - 1 : 0;
    m.days = first.isValid() ? first.daysInMonth() : 31;
    m.rows = (m.days + m.firstColumn + 6) / 7;
    m.lastColumn = m.days + m.firstColumn - 1 - 7 * (m.rows - 1);
    return m;
}

void MonthLayout::CellOf(int day, int& column, int& row) const
{
    day = std::clamp(day, 1, days);
    row = (day + firstColumn - 1) / 7;
    column = (day + firstColumn - 1) % 7;
}

int MonthLayout::DayAt(int column, int row) const
{
    if (column < 0 || column > 6 || row < 0 || row >= rows)
        return 0;
    const int day = row * 7 + column - firstColumn + 1;
    return day >= 1 && day <= days ? day : 0;
}

CDlgDateTimeChoice::CDlgDateTimeChoice(QWidget* parent, int mode) : CRkCoolDlg(parent), m_mode(mode)
{
    setObjectName(QStringLiteral("148"));
    const TessaryStrings::Language language = TessaryStrings::CurrentLanguage();
    setWindowTitle(language == TessaryStrings::French   ? QString::fromUtf8("S\xC3\xA9lection Date / Heure")
                   : language == TessaryStrings::German ? QStringLiteral("Datum / Uhrzeit ausw\u00e4hlen")
                                                        : QStringLiteral("Date / Time selection"));
    auto* layout = new QVBoxLayout(this);
    AddHelpBanner(
        this, layout,
        {tr("This dialog helps you to quickly select a time or date. Press the Escape key or click on "
            "the background to exit this dialog.")});
    auto* body = new QHBoxLayout;
    m_area = new DateTimeArea(this);
    m_area->setFocusPolicy(Qt::StrongFocus);
    QFont areaFont = font();
    areaFont.setPixelSize(12);
    areaFont.setWeight(QFont::Light);
    m_area->setFont(areaFont);
    body->addWidget(m_area, 1);
    body->addSpacing(20);
    auto* right = new QVBoxLayout;
    auto* label =
        new QLabel(language == TessaryStrings::French ? QString::fromUtf8("Pr\xC3\xA9-enregistr\xC3\xA9 :")
                                                      : tr("Pre-registered :"),
                   this);
    label->setObjectName(QStringLiteral("1132"));
    m_choices = new QListWidget(this);
    m_choices->setObjectName(QStringLiteral("1106"));
    m_choices->addItems(ChoiceTexts(DateMode()));
    label->setBuddy(m_choices);
    right->addWidget(label);
    right->addWidget(m_choices, 1);
    body->addLayout(right);
    layout->addLayout(body, 1);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("2"));
    cancel->hide();
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_choices, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OnSelchangeListBox(m_choices->row(item)); });
    connect(m_choices, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OnSelchangeListBox(m_choices->row(item)); });
    if (!DateMode()) {
        auto makeSlider = [this](const char* id, int maximum, int page) {
            auto* slider = new QSlider(Qt::Vertical, m_area);
            slider->setObjectName(QString::fromLatin1(id));
            slider->setRange(0, maximum);
            slider->setPageStep(page);
            slider->setTickInterval(1);
            slider->setTickPosition(QSlider::TicksLeft);
            slider->setInvertedAppearance(true); // 0 at the top
            connect(slider, &QSlider::valueChanged, m_area, qOverload<>(&QWidget::update));
            return slider;
        };
        m_hourSlider = makeSlider("133", 24, 3);
        m_minuteSlider = makeSlider("134", 60, 15);
        // The sliders start at the time the dialog holds, not at 0:0.
        m_hourSlider->setValue(m_hour);
        m_minuteSlider->setValue(m_minute);
        m_area->setMinimumHeight(260);
    }
    resize(480, DateMode() ? 300 : 380);
    m_area->setFocus();
}

void CDlgDateTimeChoice::SetDate(int day, int month, int year)
{
    m_day = day;
    m_month = std::clamp(month, 1, 12);
    m_year = year;
    ClampDay();
    m_area->update();
}

void CDlgDateTimeChoice::SetTime(int hour, int minute)
{
    m_hour = hour;
    m_minute = minute;
    if (m_hourSlider) {
        m_hourSlider->setValue(hour);
        m_minuteSlider->setValue(minute);
    }
}

void CDlgDateTimeChoice::ClampDay()
{
    m_day = std::clamp(m_day, 1, MonthLayout::Of(m_year, m_month).days);
}

void CDlgDateTimeChoice::PreviousMonth()
{
    if (--m_month < 1) {
        m_month = 12;
        --m_year;
    }
    ClampDay();
    update();
    m_area->update();
}

void CDlgDateTimeChoice::NextMonth()
{
    if (++m_month > 12) {
        m_month = 1;
        ++m_year;
    }
    ClampDay();
    update();
    m_area->update();
}

void CDlgDateTimeChoice::PickDay(int day)
{
    m_day = day;
    ClampDay();
    m_chosen = true;
    accept();
}

QStringList CDlgDateTimeChoice::ChoiceTexts(bool dateMode)
{
    QStringList texts;
    if (dateMode) {
        for (const ChoiceText& t : kDateChoices)
            texts << Localised(t);
    } else {
        for (const ChoiceText& t : kTimeChoices)
            texts << Localised(t);
    }
    return texts;
}

CDateTime CDlgDateTimeChoice::ReadyMadeChoice(bool dateMode, int entry, std::time_t now)
{
    CDateTime value;
    const int offsets = dateMode ? 5 : 3;
    if (entry < 0 || entry >= (dateMode ? 5 : 10))
        return value;
    if (entry < offsets) {
        value.SetTimeT(now + (dateMode ? kDateOffsets[entry] : kTimeOffsets[entry]));
        return value;
    }
    // A fixed hour of today.
    value.SetTimeT(now);
    tagDATE date;
    tagTIME time;
    value.GetDateAndTime(date, time);
    time.hour = kFixedHours[entry - offsets];
    time.minute = 0;
    time.second = 0;
    value.Set(date, time);
    return value;
}

QString CDlgDateTimeChoice::MonthName(int month)
{
    return LibraryLocale().standaloneMonthName(std::clamp(month, 1, 12), QLocale::LongFormat);
}

QString CDlgDateTimeChoice::WeekdayName(int column)
{
    return LibraryLocale().dayName(column + 1, QLocale::ShortFormat).left(2);
}

void CDlgDateTimeChoice::OnSelchangeListBox(int entry)
{
    const CDateTime value = ReadyMadeChoice(DateMode(), entry, m_now ? m_now : std::time(nullptr));
    tagDATE date;
    tagTIME time;
    if (!value.GetDateAndTime(date, time))
        return;
    m_day = date.day;
    m_month = date.month;
    m_year = date.year;
    m_hour = time.hour;
    m_minute = time.minute;
    m_chosen = true;
    accept();
}

void CDlgDateTimeChoice::keyPressEvent(QKeyEvent* event)
{
    // The keyboard does what the mouse does: arrows move the day, the page
    // keys the month, Enter takes the day or the sliders' time.
    if (m_choices->hasFocus() || event->key() == Qt::Key_Escape) {
        CRkCoolDlg::keyPressEvent(event);
        return;
    }
    if (!DateMode()) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            m_hour = m_hourSlider->value();
            m_minute = m_minuteSlider->value();
            accept();
            return;
        }
        CRkCoolDlg::keyPressEvent(event);
        return;
    }
    const QDate shown(m_year, m_month, m_day);
    QDate moved = shown;
    switch (event->key()) {
    case Qt::Key_Left:
        moved = shown.addDays(-1);
        break;
    case Qt::Key_Right:
        moved = shown.addDays(1);
        break;
    case Qt::Key_Up:
        moved = shown.addDays(-7);
        break;
    case Qt::Key_Down:
        moved = shown.addDays(7);
        break;
    case Qt::Key_PageUp:
        PreviousMonth();
        return;
    case Qt::Key_PageDown:
        NextMonth();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        PickDay(m_day);
        return;
    default:
        CRkCoolDlg::keyPressEvent(event);
        return;
    }
    if (moved.isValid()) {
        m_day = moved.day();
        m_month = moved.month();
        m_year = moved.year();
        m_area->update();
    }
}

void CDlgDateTimeChoice::mousePressEvent(QMouseEvent* event)
{
    // A click on the background ends the picker: in time mode with the
    // sliders' time.
    if (event->button() != Qt::LeftButton)
        return;
    if (!DateMode()) {
        m_hour = m_hourSlider->value();
        m_minute = m_minuteSlider->value();
    }
    accept();
}
