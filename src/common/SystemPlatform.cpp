#include "common/SystemPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>

#include <chrono>
#include <limits>

namespace orvix {

SystemPlatform::SystemPlatform(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString SystemPlatform::programFolder() const {
    const QString folder = m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
    return QDir::toNativeSeparators(QDir::cleanPath(folder));
}

// Milliseconds since the machine started, wrapping like any 32-bit tick count.
std::uint32_t SystemPlatform::milliseconds() const {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

std::uint32_t SystemPlatform::timerPeriodMin() const {
    using Tick = std::chrono::steady_clock::period;
    const double tickMs = 1000.0 * Tick::num / Tick::den;
    return tickMs <= 1.0 ? 1u : static_cast<std::uint32_t>(tickMs + 0.5);
}

// The longest interval a timer of this program can be given.
std::uint32_t SystemPlatform::timerPeriodMax() const { return std::numeric_limits<int>::max(); }

void SystemPlatform::sleep(int ms) {
    if (ms <= 0) return;
    QThread::msleep(static_cast<unsigned long>(ms));
    m_sleptMs += ms;
}

QDateTime SystemPlatform::now() const { return QDateTime::currentDateTime(); }

}  // namespace orvix
