#include "protocol/ErrHdlr.h"

#include "support/ProtocolHarness.h"

#include <QDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvix::test {
namespace {

TEST(ErrHdlr, ErrorMessagesCoverTheTableAndNothingElse) {
    const struct {
        int code;
        const char16_t* message;
    } cases[] = {
        {0, u"Unknown File Type"},
        {1, u"Device Not Connected"},
        {5, u"File contains no Data"},
        {13, u"Charize.txt File Not Found"},
        {17, u"Key File can only be changed at Factory"},
        {27, u"5kHz LoadCell Output out of Bounds"},
        {28, u"Unknown User Defined Error"},
        {-1, u"Unknown User Defined Error"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrHdlr::ErrorMessage(c.code), QString::fromUtf16(c.message)) << c.code;
}

TEST(ErrHdlr, AnApplicationErrorIsNumberEightWithTheCodesMessage) {
    try {
        ErrHdlr::RaiseAppError(16);
        FAIL() << "RaiseAppError returned";
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), 8);
        EXPECT_EQ(error.code(), 16);
        EXPECT_EQ(error.description(), QStringLiteral("Measurement Sequence Error"));
    }
}

struct ErrHdlrLog : ::testing::Test {
    ProtocolHarness h;

    void logCurrent(const std::function<void()>& raise, const QString& procName) {
        try {
            raise();
        } catch (...) {
            h.errors.LogError(procName);
        }
    }
};

TEST_F(ErrHdlrLog, ShowsOneCriticalBoxAndAppendsOneStampedLine) {
    h.errors.SetShowErrorDialogs(true);
    h.prompter.expectMessage(QStringLiteral("Err 8, Device Not Connected, PingDevice()"));

    logCurrent([] { ErrHdlr::RaiseAppError(1); }, QStringLiteral("PingDevice()"));

    ASSERT_EQ(h.prompter.shownMessages().size(), 1u);
    const MessageBoxRequest& box = h.prompter.shownMessages().front();
    EXPECT_EQ(box.title, QStringLiteral("Orvix PC Application"));
    EXPECT_EQ(box.icon, MsgIcon::Critical);
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_EQ(h.platform.readFile(QStringLiteral("Errors.Txt")),
              QByteArray("Err 8, Device Not Connected, PingDevice(), 2026FEB03, 17:14:09\r\n"));
}

TEST_F(ErrHdlrLog, RunTimeAndForeignErrorsKeepTheirOwnNumbers) {
    logCurrent([] { RaiseRuntimeError(vb::kFileNotFound); }, QStringLiteral("OpenFile()"));
    logCurrent([] { throw std::runtime_error("library fault"); }, QStringLiteral("FileOut()"));
    EXPECT_EQ(h.errorLog(),
              QStringList({QStringLiteral("Err 53, File not found, OpenFile(), 2026FEB03, 17:14:09"),
                           QStringLiteral("Err 51, Internal error, FileOut(), 2026FEB03, 17:14:09")}));
}

TEST_F(ErrHdlrLog, AppendsToAnExistingLogAndNeverTruncatesIt) {
    QFile old(QDir(h.platform.programFolder()).filePath(QStringLiteral("Errors.Txt")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier line\r\n");
    old.close();

    logCurrent([] { ErrHdlr::RaiseAppError(3); }, QStringLiteral("TestNVM()"));
    logCurrent([] { ErrHdlr::RaiseAppError(3); }, QStringLiteral("TestNVM()"));

    const QStringList lines = h.errorLog();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("earlier line"));
    EXPECT_EQ(lines[1], lines[2]);
}

TEST_F(ErrHdlrLog, ALogThatCannotBeWrittenIsSkippedButTheUserIsStillTold) {
    // A folder in the way of the log file makes every append fail.
    ASSERT_TRUE(QDir(h.platform.programFolder()).mkdir(QStringLiteral("Errors.Txt")));
    h.errors.SetShowErrorDialogs(true);
    h.prompter.expectMessage(QStringLiteral("Err 8, File contains no Data, GetKeyFile()"));

    logCurrent([] { ErrHdlr::RaiseAppError(5); }, QStringLiteral("GetKeyFile()"));
}

}  // namespace
}  // namespace orvix::test
