#include "tessary/CWaitWindow.h"

#include "tessary/CoolDisplay.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace {

// The clip of the wait windows: a sheet of text being turned over, page
// after page, in an open book.
class WaitAnimation : public QWidget
{
public:
    explicit WaitAnimation(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("24648"));
        setFixedSize(48, 32);
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] { Advance(); });
        timer->start(90);
    }
    void Advance()
    {
        m_frame = (m_frame + 1) % kFrames;
        update();
    }
    int Frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF left(3, 6, 20, 22), right(25, 6, 20, 22);
        const QColor paper(252, 250, 240), edge(110, 90, 60), ink(120, 130, 150);
        p.setPen(QPen(edge, 1));
        p.setBrush(QColor(150, 60, 40));
        p.drawRoundedRect(QRectF(1, 4, 46, 26), 2, 2); // the cover
        p.setBrush(paper);
        p.drawRect(left);
        p.drawRect(right);
        auto lines = [&](const QRectF& page, double width) {
            p.setPen(QPen(ink, 1));
            for (int i = 0; i < 5; ++i) {
                const double y = page.top() + 4 + i * 3.8;
                p.drawLine(QPointF(page.left() + 3, y),
                           QPointF(page.left() + 3 + (page.width() - 6) * width, y));
            }
        };
        lines(left, 1.0);
        lines(right, 1.0);
        // The turning page: from the right half over to the left half.
        const double t = double(m_frame) / kFrames;
        const double w = 20 * std::cos(t * M_PI);
        QRectF turning = w >= 0 ? QRectF(24, 6, w, 22) : QRectF(24 + w, 6, -w, 22);
        p.setPen(QPen(edge, 1));
        p.setBrush(w >= 0 ? paper : paper.darker(108));
        p.drawRect(turning);
        if (std::abs(w) > 6)
            lines(turning, 1.0);
    }

private:
    static constexpr int kFrames = 12;
    int m_frame = 0;
};

} // namespace

CWaitWindow::CWaitWindow(const QString& text, Form form, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(form == WithProgressBar ? QStringLiteral("25105") : QStringLiteral("24512"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(10, 10, 12, 10);
    layout->setHorizontalSpacing(12);
    auto* flag = new QLabel(QStringLiteral("_FLAG"), this);
    flag->setObjectName(QStringLiteral("23852"));
    layout->addWidget(flag, 0, 0, Qt::AlignTop);
    m_text = new QLabel(text, this);
    m_text->setObjectName(QStringLiteral("24756"));
    m_text->setWordWrap(true);
    layout->addWidget(m_text, 0, 1);
    m_animation = new WaitAnimation(this);
    layout->addWidget(m_animation, 0, 2, Qt::AlignTop);
    if (form == WithProgressBar) {
        m_bar = new QProgressBar(this);
        m_bar->setObjectName(QStringLiteral("23887"));
        m_bar->setTextVisible(false);
        m_bar->setFixedHeight(14);
        m_bar->setRange(0, 0);
        m_bar->setValue(0);
        layout->addWidget(m_bar, 1, 0, 1, 3);
    }
    // 220 by 30 (or 46) dialog units of the dialog font.
    setFixedSize(330, form == WithProgressBar ? 78 : 52);
    RkModifyDialog(this);
    // Centred on the parent window, else on the screen.
    const QRect area =
        parent ? parent->window()->frameGeometry() : QApplication::primaryScreen()->availableGeometry();
    move(area.center() - rect().center());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    show();
    Refresh(true);
}

void CWaitWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (TexturesOn())
        DlgPaint(painter, this, 1, QStringLiteral("Background"));
    else
        painter.fillRect(rect(), palette().color(QPalette::Window));
    // No caption: a frame sets the window apart.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

CWaitWindow::~CWaitWindow()
{
    QApplication::restoreOverrideCursor();
}

void CWaitWindow::SetRange(int maximum)
{
    if (m_bar)
        m_bar->setRange(0, std::max(maximum, 0));
    Refresh(true);
}

void CWaitWindow::SetPosition(int position)
{
    if (m_bar)
        m_bar->setValue(std::min(position, m_bar->maximum()));
    Refresh(false);
}

void CWaitWindow::Step()
{
    SetPosition(Position() + 1);
}

int CWaitWindow::Position() const
{
    return m_bar ? m_bar->value() : 0;
}

void CWaitWindow::Refresh(bool force)
{
    // The work runs on this thread: repaint now and then, not per step.
    if (!force && m_lastRefresh.isValid() && m_lastRefresh.elapsed() < 60)
        return;
    m_lastRefresh.restart();
    static_cast<WaitAnimation*>(m_animation)->Advance();
    repaint();
}
