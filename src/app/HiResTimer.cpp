#include "app/HiResTimer.h"

#include "common/Numbers.h"
#include "common/Panes.h"
#include "common/Platform.h"

namespace orvix {

std::int32_t HiResTimer::StopWatch(int mode) {
    switch (mode) {
    case 0: m_start = m_platform.milliseconds(); return 0;
    // Unsigned subtraction keeps a count that wrapped since the start right.
    case 1: return static_cast<std::int32_t>(m_platform.milliseconds() - m_start);
    default: return 0;
    }
}

void HiResTimer::LogTimerResolution(Panes& panes) const {
    panes.MessageToDebug(QStringLiteral("MinTmrResolution=") + StrInt(m_platform.timerPeriodMin()));
    panes.MessageToDebug(QStringLiteral("MaxTmrResolution=") + StrInt(m_platform.timerPeriodMax()));
}

}  // namespace orvix
