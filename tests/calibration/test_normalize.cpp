#include "calibration/CalibrationHarness.h"
#include "calibration/CharacterisationGenerator.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvix::test {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Two load-cell blocks. The first four samples of each carry a ratio that
// would spoil the result if they were counted.
QString LoadCellText(const char* firstHeader, int firstOut, const char* secondHeader, int secondOut) {
    const auto block = [](const char* header, int out) {
        QString text = QLatin1String(header) + QStringLiteral(", LoadCellOut, LoadCellIn") + kCrLf;
        for (int i = 1; i <= 30; ++i)
            text += QString::number(i) + (i <= 4 ? QStringLiteral(", 39999, 1") : QStringLiteral(", %1, 40000").arg(out)) + kCrLf;
        return text;
    };
    return block(firstHeader, firstOut) + kCrLf + block(secondHeader, secondOut) + kCrLf;
}

TEST(NormLoadCell, TheLoadedBlockGivesTheWeightWhicheverComesFirst) {
    const QString none;  // nothing logged
    const struct {
        const char* name;
        QString text;
        QString logged;  // empty: reduced
    } cases[] = {
        // Ratios 0.25 empty and 0.5 loaded: Ldk = 100·26 / (26·0.25) = 400.
        {"empty then loaded", LoadCellText("0", 10000, "100", 20000), none},
        {"loaded then empty", LoadCellText("100", 20000, "0", 10000), none},
        {"negative header counts as empty", LoadCellText("-5", 10000, "100", 20000), none},
        {"two empty blocks", LoadCellText("0", 10000, "0", 20000), LogLine(5, "Invalid procedure call or argument", "NormLoadCell()")},
        {"two loaded blocks", LoadCellText("100", 10000, "500", 20000), LogLine(5, "Invalid procedure call or argument", "NormLoadCell()")},
        {"mass makes no difference", LoadCellText("0", 10000, "100", 10000), LogLine(11, "Division by zero", "NormLoadCell()")},
        {"header not a number", LoadCellText("100g", 10000, "0", 20000), LogLine(13, "Type mismatch", "NormLoadCell()")},
        {"too few lines", LoadCellText("0", 10000, "100", 20000).split(kCrLf).mid(0, 45).join(kCrLf), LogLine(9, "Subscript out of range", "NormLoadCell()")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CalibrationHarness h;
        h.write(h.charFile(QStringLiteral("Lcell_SN.txt")), c.text);
        const bool reduced = h.normalize.NormLoadCell(h.charFile(QStringLiteral("Lcell_SN.txt")));
        EXPECT_EQ(reduced, c.logged.isEmpty());
        EXPECT_EQ(h.errorLog(), c.logged.isEmpty() ? QStringList() : QStringList{c.logged});
        EXPECT_EQ(h.normalize.Results().Ldk, reduced ? 400 : 0);
        EXPECT_EQ(h.normalize.Results().LdECW, reduced ? 0.25 : 0);
    }
}

TEST(NormTemperature, TwoOrThreeReadingsGiveTheBiases) {
    const struct {
        const char* name;
        const char* text;
        bool read;
        double TBias, TuBias;
        QString logged;
    } cases[] = {
        {"three lines", "Tcell, 22.5\r\nTamb, 25.0\r\nTunit, 21.5\r\n", true, 2.5, 3.5, {}},
        {"two lines", "Tcell, 22.5\r\nTamb, 25.0\r\n", true, 2.5, 0, {}},
        {"two lines, no final line end", "Tcell, 22.5\r\nTamb, 25.0", true, 2.5, 0, {}},
        {"one line", "Tcell, 22.5\r\n", false, 99, 99, LogLine(9, "Subscript out of range", "NormTemperature()")},
        {"not a number", "Tcell, 22.5\r\nTamb, warm\r\n", false, 99, 99, LogLine(13, "Type mismatch", "NormTemperature()")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CalibrationHarness h;
        h.normalize.Results().TBias = h.normalize.Results().TuBias = 99;
        h.write(h.charFile(QStringLiteral("Temp_SN.txt")), QByteArray(c.text));
        EXPECT_EQ(h.normalize.NormTemperature(h.charFile(QStringLiteral("Temp_SN.txt"))), c.read);
        EXPECT_EQ(h.normalize.Results().TBias, c.TBias);
        EXPECT_EQ(h.normalize.Results().TuBias, c.TuBias);
        EXPECT_EQ(h.errorLog(), c.logged.isEmpty() ? QStringList() : QStringList{c.logged});
    }
}

const char* const kAllLimits =
    "Theta, -5, 5\r\nRho, -1, 1\r\nPsi, -1, 1\r\nLdk, -1, 1\r\nTBias, -1, 1\r\nTuBias, -1, 1\r\n"
    "Ek2M, -1, 1\r\nEVo2M, -1, 1\r\nEk5k, -1, 1\r\nEVo5k, -1, 1\r\n";

TEST(CheckLimit, ComparesInSinglePrecisionAndLogsEveryCheck) {
    CalibrationHarness h;
    h.write(h.programFile(Normalize::kLimitsFileName), QByteArray(kAllLimits));
    ASSERT_EQ(h.normalize.FileParseNormLims(Normalize::kLimitsFileName), 0);

    EXPECT_EQ(h.normalize.CheckLimit(0, 5.0000001), QString());  // 5 in single precision
    EXPECT_EQ(h.normalize.CheckLimit(0, 5.001), QStringLiteral("Warning: Theta=5.001.  Above Maximum Limit of 5.000"));
    EXPECT_EQ(h.normalize.CheckLimit(0, -5.001), QStringLiteral("Warning: Theta=-5.001.  Below Minimum Limit of -5.000"));
    // Beyond single precision: still a warning, not an undefined conversion.
    EXPECT_EQ(h.normalize.CheckLimit(0, 1e300), QStringLiteral("Warning: Theta=") + QString(301, u'0').replace(0, 1, u'1') +
                                                   QStringLiteral(".000.  Above Maximum Limit of 5.000"));

    EXPECT_EQ(h.logLines(Normalize::kWarningLogName).mid(0, 2),
              (QStringList{QStringLiteral("Warning: Theta=5.001.  Above Maximum Limit of 5.000, 2026FEB03, 17:14:09"),
                           QStringLiteral("Warning: Theta=-5.001.  Below Minimum Limit of -5.000, 2026FEB03, 17:14:09")}));
    EXPECT_EQ(h.logLines(Normalize::kStatisticsLogName).mid(0, 3),
              (QStringList{QStringLiteral("Theta, -5.000, 5.000, 5.000"), QStringLiteral("Theta, -5.000, 5.000, 5.001"),
                           QStringLiteral("Theta, -5.000, 5.000, -5.001")}));
}

TEST(CheckNormLimits, ReadsTheLimitsFileOrSaysWhyNot) {
    const QString missingLimits = QStringLiteral("Limits Missing in File NormLims.txt");
    const QString openError = QStringLiteral("Error Opening File NormLims.txt");
    const struct {
        const char* name;
        std::optional<QByteArray> file;
        QString result;
        QStringList logged;
        bool fileKept;
    } cases[] = {
        {"all ten", QByteArray(kAllLimits), QString(), {}, true},
        {"LF, CR, extra lines, a later line wins",
         QByteArray("Name, Min, Max\nTheta, 7, 8\rTheta, -5, 5\nRho, 9, 9, 9\nRho, -1, 1\n"
                    "Psi, -1, 1\nLdk, -1, 1\nTBias, -1, 1\nTuBias, -1, 1\nEk2M, -1, 1\nEVo2M, -1, 1\nEk5k, -1, 1\nEVo5k, -1, 1"),
         QString(), {}, true},
        {"EVo5k missing", QByteArray(kAllLimits).replace("EVo5k, -1, 1\r\n", ""), missingLimits, {}, true},
        {"names are case-sensitive", QByteArray(kAllLimits).replace("Theta", "theta"), missingLimits, {}, true},
        {"file missing", std::nullopt, openError, {LogLine(53, "File not found", "FileParseNormLims()")}, false},
        {"file empty", QByteArray(), openError, {}, false},
        {"limit not a number", QByteArray(kAllLimits).replace("Rho, -1, 1", "Rho, -1, one"), openError,
         {LogLine(13, "Type mismatch", "FileParseNormLims()")}, true},
        {"limit beyond single precision", QByteArray(kAllLimits).replace("Rho, -1, 1", "Rho, -1, 1e39"), openError,
         {LogLine(6, "Overflow", "FileParseNormLims()")}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CalibrationHarness h;
        const QString limits = h.programFile(Normalize::kLimitsFileName);
        if (c.file) h.write(limits, *c.file);
        EXPECT_EQ(h.normalize.CheckNormLimits(), c.result);
        EXPECT_EQ(h.errorLog(), c.logged);
        EXPECT_EQ(QFile::exists(limits), c.fileKept);
        const bool checked = c.result.isEmpty();
        EXPECT_EQ(h.logLines(Normalize::kStatisticsLogName).size(), checked ? 10 : 0);
        EXPECT_TRUE(h.logLines(Normalize::kWarningLogName).isEmpty());
    }
}

TEST(CheckNormLimits, ChecksTheTenValuesInTableOrder) {
    CalibrationHarness h;
    h.write(h.programFile(Normalize::kLimitsFileName), QByteArray(kAllLimits));
    NormResults& r = h.normalize.Results();
    r.acc.Rho = 2;
    r.elec5k.EVo5k = -1.5;
    EXPECT_EQ(h.normalize.CheckNormLimits(),
              QStringLiteral("Warning: Rho=2.000.  Above Maximum Limit of 1.000\r\n"
                             "Warning: EVo5k=-1.500.  Below Minimum Limit of -1.000\r\n"));
    EXPECT_EQ(h.logLines(Normalize::kStatisticsLogName),
              (QStringList{QStringLiteral("Theta, -5.000, 5.000, 0.000"), QStringLiteral("Rho, -1.000, 1.000, 2.000"),
                           QStringLiteral("Psi, -1.000, 1.000, 0.000"), QStringLiteral("Ldk, -1.000, 1.000, 0.000"),
                           QStringLiteral("TBias, -1.000, 1.000, 0.000"), QStringLiteral("TuBias, -1.000, 1.000, 0.000"),
                           QStringLiteral("Ek2M, -1.000, 1.000, 0.000"), QStringLiteral("EVo2M, -1.000, 1.000, 0.000"),
                           QStringLiteral("Ek5k, -1.000, 1.000, 0.000"), QStringLiteral("EVo5k, -1.000, 1.000, -1.500")}));

    h.prompter.expectMessage(QStringLiteral("No File Specified"));
    EXPECT_EQ(h.normalize.FileParseNormLims(QString()), 2);
}

TEST(CreateNormFile, WritesTheConstantsAroundTheTemplateLines) {
    CalibrationHarness h;
    NormResults& r = h.normalize.Results();
    r.acc = {0, 0, 0, 0.00123, -4.5e-5, 0, 0.0125, 5.5e-5, -4.75e-5, -9.6e-4, -0.0068};
    r.Ldk = 2000;
    r.LdECW = 0.015625;
    r.TBias = 1.5;
    r.TuBias = 0;
    r.elec2M = {1310.5, 2, 28.65, 10000};
    r.elec5k = {834.4, 1.043, 101.218627730655, 10010.13211836};
    // Blanks around "=" go; the last line counts without a line break.
    h.write(h.programFile(Normalize::kTemplateFileName), QByteArray("NormVer = 2\r\nCalStation=4"));

    const QString path = h.charFile(QStringLiteral("Norm_SN.txt"));
    EXPECT_TRUE(h.normalize.CreateNormFile(path));
    const QByteArray expected =
        "N\r\n"
        "AccAa = 1.230E-03\r\nAccAb = -4.500E-05\r\nAccAc = 0.000E+00\r\nAccAd = 1.250E-02\r\n"
        "AccBa = 5.500E-05\r\nAccBb = -4.750E-05\r\nAccBc = -9.600E-04\r\nAccBd = -6.800E-03\r\n"
        "Ldk = 2.000E+03\r\nLdECW = 0.01563\r\nTBias = 1.5\r\nTuBias = 0.0\r\n"
        "Ru0_2M = 9998.154\r\nCu0_2M = 29.459\r\nRu1_2M = 909.086\r\nCu1_2M = 29.253\r\n"
        "Ru0_5k = 10010.132\r\nCu0_5k = 102.028\r\nRu3_5k = 716.510\r\nCu3_5k = 21838.099\r\n"
        "Ek2M = 2.00000\r\nEk5k = 1.04300\r\n"
        "NormVer=2\r\nCalStation=4\r\n"
        "EVo2M = 1311\r\nEVo5k = 834\r\n<EOF>\r\n";
    EXPECT_EQ(h.read(path), expected);
    EXPECT_EQ(h.read(path).count("\r\n"), 28);
    EXPECT_TRUE(h.errorLog().isEmpty());
}

TEST(CreateNormFile, ATemplateLineWithoutAValueWritesNothing) {
    CalibrationHarness h;
    h.write(h.programFile(Normalize::kTemplateFileName), QByteArray("NormVer = 2\n\nCalStation\n"));
    const QString path = h.charFile(QStringLiteral("Norm_SN.txt"));
    EXPECT_FALSE(h.normalize.CreateNormFile(path));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(h.errorLog(), QStringList{LogLine(9, "Subscript out of range", "CreateNormFile()")});
}

// "Create Normalization File" on a healthy instrument's files, with one
// thing changed per case.
TEST(CreateNormalizationFile, StopsAtTheFirstProblemWithItsMessage) {
    const QString serial = QStringLiteral("00042");
    const QString notFound = QStringLiteral(" Not Found.  Unable to Create Normalization File.");
    const QString question = QStringLiteral("Warning: TBias=1.500.  Above Maximum Limit of 1.000\r\n Create File Anyway?");
    const QString created = QStringLiteral("Norm_SN00042.txt Created.");
    using Setup = std::function<void(CalibrationHarness&)>;
    const auto remove = [](const char* name) {
        return [name](CalibrationHarness& h) { QFile::remove(h.charFile(QLatin1String(name))); };
    };
    const auto tightTBias = [](CalibrationHarness& h) {
        QByteArray limits = CalibrationHarness::read(h.programFile(Normalize::kLimitsFileName));
        h.write(h.programFile(Normalize::kLimitsFileName), limits.replace("TBias, -5, 5", "TBias, -1, 1"));
    };
    const struct {
        const char* name;
        Setup setup;
        std::vector<std::pair<QString, MsgAnswer>> messages;
        bool written;
    } cases[] = {
        {"healthy", [](CalibrationHarness&) {}, {{created, MsgAnswer::Ok}}, true},
        {"no accelerometer file", remove("Accel_SN00042.txt"), {{QStringLiteral("Accel_SN00042.txt") + notFound, MsgAnswer::Ok}}, false},
        {"no load-cell file", remove("Lcell_SN00042.txt"), {{QStringLiteral("Lcell_SN00042.txt") + notFound, MsgAnswer::Ok}}, false},
        {"no electrical file", remove("Ecell_SN00042.txt"), {{QStringLiteral("Ecell_SN00042.txt") + notFound, MsgAnswer::Ok}}, false},
        {"electrical cell faulty",
         [&serial](CalibrationHarness& h) {
             CharacterisationTruth weak;
             weak.electrical.referenceLevels[0] = 1.5;  // 2 MHz amplitude too low
             WriteCharacterisationFiles(h.charFolder.path(), serial, weak);
         },
         {{QStringLiteral("Problems detected with Electrical Cell Measurements.  Unable to Create Normalization File."), MsgAnswer::Ok}},
         false},
        {"no temperature file", remove("Temp_SN00042.txt"), {{QStringLiteral("Temp_SN00042.txt") + notFound, MsgAnswer::Ok}}, false},
        {"no template",
         [](CalibrationHarness& h) { QFile::remove(h.programFile(Normalize::kTemplateFileName)); },
         {{QStringLiteral("NormConst.txt") + notFound, MsgAnswer::Cancel}}, false},
        // The file could not be made: no " Created." then.
        {"template line without a value",
         [](CalibrationHarness& h) { h.write(h.programFile(Normalize::kTemplateFileName), QByteArray("CalStation\r\n")); },
         {}, false},
        {"warnings declined", tightTBias, {{question, MsgAnswer::No}}, false},
        {"warnings accepted", tightTBias, {{question, MsgAnswer::Yes}, {created, MsgAnswer::Ok}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CalibrationHarness h;
        CharacterisationTruth truth;
        truth.temperature = {22.5, 24.0, 25.1, true};  // TBias 1.5 exactly
        WriteCharacterisationFiles(h.charFolder.path(), serial, truth);
        h.write(h.programFile(Normalize::kTemplateFileName), QByteArray("NormVer = 2\r\nCalStation = 4\r\n"));
        h.write(h.programFile(Normalize::kLimitsFileName),
                QByteArray("Theta, 80, 100\r\nRho, -10, 10\r\nPsi, -10, 10\r\nLdk, 1000, 4000\r\nTBias, -5, 5\r\n"
                           "TuBias, -8, 8\r\nEk2M, 0.8, 3.2\r\nEVo2M, 500, 2500\r\nEk5k, 0.7, 1.3\r\nEVo5k, 500, 2500\r\n"));
        c.setup(h);
        for (const auto& [text, answer] : c.messages) h.prompter.expectMessage(text, answer);
        // A result left over from another instrument must not survive.
        h.normalize.Results().elec5k.Ek5k = 9;

        EXPECT_EQ(h.normalize.CreateNormalizationFile(h.charFolder.path(), serial), c.written);
        EXPECT_EQ(QFile::exists(h.charFile(QStringLiteral("Norm_SN00042.txt"))), c.written);
        EXPECT_NE(h.normalize.Results().elec5k.Ek5k, 9);
    }
}

}  // namespace
}  // namespace orvix::test
