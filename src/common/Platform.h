#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace orvix {

// What the program needs from the machine it runs on. Tests give a fixed clock
// and a temporary program folder.
class Platform {
public:
    virtual ~Platform() = default;

    // The program's own folder, where "Settings.ini" and "Errors.Txt" live.
    virtual QString programFolder() const = 0;
    // A monotonic millisecond count (wraps like any 32-bit tick count).
    virtual std::uint32_t milliseconds() const = 0;
    // The clock's resolution in milliseconds: finest and coarsest period.
    virtual std::uint32_t timerPeriodMin() const = 0;
    virtual std::uint32_t timerPeriodMax() const = 0;
    virtual void sleep(int ms) = 0;
    virtual QDateTime now() const = 0;
};

}  // namespace orvix
