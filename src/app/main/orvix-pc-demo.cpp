// The Orvix PC Application on its built-in instrument simulator, with the
// factory and service tabs unlocked, so the whole program can be explored
// without an instrument.
//
//   orvix-pc-demo [--screenshot FILE.png] [--startup-time]

#include "app/gui/RunApplication.h"
#include "sim/InstrumentSimulator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QElapsedTimer started;
    started.start();
    if (!orvix::DisplayAvailable("orvix-pc-demo",
                                 "Run it from a desktop session, or run scripts/run-demo.sh, which starts it under "
                                 "a virtual X server and saves a screenshot of each tab."))
        return 1;
    QApplication app(argc, argv);
    orvix::RunOptions options;
    options.window.serviceTabsAvailable = true;
    options.window.toolsShowAvailable = true;
    options.window.languageButtonsShown = true;
    const QStringList arguments = QApplication::arguments();
    const qsizetype shot = arguments.indexOf(QStringLiteral("--screenshot"));
    if (shot > 0) {
        if (shot + 1 >= arguments.size()) {
            std::fprintf(stderr, "usage: orvix-pc-demo [--screenshot FILE.png] [--startup-time]\n");
            return 2;
        }
        options.screenshotPath = arguments[shot + 1];
    }
    if (arguments.contains(QStringLiteral("--startup-time"))) options.reportStartupSince = &started;
    orvix::sim::InstrumentSimulator instrument;
    return orvix::RunApplication(app, instrument, options);
}
