#pragma once

#include <cstdint>

namespace orvix {

class Panes;
class Platform;

// The stopwatch of the execution-time panel: one start count for the whole
// run, so a timed action started inside another's event yields measures from
// the most recent start.
class HiResTimer {
public:
    explicit HiResTimer(const Platform& platform) : m_platform(platform) {}

    // mode 0 starts (returns 0), 1 reads the milliseconds since the last
    // start, anything else returns 0 and changes nothing.
    std::int32_t StopWatch(int mode);
    // Writes the clock's finest and coarsest period to the debug pane.
    void LogTimerResolution(Panes& panes) const;

private:
    const Platform& m_platform;
    std::uint32_t m_start = 0;
};

}  // namespace orvix
