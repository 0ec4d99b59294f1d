// Characterisation files generated from a known instrument must give that
// instrument back, through the file readers and through orvix-normalize.
//
// Tolerances, and why: the accelerometer readings are whole counts and the
// fit stops once a step is below 1e-4 of the parameters, so angles come back
// to 0.1°, the coefficients to 3e-6 (0.3 % of a raw count's 0.001 g) and
// the offset terms AccAd/AccBd to 2e-3 (two counts). The 2 MHz offset search
// ends after a fixed 15 golden-section updates: EVo2M to 10 counts, Ek2M to
// 0.5 %, the cell to 0.1 pF and 1 %. The 5 kHz offset is solved exactly, so
// only count rounding and noise remain: EVo5k to 3 counts, Ek5k to 0.1 %.
// The load cell to 0.1 %; the temperatures exactly, to the file's 0.1 °C.

#include "calibration/CalibrationHarness.h"
#include "calibration/CharacterisationGenerator.h"
#include "calibration/ToolRunner.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvix::test {
namespace {

struct Tolerance {
    double angle = 0.1;
    double coefficient = 3e-6;
    double offsetTerm = 2e-3;
    double ldkRelative = 1e-3;
    double ldecw = 1e-4;
    double evo2M = 10;
    double ek2MRelative = 5e-3;
    double capacitance = 0.1;
    double resistanceRelative = 1e-2;
    double evo5k = 3;
    double ek5kRelative = 1e-3;
    double temperature = 1e-12;
};

struct NamedTruth {
    const char* name;
    CharacterisationTruth truth;
};

std::vector<NamedTruth> Truths() {
    std::vector<NamedTruth> truths;

    NamedTruth plain{"near the start, no noise", {}};
    truths.push_back(plain);

    NamedTruth other{"other angles, gains, offsets; noise", {}};
    other.truth.accel.theta = 1.45;
    other.truth.accel.rho = -0.08;
    other.truth.accel.psi = 0.1;
    other.truth.accel.gain = {1.05, 0.93, 1.02};
    other.truth.accel.offset = {-3, 2.5, -1.2};
    ElectricalTruth& e = other.truth.electrical;
    e.offset2M = 1.32;
    e.gain2M = 2.5;
    e.capacitancePF = 31;
    e.resistanceOhm = 8000;
    e.offset5k = 1.27;
    e.gain5k = 1.12;
    other.truth.loadCell.gramsPerRatio = 2500;
    other.truth.temperature = {21.0, 19.5, 23.2, true};
    other.truth.noiseCounts = 2;
    other.truth.seed = 7;
    truths.push_back(other);

    NamedTruth tilted{"tilted further, loaded block first", {}};
    tilted.truth.accel.theta = 1.72;
    tilted.truth.accel.rho = 0.15;
    tilted.truth.accel.psi = 0.12;
    tilted.truth.accel.gain = {0.9, 1.1, 1.0};
    tilted.truth.accel.offset = {5, -5, 3};
    ElectricalTruth& t = tilted.truth.electrical;
    t.offset2M = 1.28;
    t.gain2M = 1.5;
    t.capacitancePF = 25;
    t.resistanceOhm = 12000;
    t.offset5k = 1.33;
    t.gain5k = 0.9;
    tilted.truth.loadCell.loadedBlockFirst = true;
    tilted.truth.loadCell.massGrams = 1000;
    tilted.truth.temperature.withUnitLine = false;
    tilted.truth.noiseCounts = 1;
    tilted.truth.seed = 3;
    truths.push_back(tilted);
    return truths;
}

void ExpectRecovered(const NormResults& r, const ExpectedConstants& x, const Tolerance& tol = {}) {
    EXPECT_NEAR(r.acc.Theta, x.acc.Theta, tol.angle);
    EXPECT_NEAR(r.acc.Rho, x.acc.Rho, tol.angle);
    EXPECT_NEAR(r.acc.Psi, x.acc.Psi, tol.angle);
    EXPECT_NEAR(r.acc.AccAa, x.acc.AccAa, tol.coefficient);
    EXPECT_NEAR(r.acc.AccAb, x.acc.AccAb, tol.coefficient);
    EXPECT_NEAR(r.acc.AccAc, x.acc.AccAc, tol.coefficient);
    EXPECT_NEAR(r.acc.AccAd, x.acc.AccAd, tol.offsetTerm);
    EXPECT_NEAR(r.acc.AccBa, x.acc.AccBa, tol.coefficient);
    EXPECT_NEAR(r.acc.AccBb, x.acc.AccBb, tol.coefficient);
    EXPECT_NEAR(r.acc.AccBc, x.acc.AccBc, tol.coefficient);
    EXPECT_NEAR(r.acc.AccBd, x.acc.AccBd, tol.offsetTerm);
    EXPECT_NEAR(r.Ldk, x.Ldk, x.Ldk * tol.ldkRelative);
    EXPECT_NEAR(r.LdECW, x.LdECW, tol.ldecw);
    EXPECT_NEAR(r.TBias, x.TBias, tol.temperature);
    EXPECT_NEAR(r.TuBias, x.TuBias, tol.temperature);
    EXPECT_NEAR(r.elec2M.EVo2M, x.elec2M.EVo2M, tol.evo2M);
    EXPECT_NEAR(r.elec2M.Ek2M, x.elec2M.Ek2M, x.elec2M.Ek2M * tol.ek2MRelative);
    EXPECT_NEAR(r.elec2M.Capacitance, x.elec2M.Capacitance, tol.capacitance);
    EXPECT_NEAR(r.elec2M.Resistance, x.elec2M.Resistance, x.elec2M.Resistance * tol.resistanceRelative);
    EXPECT_NEAR(r.elec5k.EVo5k, x.elec5k.EVo5k, tol.evo5k);
    EXPECT_NEAR(r.elec5k.Ek5k, x.elec5k.Ek5k, x.elec5k.Ek5k * tol.ek5kRelative);
    EXPECT_NEAR(r.elec5k.Capacitance, x.elec5k.Capacitance, tol.capacitance);
    EXPECT_NEAR(r.elec5k.Resistance, x.elec5k.Resistance, x.elec5k.Resistance * tol.resistanceRelative);
}

TEST(GroundTruth, TheReductionsGiveTheInstrumentBack) {
    for (const NamedTruth& t : Truths()) {
        SCOPED_TRACE(t.name);
        CalibrationHarness h;
        WriteCharacterisationFiles(h.charFolder.path(), QStringLiteral("12345"), t.truth);
        Normalize& n = h.normalize;
        EXPECT_TRUE(n.NormAccelerometer(h.charFile(QStringLiteral("Accel_SN12345.txt"))));
        EXPECT_TRUE(n.NormLoadCell(h.charFile(QStringLiteral("Lcell_SN12345.txt"))));
        EXPECT_EQ(n.NormElecricalCell(h.charFile(QStringLiteral("Ecell_SN12345.txt"))), 1);
        EXPECT_TRUE(n.NormTemperature(h.charFile(QStringLiteral("Temp_SN12345.txt"))));
        EXPECT_TRUE(h.errorLog().isEmpty());
        ExpectRecovered(n.Results(), ExpectedFromTruth(t.truth));
    }
}

// The file holds the constants rounded to their patterns: the tolerances
// widen by half a unit of the last digit written.
NormResults FromFile(const std::map<QString, QString>& c) {
    const auto v = [&c](const char* key) {
        const auto found = c.find(QLatin1String(key));
        return found == c.end() ? std::nan("") : found->second.toDouble();
    };
    NormResults r;
    r.acc = {0, 0, 0, v("AccAa"), v("AccAb"), v("AccAc"), v("AccAd"), v("AccBa"), v("AccBb"), v("AccBc"), v("AccBd")};
    r.Ldk = v("Ldk");
    r.LdECW = v("LdECW");
    r.TBias = v("TBias");
    r.TuBias = v("TuBias");
    // Cu0 = C + 0.809267, Ru0 = R∥54156990: undo the reference network.
    r.elec2M = {v("EVo2M"), v("Ek2M"), v("Cu0_2M") - 0.809267, 54156990 * v("Ru0_2M") / (54156990 - v("Ru0_2M"))};
    r.elec5k = {v("EVo5k"), v("Ek5k"), v("Cu0_5k") - 0.809267,
                8665043000000 * v("Ru0_5k") / (8665043000000 - v("Ru0_5k"))};
    return r;
}

TEST(GroundTruth, OrvixNormalizeWritesTheInstrumentsConstants) {
    if (!ToolRunner::Available()) GTEST_SKIP() << "no orvix-normalize at " << ToolRunner::Executable().toStdString();
    for (const NamedTruth& t : Truths()) {
        SCOPED_TRACE(t.name);
        ToolRunner tool;
        ASSERT_TRUE(tool.copyShippedTemplates());
        WriteCharacterisationFiles(tool.dataDir.path(), QStringLiteral("00042"), t.truth);

        const ToolRunner::Result result = tool.normalize(QStringLiteral("00042"));
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QString written = tool.dataFile(QStringLiteral("Norm_SN00042.txt"));
        EXPECT_EQ(result.out, written + u'\n');
        EXPECT_FALSE(QFile::exists(tool.programFile(QStringLiteral("Errors.Txt"))));

        const std::map<QString, QString> constants = ToolRunner::Constants(written);
        const NormResults r = FromFile(constants);
        ExpectedConstants x = ExpectedFromTruth(t.truth);
        x.acc.Theta = x.acc.Rho = x.acc.Psi = 0;  // not in the file
        Tolerance tol;
        tol.coefficient += 5e-7;  // four significant digits of ~1e-3
        tol.offsetTerm += 5e-5;
        tol.ldkRelative += 5e-4;
        tol.ldecw += 5e-6;
        tol.evo2M += 0.5;
        tol.evo5k += 0.5;
        tol.capacitance += 5e-4;
        tol.temperature = 0.05 + 1e-9;
        ExpectRecovered(r, x, tol);
        EXPECT_EQ(constants.at(QStringLiteral("Ru0_5k")), QStringLiteral("10010.132"));
        EXPECT_EQ(constants.at(QStringLiteral("NormVer")), QStringLiteral("2"));
    }
}

}  // namespace
}  // namespace orvix::test
