#include "protocol/USBcmds.h"

#include "support/ProtocolHarness.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvix::test {
namespace {

using Report = std::initializer_list<int>;

QByteArray Reply(Report bytes) { return FakeHidBackend::Report(bytes); }
QByteArray Sent(Report bytes) { return FakeHidBackend::Report(bytes) + QByteArray(16 - int(bytes.size()), '\0'); }

struct Service : ::testing::Test {
    ProtocolHarness h;
    Service() { h.connect(32, 16); }
    void reply(Report bytes) { h.backend.queueReply(Reply(bytes)); }
    QStringList logged() const { return h.errorLog(); }
};

TEST_F(Service, CellAdcPollsThroughBusyRepliesToTheResult) {
    reply({16});  // the start's reply is not examined
    reply({16, 0, 2});
    reply({16, 0, 2});
    reply({16, 0, 3, 0x05, 0x12, 0x34});
    EXPECT_EQ(h.cmds.GetCellADC(5), QStringLiteral("ALL_CELL5, 4660"));
    EXPECT_EQ(h.panes.debug, QStringList({QStringLiteral("ADC is Busy"), QStringLiteral("ADC is Busy")}));
    ASSERT_EQ(h.backend.written().size(), 4u);
    EXPECT_EQ(h.backend.written()[0], Sent({1, 0x1A, 0, 5}));
    EXPECT_EQ(h.backend.written()[3], Sent({1, 0x1A, 1, 5}));
    EXPECT_TRUE(logged().isEmpty());
}

TEST_F(Service, LoadCellTracesItsBytesAndReadsTwoUnsignedValues) {
    reply({16});
    reply({16, 0, 3, 0xFF, 0xFE, 0x00, 0x10});
    EXPECT_EQ(h.cmds.AccessLoadCell(), QStringLiteral("65534, 16"));
    EXPECT_EQ(h.panes.debug, QStringList({QStringLiteral("InReportBfr(3) = 0xFF"), QStringLiteral("InReportBfr(4) = 0xFE"),
                                          QStringLiteral("InReportBfr(5) = 0x00"), QStringLiteral("InReportBfr(6) = 0x10")}));
}

TEST_F(Service, AnInstrumentStuckBusyIsGivenUpOn) {
    h.backend.setDefaultReply(Reply({16, 0, 2}));
    h.backend.onRead = [&] { h.platform.ms += 500; };
    EXPECT_EQ(h.cmds.GetCellADC(1), QString());
    EXPECT_EQ(logged(), QStringList({AppErrorLine(QStringLiteral("Cell Board ADC TimeOut"), QStringLiteral("GetCellADC()"))}));
    EXPECT_LE(h.backend.readCount(), 2 + USBcmds::kAdcBusyBudgetMs / 500);

    h.backend.setDefaultReply(Reply({16, 0, 3}));  // the measurement's busy status
    EXPECT_EQ(h.cmds.AccessMeasSeq(2), QStringLiteral("Cell Measurement Error"));
    EXPECT_EQ(logged().back(), AppErrorLine(QStringLiteral("Measurement Sequence Error"), QStringLiteral("AccessMeasSeq()")));
    EXPECT_EQ(h.panes.debug.back(), QStringLiteral("MeasSeq Error"));
}

TEST_F(Service, MeasurementSequenceCompletesOnlyWhenDone) {
    const struct {
        int which;
        int finalStatus;
        const char* result;
        const char* loggedMessage;
    } cases[] = {
        {1, 4, "Empty Cell Measurement Complete", nullptr},
        {2, 4, "Full Cell Measurement Complete", nullptr},
        {1, 5, "Cell Measurement Error", "Measurement Sequence Error"},
        {1, 9, "", "Illegal Response from Device"},
    };
    for (const auto& c : cases) {
        ProtocolHarness run;
        run.connect(16, 16);
        run.backend.queueReply(Reply({16}));
        run.backend.queueReply(Reply({16, 0, 3}));
        run.backend.queueReply(Reply({16, 0, c.finalStatus}));
        EXPECT_EQ(run.cmds.AccessMeasSeq(c.which), QLatin1String(c.result)) << c.finalStatus;
        EXPECT_EQ(run.backend.written()[0], Sent({1, 0x4A, c.which}));
        EXPECT_EQ(run.backend.written()[1], Sent({1, 0x4A, 0}));
        EXPECT_EQ(run.panes.debug.front(), QStringLiteral("MeasSeq is Busy"));
        if (c.loggedMessage)
            EXPECT_EQ(run.errorLog(), QStringList({AppErrorLine(QLatin1String(c.loggedMessage), QStringLiteral("AccessMeasSeq()"))}));
        else
            EXPECT_TRUE(run.errorLog().isEmpty());
    }
}

TEST_F(Service, SingleExchangeResultsAreFormattedAsTheInstrumentMeantThem) {
    const struct {
        const char* name;
        std::function<QString(USBcmds&)> run;
        QByteArray reply;
        const char* result;
    } cases[] = {
        {"accelerometer position", [](USBcmds& c) { return c.AccessAccelerometer(3); },
         Reply({16, 0, 3, 0xFF, 0xFF, 0x00, 0x10, 0x01, 0x00, 0x04, 0x00}), "PosXYZ, -1, 16, 256, 1.00000"},
        {"accelerometer raw", [](USBcmds& c) { return c.AccessAccelerometer(1); },
         Reply({16, 0, 2, 0x00, 0x01, 0xFF, 0xFE, 0x00, 0x00}), "1, -2, 0"},
        {"accelerometer other status", [](USBcmds& c) { return c.AccessAccelerometer(0); }, Reply({16, 0, 7}), ""},
        {"temperature", [](USBcmds& c) { return c.GetNrmlTemp(0); }, Reply({16, 0, 0, 0xFF, 0x38}), "-20.0"},
        {"temperature tenths", [](USBcmds& c) { return c.GetNrmlTemp(1); }, Reply({16, 0, 0, 0x00, 0xFD}), "25.3"},
        {"switches", [](USBcmds& c) { return c.GetSwitchStatus(); }, Reply({16, 0, 0x05}),
         "Home( Open ) Up(Closed) Enter( Open ) Down(Closed) "},
        {"analogue integer", [](USBcmds& c) { return c.GetAnalogValue(3); }, Reply({16, 0, 3, 0x01, 0x03}), "259"},
        {"analogue tenths", [](USBcmds& c) { return c.GetAnalogValue(0); }, Reply({16, 0, 0, 0x00, 0xEA}), "23.4"},
        {"analogue volts", [](USBcmds& c) { return c.GetAnalogValue(1); }, Reply({16, 0, 1, 0x0C, 0x00}), "3.0"},
        {"checksum", [](USBcmds& c) { return c.GetPgmCkSum(0); }, Reply({16, 0, 1, 0x0A}), "0x0A"},
        {"backlight", [](USBcmds& c) { return c.ControlBacklight(1); }, Reply({16, 0, 1}), "Backlight On"},
        {"factory test", [](USBcmds& c) { return c.ControlFactoryTest(0); }, Reply({16, 0, 0}), "Factory Test Disabled"},
        {"vpp", [](USBcmds& c) { return c.ControlVppGenerator(2); }, Reply({16, 0, 1}), "Vpp Enabled"},
        {"lcd test", [](USBcmds& c) { return c.ControlLCDTest(2); }, Reply({16, 0, 0}), "LCD Test Disabled"},
        {"software info", [](USBcmds& c) { return c.GetSoftwareInfo(1); }, Reply({16, 0, 0, '0', '0', '.', '8', '2', 0, 'x'}), "00.82"},
        {"error codes", [](USBcmds& c) { return c.AccessErrCode(0, 0); }, Reply({16, 0, 0, 0, 5, 127, 200, 255}),
         "000, Type: SysOK\r\n005, Type: Info\r\n127, Type: InfoAck\r\n200, Type: Halt\r\n255, Type: HaltAck\r\n"},
    };
    for (const auto& c : cases) {
        ProtocolHarness run;
        run.connect(16, 16);
        run.backend.queueReply(c.reply);
        EXPECT_EQ(c.run(run.cmds), QLatin1String(c.result)) << c.name;
        EXPECT_TRUE(run.errorLog().isEmpty()) << c.name;
    }
}

TEST_F(Service, MeasuredValuesShowEightLines) {
    reply({16, 0, 0x00, 0x07, 0x30, 0x39, 0xFF, 0xFB, 0x00, 0x00, 0x01, 0xF4, 0x02, 0x00, 0x00, 0x7B, 0x02, 0xEE});
    EXPECT_EQ(h.cmds.GetMeasValues(),
              QStringLiteral("D1 = 0007\r\nD2 = 2345\r\nD3 = 00-5\r\nD4 = 0000\r\nMass = 500 gms\r\n"
                             "PosXYZ = 0.500\r\nMoisture = 12.3\r\nTestWeight = 75.0"));
}

TEST_F(Service, IndicesOutOfRangeReadBackAsZero) {
    reply({16, 0, 0x0C, 0x03, 0x01});
    int lang = 5;
    int prod = 6;
    EXPECT_EQ(h.cmds.AccessLangIdxProdIdx(false, lang, prod), QStringLiteral("LangIdx=0\r\nProdIdx=3\r\nCkSum=Pass\r\n"));
    EXPECT_EQ(lang, 0);
    EXPECT_EQ(prod, 3);
    EXPECT_EQ(h.backend.written()[0], Sent({1, 0x16, 0, 0, 0}));

    reply({16, 0, 2, 19, 7});
    lang = 2;
    prod = 19;
    EXPECT_EQ(h.cmds.AccessLangIdxProdIdx(true, lang, prod), QStringLiteral("LangIdx=2\r\nProdIdx=19\r\nCkSum=Invalid Response\r\n"));
    EXPECT_EQ(h.backend.written()[1], Sent({1, 0x16, 1, 2, 19}));
}

TEST_F(Service, TableSizesUnknownCommandAndDisplayText) {
    reply({16, 0, 18, 9});
    reply({16, 0, 18, 9});
    reply({16, 0xEE});
    reply({32, 1});
    reply({32, 0});
    EXPECT_EQ(h.cmds.GetMaxProducts(), 18);
    EXPECT_EQ(h.cmds.GetMaxLanguages(), 9);
    EXPECT_EQ(h.cmds.IssueUnknownCmd(), 0xEE);
    EXPECT_TRUE(h.cmds.SendText2Display(1, 2, 3, 4));
    EXPECT_FALSE(h.cmds.SendText2Display(1, 2, 3, 4));
    EXPECT_EQ(h.backend.written()[3], Sent({1, 0x15, 1, 2, 3, 4}));
}

TEST(ServiceDisconnected, EachCommandReportsAtEveryCheckItPassesAndReturnsItsDefault) {
    const struct {
        const char* name;
        std::function<QString(USBcmds&)> run;
        const char* result;
        int reports;
    } cases[] = {
        {"PingDevice()", [](USBcmds& c) { c.PingDevice(); return QString(); }, "", 1},
        {"GetSoftwareInfo()", [](USBcmds& c) { return c.GetSoftwareInfo(1); }, "", 1},
        {"TestNVM()", [](USBcmds& c) { return c.TestNVM(); }, "", 2},
        {"GetNrmlTemp()", [](USBcmds& c) { return c.GetNrmlTemp(0); }, "", 2},
        {"GetCellADC()", [](USBcmds& c) { return c.GetCellADC(0); }, "", 3},
        {"AccessLoadCell()", [](USBcmds& c) { return c.AccessLoadCell(); }, "", 3},
        {"AccessMeasSeq()", [](USBcmds& c) { return c.AccessMeasSeq(1); }, "", 3},
        {"GetMaxProducts()", [](USBcmds& c) { return QString::number(c.GetMaxProducts()); }, "20", 2},
        {"GetMaxLanguages()", [](USBcmds& c) { return QString::number(c.GetMaxLanguages()); }, "12", 2},
        {"IssueUnknownCmd()", [](USBcmds& c) { return QString::number(c.IssueUnknownCmd()); }, "0", 2},
        {"SendText2Display()", [](USBcmds& c) { return QString::number(c.SendText2Display(0, 0, 0, 0)); }, "0", 2},
    };
    for (const auto& c : cases) {
        ProtocolHarness run;
        EXPECT_EQ(c.run(run.cmds), QLatin1String(c.result)) << c.name;
        EXPECT_EQ(run.errorLog(),
                  QStringList(QList<QString>(c.reports, AppErrorLine(QStringLiteral("Device Not Connected"), QLatin1String(c.name)))))
            << c.name;
        EXPECT_TRUE(run.backend.written().empty()) << c.name;
    }
}

TEST(ServiceBadReplies, UnknownStatusesAreIllegalAndShortReportsAreCaught) {
    const struct {
        const char* name;
        std::function<QString(USBcmds&)> run;
        QByteArray reply;
        std::uint16_t reportLength;
        const char* logged;
    } cases[] = {
        {"GetPgmCkSum()", [](USBcmds& c) { return c.GetPgmCkSum(0); }, Reply({16, 0, 2}), 16, "Err 8, Illegal Response from Device"},
        {"ControlBacklight()", [](USBcmds& c) { return c.ControlBacklight(1); }, Reply({16, 0, 2}), 16, "Err 8, Illegal Response from Device"},
        {"GetAnalogValue()", [](USBcmds& c) { return c.GetAnalogValue(0); }, Reply({16, 0, 5}), 16, "Err 8, Illegal Response from Device"},
        {"GetMeasValues()", [](USBcmds& c) { return c.GetMeasValues(); }, Reply({16}), 8, "Err 9, Subscript out of range"},
        {"AccessErrCode()", [](USBcmds& c) { return c.AccessErrCode(1, 2); }, Reply({16}), 6, "Err 9, Subscript out of range"},
        {"AccessAccelerometer()", [](USBcmds& c) { return c.AccessAccelerometer(3); }, Reply({16, 0, 3}), 10, "Err 9, Subscript out of range"},
        {"GetNrmlTemp()", [](USBcmds& c) { return c.GetNrmlTemp(300); }, Reply({16}), 16, "Err 6, Overflow"},
        {"ControlLCDTest()", [](USBcmds& c) { return c.ControlLCDTest(-1); }, Reply({16}), 16, "Err 6, Overflow"},
    };
    for (const auto& c : cases) {
        ProtocolHarness run;
        run.connect(c.reportLength, 16);
        run.backend.queueReply(c.reply);
        EXPECT_EQ(c.run(run.cmds), QString()) << c.name;
        EXPECT_EQ(run.errorLog(), QStringList({QLatin1String(c.logged) + QStringLiteral(", ") + QLatin1String(c.name) +
                                               QStringLiteral(", 2026FEB03, 17:14:09")}))
            << c.name;
    }
}

TEST_F(Service, AParameterThatIsNoByteSendsNothing) {
    EXPECT_EQ(h.cmds.GetNrmlTemp(256), QString());
    EXPECT_TRUE(h.backend.written().empty());
    EXPECT_EQ(logged(), QStringList({QStringLiteral("Err 6, Overflow, GetNrmlTemp(), 2026FEB03, 17:14:09")}));
}

}  // namespace
}  // namespace orvix::test
