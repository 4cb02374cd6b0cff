#include "preview/PreviewFonts.h"

#include "settings/FontDescription.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>

bool RegisterPreviewFonts()
{
    static const bool available = [] {
        for (const char* file : {"/usr/share/wine/fonts/ms_sans_serif.ttf",
                                 "/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
            if (QFile::exists(QString::fromLatin1(file)))
                QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        }
        return QFontDatabase::families().contains(QStringLiteral("MS Sans Serif"));
    }();
    return available;
}

QFont TemplateFont()
{
    QFont font(RegisterPreviewFonts() ? QStringLiteral("MS Sans Serif") : QStringLiteral("Sans Serif"));
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

QFont FontForText(const QFont& font, const QString& text)
{
    const auto otherScript = [](QChar c) {
        const QChar::Script script = c.script();
        return script != QChar::Script_Latin && script != QChar::Script_Common &&
               script != QChar::Script_Inherited && script != QChar::Script_Unknown;
    };
    const QString family = font.family();
    if ((family != QStringLiteral("MS Sans Serif") && family != QStringLiteral("Tahoma")) ||
        std::none_of(text.begin(), text.end(), otherScript))
        return font;
    QFont fallback = font;
    fallback.setFamilies(
        {QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans"), QStringLiteral("Sans Serif")});
    return fallback;
}

QFont FontFromDescription(const std::string& description)
{
    const auto d = FontDescription::Parse(description);
    if (!d)
        return TemplateFont();
    QFont font(QString::fromLocal8Bit(d->face.c_str()));
    font.setPixelSize(std::max(1, d->PixelHeight()));
    font.setBold(d->bold);
    font.setItalic(d->italic);
    return font;
}

std::string DescriptionOfFont(const QFont& font)
{
    FontDescription d;
    d.face = font.family().toStdString();
    const int pixels =
        font.pixelSize() > 0 ? font.pixelSize() : int(std::lround(font.pointSizeF() * 96 / 72));
    d.size = pixels * 15 / 2;
    d.bold = font.weight() == QFont::Bold;
    d.italic = font.italic();
    return d.Format();
}

QSize BaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int width = static_cast<int>(std::lround(metrics.horizontalAdvance(letters) / 52.0));
    return QSize(std::max(1, width), std::max(1, metrics.height()));
}

namespace {

// a × b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace

QRect MapDialogRect(const PreviewRect& rect, QSize base)
{
    const int left = MulDiv(rect.left, base.width(), 4);
    const int top = MulDiv(rect.top, base.height(), 8);
    const int right = MulDiv(rect.right, base.width(), 4);
    const int bottom = MulDiv(rect.bottom, base.height(), 8);
    return QRect(left, top, right - left, bottom - top);
}
