#include "calibration/CharacterisationGenerator.h"
#include "calibration/ToolRunner.h"

#include <gtest/gtest.h>

namespace orvix::test {
namespace {

struct OrvixNormalize : ::testing::Test {
    ToolRunner tool;

    void SetUp() override {
        if (!ToolRunner::Available())
            GTEST_SKIP() << "no orvix-normalize at " << ToolRunner::Executable().toStdString();
        ASSERT_TRUE(tool.copyShippedTemplates());
    }
    QString normFile(const char* serial) const {
        return tool.dataFile(QStringLiteral("Norm_SN") + QLatin1String(serial) + QStringLiteral(".txt"));
    }
};

// An accelerometer mounted 17° off and a cell sensor 12 °C away from the
// grain: the shipped limits catch both.
CharacterisationTruth Faulty() {
    CharacterisationTruth truth;
    truth.accel.rho = 0.3;
    truth.temperature = {12.0, 24.0, 25.0, true};
    return truth;
}

TEST_F(OrvixNormalize, LimitWarningsGoToStdoutAndNeedForce) {
    WriteCharacterisationFiles(tool.dataDir.path(), QStringLiteral("00042"), Faulty());

    const ToolRunner::Result refused = tool.normalize(QStringLiteral("00042"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.out.contains(QStringLiteral("Warning: Rho=17.")));
    EXPECT_TRUE(refused.out.contains(QStringLiteral("Warning: TBias=12.000.  Above Maximum Limit of 5.000\n")));
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--force")));
    EXPECT_FALSE(QFile::exists(normFile("00042")));

    const ToolRunner::Result forced = tool.normalize(QStringLiteral("00042"), {QStringLiteral("--force")});
    EXPECT_EQ(forced.exitCode, 0);
    EXPECT_TRUE(forced.out.endsWith(normFile("00042") + u'\n'));
    EXPECT_TRUE(forced.err.contains(QStringLiteral("Norm_SN00042.txt Created.")));
    EXPECT_EQ(ToolRunner::Constants(normFile("00042")).at(QStringLiteral("TBias")), QStringLiteral("12.0"));

    // Both runs checked all ten values; each logged its two warnings.
    QFile warnings(tool.programFile(QStringLiteral("NormWarn.Txt")));
    ASSERT_TRUE(warnings.open(QIODevice::ReadOnly));
    EXPECT_EQ(warnings.readAll().count("\r\n"), 4);
}

TEST_F(OrvixNormalize, AMissingOrBadFileWritesNothing) {
    WriteCharacterisationFiles(tool.dataDir.path(), QString(), CharacterisationTruth{});
    QFile::remove(tool.dataFile(QStringLiteral("Ecell_SN.txt")));

    const ToolRunner::Result result = tool.run({QStringLiteral("--program-dir=") + tool.programDir.path(), tool.dataDir.path()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(QStringLiteral("Err 53, File not found, OpenFile()\n")));
    EXPECT_TRUE(result.err.contains(QStringLiteral("Ecell_SN.txt Not Found.  Unable to Create Normalization File.\n")));
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_FALSE(QFile::exists(normFile("")));
    QFile log(tool.programFile(QStringLiteral("Errors.Txt")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().startsWith("Err 53, File not found, OpenFile(), "));

    // Without a serial the names carry none, and the file is Norm_SN.txt.
    WriteCharacterisationFiles(tool.dataDir.path(), QString(), CharacterisationTruth{});
    EXPECT_EQ(tool.run({QStringLiteral("--program-dir"), tool.programDir.path(), tool.dataDir.path()}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(normFile("")));
}

TEST_F(OrvixNormalize, UsageErrorsExitWithTwo) {
    const QString dir = tool.dataDir.path();
    const struct {
        const char* name;
        QStringList arguments;
        int exitCode;
        const char* stderrHas;
    } cases[] = {
        {"no folder", {}, 2, "no characterisation FOLDER"},
        {"unknown option", {QStringLiteral("--fast"), dir}, 2, "unknown option --fast"},
        {"serial with letters", {dir, QStringLiteral("12a")}, 2, "SERIAL must be digits only"},
        {"serial with a path", {dir, QStringLiteral("../x")}, 2, "SERIAL must be digits only"},
        {"three arguments", {dir, QStringLiteral("1"), QStringLiteral("2")}, 2, "too many arguments"},
        {"program folder without a value", {dir, QStringLiteral("--program-dir")}, 2, "--program-dir needs a folder"},
        {"missing folder", {dir + QStringLiteral("/nowhere")}, 2, "no such folder"},
        {"missing program folder", {QStringLiteral("--program-dir"), dir + QStringLiteral("/nowhere"), dir}, 2, "no such program folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRunner::Result result = tool.run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_TRUE(result.err.contains(QLatin1String(c.stderrHas))) << result.err.toStdString();
    }

    const ToolRunner::Result help = tool.run({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: orvix-normalize [--program-dir DIR] [--force] FOLDER [SERIAL]")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("Exit status:")));
}

}  // namespace
}  // namespace orvix::test
