#include "app/Connection.h"

#include "common/SessionState.h"
#include "hid/ZrHID.h"
#include "protocol/ErrHdlr.h"
#include "protocol/USBcmds.h"
#include "sim/InstrumentSimulator.h"
#include "support/FakeHidBackend.h"
#include "support/ScriptedPrompter.h"
#include "support/TestServices.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orvix::test {
namespace {

struct RecordingView : ConnectionView {
    std::vector<bool> enabled;
    std::vector<bool> markers;
    int tabHandlerRuns = 0;
    void EnableButtons(bool enable) override { enabled.push_back(enable); }
    void SetUserListMarkers(bool reload) override { markers.push_back(reload); }
    void RunTabHandler() override { ++tabHandlerRuns; }
};

const QString kDidNotDetect = QStringLiteral(
    "     Did not Detect Orvix.\r\n\r\nPlease Attach Orvix to USB Cable,\r\n and Ensure Orvix is Powered On.\r\n");

struct ConnectionTest : ::testing::Test {
    sim::InstrumentSimulator sim;
    ZrHID hid{sim};
    FakePlatform platform;
    RecordingPanes panes;
    ScriptedPrompter prompter;
    ErrHdlr errors{prompter, platform};
    USBcmds cmds{hid, errors, panes, platform};
    SessionState session;
    Connection connection{hid, cmds, prompter, panes, platform, session};
    RecordingView view;

    ConnectionTest() {
        errors.SetShowErrorDialogs(true);
        sim.setLatencyMs(0);
        connection.SetView(&view);
    }
    int commandsSent(std::uint8_t code) const {
        return static_cast<int>(std::count(sim.commandLog().begin(), sim.commandLog().end(), code));
    }
};

TEST_F(ConnectionTest, ASuitableInstrumentIsConnectedAndItsIndicesRead) {
    sim.setCurrentIndices(2, 4);
    const std::uint32_t before = platform.ms;
    connection.Connect();

    EXPECT_TRUE(hid.DeviceDetected());
    EXPECT_EQ(platform.ms - before, 1000u);  // settles before asking the version
    EXPECT_EQ(view.enabled, std::vector<bool>{true});
    EXPECT_EQ(view.markers, std::vector<bool>{true});
    EXPECT_EQ(view.tabHandlerRuns, 1);
    EXPECT_EQ(session.LangIdx, 2);
    EXPECT_EQ(session.ProdIdx, 4);
    connection.UpdateConnectionStatus();
    EXPECT_EQ(panes.statusPanels[0], QStringLiteral("Connected"));
}

TEST_F(ConnectionTest, SoftwareOlderThan0082IsRefusedByName) {
    sim.setSoftwareVersion(QStringLiteral("00.81"));
    prompter.expectMessage(QStringLiteral("Orvix software is Version 00.81.\r\n00.82 or newer is required for this Application."));
    connection.Connect();
    EXPECT_FALSE(hid.DeviceDetected());
    EXPECT_EQ(prompter.shownMessages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(view.enabled, std::vector<bool>{false});
    EXPECT_EQ(view.markers, std::vector<bool>{false});
    EXPECT_EQ(sim.openHandleCount(), 0);
}

TEST_F(ConnectionTest, NoInstrumentOffersRetryUntilCancelled) {
    sim.unplug();
    prompter.expectMessage(kDidNotDetect, MsgAnswer::Retry);
    prompter.expectMessage(kDidNotDetect, MsgAnswer::Cancel);
    connection.Connect();

    EXPECT_FALSE(hid.DeviceDetected());
    EXPECT_EQ(prompter.shownMessages().front().buttons, MsgButtons::RetryCancel);
    EXPECT_EQ(prompter.shownMessages().front().icon, MsgIcon::Information);
    EXPECT_EQ(view.enabled, std::vector<bool>{false});
    connection.UpdateConnectionStatus();
    EXPECT_EQ(panes.statusPanels[0], QStringLiteral("Not Connected"));
    EXPECT_EQ(view.enabled, (std::vector<bool>{false, false}));
}

TEST_F(ConnectionTest, RetryFindsAnInstrumentPluggedInMeanwhile) {
    sim.unplug();
    prompter.expectMessage(kDidNotDetect, MsgAnswer::Retry);
    prompter.onShown = [&](const MessageBoxRequest&) { sim.replug(); };
    connection.Connect();
    EXPECT_TRUE(hid.DeviceDetected());
    EXPECT_EQ(view.enabled, std::vector<bool>{true});
}

TEST(ConnectionAccess, AnInstrumentThatMayNotBeOpenedSaysHowToFixIt) {
    FakeHidBackend backend;
    HidDeviceInfo instrument;
    instrument.path = QStringLiteral("/dev/hidraw3");
    instrument.vendorId = ZrHID::kVendorId;
    instrument.productId = ZrHID::kProductId;
    backend.devices = {instrument};
    backend.unopenablePaths.insert(instrument.path);
    ZrHID hid(backend);
    FakePlatform platform;
    RecordingPanes panes;
    ScriptedPrompter prompter;
    ErrHdlr errors(prompter, platform);
    USBcmds cmds(hid, errors, panes, platform);
    SessionState session;
    Connection connection(hid, cmds, prompter, panes, platform, session);

    prompter.expectMessage(kDidNotDetect + QStringLiteral("An Orvix is attached but access to it was denied: install the "
                                                          "udev rule 70-orvix.rules (see README) and plug the Orvix in again.\r\n"),
                           MsgAnswer::Cancel);
    connection.Connect();
    EXPECT_FALSE(hid.DeviceDetected());
}

TEST_F(ConnectionTest, KeepAlivePingsOnlyAfterAQuietInterval) {
    connection.Connect();
    ASSERT_TRUE(hid.DeviceDetected());
    // Connecting itself wrote reports: the first tick only clears the flag.
    connection.KeepAlive();
    EXPECT_EQ(commandsSent(0x01), 0);
    connection.KeepAlive();
    EXPECT_EQ(commandsSent(0x01), 1);

    cmds.TestNVM();
    connection.KeepAlive();
    EXPECT_EQ(commandsSent(0x01), 1);
    EXPECT_FALSE(hid.ReportWritten());
}

TEST_F(ConnectionTest, AnUnpluggedInstrumentIsFoundByTheKeepAlive) {
    connection.Connect();
    hid.SetReportWritten(false);
    sim.unplug();
    connection.KeepAlive();  // the ping's write fails and closes the connection
    EXPECT_FALSE(hid.DeviceDetected());
    connection.UpdateConnectionStatus();
    EXPECT_EQ(panes.statusPanels[0], QStringLiteral("Not Connected"));
    EXPECT_FALSE(view.enabled.back());
    // Not connected: the tick does nothing.
    connection.KeepAlive();
}

}  // namespace
}  // namespace orvix::test
