#include "hid/ZrHID.h"

#include "common/VbError.h"
#include "support/FakeHidBackend.h"

#include <gtest/gtest.h>

namespace orvix::test {
namespace {

struct ZrHIDTest : ::testing::Test {
    FakeHidBackend backend;
    ZrHID hid{backend};

    void connect(std::uint16_t inputLength = 8, std::uint16_t outputLength = 8) {
        HidCaps caps;
        caps.InputReportByteLength = inputLength;
        caps.OutputReportByteLength = outputLength;
        hid.AttachDevice(backend.open(QStringLiteral("p")), backend.open(QStringLiteral("p")), caps);
    }
    // The diagnostics written since `from`.
    QStringList diagnosticsFrom(qsizetype from) const { return hid.Diagnostics().lines().mid(from); }
    void fillCommand(std::uint8_t id, std::uint8_t cmd) {
        hid.SizeReportBuffer(ZrHID::kOutputBuffer);
        hid.SetOutByte(0, id);
        hid.SetOutByte(1, cmd);
    }
};

const QString kSuccess = QStringLiteral("  API Result = ") + ZrHID::SystemErrorText(0) + QStringLiteral(",  Err# 0");

TEST_F(ZrHIDTest, BufferSizesFollowTheCapabilities) {
    connect(9, 17);
    EXPECT_EQ(hid.ReportLastIndex(ZrHID::kInputBuffer), 8);
    EXPECT_EQ(hid.ReportLastIndex(ZrHID::kOutputBuffer), 16);
    EXPECT_EQ(hid.ReportLastIndex(2), 0);
    hid.SizeReportBuffer(ZrHID::kOutputBuffer);
    hid.SizeReportBuffer(2);  // does nothing
    EXPECT_EQ(hid.OutReportBfr(), std::vector<std::uint8_t>(17, 0));
    EXPECT_TRUE(hid.InReportBfr().empty());
}

TEST_F(ZrHIDTest, BufferAccessOutsideTheReportIsErrorNine) {
    connect(4, 4);
    hid.SizeReportBuffer(ZrHID::kOutputBuffer);
    hid.SizeReportBuffer(ZrHID::kInputBuffer);
    for (const int index : {-1, 4, 100000}) {
        EXPECT_THROW(hid.SetOutByte(index, 1), RuntimeError) << index;
        EXPECT_THROW(hid.InByte(index), RuntimeError) << index;
    }
    try {
        hid.InByte(4);
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), 9);
        EXPECT_EQ(error.description(), QStringLiteral("Subscript out of range"));
    }
}

TEST_F(ZrHIDTest, AWrittenReportGoesOutWholeWithItsZeroesAndIsLogged) {
    connect();
    fillCommand(1, 0x42);
    const qsizetype from = hid.Diagnostics().lines().size();
    EXPECT_TRUE(hid.WriteReport());

    ASSERT_EQ(backend.written().size(), 1u);
    EXPECT_EQ(backend.written()[0], FakeHidBackend::Report({1, 0x42, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(hid.ReportWritten());
    EXPECT_EQ(diagnosticsFrom(from),
              QStringList({QString(), QStringLiteral("hid_write"), kSuccess,
                           QStringLiteral(" OutputReportByteLength = 8"),
                           QStringLiteral(" NumberOfBytesWritten = 8"), QStringLiteral(" Report ID: 1"),
                           QStringLiteral(" Report Cmd: 66")}));
}

TEST_F(ZrHIDTest, AReportGoesOutAtTheSizeOfItsOwnId) {
    HidCaps caps;
    caps.InputReportByteLength = 8;
    caps.OutputReportByteLength = 8;
    caps.OutputReportSizes = {{1, 4}, {2, 8}};
    hid.AttachDevice(1, 2, caps);
    fillCommand(1, 0x01);
    EXPECT_TRUE(hid.WriteReport());
    fillCommand(2, 0);
    EXPECT_TRUE(hid.WriteReport());
    EXPECT_EQ(backend.written()[0].size(), 4);
    EXPECT_EQ(backend.written()[1].size(), 8);
}

TEST_F(ZrHIDTest, AFailedOrShortWriteClosesTheConnection) {
    for (const bool shortWrite : {false, true}) {
        FakeHidBackend fresh;
        ZrHID link(fresh);
        HidCaps caps;
        caps.InputReportByteLength = 8;
        caps.OutputReportByteLength = 8;
        link.AttachDevice(fresh.open(QStringLiteral("p")), fresh.open(QStringLiteral("p")), caps);
        shortWrite ? fresh.shortWriteAt(0) : fresh.failWriteAt(0);
        link.SizeReportBuffer(ZrHID::kOutputBuffer);
        link.SetOutByte(0, 1);
        link.SetOutByte(1, 0x40);

        EXPECT_FALSE(link.WriteReport());
        EXPECT_FALSE(link.DeviceDetected());
        EXPECT_FALSE(link.ReportWritten());
        EXPECT_EQ(fresh.closedHandles().size(), 2u);
        const QStringList lines = link.Diagnostics().lines();
        ASSERT_EQ(lines.size(), 3 + 3 + 6);
        EXPECT_EQ(lines.mid(3, 3), QStringList({QStringLiteral(" WriteFile Error "), QStringLiteral(" Report ID: 1"),
                                                 QStringLiteral(" Report Cmd: 64")}));
        EXPECT_EQ(lines[7], QStringLiteral("hid_close"));
    }
}

TEST_F(ZrHIDTest, ATimeOutClosesTheConnectionAndLeavesExactlyTheReadLines) {
    connect();
    hid.SizeReportBuffer(ZrHID::kInputBuffer);
    const qsizetype from = hid.Diagnostics().lines().size();
    hid.ReadReport(1000);  // nothing queued: the fake times out

    EXPECT_FALSE(hid.DeviceDetected());
    EXPECT_EQ(backend.readTimeouts(), std::vector<int>{1000});
    EXPECT_EQ(diagnosticsFrom(from),
              QStringList({QStringLiteral("   Waiting for ReadFile"), QString(),
                           QStringLiteral("hid_read_timeout"), kSuccess, QStringLiteral("ReadFile Timeout"),
                           QString(), QStringLiteral("hid_close"), kSuccess, QString(),
                           QStringLiteral("hid_close"), kSuccess, QStringLiteral(" NumberOfBytesRead: 0"),
                           QStringLiteral(" Report ID: 0")}));
}

TEST_F(ZrHIDTest, AFailedReadIsAnUndefinedErrorAndClosesTheConnection) {
    connect();
    backend.failReadAt(0);
    hid.SizeReportBuffer(ZrHID::kInputBuffer);
    hid.ReadReport(1000);
    EXPECT_FALSE(hid.DeviceDetected());
    EXPECT_TRUE(hid.Diagnostics().lines().contains(QStringLiteral("Readfile undefined error")));
}

TEST_F(ZrHIDTest, AShortReadIsZeroPaddedAndStaleBytesNeverSurvive) {
    connect(6, 6);
    backend.queueReply(FakeHidBackend::Report({16, 1, 2, 3, 4, 5}));
    backend.queueReply(FakeHidBackend::Report({16, 9}));
    for (int i = 0; i < 2; ++i) {
        hid.SizeReportBuffer(ZrHID::kInputBuffer);
        hid.ReadReport(1000);
    }
    EXPECT_TRUE(hid.DeviceDetected());
    EXPECT_EQ(hid.InReportBfr(), (std::vector<std::uint8_t>{16, 9, 0, 0, 0, 0}));
    EXPECT_EQ(hid.Diagnostics().lines().back(), QStringLiteral(" Report ID: 16"));
}

TEST_F(ZrHIDTest, ClosingTwiceClosesOnce) {
    connect();
    hid.CloseDeviceHandles();
    hid.CloseDeviceHandles();
    EXPECT_EQ(backend.closedHandles().size(), 2u);
    EXPECT_FALSE(hid.DeviceDetected());
}

TEST_F(ZrHIDTest, TheDiagnosticsListHoldsAtMost501Lines) {
    for (int i = 0; i < 502; ++i) hid.HidDiagMessage(QString::number(i));
    EXPECT_EQ(hid.Diagnostics().lines(),
              QStringList({QStringLiteral("--- List Box Cleared ---"), QStringLiteral("501")}));
}

TEST(ZrHIDText, SystemErrorTextIsTheSystemsMessageWithoutLineEnd) {
    EXPECT_FALSE(ZrHID::SystemErrorText(2).isEmpty());
    EXPECT_FALSE(ZrHID::SystemErrorText(2).endsWith(u'\n'));
    EXPECT_LE(ZrHID::SystemErrorText(123456).size(), 128);
}

}  // namespace
}  // namespace orvix::test
