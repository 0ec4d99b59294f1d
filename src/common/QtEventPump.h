#pragma once

#include "common/EventPump.h"

namespace orvix {

// Lets the Qt event queue run between instrument exchanges.
class QtEventPump : public EventPump {
public:
    void processEvents() override;
    void waitForEvents(int maxMs) override;
};

}  // namespace orvix
