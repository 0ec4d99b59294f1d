#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace orvix::sim {

// How one accelerometer axis turns acceleration into converter counts.
struct AxisResponse {
    double countsPerG = 1024.0;
    double offsetCounts = 0.0;
};

// How the electrical cell's converter answers at one excitation frequency:
// counts = offset + gain × the reference level of the channel.
struct CellResponse {
    double offsetCounts = 0.0;
    double gain = 1.0;
};

// The physical instrument the simulated readings come from. Every reading is
// computed from these values, so a test (or a characterisation run in the
// demo) can set a known truth and check that the program recovers it.
struct SensorTruth {
    // Accelerometer: X, Y, Z in the instrument's body frame.
    std::array<AxisResponse, 3> accelerometer{{{1024.0, 14.0}, {1008.0, -22.0}, {1041.0, 9.0}}};
    // Gravity as the body frame sees it, in g; lying flat it points down Z.
    std::array<double, 3> gravityG{0.0, 0.0, 1.0};

    // Load cell: the bridge output over its excitation rises with the mass.
    double loadCellExcitationCounts = 40000.0;
    double loadCellZeroRatio = 0.05;
    double loadCellGramsPerRatio = 2000.0;  // grams that raise the ratio by 1
    double loadCellMassGrams = 0.0;

    // Electrical cell: channels 0–10 are read at 2 MHz, 11–21 at 5 kHz.
    CellResponse cell2MHz{1180.0, 0.962};
    CellResponse cell5kHz{835.0, 1.043};

    // Temperature sensors 0–3: cell, unit, ambient, grain fill.
    std::array<double, 4> temperaturesC{22.5, 24.1, 21.0, 21.8};

    double batteryVolts = 6.15;
    double vppVolts = 12.0;
    int boardRevision = 3;

    // The results of the last measurement.
    std::array<std::int16_t, 4> cellDifferences{1234, 2410, 987, 3051};
    double sampleMassGrams = 251.0;
    double moisturePercent = 13.4;
    double testWeight = 76.8;
};

constexpr int kCellChannels = 22;

// Signed converter counts of the three axes.
std::array<std::int16_t, 3> AccelerometerCounts(const SensorTruth& truth);
// How level the instrument stands, 1024 meaning level: the share of gravity
// along Z, scaled by 1024.
std::int16_t LevelCounts(const SensorTruth& truth);

struct LoadCellCounts {
    std::uint16_t output = 0;
    std::uint16_t excitation = 0;
};
LoadCellCounts ReadLoadCell(const SensorTruth& truth);

// Nothing for a channel the cell does not have.
std::optional<std::uint16_t> CellAdcCounts(const SensorTruth& truth, int channel);

// Tenths of a degree; sensors beyond the four read like the ambient one.
std::int16_t TemperatureTenths(const SensorTruth& truth, int sensor);

// One analogue channel as the instrument reports it: a value type and the
// value in that type's unit.
struct AnalogReading {
    std::uint8_t type = 0;
    std::int16_t value = 0;
};
// Channels 0 cell temperature, 1 battery, 2 Vpp, 3 board revision, 4 unit
// temperature; nothing for any other channel.
std::optional<AnalogReading> ReadAnalogChannel(const SensorTruth& truth, int channel);

// D1–D4, mass, level, moisture and test weight in reply units.
std::array<std::int16_t, 8> MeasuredValues(const SensorTruth& truth);

}  // namespace orvix::sim
