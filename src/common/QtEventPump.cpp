#include "common/QtEventPump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace orvix {

void QtEventPump::processEvents() { QCoreApplication::processEvents(); }

void QtEventPump::waitForEvents(int maxMs) {
    // The timer guarantees a wake-up; until then the thread sleeps in the
    // event dispatcher instead of spinning.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.start(maxMs > 0 ? maxMs : 0);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace orvix
