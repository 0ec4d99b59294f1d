#include "app/HiResTimer.h"

#include "support/TestServices.h"

#include <gtest/gtest.h>

namespace orvix::test {
namespace {

TEST(HiResTimer, MeasuresFromTheLastStartAndIgnoresOtherModes) {
    FakePlatform platform;
    HiResTimer timer(platform);
    platform.ms = 5000;
    EXPECT_EQ(timer.StopWatch(1), 5000);  // before any start: time since the machine started
    EXPECT_EQ(timer.StopWatch(0), 0);
    platform.ms += 1250;
    EXPECT_EQ(timer.StopWatch(2), 0);
    EXPECT_EQ(timer.StopWatch(1), 1250);
}

TEST(HiResTimer, AWrappedTickCountStillGivesTheElapsedTime) {
    FakePlatform platform;
    HiResTimer timer(platform);
    platform.ms = 0xFFFFFF00u;
    timer.StopWatch(0);
    platform.ms = 0x00000100u;
    EXPECT_EQ(timer.StopWatch(1), 0x200);
}

TEST(HiResTimer, LogsTheResolutionWithTheLeadingBlankOfNumbers) {
    FakePlatform platform;
    RecordingPanes panes;
    HiResTimer(platform).LogTimerResolution(panes);
    EXPECT_EQ(panes.debug, QStringList({QStringLiteral("MinTmrResolution= 1"), QStringLiteral("MaxTmrResolution= 1000000")}));
}

}  // namespace
}  // namespace orvix::test
