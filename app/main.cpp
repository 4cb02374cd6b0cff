// lorvo: the program's window.
#include "app/CMainFrame.h"
#include "app/CTrelvarApp.h"
#include "dictionary/FreedMemory.h"
#include "tessary/ModalAnswers.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

// Without a display Qt aborts; say so in one line instead.
bool DisplayAvailable(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0)
            return true;
    }
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv)
{
    if (!DisplayAvailable(argc, argv)) {
        std::fprintf(stderr, "lorvo: no display is available (set DISPLAY, or QT_QPA_PLATFORM=offscreen)\n");
        return 1;
    }
    // Dictionaries are opened one after another in one window: the memory
    // of the last is kept for the next.
    KeepFreedMemoryForReuse();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lorvo"));
    QApplication::setApplicationVersion(QStringLiteral(LINGOREL_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Lingorel"));

    const QStringList arguments = QApplication::arguments();
    const bool selfTest = arguments.contains(QStringLiteral("--self-test"));
    if (selfTest)
        ModalAnswers::SetAutomatic(true); // nobody is there to answer
    CTrelvarApp app;
    if (!app.InitInstance(arguments))
        return 1;
    app.MainFrame()->ShowAtRememberedPlace();
    if (selfTest) {
        // Start, show the window and the previews, and leave.
        QTimer::singleShot(600, &application, [&app] {
            std::printf("lorvo: started, %s\n", qPrintable(app.MainFrame()->windowTitle()));
            app.MainFrame()->close();
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
