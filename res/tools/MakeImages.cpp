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
    return ok ? 0 : 1;
}
