#pragma once

#include "common/Platform.h"

namespace orvix {

// The machine the program runs on.
class SystemPlatform : public Platform {
public:
    // An empty folder means the executable's own folder.
    explicit SystemPlatform(QString programFolder = {});

    QString programFolder() const override;
    std::uint32_t milliseconds() const override;
    std::uint32_t timerPeriodMin() const override;
    std::uint32_t timerPeriodMax() const override;
    void sleep(int ms) override;
    QDateTime now() const override;

    // How long sleep() has waited in all, for start-up measurements.
    std::int64_t SleptMs() const { return m_sleptMs; }

private:
    QString m_programFolder;
    std::int64_t m_sleptMs = 0;
};

}  // namespace orvix
