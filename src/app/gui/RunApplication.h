#pragma once

#include "app/gui/frmMain.h"

#include <QElapsedTimer>
#include <QString>

class QApplication;

namespace orvix {

class HidBackend;

struct RunOptions {
    MainWindowOptions window;
    // When set: run unattended (every question is answered with its default
    // button and printed to stderr), save a picture of the main window once
    // it is up, then quit. A path containing "%1" gets one picture per tab.
    QString screenshotPath;
    int screenshotDelayMs = 1000;
    // When set: print how long after `started` the main window was up and
    // taking events, then quit (for the start-up benchmark).
    const QElapsedTimer* reportStartupSince = nullptr;
};

// Explains, instead of failing obscurely, when no graphical display is
// available. False when the program cannot show a window.
bool DisplayAvailable(const char* programName, const char* howToRunWithout);

// Builds the program over a HID backend and runs it until the main window closes.
int RunApplication(QApplication& app, HidBackend& backend, const RunOptions& options);

}  // namespace orvix
