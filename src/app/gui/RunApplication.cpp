#include "app/gui/RunApplication.h"

#include "app/AppContext.h"
#include "app/gui/QtPrompter.h"
#include "app/gui/WidgetPanes.h"
#include "common/QtEventPump.h"
#include "common/SystemPlatform.h"
#include "common/UnattendedPrompter.h"

#include <QApplication>
#include <QFont>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace orvix {

namespace {

void SaveScreenshots(frmMain& window, const QString& path) {
    if (!path.contains(QStringLiteral("%1"))) {
        window.grab().save(path);
        return;
    }
    QTabWidget* tabs = window.TabStrip();
    for (int tab = 0; tab < tabs->count(); ++tab) {
        if (!tabs->isTabEnabled(tab)) continue;
        tabs->setCurrentIndex(tab);
        QApplication::processEvents();
        window.grab().save(path.arg(tab));
    }
}

}  // namespace

bool DisplayAvailable(const char* programName, const char* howToRunWithout) {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    if (set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY")) return true;
    std::fprintf(stderr,
                 "%s needs a graphical display, and none is available here (DISPLAY and WAYLAND_DISPLAY are "
                 "not set).\n%s\n",
                 programName, howToRunWithout);
    return false;
#else
    (void)programName;
    (void)howToRunWithout;
    return true;
#endif
}

int RunApplication(QApplication& app, HidBackend& backend, const RunOptions& options) {
    QApplication::setApplicationName(frmMain::kCaption);
    QFont font = QApplication::font();
    font.setPointSize(8);
    QApplication::setFont(font);

    const bool unattended = !options.screenshotPath.isEmpty() || options.reportStartupSince != nullptr;
    SystemPlatform platform;
    QtEventPump pump;
    QtPrompter dialogs;
    UnattendedPrompter automatic(stderr);
    Prompter& prompter = unattended ? static_cast<Prompter&>(automatic) : dialogs;
    WidgetPanes panes(pump);
    AppContext context(backend, prompter, panes, pump, platform);
    frmMain window(context, panes, options.window);
    dialogs.SetParentWindow(&window);

    window.Start();
    if (options.reportStartupSince) {
        // Runs once the window is up and the event loop takes events.
        QTimer::singleShot(0, &window, [&] {
            std::printf("main window shown after %lld ms, %lld ms of them waiting for the instrument to settle\n",
                        static_cast<long long>(options.reportStartupSince->elapsed()),
                        static_cast<long long>(platform.SleptMs()));
            std::fflush(stdout);
            window.close();
        });
    }
    if (unattended) {
        QTimer::singleShot(options.screenshotDelayMs, &window, [&] {
            SaveScreenshots(window, options.screenshotPath);
            window.close();
        });
    }
    return app.exec();
}

}  // namespace orvix
