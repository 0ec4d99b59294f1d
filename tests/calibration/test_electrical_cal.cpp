#include "calibration/CalibrationHarness.h"
#include "calibration/CharacterisationGenerator.h"
#include "calibration/ElectricalCal.h"
#include "common/VbError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace orvix::test {
namespace {

CellVolts Blocks(const std::array<double, kCellLines>& block) {
    CellVolts volts{};
    volts.fill(block);
    return volts;
}

CellCounts HealthyCounts() {
    const auto levels = CellLevels(ElectricalTruth{});
    CellCounts counts{};
    for (int j = 0; j < kCellLines; ++j)
        counts[static_cast<std::size_t>(j)] = static_cast<std::int32_t>(std::lround(VoltsToCounts(levels[static_cast<std::size_t>(j)])));
    return counts;
}

int RuntimeErrorNumber(const std::function<void()>& action) {
    try {
        action();
    } catch (const VbError& error) {
        return error.number();
    }
    return 0;
}

TEST(ElecParams5k, FindsThePlusRootAndTheGainOfEveryBlock) {
    std::array<double, kCellLines> block{};
    block[16] = 1.800188877003;
    block[20] = 1.3486174706936;
    block[17] = 1.8;
    block[21] = 1.7;
    Elec5k result;
    ElecParams5k(Blocks(block), result);
    EXPECT_NEAR(result.EVo5k, 1310.7, 1e-6);  // offset 1.3 V, not the other root near 1.8 V
    EXPECT_NEAR(result.Ek5k, 2, 1e-9);
    EXPECT_EQ(result.Capacitance, 101.218627730655);
    EXPECT_EQ(result.Resistance, 10010.13211836);
}

TEST(AllCellMagnitudeCheck, TheFirstFailingCheckReportsItsCode) {
    const struct {
        const char* name;
        std::vector<std::pair<int, std::int32_t>> counts;  // (line, count) changed from a healthy cell
        int code;  // 0: passes
    } cases[] = {
        {"healthy", {}, 0},
        {"amplitude low, all else wrong too",
         {{1, 24999}, {0, 65535}, {2, 65535}, {17, 0}, {19, 0}, {18, 0}}, 19},
        {"SW1 open", {{0, 50000}}, 18},
        {"SW1 problem", {{2, 30000}}, 20},
        {"SW2 problem", {{4, 30000}}, 21},
        {"SW3 problem", {{8, 30000}}, 22},
        {"5 kHz amplitude low", {{17, 24999}}, 24},
        {"5 kHz SW3 open", {{16, 53500}}, 23},
        {"5 kHz SW3 problem", {{20, 20000}}, 25},
        {"load cell power low", {{19, 24999}}, 26},
        {"load cell output low", {{18, 3999}}, 27},
        {"load cell output high", {{18, 15001}}, 27},
        {"load cell output at 4000", {{18, 4000}}, 0},
        {"load cell output at 15000", {{18, 15000}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CellCounts counts = HealthyCounts();
        for (const auto& [line, count] : c.counts) counts[static_cast<std::size_t>(line)] = count;
        CalibrationHarness h;
        EXPECT_EQ(h.normalize.AllCellMagnitudeCheck(counts), c.code == 0);
        const QStringList expected = c.code == 0 ? QStringList()
                                                 : QStringList{QStringLiteral("Err 8, ") + ErrHdlr::ErrorMessage(c.code) +
                                                               QStringLiteral(", AllCellMagnitudeCheck(), 2026FEB03, 17:14:09")};
        EXPECT_EQ(h.errorLog(), expected);
    }
}

TEST(IntersectCircles, ChoosesBetweenTheTwoCandidatesByItsRules) {
    const struct {
        const char* name;
        Circle first, second;
        AdmittancePoint expected;
    } cases[] = {
        // A = (1,-1), B = (1,1): a candidate below w = 0 decides by the
        // centres' order alone.
        {"w <= 0, second centre right", {0, 0, std::sqrt(2.0)}, {2, 0, std::sqrt(2.0)}, {1, 1}},
        {"w <= 0, second centre left", {2, 0, std::sqrt(2.0)}, {0, 0, std::sqrt(2.0)}, {1, 1}},
        {"A right of 0, B left", {0, 5, std::sqrt(2.0)}, {0, 7, std::sqrt(2.0)}, {1, 6}},
        {"A left of 0, B right", {0, 7, std::sqrt(2.0)}, {0, 5, std::sqrt(2.0)}, {1, 6}},
        {"B nearer the expected susceptance", {3, 5, std::sqrt(2.0)}, {3, 7, std::sqrt(2.0)}, {2, 6}},
        {"equally near: A", {0, 5, std::sqrt(2.0)}, {2, 5, std::sqrt(2.0)}, {1, 4}},
        {"no intersection", {0, 0, 1}, {10, 0, 1}, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const AdmittancePoint p = IntersectCircles(c.first, c.second);
        EXPECT_NEAR(p.u, c.expected.u, 1e-12);
        EXPECT_NEAR(p.w, c.expected.w, 1e-12);
    }
    EXPECT_NE(RuntimeErrorNumber([] { IntersectCircles({1, 1, 1}, {1, 1, 1}); }), 0);
}

TEST(LocateAdmittance, FindsTheCellAtTheTrueOffset) {
    const ElectricalTruth truth;
    const PairLevels block = BlockPairs(Blocks(CellLevels(truth)), 0);
    const AdmittancePoint Y = TrueAdmittance(truth);
    for (int s = 0; s < kPairSets; ++s) {
        SCOPED_TRACE(s);
        const auto& set = PairSets()[static_cast<std::size_t>(s)];
        const std::optional<Location> located = LocateAdmittance(block, set[0], set[1], set[2], truth.offset2M);
        ASSERT_TRUE(located.has_value());
        EXPECT_NEAR(located->Y.u, Y.u, 1e-12);
        EXPECT_NEAR(located->Y.w, Y.w, 1e-12);
        EXPECT_NEAR(located->k, truth.gain2M, 1e-9);
        EXPECT_NEAR(EvalOffsetError(block, set[0], set[1], set[2], set[3], truth.offset2M), 0, 1e-20);
    }
    // A trial offset equal to a pair's odd level divides by zero.
    EXPECT_EQ(RuntimeErrorNumber([&] { EvalOffsetError(block, 0, 1, 2, 3, block.Q[1]); }), 11);
}

TEST(GoldenSearchOffset, AlwaysMakesFifteenUpdates) {
    int evaluations = 0;
    const auto E = [&evaluations](double x) {
        ++evaluations;
        return (x - 1.3) * (x - 1.3);
    };
    const double found = GoldenSearchOffset(1.45, 1.35, 1.25, E);
    EXPECT_EQ(evaluations, 2 + 15);
    EXPECT_NEAR(found, 1.3, 1e-3);
}

// A cell file with one block changed, for the analyses' failures.
struct CellFileCase {
    const char* name;
    std::function<void(CellVolts&)> change;
    std::int32_t status;
    QStringList logged;
    bool elec2MWritten;
    bool elec5kWritten;
};

TEST(NormElecricalCell, AFailedAnalysisIsReportedOnceAndFailsTheCell) {
    const ElectricalTruth truth;
    const QStringList none;
    const CellFileCase cases[] = {
        {"healthy", [](CellVolts&) {}, 1, none, true, true},
        // e1 = e2 between e0 and e3: (e0−x)(e3−x)/K1 = (e1−x)(e2−x)/K2 has
        // no real root.
        {"negative discriminant at 5 kHz in block 3",
         [](CellVolts& v) {
             v[3][16] = 1.5;
             v[3][21] = 3.5;
             v[3][20] = v[3][17] = 2.5;
         },
         0, {LogLine(5, "Invalid procedure call or argument", "elparm2()")}, true, false},
        // Ratios falling with the square of the distance: no row brackets an
        // offset, N = 0.
        {"no 2 MHz row found",
         [](CellVolts& v) {
             for (auto& block : v)
                 for (int x = 0; x < kCellPairs; ++x) {
                     const AdmittancePoint& R = RefPoints()[static_cast<std::size_t>(x)];
                     const double d = std::hypot(0.00036 - R.u, 0.0001 - R.w) / 4.2e-4;
                     block[static_cast<std::size_t>(2 * x)] = 1.3 + 0.1 / (d * d) * 2.0;
                     block[static_cast<std::size_t>(2 * x + 1)] = 3.3;
                 }
         },
         0, {LogLine(6, "Overflow", "elparm2()")}, false, true},
        // Pairs 1 and 2 alike: K₂ = 1 in the circle's centre.
        {"equal ratios of two pairs",
         [](CellVolts& v) {
             for (auto& block : v) {
                 block[4] = block[2];
                 block[5] = block[3];
             }
         },
         0, {LogLine(11, "Division by zero", "elparm2()")}, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CellVolts volts = Blocks(CellLevels(truth));
        c.change(volts);
        CalibrationHarness h;
        const Elec2M before2M{1, 2, 3, 4};
        const Elec5k before5k{5, 6, 7, 8};
        h.normalize.Results().elec2M = before2M;
        h.normalize.Results().elec5k = before5k;
        h.write(h.charFile(QStringLiteral("Ecell_SN.txt")), ElectricalCellFileText(volts));

        EXPECT_EQ(h.normalize.NormElecricalCell(h.charFile(QStringLiteral("Ecell_SN.txt"))), c.status);
        EXPECT_EQ(h.errorLog(), c.logged);
        const NormResults& r = h.normalize.Results();
        EXPECT_EQ(r.elec2M.Ek2M != before2M.Ek2M, c.elec2MWritten);
        EXPECT_EQ(r.elec2M.EVo2M != before2M.EVo2M, c.elec2MWritten);
        EXPECT_EQ(r.elec5k.Ek5k != before5k.Ek5k, c.elec5kWritten);
        if (c.elec2MWritten) {
            EXPECT_NEAR(r.elec2M.Ek2M, truth.gain2M, 0.01);
        }
    }
}

TEST(NormElecricalCell, FilesThatCannotBeReadStopBeforeAnyAnalysis) {
    const QString good = ElectricalCellFileText(Blocks(CellLevels(ElectricalTruth{})));
    const QStringList lines = good.split(QStringLiteral("\r\n"));
    const auto withLine = [&lines](int index, const QString& line) {
        QStringList changed = lines;
        changed[index] = line;
        return changed.join(QStringLiteral("\r\n"));
    };
    const struct {
        const char* name;
        QString text;
        QString logged;
    } cases[] = {
        {"count that is not a number", withLine(30, QStringLiteral("ALL_CELL5, 12.5.1")), LogLine(13, "Type mismatch", "NormElecricalCell()")},
        {"line without a count", withLine(3, QStringLiteral("ALL_CELL2")), LogLine(9, "Subscript out of range", "NormElecricalCell()")},
        {"count beyond an integer", withLine(1, QStringLiteral("ALL_CELL0, 1e10")), LogLine(6, "Overflow", "NormElecricalCell()")},
        {"too few lines", lines.mid(0, 100).join(QStringLiteral("\r\n")), LogLine(9, "Subscript out of range", "NormElecricalCell()")},
        {"magnitude check fails", withLine(2, QStringLiteral("ALL_CELL1, 24999")),
         QStringLiteral("Err 8, 2MHz Oscillator Amplitude too Low, AllCellMagnitudeCheck(), 2026FEB03, 17:14:09")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CalibrationHarness h;
        h.write(h.charFile(QStringLiteral("Ecell_SN.txt")), c.text);
        EXPECT_EQ(h.normalize.NormElecricalCell(h.charFile(QStringLiteral("Ecell_SN.txt"))), 0);
        EXPECT_EQ(h.errorLog(), QStringList{c.logged});
        EXPECT_EQ(h.normalize.Results().elec2M.Ek2M, 0);
        EXPECT_EQ(h.normalize.Results().elec5k.Ek5k, 0);
    }

    CalibrationHarness h;
    EXPECT_EQ(h.normalize.NormElecricalCell(h.charFile(QStringLiteral("Ecell_SN.txt"))), 2);
    EXPECT_EQ(h.errorLog(), QStringList{LogLine(53, "File not found", "OpenFile()")});
}

}  // namespace
}  // namespace orvix::test
