#include "protocol/USBcmds.h"

#include "support/ProtocolHarness.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvix::test {
namespace {

using Report = std::initializer_list<int>;

QByteArray Padded(const QByteArray& bytes, int length = 32) { return bytes + QByteArray(length - int(bytes.size()), '\0'); }
QByteArray Bytes(Report bytes) { return FakeHidBackend::Report(bytes); }

struct Files : ::testing::Test {
    ProtocolHarness h;
    Files() { h.connect(64, 32); }
    QString logLine(const char* message, const char* procName) const {
        return QLatin1String(message) + QStringLiteral(", ") + QLatin1String(procName) + QStringLiteral(", 2026FEB03, 17:14:09");
    }
};

TEST_F(Files, IndicesAreCheckedBeforeAnythingIsSent) {
    const struct {
        const char* procName;
        std::function<QString(USBcmds&)> run;
        const char* logged;
    } cases[] = {
        {"GetProductFile()", [](USBcmds& c) { return c.GetProductFile(20, 0); }, "Err 8, PrdIdx Out of Bounds"},
        {"GetProductFile()", [](USBcmds& c) { return c.GetProductFile(0, 12); }, "Err 8, LngIdx Out of Bounds"},
        {"GetProductFile()", [](USBcmds& c) { return c.GetProductFile(-1, 0); }, "Err 6, Overflow"},
        {"GetProductName()", [](USBcmds& c) { return c.GetProductName(25, 0); }, "Err 8, PrdIdx Out of Bounds"},
        {"GetLanguageFile()", [](USBcmds& c) { return c.GetLanguageFile(12); }, "Err 8, LngIdx Out of Bounds"},
        {"GetLanguageDescription()", [](USBcmds& c) { return c.GetLanguageDescription(-3); }, "Err 6, Overflow"},
        {"DeleteProductFile()", [](USBcmds& c) { return QString::number(c.DeleteProductFile(3, 40)); }, "Err 8, LngIdx Out of Bounds"},
        {"DeleteLanguageFile()", [](USBcmds& c) { return QString::number(c.DeleteLanguageFile(99)); }, "Err 8, LngIdx Out of Bounds"},
    };
    for (const auto& c : cases) {
        ProtocolHarness run;
        run.connect(32, 32);
        const QString result = c.run(run.cmds);
        EXPECT_TRUE(result.isEmpty() || result == QStringLiteral("0")) << c.procName;
        EXPECT_EQ(run.errorLog(), QStringList({QLatin1String(c.logged) + QStringLiteral(", ") + QLatin1String(c.procName) +
                                               QStringLiteral(", 2026FEB03, 17:14:09")}));
        EXPECT_TRUE(run.backend.written().empty()) << c.procName;
    }
}

TEST_F(Files, FileReadsSendTheirIndicesAndDecodeFromTheirStartByte) {
    h.backend.queueReply(Bytes({2, 9, 9, 'P', '\r', '\n'}));
    h.backend.queueReply(Bytes({5, 9, 'L', '\r', '\n'}));
    h.backend.queueReply(Bytes({6, 'N', '\r', '\n'}));
    EXPECT_TRUE(h.cmds.GetProductFile(19, 11).startsWith(QStringLiteral("P\r\n\0")));
    EXPECT_TRUE(h.cmds.GetLanguageFile(3).startsWith(QStringLiteral("L\r\n\0")));
    EXPECT_TRUE(h.cmds.GetNormalizationFile().startsWith(QStringLiteral("N\r\n\0")));
    EXPECT_EQ(h.backend.written()[0], Padded(Bytes({1, 0x02, 0x13, 0x0B})));
    EXPECT_EQ(h.backend.written()[1], Padded(Bytes({1, 0x05, 3})));
    EXPECT_EQ(h.backend.readTimeouts(), (std::vector<int>{3000, 6000, 3000}));
    // Every byte to the end of the report is part of the text.
    EXPECT_EQ(h.cmds.GetUserFile().size(), 0);
    EXPECT_EQ(h.errorLog(), QStringList({AppErrorLine(QStringLiteral("Device Not Connected"), QStringLiteral("GetUserFile()"))}));
}

TEST_F(Files, NamedValuesAreTheValueOfTheFirstLine) {
    h.backend.queueReply(Bytes({16, 0, 0, 0, '$', 'N', 'a', 'm', 'e', '=', 'W', 0, 'h', 0, '\r', 0, '\n', 0, 'X'}));
    h.backend.queueReply(Bytes({16, 0, 0, '$', 'D', 'e', 's', 'c', '=', 'A', 0, 'B', 0}));
    EXPECT_EQ(h.cmds.GetProductName(1, 0), QStringLiteral("Wh"));
    // Without a CR LF after the value the error is logged and the text after
    // the "=" comes back.
    const QString description = h.cmds.GetLanguageDescription(0);
    EXPECT_TRUE(description.startsWith(QStringLiteral("AB"))) << description.toStdString();
    EXPECT_EQ(h.errorLog(), QStringList({logLine("Err 5, Invalid procedure call or argument", "GetLanguageDescription()")}));
}

TEST_F(Files, KeyFileEntriesAndSerialNumber) {
    h.backend.queueReply(QByteArray("\x07K\r\nAMSN=X10203-3000-0042\r\nModel=A1\r\n"));
    const QString text = h.cmds.GetKeyFile();
    EXPECT_TRUE(text.startsWith(QStringLiteral("K\r\nAMSN=X10203-3000-0042\r\nModel=A1\r\n")));
    EXPECT_EQ(h.cmds.KeyAMSN(), QStringLiteral("X10203-3000-0042"));
    EXPECT_EQ(h.cmds.KeyModel(), QStringLiteral("A1"));
    EXPECT_EQ(h.panes.debug.mid(1), QStringList({QStringLiteral("File Length = 63"), QStringLiteral("AMSN = X10203-3000-0042"),
                                                 QStringLiteral("Model = A1")}));
    h.panes.debug.clear();
    EXPECT_EQ(h.cmds.GetSerialNumber(), QStringLiteral("0042"));
    EXPECT_EQ(h.panes.debug, QStringList({QStringLiteral("X10203"), QStringLiteral("3000"), QStringLiteral("0042")}));
}

TEST_F(Files, BlankOrEntrylessKeyFilesAreReportedAndKeepTheEarlierValues) {
    h.backend.queueReply(QByteArray("\x07K\r\nAMSN=X10203-3000-00042\r\nModel=B2\r\n"));
    h.backend.queueReply(Bytes({7}));
    h.backend.queueReply(QByteArray("\x07K\r\nSerial=1\r\n"));
    h.cmds.GetKeyFile();
    EXPECT_EQ(h.cmds.GetKeyFile().size(), 63);  // the whole (blank) text
    h.cmds.GetKeyFile();
    EXPECT_EQ(h.errorLog(), QStringList({logLine("Err 8, File contains no Data", "GetKeyFile()"),
                                         logLine("Err 5, Invalid procedure call or argument", "GetKeyFile()")}));
    EXPECT_EQ(h.cmds.KeyAMSN(), QStringLiteral("X10203-3000-00042"));
    EXPECT_EQ(h.cmds.KeyModel(), QStringLiteral("B2"));
    EXPECT_EQ(h.cmds.GetSerialNumber(), QStringLiteral("00042"));
}

TEST_F(Files, TheKeyFileIsWrittenOneByteACharacter) {
    h.cmds.SendConstKeyFile(QStringLiteral("1234"));
    ASSERT_EQ(h.backend.written().size(), 1u);
    EXPECT_EQ(h.backend.written()[0], Padded(QByteArray("\x07K\r\nAMSN=X10203-3000-1234\r\n")));
    EXPECT_TRUE(h.backend.pendingReplies() == 0 && h.backend.readCount() == 0);

    h.cmds.SendConstKeyFile(QStringLiteral("12345678901234567890"));  // does not fit
    h.cmds.SendConstKeyFile(QStringLiteral("\u0416"));
    EXPECT_EQ(h.backend.written().size(), 1u);
    EXPECT_EQ(h.errorLog(), QStringList({logLine("Err 9, Subscript out of range", "SendConstKeyFile()"),
                                         logLine("Err 5, Invalid procedure call or argument", "SendConstKeyFile()")}));
}

TEST_F(Files, ADeleteCountsOnceWrittenEvenWithoutAReply) {
    EXPECT_TRUE(h.cmds.DeleteLanguageFile(3));  // no reply queued: the read times out
    EXPECT_FALSE(h.hid.DeviceDetected());
    EXPECT_EQ(h.backend.written()[0], Padded(Bytes({1, 0x21, 3})));
    EXPECT_TRUE(h.errorLog().isEmpty());

    ProtocolHarness failing;
    failing.connect(32, 32);
    failing.backend.failWriteAt(0);
    EXPECT_FALSE(failing.cmds.DeleteProductFile(2, 1));
    EXPECT_EQ(failing.backend.readCount(), 0);
}

}  // namespace
}  // namespace orvix::test
