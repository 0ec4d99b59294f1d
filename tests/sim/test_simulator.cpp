#include "sim/InstrumentSimulator.h"

#include "SimTestSupport.h"
#include "hid/ReportDescriptor.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <random>
#include <set>

namespace orvix::sim::test {
namespace {

const QString kNoData = QStringLiteral("No Data\r\n");

// --- Device presence and the report descriptor -----------------------------

TEST_F(SimulatorTest, EnumeratesOnlyWhilePluggedAndOpensSeveralHandles) {
    const std::vector<HidDeviceInfo> devices = sim.enumerate();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].vendorId, 0x3A7E);
    EXPECT_EQ(devices[0].productId, 0x0102);
    EXPECT_EQ(devices[0].usagePage, 0xFF00);
    EXPECT_FALSE(devices[0].manufacturer.isEmpty());

    // The PC writes through one handle and reads through another.
    const HidHandle reader = sim.open(devices[0].path);
    ASSERT_NE(reader, kInvalidHidHandle);
    EXPECT_NE(reader, handle);
    ASSERT_EQ(writeReport({1, 0x01}), static_cast<int>(kLength));
    Report in(kLength, 0);
    EXPECT_EQ(sim.readTimeout(reader, in.data(), in.size(), 1000), static_cast<int>(kLength));
    EXPECT_EQ(in[0], 32);

    EXPECT_EQ(sim.open(QStringLiteral("sim:other")), kInvalidHidHandle);
    EXPECT_EQ(sim.lastResult().code, ENOENT);
    sim.unplug();
    EXPECT_TRUE(sim.enumerate().empty());
    EXPECT_EQ(sim.open(devices[0].path), kInvalidHidHandle);
}

TEST_F(SimulatorTest, ForeignDevicesEnumerateButNeverAnswer) {
    HidDeviceInfo mouse;
    mouse.path = QStringLiteral("sim:mouse");
    mouse.vendorId = 0x1234;
    HidDeviceInfo sameVendor = mouse;
    sameVendor.path = QStringLiteral("sim:locked");
    sameVendor.vendorId = InstrumentSimulator::kVendorId;
    sim.addForeignDevice(mouse, true);
    sim.addForeignDevice(sameVendor, false);
    sim.unplug();

    ASSERT_EQ(sim.enumerate().size(), 2u);
    EXPECT_EQ(sim.open(sameVendor.path), kInvalidHidHandle);
    EXPECT_EQ(sim.lastResult().code, EACCES);
    const HidHandle foreign = sim.open(mouse.path);
    ASSERT_NE(foreign, kInvalidHidHandle);
    EXPECT_TRUE(sim.reportDescriptor(foreign).isEmpty());
    const std::uint8_t ping[] = {1, 0x01};
    EXPECT_EQ(sim.write(foreign, ping, sizeof ping), 2);
    std::uint8_t in[8] = {};
    EXPECT_EQ(sim.readTimeout(foreign, in, sizeof in, 10), 0);
    EXPECT_TRUE(sim.commandLog().empty());
}

TEST_F(SimulatorTest, DescriptorGivesEveryReportTheSameLength) {
    const ReportDescriptorResult parsed = ParseReportDescriptor(sim.reportDescriptor(handle));
    ASSERT_TRUE(parsed.layout) << parsed.error.toStdString();
    const ReportLayout& layout = *parsed.layout;
    EXPECT_EQ(layout.usagePage, 0xFF00);
    const std::uint32_t bytes = kLength - 1;
    using Sizes = std::map<std::uint8_t, std::uint32_t>;
    EXPECT_EQ(layout.outputBytes, (Sizes{{1, bytes}, {2, bytes}, {3, bytes}, {5, bytes}, {6, bytes}, {7, bytes}}));
    EXPECT_EQ(layout.inputBytes,
              (Sizes{{2, bytes}, {3, bytes}, {5, bytes}, {6, bytes}, {7, bytes}, {16, bytes}, {32, bytes}}));
    EXPECT_TRUE(layout.featureBytes.empty());
    EXPECT_EQ(layout.inputReportByteLength, kLength);
    EXPECT_EQ(layout.outputReportByteLength, kLength);
}

// --- Files -------------------------------------------------------------------

TEST_F(SimulatorTest, EveryFileTypeReadsBackAsUploaded) {
    const QString product = QStringLiteral(
        "P\r\nPrdIdx=7\r\nLngIdx=4\r\n$Name=Гречиха\r\nIssue=T1\r\nK1=1234\r\nJmpMax=7\r\nJmpMin=7\r\n<EOF>\r\n");
    const QString language = QStringLiteral("L\r\nLngIdx=5\r\n$Desc=Français\r\n$MTA01=Mesurer\r\n<EOF>\r\n");
    const QString user = QStringLiteral("U\r\nUnits=lb/bu\r\n<EOF>\r\n");
    const QString normalization = QStringLiteral("N\r\nLdk = 1.950E+03\r\n<EOF>\r\n");
    const QString key = QStringLiteral("K\r\nAMSN=X10203-3000-12345\r\nModel=OX-300\r\n");
    struct Case {
        std::uint8_t id;
        QString text;
        std::initializer_list<int> read;
        int replyStart;
    };
    const Case cases[] = {{2, product, {0x02, 7, 4}, 3},  {5, language, {0x05, 5}, 2}, {3, user, {0x03}, 1},
                          {6, normalization, {0x06}, 1}, {7, key, {0x07}, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        upload(c.id, c.text);
        const Reply reply = exchange(c.read);
        ASSERT_EQ(reply.size(), kLength);
        EXPECT_EQ(reply[0], c.id);
        EXPECT_EQ(TextFrom(reply, c.replyStart), c.text);
    }
    EXPECT_EQ(sim.productFile(7, 4), product);
    EXPECT_EQ(sim.languageFile(5), language);
    EXPECT_EQ(sim.uploadLog(), (std::vector<std::uint8_t>{2, 5, 3, 6, 7}));
    EXPECT_EQ(sim.pendingReplies(), 0u);  // uploads are never answered
}

TEST_F(SimulatorTest, UploadsAreCutAtTheirEndAndRefusedWhenTheyNameNoValidSlot) {
    sim.files() = InstrumentFiles{};
    upload(2, QStringLiteral("P\r\nPrdIdx=19\r\nLngIdx=11\r\n<EOF>\r\ngarbage"));
    EXPECT_EQ(sim.productFile(19, 11), QStringLiteral("P\r\nPrdIdx=19\r\nLngIdx=11\r\n<EOF>\r\n"));
    upload(3, QStringLiteral("U\r\nA=1\r\n"));  // no end marker: up to the zero fill
    EXPECT_EQ(sim.userFile(), QStringLiteral("U\r\nA=1\r\n"));

    const InstrumentFiles before = sim.files();
    upload(2, QStringLiteral("P\r\nPrdIdx=20\r\nLngIdx=0\r\n<EOF>\r\n"));
    upload(2, QStringLiteral("P\r\nPrdIdx=0\r\nLngIdx=12\r\n<EOF>\r\n"));
    upload(2, QStringLiteral("P\r\nPrdIdx=x\r\nLngIdx=0\r\n<EOF>\r\n"));
    upload(2, QStringLiteral("P\r\nLngIdx=0\r\n<EOF>\r\n"));
    upload(2, QStringLiteral("L\r\nPrdIdx=0\r\nLngIdx=0\r\n<EOF>\r\n"));  // not a product
    upload(5, QStringLiteral("L\r\nLngIdx=-1\r\n<EOF>\r\n"));
    upload(6, QStringLiteral("U\r\n<EOF>\r\n"));
    EXPECT_EQ(sim.files().products, before.products);
    EXPECT_EQ(sim.files().languages, before.languages);
    EXPECT_TRUE(sim.normalizationFile().isEmpty());
}

TEST_F(SimulatorTest, SerialOnlyKeyFileKeepsTheModel) {
    // What the PC's serial-number command sends.
    upload(7, QStringLiteral("K\r\nAMSN=X10203-3000-54321\r\n"));
    EXPECT_EQ(TextFrom(exchange({0x07}), 1), QStringLiteral("K\r\nAMSN=X10203-3000-54321\r\nModel=OX-200\r\n"));
}

TEST_F(SimulatorTest, EmptyAndOutOfRangeSlotsAnswerNoData) {
    Reply ack = exchange({0x20, 1, 1});
    ASSERT_FALSE(ack.empty());
    EXPECT_EQ(ack[0], 32);
    EXPECT_TRUE(sim.productFile(1, 1).isEmpty());
    EXPECT_EQ(exchange({0x21, 2})[0], 32);
    EXPECT_TRUE(sim.languageFile(2).isEmpty());

    struct Case {
        std::initializer_list<int> command;
        int start;
        QString text;
    };
    const Case cases[] = {
        {{0x02, 1, 1}, 3, kNoData},
        {{0x02, 20, 0}, 3, kNoData},
        {{0x05, 2}, 2, kNoData},
        {{0x05, 12}, 2, kNoData},
        {{0x12, 1, 1}, 4, QStringLiteral("$Name=\r\n")},
        {{0x12, 0, 12}, 4, kNoData},
        {{0x14, 2}, 3, QStringLiteral("$Desc=\r\n")},
        {{0x14, 200}, 3, kNoData},
    };
    for (const Case& c : cases) {
        const Reply reply = exchange(c.command);
        ASSERT_FALSE(reply.empty());
        EXPECT_EQ(TextFrom(reply, c.start), c.text) << c.command.begin()[0] << " " << c.command.begin()[1];
    }
    sim.files().user.clear();
    EXPECT_EQ(TextFrom(exchange({0x03}), 1), kNoData);
}

TEST_F(SimulatorTest, NamesAndDescriptionsTravelAsUtf16Values) {
    const Reply name = exchange({0x12, 1, 1});
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name[0], 16);
    EXPECT_EQ(TextFrom(name, 4), QStringLiteral("$Name=Gerste\r\n"));
    EXPECT_EQ(TextFrom(exchange({0x12, 0, 2}), 4), QStringLiteral("$Name=Пшеница\r\n"));
    const Reply description = exchange({0x14, 2});
    EXPECT_EQ(TextFrom(description, 3), QStringLiteral("$Desc=Русский\r\n"));
    // "Р" (U+0420) as a little-endian pair right after the "=".
    EXPECT_EQ(description[9], 0x20);
    EXPECT_EQ(description[10], 0x04);
    EXPECT_EQ(TextFrom(exchange({0x05, 2}), 2), sim.languageFile(2));
}

// --- Service and status commands -------------------------------------------

TEST_F(SimulatorTest, FixedLayoutReplies) {
    sim.setSwitchBits(0x05);
    sim.setSoftwareVersion(QStringLiteral("01.10"));
    sim.sensorTruth().temperaturesC[1] = -20.0;
    struct Case {
        std::initializer_list<int> command;
        int replyId;
        std::map<std::size_t, int> bytes;
    };
    const Case cases[] = {
        {{0x01}, 32, {}},
        {{0x42}, 16, {{2, 1}}},
        {{0x45}, 16, {{2, 0x05}}},
        {{0x50}, 16, {{2, 20}, {3, 12}}},
        {{0xF0}, 16, {{1, 0xFF}}},
        {{0x77}, 16, {{1, 0xFF}}},           // not in the table
        {{0x1D, 1}, 16, {{3, 0xFF}, {4, 0x38}}},  // -20.0 °C as -200 tenths
        {{0x41, 0}, 16, {{2, 1}, {3, 0x5A}}},
        {{0x41, 7}, 16, {{2, 0}}},
        {{0x48, 3}, 16, {{2, 3}, {3, 0}, {4, 3}}},
        {{0x48, 9}, 16, {{2, 0xFF}}},
    };
    for (const Case& c : cases) {
        const Reply reply = exchange(c.command);
        const int code = c.command.begin()[0];
        ASSERT_EQ(reply.size(), kLength) << code;
        EXPECT_EQ(reply[0], c.replyId) << code;
        for (const auto& [index, value] : c.bytes) EXPECT_EQ(reply[index], value) << code << " byte " << index;
    }
    EXPECT_EQ(TextFrom(exchange({0x40, 1}), 3), QStringLiteral("01.10"));
    EXPECT_EQ(TextFrom(exchange({0x40, 9}), 3), QString());
    EXPECT_EQ(sim.commandLog().front(), 0x01);
    EXPECT_EQ(sim.commandLog().size(), std::size(cases) + 2);
}

TEST_F(SimulatorTest, SensorRepliesFollowTheTruth) {
    SensorTruth& truth = sim.sensorTruth();
    truth.gravityG = {0.0, -1.0, 0.0};  // standing on its side
    truth.accelerometer = {{{1000.0, 10.0}, {1000.0, -20.0}, {1000.0, 5.0}}};
    truth.batteryVolts = 6.0;

    Reply axes = exchange({0x1B, 2});
    EXPECT_EQ(axes[2], 2);
    EXPECT_EQ(SignedAt(axes, 3), 10);
    EXPECT_EQ(SignedAt(axes, 5), -1020);
    EXPECT_EQ(SignedAt(axes, 7), 5);
    EXPECT_EQ(exchange({0x1B, 1})[2], 2);
    Reply level = exchange({0x1B, 3});
    EXPECT_EQ(level[2], 3);
    EXPECT_EQ(SignedAt(level, 5), -1020);
    EXPECT_EQ(SignedAt(level, 9), 0);  // not level at all
    EXPECT_EQ(exchange({0x1B, 0})[2], 0);

    const Reply battery = exchange({0x48, 1});
    EXPECT_EQ(battery[2], 1);
    EXPECT_EQ(SignedAt(battery, 3), 6144);  // 6 V in 1/1024 V

    truth.moisturePercent = 14.2;
    const Reply values = exchange({0x30, 0});
    const auto expected = MeasuredValues(truth);
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(SignedAt(values, 2 + 2 * i), expected[i]) << i;
    EXPECT_EQ(SignedAt(values, 14), 142);
}

TEST_F(SimulatorTest, ModeCommandsSwitchAndReportTheirState) {
    for (const int code : {0x43, 0x44, 0x46, 0x47}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(exchange({code, 1})[2], 1);
        EXPECT_EQ(exchange({code, 2})[2], 1);
        EXPECT_EQ(exchange({code, 0})[2], 0);
        EXPECT_EQ(exchange({code, 2})[2], 0);
    }
    exchange({0x44, 1});
    EXPECT_EQ(exchange({0x44, 9})[2], 0);  // power down
    EXPECT_TRUE(sim.isPlugged());
}

TEST_F(SimulatorTest, CurrentIndicesAreReadSetAndChecked) {
    Reply reply = exchange({0x16, 1, 2, 5});
    EXPECT_EQ(reply[2], 2);
    EXPECT_EQ(reply[3], 5);
    EXPECT_EQ(reply[4], 1);  // the constants of product 5 are intact
    EXPECT_EQ(exchange({0x16, 1, 12, 0})[2], 2);  // refused: no language 12
    EXPECT_EQ(sim.languageIndex(), 2);
    EXPECT_EQ(sim.productIndex(), 5);

    sim.setProductFile(5, 2, sim.productFile(5, 2).replace(QStringLiteral("K1=4433"), QStringLiteral("K1=4434")));
    EXPECT_EQ(exchange({0x16, 0, 0, 0})[4], 0);
    exchange({0x20, 5, 2});
    EXPECT_EQ(exchange({0x16, 0, 0, 0})[4], 0);
}

std::vector<int> ErrorCodes(const Reply& reply) {
    return {reply[3], reply[4], reply[5], reply[6], reply[7]};
}

TEST_F(SimulatorTest, ErrorCodeBufferRaisesReadsAndClears) {
    exchange({0x49, 1, 5});
    EXPECT_EQ(ErrorCodes(exchange({0x49, 1, 200})), (std::vector<int>{200, 5, 0, 0, 0}));
    EXPECT_EQ(ErrorCodes(exchange({0x49, 0, 0})), (std::vector<int>{200, 5, 0, 0, 0}));
    EXPECT_EQ(ErrorCodes(exchange({0x49, 2, 0})), (std::vector<int>(5, 0)));
    EXPECT_EQ(sim.errorCodes(), (std::array<std::uint8_t, 5>{}));
}

TEST_F(SimulatorTest, DisplayAcceptsTheDescriptionAndEachMenuText) {
    // The first byte is the text number + 2: 0 the description, 1–43 menu texts.
    const std::pair<int, int> cases[] = {{2, 1}, {45, 1}, {24, 1}, {46, 0}, {1, 0}, {0, 0}, {255, 0}};
    for (const auto& [first, accepted] : cases) {
        const Reply reply = exchange({0x15, first, 0, 3, 10});
        EXPECT_EQ(reply[0], 32);
        EXPECT_EQ(reply[1], accepted) << first;
    }
    EXPECT_EQ(sim.displayedText(), 22);
    sim.setLanguageFile(0, QString());
    EXPECT_EQ(exchange({0x15, 2, 0, 3, 10})[1], 0);  // nothing to show
}

TEST_F(SimulatorTest, PolledCommandsAnswerBusyThenTheResult) {
    sim.setBusyPolls(3);
    exchange({0x1A, 0, 5});
    for (int i = 0; i < 3; ++i) EXPECT_EQ(exchange({0x1A, 1, 5})[2], 2) << i;
    Reply adc = exchange({0x1A, 1, 5});
    EXPECT_EQ(adc[2], 3);
    EXPECT_EQ(adc[3], 5);
    EXPECT_EQ(adc[4] * 256 + adc[5], *CellAdcCounts(sim.sensorTruth(), 5));
    exchange({0x1A, 0, 22});
    for (int i = 0; i < 3; ++i) exchange({0x1A, 1, 22});
    EXPECT_EQ(exchange({0x1A, 1, 22})[2], 4);  // no such channel: converter time-out

    sim.setBusyPolls(1);
    sim.sensorTruth().loadCellMassGrams = 500.0;
    exchange({0x1C, 0});
    EXPECT_EQ(exchange({0x1C, 1})[2], 2);
    Reply load = exchange({0x1C, 1});
    EXPECT_EQ(load[2], 3);
    EXPECT_EQ(load[3] * 256 + load[4], 12000);  // 40000 × (0.05 + 500 / 2000)
    EXPECT_EQ(load[5] * 256 + load[6], 40000);

    sim.setBusyPolls(2);
    EXPECT_EQ(exchange({0x4A, 2})[2], 3);
    EXPECT_EQ(exchange({0x4A, 0})[2], 3);
    EXPECT_EQ(exchange({0x4A, 0})[2], 3);
    EXPECT_EQ(exchange({0x4A, 0})[2], 4);
    EXPECT_EQ(exchange({0x4A, 7})[2], 5);
}

// --- Fault injection -----------------------------------------------------------

TEST_F(SimulatorTest, UnplugKillsOldHandlesForGood) {
    ASSERT_EQ(writeReport({1, 0x01}), static_cast<int>(kLength));
    sim.unplug();
    EXPECT_EQ(writeReport({1, 0x01}), -1);
    EXPECT_EQ(sim.lastResult().code, ENODEV);
    std::uint8_t in[8] = {};
    EXPECT_EQ(sim.readTimeout(handle, in, sizeof in, 100), -1);
    EXPECT_TRUE(sim.reportDescriptor(handle).isEmpty());

    sim.replug();
    EXPECT_EQ(writeReport({1, 0x01}), -1);
    const HidHandle fresh = sim.open(sim.deviceInfo().path);
    ASSERT_NE(fresh, kInvalidHidHandle);
    handle = fresh;
    EXPECT_EQ(exchange({0x01})[0], 32);
    EXPECT_EQ(sim.lastResult().code, 0);
    EXPECT_TRUE(sim.lastResult().message.isEmpty());
}

TEST_F(SimulatorTest, InjectedTransportFaults) {
    sim.failNextWrites(1);
    EXPECT_EQ(writeReport({1, 0x01}), -1);
    EXPECT_EQ(sim.lastResult().code, EIO);
    EXPECT_TRUE(sim.commandLog().empty());
    EXPECT_EQ(exchange({0x01})[0], 32);

    // A lost reply: the command still happened.
    sim.dropNextReplies(1);
    EXPECT_TRUE(exchange({0x20, 0, 0}).empty());
    EXPECT_EQ(sim.lastResult().code, 0);
    EXPECT_TRUE(sim.productFile(0, 0).isEmpty());
    EXPECT_EQ(exchange({0x01})[0], 32);

    sim.failNextOpens(1);
    EXPECT_EQ(sim.open(sim.deviceInfo().path), kInvalidHidHandle);
    EXPECT_NE(sim.open(sim.deviceInfo().path), kInvalidHidHandle);
}

TEST_F(SimulatorTest, InjectedReplies) {
    sim.injectReply(QByteArray("\x10\x00\x07", 3));
    sim.injectReply(QByteArray("\x20\x01", 2));
    Reply reply = exchange({0x42});
    EXPECT_EQ(reply.size(), kLength);
    EXPECT_EQ(reply[0], 16);
    EXPECT_EQ(reply[2], 7);
    EXPECT_EQ(exchange({0x42})[0], 32);
    EXPECT_EQ(exchange({0x42})[2], 1);

    // The illegal status waits for a reply whose status is checked.
    sim.illegalStatusOnNextStatusReply();
    EXPECT_EQ(exchange({0x45})[2], sim.switchBits());
    exchange({0x4A, 1});  // a start is not checked
    EXPECT_EQ(exchange({0x4A, 0})[2], InstrumentSimulator::kIllegalStatus);
    EXPECT_EQ(exchange({0x42})[2], 1);
}

TEST_F(SimulatorTest, LatencyIsSleptButNeverBeyondTheTimeout) {
    std::vector<int> slept;
    sim.setSleepFunction([&slept](int ms) { slept.push_back(ms); });
    sim.setLatencyMs(40);

    ASSERT_EQ(writeReport({1, 0x01}), static_cast<int>(kLength));
    EXPECT_TRUE(read(25).empty());  // the reply is late
    EXPECT_EQ(read(1000)[0], 32);   // and arrives at the next read
    EXPECT_TRUE(read(1000).empty());  // nothing pending: no wait at all
    EXPECT_EQ(slept, (std::vector<int>{25, 40}));
}

// --- Untrusted input -------------------------------------------------------

TEST_F(SimulatorTest, MalformedWritesAndReadsAreRefusedOrTolerated) {
    const std::uint8_t shortNvm[] = {1, 0x42};
    EXPECT_EQ(sim.write(handle, shortNvm, 0), -1);
    EXPECT_EQ(sim.lastResult().code, EINVAL);
    EXPECT_EQ(sim.write(handle, nullptr, 0), -1);
    EXPECT_EQ(sim.write(handle, nullptr, 5), -1);
    Report huge(kLength + 1, 1);
    EXPECT_EQ(sim.write(handle, huge.data(), huge.size()), -1);
    EXPECT_EQ(sim.write(12345, shortNvm, 2), -1);
    EXPECT_EQ(sim.lastResult().code, EBADF);
    EXPECT_EQ(sim.pendingReplies(), 0u);

    // A short command report reads as zero-filled.
    EXPECT_EQ(sim.write(handle, shortNvm, sizeof shortNvm), 2);
    EXPECT_EQ(read()[2], 1);
    const std::uint8_t idOnly[] = {1};
    EXPECT_EQ(sim.write(handle, idOnly, 1), 1);
    EXPECT_EQ(read()[1], kUnknownCommandAnswer);

    // Not the instrument's reports: nothing happens.
    for (const int id : {0, 4, 16, 32, 255}) EXPECT_EQ(writeReport({id, 0x01}), static_cast<int>(kLength));
    EXPECT_EQ(sim.pendingReplies(), 0u);

    // A wide value cut by the end of the report.
    const std::uint8_t cutName[] = {2, 0, 0, 'P', '\r', '\n', '$', 'N', '=', 0x41, 0x00, 0x42};
    EXPECT_EQ(sim.write(handle, cutName, sizeof cutName), static_cast<int>(sizeof cutName));
    const std::uint8_t typeOnly[] = {5};
    EXPECT_EQ(sim.write(handle, typeOnly, 1), 1);

    ASSERT_EQ(writeReport({1, 0x01}), static_cast<int>(kLength));
    EXPECT_EQ(sim.readTimeout(handle, nullptr, 10, 100), -1);
    std::uint8_t small[4] = {};
    EXPECT_EQ(sim.readTimeout(handle, small, 0, 100), -1);
    EXPECT_EQ(sim.readTimeout(handle, small, sizeof small, 100), 4);  // a buffer too small takes the start
    EXPECT_EQ(small[0], 32);
}

TEST_F(SimulatorTest, RandomReportsNeverBreakIt) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::uint8_t ids[] = {1, 2, 3, 5, 6, 7};
    for (int round = 0; round < 3000; ++round) {
        const std::size_t length = std::uniform_int_distribution<std::size_t>(1, round % 10 == 0 ? kLength : 64)(random);
        Report report(length);
        for (auto& b : report) b = static_cast<std::uint8_t>(byte(random));
        report[0] = ids[round % std::size(ids)];
        // Plant "$" "=" pairs now and then, so wide values get decoded.
        if (length > 8 && round % 3 == 0) {
            report[4] = '$';
            report[6] = '=';
        }
        ASSERT_EQ(sim.write(handle, report.data(), report.size()), static_cast<int>(length));
        read();
    }
    EXPECT_EQ(exchange({0x01})[0], 32);
    EXPECT_EQ(sim.pendingReplies(), 0u);
}

}  // namespace
}  // namespace orvix::sim::test
