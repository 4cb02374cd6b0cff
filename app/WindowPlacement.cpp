#include "app/WindowPlacement.h"

#include "tessary/ProgramSettings.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>

void ShowAtRememberedPlace(QMainWindow* window, QSplitter* splitter)
{
    const Settings settings = AppSettings();
    const int width = settings.Get(Settings::Integer::MainWidth);
    const int height = settings.Get(Settings::Integer::MainHeight);
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QRect place(settings.Get(Settings::Integer::MainLeft), settings.Get(Settings::Integer::MainTop), width,
                height);
    // A place never saved, or one no screen shows any more (a screen gone),
    // gives way to four fifths of the screen, centred.
    if (width <= 0 || height <= 0 || !available.intersects(place)) {
        place.setSize(QSize(available.width() * 4 / 5, available.height() * 4 / 5));
        place.moveCenter(available.center());
    }
    // The place is the window's inside, without the frame the window
    // manager adds: before the window is shown its frame is not known, and
    // a place taken with the frame would move it up by a title bar at every
    // start.
    window->setGeometry(QRect(place.topLeft(), place.size().boundedTo(available.size())));
    if (splitter) {
        const int tree = settings.Get(Settings::Integer::SplitCx);
        splitter->setSizes({tree, std::max(200, window->width() - tree)});
    }
    if (settings.Get(Settings::Flag::MainMaximized))
        window->showMaximized();
    else
        window->show();
}

void RememberPlace(const QMainWindow* window, const QSplitter* splitter)
{
    const Settings settings = AppSettings();
    // The normal geometry: what the window comes back to from maximised.
    const QRect place = window->isMaximized() ? window->normalGeometry() : window->geometry();
    settings.Set(Settings::Integer::MainLeft, place.x());
    settings.Set(Settings::Integer::MainTop, place.y());
    settings.Set(Settings::Integer::MainWidth, place.width());
    settings.Set(Settings::Integer::MainHeight, place.height());
    settings.Set(Settings::Flag::MainMaximized, window->isMaximized());
    if (splitter)
        settings.Set(Settings::Integer::SplitCx, splitter->sizes().value(0));
}
