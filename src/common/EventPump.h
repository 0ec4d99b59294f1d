#pragma once

namespace orvix {

// Long operations let the event queue run between instrument exchanges so
// timers and the Halt button keep working.
class EventPump {
public:
    virtual ~EventPump() = default;

    // Run the events that are already pending, then return.
    virtual void processEvents() = 0;
    // Sleep until an event arrives or maxMs passes, then run what is pending.
    // Waiting this way never spins the CPU.
    virtual void waitForEvents(int maxMs) = 0;
};

}  // namespace orvix
