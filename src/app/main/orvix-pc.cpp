// The Orvix PC Application on the instruments attached to this machine.

#include "app/gui/RunApplication.h"
#include "hid/hidapi/HidApiBackend.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (!orvix::DisplayAvailable("orvix-pc", "Run it from a desktop session, or under a virtual X server (xvfb-run).")) return 1;
    QApplication app(argc, argv);
    orvix::HidApiBackend backend;
    orvix::RunOptions options;
    return orvix::RunApplication(app, backend, options);
}
