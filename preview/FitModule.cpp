#include "preview/FitModule.h"

#include "preview/PreviewFit.h"

#include <QGuiApplication>

#include <cstdlib>
#include <memory>
#include <type_traits>

namespace {

// The measure with the application it needs for the fonts, when the
// process had none.
class ModuleFitMeasure : public PreviewFitMeasure
{
public:
    using PreviewFitMeasure::PreviewFitMeasure;
    std::unique_ptr<QGuiApplication> application;
};

} // namespace

extern "C" __attribute__((visibility("default"))) FitMeasure* LingorelNewFitMeasure(int translationsCodePage)
{
    auto measure = std::make_unique<ModuleFitMeasure>(translationsCodePage);
    if (!QGuiApplication::instance()) {
        // Fonts need an application but no display.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // Qt's own notices (no runtime folder on a server) are no findings.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        static int argc = 1;
        static char name[] = "lorvo-cli";
        static char* argv[] = {name, nullptr};
        measure->application = std::make_unique<QGuiApplication>(argc, argv);
    }
    return measure.release();
}

static_assert(std::is_same_v<decltype(&LingorelNewFitMeasure), NewFitMeasureFunction>);
