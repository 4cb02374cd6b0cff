// Draws the program's pictures: the marble-like background textures, the
// flag of the wait windows and the message box icons. Run once; the PNG
// files it writes are part of the sources (res/textures, res/images).
//
//   make-images <output folder>
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kTile = 128;

// Value noise on a periodic lattice, so the tiles join without seams.
class Noise
{
public:
    Noise(int period, unsigned seed) : m_period(period), m_values(static_cast<std::size_t>(period * period))
    {
        for (double& v : m_values) {
            seed = seed * 1664525u + 1013904223u;
            v = (seed >> 8) / double(1 << 24);
        }
    }
    double At(double x, double y) const
    {
        const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
        const double fx = Smooth(x - x0), fy = Smooth(y - y0);
        const double a = Lattice(x0, y0), b = Lattice(x0 + 1, y0);
        const double c = Lattice(x0, y0 + 1), d = Lattice(x0 + 1, y0 + 1);
        return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
    }

private:
    static double Smooth(double t) { return t * t * (3 - 2 * t); }
    double Lattice(int x, int y) const
    {
        x = ((x % m_period) + m_period) % m_period;
        y = ((y % m_period) + m_period) % m_period;
        return m_values[static_cast<std::size_t>(y * m_period + x)];
    }
    int m_period;
    std::vector<double> m_values;
};

double Turbulence(const std::vector<Noise>& octaves, double u, double v)
{
    double sum = 0, amplitude = 1, total = 0;
    int scale = 4;
    for (const Noise& n : octaves) {
        sum += amplitude * n.At(u * scale, v * scale);
        total += amplitude;
        amplitude *= 0.5;
        scale *= 2;
    }
    return sum / total;
}

// Marble: a base colour crossed by soft veins; strength sets how visible
// the veins are (kept low so that text on it stays readable).
QImage Marble(QColor base, QColor vein, double strength, unsigned seed)
{
    std::vector<Noise> octaves;
    for (int i = 0, period = 4; i < 5; ++i, period *= 2)
        octaves.emplace_back(period, seed + 97u * i);
    QImage image(kTile, kTile, QImage::Format_RGB32);
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const double u = double(x) / kTile, v = double(y) / kTile;
            const double t = Turbulence(octaves, u, v);
            // Veins run diagonally; the period of the sine fits the tile.
            const double veins = 0.5 + 0.5 * std::sin(2 * M_PI * (u + v) * 2 + 9.0 * t);
            const double grain = octaves.back().At(u * 64, v * 64) - 0.5;
            const double k = std::pow(veins, 6) * strength;
            auto mix = [&](int a, int b) {
                const double c = a + (b - a) * k + grain * 6;
                return std::clamp(static_cast<int>(std::lround(c)), 0, 255);
            };
            image.setPixel(x, y,
                           qRgb(mix(base.red(), vein.red()), mix(base.green(), vein.green()),
                                mix(base.blue(), vein.blue())));
        }
    }
    return image;
}

// A pale sky with soft clouds.
QImage Sky(unsigned seed)
{
    std::vector<Noise> octaves;
    for (int i = 0, period = 4; i < 5; ++i, period *= 2)
        octaves.emplace_back(period, seed + 31u * i);
    QImage image(kTile, kTile, QImage::Format_RGB32);
    const QColor blue(178, 206, 236), white(248, 250, 253);
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const double t = Turbulence(octaves, double(x) / kTile, double(y) / kTile);
            const double k = std::clamp((t - 0.42) * 3.0, 0.0, 1.0);
            image.setPixel(x, y,
                           qRgb(blue.red() + int((white.red() - blue.red()) * k),
                                blue.green() + int((white.green() - blue.green()) * k),
                                blue.blue() + int((white.blue() - blue.blue()) * k)));
        }
    }
    return image;
}

// The flag shown in the wait windows: a pennant on a pole.
QImage Flag()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 70, 50), 2));
    p.drawLine(QPointF(6, 3), QPointF(6, 30));
    QPainterPath cloth;
    cloth.moveTo(7, 4);
    cloth.cubicTo(14, 1, 20, 8, 28, 5);
    cloth.lineTo(28, 17);
    cloth.cubicTo(20, 20, 14, 13, 7, 16);
    cloth.closeSubpath();
    QLinearGradient g(7, 0, 28, 0);
    g.setColorAt(0, QColor(30, 90, 190));
    g.setColorAt(0.5, QColor(245, 245, 245));
    g.setColorAt(1, QColor(210, 40, 40));
    p.setBrush(g);
    p.setPen(QPen(QColor(40, 40, 60), 1));
    p.drawPath(cloth);
    return image;
}

QImage Sign(QColor fill, const QString& mark, bool round)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(12, 10, 22);
    g.setColorAt(0, fill.lighter(150));
    g.setColorAt(1, fill);
    p.setBrush(g);
    p.setPen(QPen(fill.darker(160), 1.2));
    if (round) {
        p.drawEllipse(QRectF(2, 2, 28, 28));
    } else {
        QPainterPath triangle;
        triangle.moveTo(16, 2);
        triangle.lineTo(30, 29);
        triangle.lineTo(2, 29);
        triangle.closeSubpath();
        p.drawPath(triangle);
    }
    QFont font("DejaVu Sans", 15, QFont::Bold);
    p.setFont(font);
    p.setPen(round ? Qt::white : Qt::black);
    p.drawText(QRectF(0, round ? 1 : 6, 32, 28), Qt::AlignCenter, mark);
    return image;
}

// --- Small pictures: toolbar buttons, tree items, tabs, list rows. ---

QImage Canvas(int size = 16)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void Page(QPainter& p, QRectF r, QColor fill = QColor(252, 252, 248))
{
    const qreal fold = r.width() * 0.3;
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 100), 1));
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void Lines(QPainter& p, QRectF r, int count, QColor colour = QColor(120, 130, 160))
{
    p.setPen(QPen(colour, 1));
    for (int i = 0; i < count; ++i) {
        const qreal y = r.top() + i * 2.5;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right() - (i % 2) * 2, y));
    }
}

void Arrow(QPainter& p, QPointF from, QPointF to, QColor colour)
{
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const qreal len = std::hypot(d.x(), d.y());
    const QPointF u = d / len, n(-u.y(), u.x());
    QPolygonF head;
    head << to + u * 1.5 << to - u * 3 + n * 3 << to - u * 3 - n * 3;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

void DialogShape(QPainter& p, QRectF r)
{
    p.setPen(QPen(QColor(60, 70, 90), 1));
    p.setBrush(QColor(236, 233, 216));
    p.drawRect(r);
    p.fillRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 0.5, 3), QColor(40, 90, 190));
    p.fillRect(QRectF(r.right() - 5, r.bottom() - 3.5, 4, 2.5), QColor(160, 160, 160));
}

void MenuShape(QPainter& p, QRectF r)
{
    p.setPen(QPen(QColor(60, 70, 90), 1));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(r);
    p.fillRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 0.5, 3), QColor(210, 210, 220));
    p.setPen(QPen(QColor(90, 90, 120), 1));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(r.left() + 2, r.top() + 6 + i * 3), QPointF(r.right() - 3, r.top() + 6 + i * 3));
}

void TableShape(QPainter& p, QRectF r)
{
    p.setPen(QPen(QColor(60, 70, 90), 1));
    p.setBrush(QColor(255, 255, 240));
    p.drawRect(r);
    p.setPen(QPen(QColor(150, 150, 170), 1));
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(r.left(), r.top() + i * 3), QPointF(r.right(), r.top() + i * 3));
    p.drawLine(QPointF(r.left() + 4, r.top()), QPointF(r.left() + 4, r.bottom()));
}

void Folder(QPainter& p, QRectF r, QColor colour)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top() + 2);
    path.lineTo(r.left() + 5, r.top() + 2);
    path.lineTo(r.left() + 6.5, r.top() + 3.5);
    path.lineTo(r.right(), r.top() + 3.5);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(colour.darker(170), 1));
    p.setBrush(colour);
    p.drawPath(path);
}

// The translated variants sit on a green background.
QImage Translated(const QImage& icon)
{
    QImage out = Canvas();
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 200, 110));
    p.drawRoundedRect(QRectF(0, 0, 16, 16), 3, 3);
    p.drawImage(0, 0, icon);
    return out;
}

QImage TreeIcon(int which)
{
    QImage image = Canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case 0:
        DialogShape(p, QRectF(1.5, 2.5, 13, 11));
        break;
    case 1:
        MenuShape(p, QRectF(2.5, 1.5, 11, 13));
        break;
    case 2:
        TableShape(p, QRectF(1.5, 2.5, 13, 11));
        break;
    case 3:
        Folder(p, QRectF(1.5, 2.5, 13, 11), QColor(240, 200, 90));
        break;
    case 4:
        Page(p, QRectF(2.5, 1.5, 11, 13));
        p.setFont(QFont("DejaVu Sans", 5, QFont::Bold));
        p.setPen(QColor(150, 40, 40));
        p.drawText(QRectF(2.5, 6, 11, 8), Qt::AlignCenter, "rc");
        break;
    default:
        break;
    }
    return image;
}

QImage Overlay(bool excluded)
{
    QImage image = Canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (excluded) {
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(QColor(210, 40, 40));
        p.drawEllipse(QRectF(0.5, 8.5, 7, 7));
        p.setPen(QPen(Qt::white, 1.5));
        p.drawLine(QPointF(2.3, 10.3), QPointF(5.7, 13.7));
        p.drawLine(QPointF(5.7, 10.3), QPointF(2.3, 13.7));
    } else {
        p.setPen(QPen(QColor(30, 140, 50), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(1, 12.5), QPointF(3, 14.5));
        p.drawLine(QPointF(3, 14.5), QPointF(6.5, 10));
    }
    return image;
}

QImage ToolIcon(const QString& name)
{
    QImage image = Canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (name == "new") {
        Page(p, QRectF(3.5, 1.5, 10, 13));
        p.setPen(QPen(QColor(230, 170, 0), 1.5));
        p.drawLine(QPointF(12, 1), QPointF(12, 6));
        p.drawLine(QPointF(9.5, 3.5), QPointF(14.5, 3.5));
    } else if (name == "open") {
        Folder(p, QRectF(1.5, 3.5, 13, 10), QColor(240, 200, 90));
        p.setPen(QPen(QColor(150, 110, 20), 1));
        p.setBrush(QColor(250, 220, 120));
        QPolygonF flap;
        flap << QPointF(3.5, 7.5) << QPointF(15, 7.5) << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
        p.drawPolygon(flap);
    } else if (name == "save") {
        p.setPen(QPen(QColor(40, 60, 110), 1));
        p.setBrush(QColor(70, 100, 170));
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        p.setBrush(QColor(240, 240, 240));
        p.drawRect(QRectF(4.5, 2, 7, 5));
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
    } else if (name == "dictionary") {
        p.setPen(QPen(QColor(90, 40, 30), 1));
        p.setBrush(QColor(160, 60, 40));
        p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
        p.setBrush(QColor(250, 245, 230));
        p.drawRect(QRectF(4.5, 1.5, 8, 11));
        Lines(p, QRectF(6, 4, 5.5, 8), 3, QColor(110, 80, 60));
        p.setPen(QColor(90, 40, 30));
        p.setFont(QFont("DejaVu Sans", 5, QFont::Bold));
    } else if (name == "insert") {
        Page(p, QRectF(1.5, 3.5, 9, 11));
        Lines(p, QRectF(3, 8, 5, 6), 3);
        Arrow(p, QPointF(14, 1.5), QPointF(9, 6.5), QColor(30, 140, 50));
    } else if (name == "extract") {
        Page(p, QRectF(1.5, 1.5, 9, 12));
        Lines(p, QRectF(3, 6, 5, 6), 3);
        Arrow(p, QPointF(8, 9), QPointF(14.5, 9), QColor(40, 90, 190));
    } else if (name == "generate") {
        Page(p, QRectF(5.5, 2.5, 9, 12), QColor(235, 245, 255));
        Lines(p, QRectF(7, 7, 5, 6), 3, QColor(40, 90, 190));
        Arrow(p, QPointF(1, 8), QPointF(6.5, 8), QColor(30, 140, 50));
    } else if (name == "findnext" || name == "findprevious") {
        p.setPen(QPen(QColor(60, 60, 70), 1.6));
        p.setBrush(QColor(220, 235, 250));
        p.drawEllipse(QRectF(1.5, 1.5, 8, 8));
        p.setPen(QPen(QColor(60, 60, 70), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8.5, 8.5), QPointF(11, 11));
        if (name == "findnext")
            Arrow(p, QPointF(13, 5), QPointF(13, 14.5), QColor(40, 90, 190));
        else
            Arrow(p, QPointF(13, 14.5), QPointF(13, 5), QColor(40, 90, 190));
    } else if (name == "updateicons") {
        DialogShape(p, QRectF(1.5, 1.5, 9, 8));
        p.setPen(QPen(QColor(30, 140, 50), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(6, 6, 9, 9), 30 * 16, 270 * 16);
        Arrow(p, QPointF(14, 8), QPointF(14.5, 6), QColor(30, 140, 50));
    } else if (name == "about") {
        p.setPen(QPen(QColor(30, 70, 150), 1));
        p.setBrush(QColor(60, 120, 210));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(Qt::white);
        p.setFont(QFont("DejaVu Serif", 9, QFont::Bold));
        p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, "i");
    } else if (name == "original") {
        DialogShape(p, QRectF(1.5, 2.5, 13, 11));
    } else if (name == "translation") {
        DialogShape(p, QRectF(1.5, 2.5, 13, 11));
        p.setPen(QPen(QColor(210, 40, 40), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3.5, 7.5, 6, 3));
    } else if (name == "texts") {
        Page(p, QRectF(2.5, 1.5, 11, 13));
        Lines(p, QRectF(4, 5, 7, 9), 4);
    } else if (name == "bookmark") {
        p.setPen(QPen(QColor(30, 60, 140), 1));
        p.setBrush(QColor(70, 120, 220));
        QPolygonF flag;
        flag << QPointF(4.5, 1.5) << QPointF(11.5, 1.5) << QPointF(11.5, 14.5) << QPointF(8, 11)
             << QPointF(4.5, 14.5);
        p.drawPolygon(flag);
    }
    return image;
}

// The program's own picture: an open book with a speech bubble.
QImage ProgramIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(QColor(90, 40, 30), 2));
    p.setBrush(QColor(170, 70, 45));
    p.drawRoundedRect(QRectF(4, 14, 56, 42), 4, 4);
    p.setBrush(QColor(252, 248, 235));
    p.setPen(QPen(QColor(120, 100, 80), 1.5));
    p.drawRect(QRectF(8, 16, 23, 36));
    p.drawRect(QRectF(33, 16, 23, 36));
    p.setPen(QPen(QColor(120, 130, 160), 2));
    for (int i = 0; i < 5; ++i) {
        p.drawLine(QPointF(12, 24 + i * 6), QPointF(27, 24 + i * 6));
        p.drawLine(QPointF(37, 24 + i * 6), QPointF(52, 24 + i * 6));
    }
    p.setPen(QPen(QColor(30, 70, 150), 2));
    p.setBrush(QColor(70, 130, 220));
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(30, 2, 32, 20), 7, 7);
    bubble.moveTo(38, 21);
    bubble.lineTo(34, 29);
    bubble.lineTo(46, 21);
    p.drawPath(bubble.simplified());
    p.setPen(Qt::white);
    p.setFont(QFont("DejaVu Sans", 11, QFont::Bold));
    p.drawText(QRectF(30, 2, 32, 20), Qt::AlignCenter, "A\u00e9");
    return image;
}

bool Save(const QImage& image, const QString& path)
{
    if (!image.save(path, "PNG", 9)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make-images <output folder>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    struct
    {
        const char* name;
        QColor base;
        QColor vein;
        double strength;
    } marbles[] = {
        {"BACKGROUND", QColor(226, 222, 214), QColor(196, 190, 180), 0.55},
        {"BACKGROUND_LIGHT", QColor(243, 241, 236), QColor(222, 218, 210), 0.5},
        {"BACKGROUND_ORANGE", QColor(245, 222, 196), QColor(226, 188, 150), 0.5},
        {"BACKGROUND_BLUE", QColor(216, 228, 242), QColor(180, 200, 228), 0.5},
        {"BACKGROUND_GREEN", QColor(220, 235, 214), QColor(186, 210, 178), 0.5},
        {"BACKGROUND_YELLOW", QColor(246, 240, 204), QColor(226, 214, 160), 0.5},
        {"BACKGROUND_DARK", QColor(176, 182, 192), QColor(150, 156, 168), 0.6},
        {"PINK", QColor(244, 222, 230), QColor(226, 190, 204), 0.5},
    };
    bool ok = true;
    unsigned seed = 7;
    for (const auto& m : marbles)
        ok =
            Save(Marble(m.base, m.vein, m.strength, seed += 101), out + "/textures/" + m.name + ".png") && ok;
    ok = Save(Sky(4242), out + "/textures/SKY.png") && ok;
    ok = Save(Flag(), out + "/images/_FLAG.png") && ok;
    ok = Save(Sign(QColor(235, 190, 40), "!", false), out + "/images/_EXCLAMATION.png") && ok;
    ok = Save(Sign(QColor(40, 100, 200), "?", true), out + "/images/_QUESTION.png") && ok;
    for (int i = 0; i < 5; ++i) {
        const QImage icon = TreeIcon(i);
        ok = Save(icon, out + QStringLiteral("/icons/tree%1.png").arg(i)) && ok;
        ok = Save(Translated(icon), out + QStringLiteral("/icons/tree%1.png").arg(i + 5)) && ok;
    }
    ok = Save(Overlay(true), out + "/icons/tree10.png") && ok;
    ok = Save(Overlay(false), out + "/icons/tree11.png") && ok;
    for (const char* name :
         {"new", "open", "save", "dictionary", "insert", "extract", "generate", "findnext", "findprevious",
          "updateicons", "about", "original", "translation", "texts", "bookmark"})
        ok = Save(ToolIcon(QString::fromLatin1(name)), out + "/icons/" + name + ".png") && ok;
    ok = Save(ProgramIcon(64), out + "/icons/lingorel64.png") && ok;
    ok = Save(ProgramIcon(32), out + "/icons/lingorel32.png") && ok;
    return ok ? 0 : 1;
}
