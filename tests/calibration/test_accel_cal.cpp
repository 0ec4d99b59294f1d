#include "calibration/AccelCal.h"
#include "calibration/CalibrationFiles.h"
#include "calibration/CalibrationHarness.h"
#include "calibration/CharacterisationGenerator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvix::test {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// An accelerometer file whose three positions each hold 30 copies of one
// reading.
QString AccelText(const std::array<QString, 3>& headers, const std::array<Vector3, 3>& readings) {
    QString text;
    for (int n = 0; n < 3; ++n) {
        text += headers[n] + kCrLf;
        for (int i = 1; i <= 30; ++i) {
            text += QString::number(i);
            for (double v : readings[n]) text += QStringLiteral(", ") + QString::number(v, 'g', 17);
            text += kCrLf;
        }
        text += kCrLf;
    }
    return text + kCrLf;
}

TEST(AccelCalibrate, ReadingsMadeFromTheStartVectorNeedNoIteration) {
    const AccelTruth positions;  // (0,0,0), (π/2,0,0), (0,−π/2,0)
    const Matrix3 Q = OrientationMatrix(1.570796, 0, 0);
    std::array<Vector3, 3> readings{};
    for (int n = 0; n < 3; ++n) {
        const QStringList h = positions.positions[n].split(QLatin1Char(','));
        const Vector3 X = OrientationMatrix(h[0].toDouble(), h[1].toDouble(), h[2].toDouble())[2];
        for (int j = 0; j < 3; ++j) readings[n][j] = 1000 * (Q[0][j] * X[0] + Q[1][j] * X[1] + Q[2][j] * X[2]);
    }
    const AccelerometerFile file = ReadAccelerometerFile(AccelText(positions.positions, readings));

    AccelCal cal;
    AccResult r;
    LMTrace trace;
    cal.AccelCalibrate(file.Readings, r, file.Angles, &trace);

    EXPECT_TRUE(trace.empty());
    EXPECT_DOUBLE_EQ(r.AccAa, 0.001);
    EXPECT_EQ(r.AccAb, 0);
    EXPECT_EQ(r.AccAc, 0);
    EXPECT_EQ(r.AccAd, 0);
    EXPECT_EQ(r.AccBa, 0);
    EXPECT_NEAR(r.AccBb, 3.268e-10, 1e-13);
    EXPECT_NEAR(r.AccBc, -0.001, 1e-15);
    EXPECT_EQ(r.AccBd, 0);
    EXPECT_NEAR(r.Theta, 90.0000135, 1e-7);  // degrees, with the factor 57.2958
    EXPECT_EQ(r.Rho, 0);
    EXPECT_EQ(r.Psi, 0);

    // Gravity straight down Z when flat; along Y on the side (1.570796 is
    // π/2 to seven digits only).
    const auto& X = cal.ReferenceDirections();
    EXPECT_EQ(X[0], (Vector3{0, 0, 1}));
    EXPECT_NEAR(X[1][0], 0, 1e-6);
    EXPECT_NEAR(X[1][1], 1, 1e-6);
    EXPECT_NEAR(X[1][2], 0, 1e-6);
}

TEST(AccelCalibrate, IdenticalSamplesAverageToThemselves) {
    const AccelerometerFile file = ReadAccelerometerFile(AccelText(
        AccelTruth{}.positions, {Vector3{1021, -3, 7}, Vector3{-12, 987, 4}, Vector3{5, 14, -1003}}));
    AccelCal cal;
    AccResult r;
    cal.AccelCalibrate(file.Readings, r, file.Angles);
    EXPECT_EQ(cal.MeanReadings()[0], (Vector3{1021, -3, 7}));
    EXPECT_EQ(cal.MeanReadings()[2], (Vector3{5, 14, -1003}));
}

TEST(NormAccelerometer, BadFilesGiveOneReportAndLeaveTheResultAlone) {
    const QString good = GenerateCharacterisation(CharacterisationTruth{}).accelerometer;
    QStringList goodLines = good.split(kCrLf);
    const auto withLine = [&goodLines](int index, const QString& line) {
        QStringList lines = goodLines;
        lines[index] = line;
        return lines.join(kCrLf);
    };
    const struct {
        const char* name;
        QString text;
        QString logged;
    } cases[] = {
        {"header with two fields", withLine(0, QStringLiteral("0, 0")), LogLine(9, "Subscript out of range", "NormAccelerometer()")},
        {"data line with three fields", withLine(2, QStringLiteral("2, 1, 2")), LogLine(9, "Subscript out of range", "NormAccelerometer()")},
        {"field that is not a number", withLine(3, QStringLiteral("3, 12a, 0, 1000")), LogLine(13, "Type mismatch", "NormAccelerometer()")},
        {"angle beyond double range", withLine(32, QStringLiteral("1e400, 0, 0, x")), LogLine(6, "Overflow", "NormAccelerometer()")},
        {"two empty lines before a header", withLine(31, kCrLf), LogLine(9, "Subscript out of range", "NormAccelerometer()")},
        {"too few lines", goodLines.mid(0, 40).join(kCrLf), LogLine(9, "Subscript out of range", "NormAccelerometer()")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CalibrationHarness h;
        h.normalize.Results().acc.Theta = 42;
        h.write(h.charFile(QStringLiteral("Accel_SN.txt")), c.text);
        EXPECT_FALSE(h.normalize.NormAccelerometer(h.charFile(QStringLiteral("Accel_SN.txt"))));
        EXPECT_EQ(h.errorLog(), QStringList{c.logged});
        EXPECT_EQ(h.normalize.Results().acc.Theta, 42);
    }

    CalibrationHarness h;
    EXPECT_FALSE(h.normalize.NormAccelerometer(h.charFile(QStringLiteral("missing.txt"))));
    EXPECT_EQ(h.errorLog(), QStringList{LogLine(53, "File not found", "OpenFile()")});
}

}  // namespace
}  // namespace orvix::test
