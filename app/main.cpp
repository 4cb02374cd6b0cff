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

constexpr const char* kUsage =
    "Usage: lorvo [options] [dictionary.dic]\n"
    "\n"
    "Translates the user interface of Windows programs kept in resource scripts (.rc).\n"
    "Opens the dictionary named, else the last one (or the sample on the first start).\n"
    "\n"
    "Options:\n"
    "  --settings FILE   read and write the settings in FILE (also LINGOREL_SETTINGS)\n"
    "  --uninstall       remove the settings, the log and the sample copy, and say what was removed\n"
    "  --self-test       start, show the window and leave\n"
    "  --help            print this help and leave\n"
    "  --version         print the version and leave\n"
    "\n"
    "lorvo-cli does the same work without a window: lorvo-cli --help.\n";

} // namespace

int main(int argc, char** argv)
{
    // Help and version need no display and start no window.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("lorvo %s\n", LINGOREL_VERSION);
            return 0;
        }
    }
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
