#include "protocol/USBcmds.h"

#include "support/ProtocolHarness.h"

#include <gtest/gtest.h>

namespace orvix::test {
namespace {

const QString kNotConnected = QStringLiteral("Device Not Connected");

QByteArray Zeroes(int n) { return QByteArray(n, '\0'); }

TEST(USBcmdsNumbers, RepliesAreBigEndianSignedOrUnsigned) {
    EXPECT_EQ(USBcmds::SignedValue(0xFF, 0xFE), -2);
    EXPECT_EQ(USBcmds::UnsignedValue(0xFF, 0xFE), 65534);
    EXPECT_EQ(USBcmds::SignedValue(0x7F, 0xFF), 32767);
    EXPECT_EQ(USBcmds::SignedValue(0x80, 0x00), -32768);
    EXPECT_EQ(USBcmds::UnsignedValue(0x12, 0x34), 0x1234);
}

TEST(USBcmdsNumbers, InstrumentErrorCodesShowTheirClass) {
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {0, "000, Type: SysOK"},   {1, "001, Type: Info"},    {5, "005, Type: Info"},
        {126, "126, Type: Info"},  {127, "127, Type: InfoAck"}, {128, "128, Type: Halt"},
        {200, "200, Type: Halt"},  {254, "254, Type: Halt"},  {255, "255, Type: HaltAck"},
    };
    for (const auto& c : cases) EXPECT_EQ(USBcmds::ErrorCodeText(c.code), QLatin1String(c.text));
}

struct USBcmdsTest : ::testing::Test {
    ProtocolHarness h;
};

TEST_F(USBcmdsTest, ACommandReportIsTheCodeAndZeroesToTheFullLength) {
    h.connect(8, 16);
    h.backend.queueReply(FakeHidBackend::Report({16, 0x42, 1}));
    EXPECT_EQ(h.cmds.TestNVM(), QStringLiteral("NVM Test Pass"));
    ASSERT_EQ(h.backend.written().size(), 1u);
    EXPECT_EQ(h.backend.written()[0], FakeHidBackend::Report({1, 0x42}) + Zeroes(14));
    EXPECT_EQ(h.backend.readTimeouts(), std::vector<int>{2000});
    EXPECT_TRUE(h.errorLog().isEmpty());
}

TEST_F(USBcmdsTest, StatusRepliesAreDecodedOrReportedAsIllegal) {
    h.connect(8, 8);
    h.backend.queueReply(FakeHidBackend::Report({16, 0, 0}));
    h.backend.queueReply(FakeHidBackend::Report({16, 0, 7}));
    EXPECT_EQ(h.cmds.TestNVM(), QStringLiteral("NVM Test Fail"));
    EXPECT_EQ(h.cmds.TestNVM(), QString());
    EXPECT_EQ(h.errorLog(), QStringList({AppErrorLine(QStringLiteral("Illegal Response from Device"),
                                                      QStringLiteral("TestNVM()"))}));
    EXPECT_TRUE(h.hid.DeviceDetected());
}

TEST_F(USBcmdsTest, WhileDisconnectedEachErrorFlowReportsAsOftenAsItChecks) {
    h.errors.SetShowErrorDialogs(true);
    h.prompter.expectMessage(QStringLiteral("Err 8, Device Not Connected, PingDevice()"));
    h.prompter.expectMessage(QStringLiteral("Err 8, Device Not Connected, TestNVM()"));
    h.prompter.expectMessage(QStringLiteral("Err 8, Device Not Connected, TestNVM()"));
    h.prompter.expectMessage(QStringLiteral("Err 8, Device Not Connected, GetUserFile()"));
    h.prompter.expectMessage(QStringLiteral("Err 8, Device Not Connected, SendFileToDevice()"));

    h.cmds.PingDevice();
    EXPECT_EQ(h.cmds.TestNVM(), QString());
    EXPECT_EQ(h.cmds.GetUserFile(), QString());
    EXPECT_FALSE(h.cmds.SendFileToDevice(QStringLiteral("P\r\n"), USBcmds::kAnyFileType));

    EXPECT_TRUE(h.backend.written().empty());
    const QStringList log = h.errorLog();
    ASSERT_EQ(log.size(), 5);
    EXPECT_EQ(log[0], QStringLiteral("Err 8, Device Not Connected, PingDevice(), 2026FEB03, 17:14:09"));
}

TEST_F(USBcmdsTest, AReplyThatNeverComesClosesTheLinkAndIsReportedOnce) {
    h.connect(8, 8);
    h.backend.timeoutReadAt(0);
    EXPECT_EQ(h.cmds.TestNVM(), QString());
    EXPECT_FALSE(h.hid.DeviceDetected());
    EXPECT_EQ(h.errorLog(), QStringList({AppErrorLine(kNotConnected, QStringLiteral("TestNVM()"))}));
    EXPECT_EQ(h.hid.Diagnostics().lines().back(), QStringLiteral(" Report ID: 0"));

    // The ping has no check after its read: losing the link there is silent.
    ProtocolHarness ping;
    ping.connect(8, 8);
    ping.cmds.PingDevice();
    EXPECT_FALSE(ping.hid.DeviceDetected());
    EXPECT_TRUE(ping.errorLog().isEmpty());
}

TEST_F(USBcmdsTest, AReplyShorterThanTheLayoutIsAnErrorNotAStrayRead) {
    h.connect(2, 8);  // the instrument's input report has no status byte
    h.backend.queueReply(FakeHidBackend::Report({16, 0x42}));
    EXPECT_EQ(h.cmds.TestNVM(), QString());
    EXPECT_EQ(h.errorLog(),
              QStringList({QStringLiteral("Err 9, Subscript out of range, TestNVM(), 2026FEB03, 17:14:09")}));
}

TEST_F(USBcmdsTest, FileUploadsCarryTheirTypeIdAndTextPosition) {
    h.connect(8, 16);
    const struct {
        const char* text;
        QByteArray report;
    } cases[] = {
        {"P\r\n", FakeHidBackend::Report({2, 0, 0, 'P', '\r', '\n'}) + Zeroes(10)},
        {"L\r\n", FakeHidBackend::Report({5, 0, 'L', '\r', '\n'}) + Zeroes(11)},
        {"U\r\n", FakeHidBackend::Report({3, 'U', '\r', '\n'}) + Zeroes(12)},
        {"N\r\n", FakeHidBackend::Report({6, 'N', '\r', '\n'}) + Zeroes(12)},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(h.cmds.SendFileToDevice(QLatin1String(c.text), USBcmds::kAnyFileType)) << c.text;
    ASSERT_EQ(h.backend.written().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(h.backend.written()[i], cases[i].report) << i;
}

TEST_F(USBcmdsTest, RefusedUploadsSendNothingAndNameTheirReason) {
    h.connect(8, 8);
    const struct {
        QString text;
        int expectedType;
        QString logged;
    } cases[] = {
        {QStringLiteral("P\r\n"), 'L', QStringLiteral("Err 8, Unexpected File Type")},
        {QStringLiteral("K\r\n"), USBcmds::kAnyFileType, QStringLiteral("Err 8, Key File can only be changed at Factory")},
        {QStringLiteral("X\r\n"), USBcmds::kAnyFileType, QStringLiteral("Err 8, Unknown File Type")},
        {QString(), USBcmds::kAnyFileType, QStringLiteral("Err 5, Invalid procedure call or argument")},
        {QStringLiteral("P\r\nName=ABCDEFGH"), USBcmds::kAnyFileType, QStringLiteral("Err 9, Subscript out of range")},
        {QStringLiteral("U\u0416"), USBcmds::kAnyFileType, QStringLiteral("Err 5, Invalid procedure call or argument")},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(h.cmds.SendFileToDevice(c.text, c.expectedType)) << c.text.toStdString();
        EXPECT_EQ(h.errorLog().back(), c.logged + QStringLiteral(", SendFileToDevice(), 2026FEB03, 17:14:09"));
    }
    EXPECT_TRUE(h.backend.written().empty());
    EXPECT_TRUE(h.hid.DeviceDetected());
}

TEST_F(USBcmdsTest, AnUploadWhoseWriteFailedIsNotReportedAsSent) {
    h.connect(8, 8);
    h.backend.failWriteAt(0);
    EXPECT_FALSE(h.cmds.SendFileToDevice(QStringLiteral("U\r\n"), USBcmds::kAnyFileType));
    EXPECT_FALSE(h.hid.DeviceDetected());
}

}  // namespace
}  // namespace orvix::test
