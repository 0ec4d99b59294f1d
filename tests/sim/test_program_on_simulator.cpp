#include "sim/InstrumentSimulator.h"

#include "hid/ZrHID.h"
#include "protocol/ErrHdlr.h"
#include "protocol/USBcmds.h"
#include "support/ScriptedPrompter.h"
#include "support/TestServices.h"

#include <gtest/gtest.h>

namespace orvix::sim::test {
namespace {

// The program's own discovery, transport and instrument operations against
// the simulator: a report layout the two sides disagree on shows up here.
// Any error the program reports would be an unexpected prompt and fail.
struct ProgramOnSimulator : ::testing::Test {
    InstrumentSimulator sim;
    ZrHID hid{sim};
    orvix::test::FakePlatform platform;
    orvix::test::RecordingPanes panes;
    orvix::test::ScriptedPrompter prompter;
    ErrHdlr errors{prompter, platform};
    USBcmds cmds{hid, errors, panes, platform};

    ProgramOnSimulator() {
        errors.SetShowErrorDialogs(true);
        sim.setLatencyMs(0);
        hid.FindTheHid();
    }
};

TEST_F(ProgramOnSimulator, DiscoveryFindsItWithOneReportLength) {
    ASSERT_TRUE(hid.DeviceDetected());
    EXPECT_EQ(hid.Capabilities().InputReportByteLength, InstrumentSimulator::kReportLength);
    EXPECT_EQ(hid.Capabilities().OutputReportByteLength, InstrumentSimulator::kReportLength);
    EXPECT_EQ(hid.Capabilities().UsagePage, 0xFF00);
    EXPECT_EQ(sim.openHandleCount(), 2);
}

TEST_F(ProgramOnSimulator, FilesTravelBothWays) {
    ASSERT_TRUE(hid.DeviceDetected());
    EXPECT_EQ(cmds.GetProductName(1, 1), QStringLiteral("Gerste"));
    EXPECT_EQ(cmds.GetLanguageDescription(2), QStringLiteral("Русский"));
    EXPECT_TRUE(cmds.GetLanguageFile(2).startsWith(sim.languageFile(2)));

    const QString product = QStringLiteral(
        "P\r\nPrdIdx=3\r\nLngIdx=2\r\n$Name=Соя белая\r\nIssue=R3\r\nK1=5555\r\nJmpMax=3\r\nJmpMin=3\r\n<EOF>\r\n");
    EXPECT_TRUE(cmds.SendFileToDevice(product, USBcmds::kAnyFileType));
    EXPECT_EQ(sim.productFile(3, 2), product);
    // A file read returns the whole report: the file, then the zero fill.
    const QString readBack = cmds.GetProductFile(3, 2);
    EXPECT_EQ(readBack.left(product.size()), product);
    EXPECT_EQ(readBack.count(QChar(u'\0')), readBack.size() - product.size());

    EXPECT_TRUE(cmds.DeleteProductFile(3, 2));
    EXPECT_EQ(cmds.GetProductName(3, 2), QString());
    EXPECT_TRUE(cmds.GetProductFile(3, 2).startsWith(QStringLiteral("No Data\r\n")));

    const QString language = QStringLiteral("L\r\nLngIdx=4\r\n$Desc=Ελληνικά\r\n$MTA01=Μέτρηση\r\n<EOF>\r\n");
    const QString user = QStringLiteral("U\r\nOperator=Anne\r\n<EOF>\r\n");
    const QString norm = QStringLiteral("N\r\nAccAa = 1.000E+00\r\n<EOF>\r\n");
    for (const QString& file : {language, user, norm}) EXPECT_TRUE(cmds.SendFileToDevice(file, USBcmds::kAnyFileType));
    EXPECT_TRUE(cmds.GetLanguageFile(4).startsWith(language));
    EXPECT_TRUE(cmds.GetUserFile().startsWith(user));
    EXPECT_TRUE(cmds.GetNormalizationFile().startsWith(norm));
    EXPECT_TRUE(cmds.DeleteLanguageFile(4));
    EXPECT_TRUE(cmds.GetLanguageFile(4).startsWith(QStringLiteral("No Data\r\n")));

    cmds.GetKeyFile();
    EXPECT_EQ(cmds.KeyAMSN(), QStringLiteral("X10203-3000-00042"));
    EXPECT_EQ(cmds.GetSerialNumber(), QStringLiteral("00042"));
    cmds.SendConstKeyFile(QStringLiteral("31415"));
    cmds.GetKeyFile();
    EXPECT_EQ(cmds.GetSerialNumber(), QStringLiteral("31415"));
    EXPECT_EQ(cmds.KeyModel(), QStringLiteral("OX-200"));
    EXPECT_TRUE(hid.DeviceDetected());
}

TEST_F(ProgramOnSimulator, ServiceOperationsReadTheInstrument) {
    ASSERT_TRUE(hid.DeviceDetected());
    sim.setSwitchBits(0x05);
    EXPECT_EQ(cmds.GetSoftwareInfo(1), QStringLiteral("00.82"));
    EXPECT_EQ(cmds.GetCellADC(5),
              QStringLiteral("ALL_CELL5, ") + QString::number(*CellAdcCounts(sim.sensorTruth(), 5)));
    EXPECT_EQ(cmds.AccessLoadCell(), QStringLiteral("2000, 40000"));
    EXPECT_EQ(cmds.AccessMeasSeq(2), QStringLiteral("Full Cell Measurement Complete"));
    EXPECT_EQ(cmds.AccessAccelerometer(3), QStringLiteral("PosXYZ, 14, -22, 1050, 1.00000"));
    EXPECT_EQ(cmds.GetNrmlTemp(0), QStringLiteral("22.5"));
    EXPECT_EQ(cmds.GetAnalogValue(3), QStringLiteral("3"));
    EXPECT_EQ(cmds.GetSwitchStatus(),
              QStringLiteral("Home( Open ) Up(Closed) Enter( Open ) Down(Closed) "));
    EXPECT_EQ(cmds.ControlBacklight(0), QStringLiteral("BackLight Off"));
    EXPECT_EQ(cmds.GetPgmCkSum(1), QStringLiteral("0xC3"));
    EXPECT_EQ(cmds.GetMaxProducts(), 20);
    EXPECT_EQ(cmds.GetMaxLanguages(), 12);
    EXPECT_EQ(cmds.IssueUnknownCmd(), 0xFF);
    EXPECT_TRUE(cmds.SendText2Display(45, 0, 3, 255));
    int lang = 1, prod = 4;
    EXPECT_EQ(cmds.AccessLangIdxProdIdx(true, lang, prod),
              QStringLiteral("LangIdx=1\r\nProdIdx=4\r\nCkSum=Pass\r\n"));
    EXPECT_TRUE(hid.DeviceDetected());
}

TEST_F(ProgramOnSimulator, UnpluggingIsNoticedAtTheNextExchange) {
    ASSERT_TRUE(hid.DeviceDetected());
    sim.unplug();
    cmds.PingDevice();  // the keep-alive: a failed write closes the connection
    EXPECT_FALSE(hid.DeviceDetected());
    sim.replug();
    hid.FindTheHid();
    EXPECT_TRUE(hid.DeviceDetected());
}

}  // namespace
}  // namespace orvix::sim::test
