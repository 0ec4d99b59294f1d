#include "calibration/CharacterisationGenerator.h"

#include "common/Numbers.h"
#include "common/TextFields.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <random>

namespace orvix::test {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr double kTwoPi = 6.283185307179586;

// Gaussian noise from a seeded engine with a fixed transform, so the same
// seed gives the same files with any standard library.
class Noise {
public:
    Noise(double sigma, std::uint64_t seed) : m_sigma(sigma), m_engine(seed) {}

    double next() {
        if (m_sigma == 0) return 0;
        const double u1 = (static_cast<double>(m_engine() >> 11) + 1.0) / 9007199254740993.0;
        const double u2 = static_cast<double>(m_engine() >> 11) / 9007199254740992.0;
        return m_sigma * std::sqrt(-2.0 * std::log(u1)) * std::cos(kTwoPi * u2);
    }

private:
    double m_sigma;
    std::mt19937_64 m_engine;
};

long long Rounded(double value, double low, double high) {
    return static_cast<long long>(std::clamp(std::round(value), low, high));
}

QString Number(long long value) { return QString::number(value); }

std::array<double, 3> HeaderAngles(const QString& header) {
    const QStringList fields = SplitFields(header, QStringLiteral(","));
    return {StrictNumber(Field(fields, 1)), StrictNumber(Field(fields, 2)), StrictNumber(Field(fields, 3))};
}

QString AccelerometerText(const AccelTruth& truth, Noise& noise) {
    const Matrix3 Q = OrientationMatrix(truth.theta, truth.rho, truth.psi);
    QString text;
    for (const QString& header : truth.positions) {
        const auto angles = HeaderAngles(header);
        const Vector3 X = OrientationMatrix(angles[0], angles[1], angles[2])[2];
        // The calibrated reading that reproduces gravity is Qᵀ·X; undo the
        // gain and offset to get the raw counts.
        std::array<double, 3> raw{};
        for (int j = 0; j < 3; ++j) {
            double a = 0;
            for (int i = 0; i < 3; ++i) a += Q[i][j] * X[i];
            raw[j] = a / (truth.gain[j] * 0.001) + 10 * truth.offset[j];
        }
        text += header + kCrLf;
        for (int i = 1; i <= 30; ++i) {
            text += Number(i);
            for (double value : raw) text += QStringLiteral(", ") + Number(Rounded(value + noise.next(), -32768, 32767));
            text += kCrLf;
        }
        text += kCrLf;
    }
    return text + kCrLf;
}

QString LoadCellBlockText(float mass, double ratio, const LoadCellTruth& truth, Noise& noise) {
    QString text = SingleGeneral(mass) + QStringLiteral(", LoadCellOut, LoadCellIn") + kCrLf;
    for (int i = 1; i <= 30; ++i) {
        const long long in = Rounded(truth.excitationCounts + noise.next(), 0, 65535);
        const long long out = Rounded(truth.excitationCounts * ratio + noise.next(), 0, 65535);
        text += Number(i) + QStringLiteral(", ") + Number(out) + QStringLiteral(", ") + Number(in) + kCrLf;
    }
    return text;
}

QString LoadCellText(const LoadCellTruth& truth, Noise& noise) {
    const QString empty = LoadCellBlockText(0, truth.emptyRatio, truth, noise);
    const QString loaded =
        LoadCellBlockText(truth.massGrams, truth.emptyRatio + truth.massGrams / truth.gramsPerRatio, truth, noise);
    return (truth.loadedBlockFirst ? loaded : empty) + kCrLf + (truth.loadedBlockFirst ? empty : loaded) + kCrLf;
}

QString ElectricalText(const ElectricalTruth& truth, Noise& noise) {
    const auto levels = CellLevels(truth);
    QString text;
    for (int run = 1; run <= kCellBlocks; ++run) {
        text += QStringLiteral("Run") + Number(run) + QStringLiteral(", ADC") + kCrLf;
        for (int channel = 0; channel < kCellLines; ++channel) {
            const double counts = VoltsToCounts(levels[static_cast<std::size_t>(channel)]) + noise.next();
            text += QStringLiteral("ALL_CELL") + Number(channel) + QStringLiteral(", ") +
                    Number(Rounded(counts, 0, 65535)) + kCrLf;
        }
        text += kCrLf;
    }
    return text + kCrLf;
}

QString TemperatureText(const TemperatureTruth& truth) {
    const QString pattern = QStringLiteral("###0.0");
    QString text = QStringLiteral("Tcell, ") + FormatNumber(truth.cell, pattern) + kCrLf;
    text += QStringLiteral("Tamb, ") + FormatNumber(truth.grain, pattern);
    if (truth.withUnitLine) text += kCrLf + QStringLiteral("Tunit, ") + FormatNumber(truth.unit, pattern);
    return text + kCrLf;
}

void WriteText(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(text.toLatin1());
}

}  // namespace

std::array<double, kCellLines> CellLevels(const ElectricalTruth& truth) {
    std::array<double, kCellLines> volts{};
    const AdmittancePoint Y = TrueAdmittance(truth);
    for (int x = 0; x < kCellPairs; ++x) {
        const AdmittancePoint& R = RefPoints()[static_cast<std::size_t>(x)];
        const double distance = std::hypot(Y.u - R.u, Y.w - R.w);
        // The pair ratio falls with the distance from the cell's admittance
        // to the pair's reference point.
        const double t = truth.gain2M * 0.0001 / distance;
        const double Q = truth.referenceLevels[static_cast<std::size_t>(x)];
        volts[static_cast<std::size_t>(2 * x)] = truth.offset2M + t * (Q - truth.offset2M);
        volts[static_cast<std::size_t>(2 * x + 1)] = Q;
    }
    constexpr double kK1 = 0.500188877003;
    constexpr double kK2 = 0.060771838367;
    const double x = truth.offset5k;
    volts[16] = x + truth.gain5k * kK1 * (truth.level17 - x);
    volts[17] = truth.level17;
    volts[18] = CountsToVolts(truth.loadCellOutputCounts);
    volts[19] = CountsToVolts(truth.loadCellPowerCounts);
    volts[20] = x + truth.gain5k * kK2 * (truth.level21 - x);
    volts[21] = truth.level21;
    return volts;
}

QString ElectricalCellFileText(const CellVolts& volts) {
    QString text;
    for (int run = 1; run <= kCellBlocks; ++run) {
        text += QStringLiteral("Run") + Number(run) + QStringLiteral(", ADC") + kCrLf;
        for (int channel = 0; channel < kCellLines; ++channel) {
            const double counts = VoltsToCounts(volts[static_cast<std::size_t>(run - 1)][static_cast<std::size_t>(channel)]);
            text += QStringLiteral("ALL_CELL") + Number(channel) + QStringLiteral(", ") + Number(Rounded(counts, 0, 65535)) + kCrLf;
        }
        text += kCrLf;
    }
    return text + kCrLf;
}

AdmittancePoint TrueAdmittance(const ElectricalTruth& truth) {
    return {truth.capacitancePF * 1e-12 * (2 * (2000000 * 3.14159)), 1 / truth.resistanceOhm};
}

CharacterisationTexts GenerateCharacterisation(const CharacterisationTruth& truth) {
    Noise noise(truth.noiseCounts, truth.seed);
    CharacterisationTexts texts;
    texts.accelerometer = AccelerometerText(truth.accel, noise);
    texts.loadCell = LoadCellText(truth.loadCell, noise);
    texts.electricalCell = ElectricalText(truth.electrical, noise);
    texts.temperature = TemperatureText(truth.temperature);
    return texts;
}

void WriteCharacterisationFiles(const QString& folder, const QString& serial, const CharacterisationTruth& truth) {
    const CharacterisationTexts texts = GenerateCharacterisation(truth);
    const QDir dir(folder);
    const QString name = serial + QStringLiteral(".txt");
    WriteText(dir.filePath(QStringLiteral("Accel_SN") + name), texts.accelerometer);
    WriteText(dir.filePath(QStringLiteral("Lcell_SN") + name), texts.loadCell);
    WriteText(dir.filePath(QStringLiteral("Ecell_SN") + name), texts.electricalCell);
    WriteText(dir.filePath(QStringLiteral("Temp_SN") + name), texts.temperature);
}

ExpectedConstants ExpectedFromTruth(const CharacterisationTruth& truth) {
    ExpectedConstants expected;
    const AccelTruth& a = truth.accel;
    const Matrix3 Q = OrientationMatrix(a.theta, a.rho, a.psi);
    AccResult& acc = expected.acc;
    acc.AccAa = a.gain[0] * Q[0][0] * 0.001;
    acc.AccAb = Q[0][1] * a.gain[1] * 0.001;
    acc.AccAc = Q[0][2] * a.gain[2] * 0.001;
    acc.AccAd = (acc.AccAb * a.offset[1] + acc.AccAa * a.offset[0] + acc.AccAc * a.offset[2]) * 10;
    acc.AccBa = Q[1][0] * a.gain[0] * 0.001;
    acc.AccBb = Q[1][1] * a.gain[1] * 0.001;
    acc.AccBc = Q[1][2] * a.gain[2] * 0.001;
    acc.AccBd = (acc.AccBb * a.offset[1] + acc.AccBa * a.offset[0] + acc.AccBc * a.offset[2]) * 10;
    acc.Theta = a.theta * 57.2958;
    acc.Rho = a.rho * 57.2958;
    acc.Psi = a.psi * 57.2958;

    expected.Ldk = truth.loadCell.gramsPerRatio;
    expected.LdECW = truth.loadCell.emptyRatio;

    // The file holds the temperatures to one decimal.
    const auto tenth = [](double t) { return std::round(t * 10) / 10; };
    const TemperatureTruth& t = truth.temperature;
    expected.TBias = tenth(t.grain) - tenth(t.cell);
    expected.TuBias = t.withUnitLine ? tenth(t.grain) - tenth(t.unit) : 0.0;

    const ElectricalTruth& e = truth.electrical;
    expected.elec2M = {VoltsToCounts(e.offset2M), e.gain2M, e.capacitancePF, e.resistanceOhm};
    expected.elec5k = {VoltsToCounts(e.offset5k), e.gain5k, 101.218627730655, 10010.13211836};
    return expected;
}

}  // namespace orvix::test
