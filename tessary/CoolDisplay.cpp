#include "tessary/CoolDisplay.h"

#include "tessary/GlobalVarsForDll.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>

#include <algorithm>
#include <array>

namespace {

std::array<int, 33> g_slots{};
std::array<bool, 33> g_slotSet{};

// Buttons and group boxes drawn on the texture.
class CoolProxyStyle : public QProxyStyle
{
public:
    explicit CoolProxyStyle(QStyle* base) : QProxyStyle(base) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element == CE_PushButton && TexturesOn()) {
            if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
                CoolItemState state = CoolItemState::Normal;
                if (button->state & (State_Sunken | State_On))
                    state = CoolItemState::Pressed;
                else if (button->state & State_HasFocus)
                    state = CoolItemState::Focused;
                RkDrawItem(*painter, button->rect, state, button->text, QStringLiteral("BACKGROUND"),
                           button->state & State_Enabled);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        if (control == CC_GroupBox && TexturesOn()) {
            if (const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option)) {
                DrawGroupBox(*painter, *box);
                return;
            }
        }
        QProxyStyle::drawComplexControl(control, option, painter, widget);
    }

private:
    // An etched frame of two rectangles (white, then grey one pixel up and
    // left) with a gap for the caption, which stands 20 pixels right of the
    // left edge on the top line.
    static void DrawGroupBox(QPainter& p, const QStyleOptionGroupBox& box)
    {
        const QFontMetrics metrics(QApplication::font());
        const int textWidth = box.text.isEmpty() ? 0 : metrics.horizontalAdvance(box.text) + 4;
        const int top = box.rect.top() + metrics.height() / 2;
        const QRect frame(box.rect.left(), top, box.rect.width() - 2, box.rect.bottom() - top - 1);
        const int gapStart = frame.left() + 18;
        const int gapEnd = gapStart + textWidth;
        auto rectangle = [&](QPoint offset, const QColor& colour) {
            p.setPen(colour);
            const QRect r = frame.translated(offset);
            if (textWidth > 0) {
                p.drawLine(r.left(), r.top(), gapStart, r.top());
                p.drawLine(gapEnd, r.top(), r.right(), r.top());
            } else {
                p.drawLine(r.topLeft(), r.topRight());
            }
            p.drawLine(r.topRight(), r.bottomRight());
            p.drawLine(r.bottomRight(), r.bottomLeft());
            p.drawLine(r.bottomLeft(), r.topLeft());
        };
        rectangle(QPoint(1, 1), Qt::white);
        rectangle(QPoint(0, 0), QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
        if (textWidth > 0)
            RkDrawText(p, box.text, frame.left() + 20, box.rect.top(), 0, -1, metrics.height(), 0,
                       box.state & State_Enabled);
    }
};

bool IsLeftAlone(const QWidget* w)
{
    // Complex controls keep the platform's look in every case.
    return qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QProgressBar*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QTabBar*>(w);
}

bool InsideLeftAlone(const QWidget* w, const QWidget* root)
{
    for (const QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget()) {
        if (IsLeftAlone(p))
            return true;
    }
    return false;
}

} // namespace

void SetGetCoolDisplay(bool get, int& value, short slot)
{
    if (slot < 1 || slot >= static_cast<short>(g_slots.size()))
        return;
    const auto i = static_cast<std::size_t>(slot);
    if (get) {
        if (g_slotSet[i])
            value = g_slots[i];
        else
            value = slot <= 5 ? 1 : 0;
        return;
    }
    g_slots[i] = value;
    g_slotSet[i] = true;
}

bool TexturesOn()
{
    int value = 0;
    SetGetCoolDisplay(true, value, SlotTextures);
    return value != 0;
}

QPixmap LoadCoolBitmap(const QString& name)
{
    const QString key = QStringLiteral("tessary:") + name.toUpper();
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    const QString upper = name.toUpper();
    for (const QString& folder :
         {QStringLiteral(":/tessary/textures/"), QStringLiteral(":/tessary/images/")}) {
        if (pixmap.load(folder + upper + QStringLiteral(".png"))) {
            QPixmapCache::insert(key, pixmap);
            return pixmap;
        }
    }
    return {};
}

void DlgPaint(QPainter& painter, QWidget* widget, int mode, const QString& bitmap, const QRect* rect)
{
    Q_UNUSED(mode);
    if (!TexturesOn() || !widget || widget->depth() < 5)
        return;
    const QPixmap tile = LoadCoolBitmap(bitmap);
    if (tile.isNull())
        return;
    const QRect target = rect ? *rect : widget->rect();
    painter.drawTiledPixmap(target, tile, QPoint(0, 0));
}

void RkModifyDialog(QWidget* widget)
{
    QList<QWidget*> widgets;
    if (widget)
        widgets = widget->findChildren<QWidget*>();
    else
        widgets = QApplication::allWidgets();
    const bool on = TexturesOn();
    for (QWidget* w : widgets) {
        if (IsLeftAlone(w) || InsideLeftAlone(w, widget))
            continue;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            // A label named by a picture shows that picture.
            const QString text = label->text();
            if (text.startsWith(QLatin1Char('_'))) {
                const QPixmap picture = LoadCoolBitmap(text);
                if (!picture.isNull()) {
                    label->setPixmap(picture);
                    label->setFixedSize(picture.size());
                }
            }
            continue;
        }
        if (qobject_cast<QPushButton*>(w) || qobject_cast<QGroupBox*>(w))
            w->setStyle(on ? CoolStyle() : nullptr);
    }
}

void RkDrawItem(QPainter& painter, QRect rect, CoolItemState state, const QString& text, QString bitmap,
                bool enabled, bool isTab, const QPixmap& icon)
{
    if (!TexturesOn())
        return;
    if (!isTab && bitmap.compare(QLatin1String("BACKGROUND"), Qt::CaseInsensitive) == 0)
        bitmap = GlobalVarsForDll::csButtonBitmap;
    if (isTab) {
        if (state == CoolItemState::Pressed)
            rect.adjust(4, 2, -4, 2);
        else
            rect.adjust(0, 2, 0, 0);
    }
    const QPixmap tile = LoadCoolBitmap(bitmap);
    if (!tile.isNull())
        painter.drawTiledPixmap(rect, tile, QPoint(0, 0));
    const QColor light = Qt::white;
    const QColor dark = QApplication::palette().color(QPalette::Shadow);
    const bool pressed = state == CoolItemState::Pressed;
    const QColor topLeft = pressed ? dark : light;
    const QColor bottomRight = pressed ? light : dark;
    const QRect r = rect.adjusted(0, 0, -1, -1);
    painter.save();
    for (int line = 0; line < 2; ++line) {
        const QRect f = r.adjusted(line, line, -line, -line);
        painter.setPen(topLeft);
        painter.drawLine(f.topLeft(), f.topRight());
        painter.drawLine(f.topLeft(), f.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(f.bottomLeft(), f.bottomRight());
        painter.drawLine(f.topRight(), f.bottomRight());
    }
    if (state == CoolItemState::Focused && !isTab) {
        painter.setPen(QPen(QColor(0, 0, 0, 110), 1, Qt::DotLine));
        painter.drawRect(rect.adjusted(4, 4, -5, -5));
    }
    painter.restore();
    QString shown = text;
    if (isTab) {
        const int top = rect.top() + (pressed ? 5 : 3);
        int x = rect.left();
        const int textWidth =
            QFontMetrics(QApplication::font()).horizontalAdvance(QString(shown).remove('&'));
        const int total = textWidth + (icon.isNull() ? 0 : icon.width() + 4);
        x += (rect.width() - total) / 2;
        if (!icon.isNull()) {
            painter.drawPixmap(x, top, icon);
            x += icon.width() + 4;
        }
        RkDrawText(painter, shown, x, top, 0, textWidth + 2, rect.height() - (top - rect.top()) - 4, 0,
                   enabled);
        return;
    }
    const int top = rect.top() + rect.height() / 5;
    RkDrawText(painter, shown, rect.left(), top + (pressed ? 1 : 0), RkTextButton, rect.width(),
               rect.height() - 2 * (top - rect.top()), 0, enabled);
}

int RkDrawText(QPainter& painter, const QString& text, int x, int y, std::uint32_t style, int width,
               int height, std::uint32_t colour, bool enabled)
{
    painter.save();
    QFont font = QApplication::font();
    const bool bold = style == RkTextBold;
    font.setBold(bold);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    // Mnemonic ampersands are shown as the underline of their letter.
    const int flags = Qt::TextSingleLine | Qt::AlignVCenter | Qt::TextShowMnemonic |
                      (style == RkTextButton ? Qt::AlignHCenter : Qt::AlignLeft);
    const QString plain = QString(text).remove(QLatin1Char('&'));
    const int textWidth = metrics.horizontalAdvance(plain);
    const QRect r(x, y, width == -1 ? textWidth + 2 : width, height == -1 ? metrics.height() : height);
    painter.setBackgroundMode(Qt::TransparentMode);
    if (!enabled) {
        painter.setPen(Qt::white);
        painter.drawText(r.translated(1, 1), flags, text);
        painter.setPen(QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
    } else if (bold) {
        painter.setPen(colour == 123456 ? QColor(Qt::white) : FromColorRef(colour));
    } else {
        painter.setPen(QApplication::palette().color(QPalette::WindowText));
    }
    painter.drawText(r, flags, text);
    painter.restore();
    return textWidth;
}

void SpecialPaintForPropertyPage(QPainter& painter, QWidget* page)
{
    if (!TexturesOn() || !page)
        return;
    painter.save();
    painter.setPen(Qt::white);
    painter.drawLine(0, 0, page->width(), 0);
    painter.setPen(QPen(QApplication::palette().color(QPalette::Button), 3));
    painter.drawLine(0, 3, page->width(), 3);
    painter.restore();
}

QStyle* CoolStyle()
{
    static QStyle* style = [] {
        auto* s = new CoolProxyStyle(QStyleFactory::create(QApplication::style()->name()));
        s->setParent(qApp);
        return s;
    }();
    return style;
}

int GetLuminosity(std::uint32_t colorRef)
{
    const int r = colorRef & 0xFF, g = (colorRef >> 8) & 0xFF, b = (colorRef >> 16) & 0xFF;
    const int high = std::max({r, g, b}), low = std::min({r, g, b});
    return ((high + low) * 240 + 255) / 510;
}

QColor FromColorRef(std::uint32_t colorRef)
{
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

std::uint32_t ToColorRef(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

std::vector<QColor> CaptionGradient(const QColor& caption, int width)
{
    std::vector<QColor> columns(static_cast<std::size_t>(std::max(width, 0)), Qt::black);
    if (width <= 0)
        return columns;
    const int d = width * 5 / 6;
    for (int x = d; x < width; ++x)
        columns[static_cast<std::size_t>(x)] = caption;
    const int strip = std::max(1, d / 80);
    // Strips from the five-sixths point leftwards; what remains is black.
    for (int g = 0; g + strip <= d; g += strip) {
        const double k = 1.0 - double(g) * g / (double(d) * d);
        const QColor c(int(caption.red() * k), int(caption.green() * k), int(caption.blue() * k));
        for (int x = d - g - strip; x < d - g; ++x)
            columns[static_cast<std::size_t>(x)] = c;
    }
    return columns;
}

QColor CaptionTextColour(const QColor& caption, const QColor& captionText)
{
    Q_UNUSED(caption);
    return GetLuminosity(ToColorRef(captionText)) < 90 ? QColor(Qt::white) : captionText;
}
