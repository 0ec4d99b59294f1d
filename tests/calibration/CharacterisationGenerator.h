#pragma once

#include "calibration/AccelCal.h"
#include "calibration/ElectricalCal.h"

#include <QString>

#include <array>
#include <cstdint>

// Writes the four characterisation files of an instrument whose sensors are
// known exactly, so a test can check that the reduction gives the truth back.
namespace orvix::test {

struct AccelTruth {
    // Mounting angles θ, ρ, ψ in radians.
    double theta = 1.62;
    double rho = 0.05;
    double psi = -0.04;
    // A raw count is worth gain · 0.001 g.
    std::array<double, 3> gain{0.977, 1.015, 0.962};
    // In units of 10 raw counts.
    std::array<double, 3> offset{1.4, -2.2, 0.9};
    // The header lines of the three positions: θ, ρ, ψ of the position in
    // radians, then the operator's instruction.
    std::array<QString, 3> positions{
        QStringLiteral("0, 0, 0, Lay the Unit Flat on the Bench"),
        QStringLiteral("1.570796, 0, 0, Stand the Unit on its Left Side"),
        QStringLiteral("0, -1.570796, 0, Stand the Unit on its Back"),
    };
};

struct LoadCellTruth {
    double excitationCounts = 40000;  // LoadCellIn
    double emptyRatio = 0.05;         // output / excitation with the cell empty
    double gramsPerRatio = 2000;      // what Ldk should come out as
    float massGrams = 500;
    bool loadedBlockFirst = false;  // the collection always records the empty cell first
};

struct ElectricalTruth {
    // 2 MHz: the chain's offset (volts at the converter), the gain figure
    // Ek2M and the cell's own capacitance and resistance.
    double offset2M = 1.3;
    double gain2M = 2.0;
    double capacitancePF = 28.65;
    double resistanceOhm = 10000;
    // The odd line of each 2 MHz pair: the reference level, in volts.
    std::array<double, kCellPairs> referenceLevels{3.30, 3.31, 3.29, 3.30, 3.32, 3.28, 3.30, 3.31};
    // 5 kHz: offset (volts), gain, and the levels of lines 17 and 21.
    double offset5k = 1.3;
    double gain5k = 1.0;
    double level17 = 3.3;
    double level21 = 3.25;
    // Lines 18 and 19, only looked at by the magnitude check.
    double loadCellOutputCounts = 8000;
    double loadCellPowerCounts = 50000;
};

struct TemperatureTruth {
    double cell = 22.5;   // Tcell
    double grain = 24.0;  // Tamb, as the operator typed it
    double unit = 25.1;   // Tunit
    bool withUnitLine = true;
};

struct CharacterisationTruth {
    AccelTruth accel;
    LoadCellTruth loadCell;
    ElectricalTruth electrical;
    TemperatureTruth temperature;
    // Standard deviation of the noise added to every converter reading, in
    // counts; 0 leaves only the rounding to whole counts.
    double noiseCounts = 0;
    std::uint64_t seed = 1;
};

// The files' exact text, CR LF line ends and the final CR LF included.
struct CharacterisationTexts {
    QString accelerometer;
    QString loadCell;
    QString electricalCell;
    QString temperature;
};
CharacterisationTexts GenerateCharacterisation(const CharacterisationTruth& truth);

// The electrical cell file of given line levels (volts, rounded to whole
// converter counts), for fixtures that no healthy cell would produce.
QString ElectricalCellFileText(const CellVolts& volts);
// The line levels of one block of the truth's cell, without noise.
std::array<double, kCellLines> CellLevels(const ElectricalTruth& truth);

// "Accel_SN" + serial + ".txt" and the three others, in folder.
void WriteCharacterisationFiles(const QString& folder, const QString& serial, const CharacterisationTruth& truth);

// The constants a perfect reduction of the truth gives.
struct ExpectedConstants {
    AccResult acc;
    double Ldk = 0;
    double LdECW = 0;
    double TBias = 0;
    double TuBias = 0;
    Elec2M elec2M;
    Elec5k elec5k;
};
ExpectedConstants ExpectedFromTruth(const CharacterisationTruth& truth);

// The admittance point of the truth's cell at 2 MHz.
AdmittancePoint TrueAdmittance(const ElectricalTruth& truth);

}  // namespace orvix::test
