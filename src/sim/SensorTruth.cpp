#include "sim/SensorTruth.h"

#include <algorithm>
#include <cmath>

namespace orvix::sim {

namespace {

constexpr int kChannelsPerFrequency = kCellChannels / 2;
// The reference each cell channel reads, in ideal converter counts: the
// channels of one frequency step through the converter's range.
constexpr double kFirstReferenceLevel = 2000.0;
constexpr double kReferenceLevelStep = 5500.0;

std::int16_t ToSigned16(double value) {
    const double rounded = std::round(value);
    if (!std::isfinite(rounded)) return 0;
    return static_cast<std::int16_t>(std::clamp(rounded, -32768.0, 32767.0));
}

std::uint16_t ToUnsigned16(double value) {
    const double rounded = std::round(value);
    if (!std::isfinite(rounded)) return 0;
    return static_cast<std::uint16_t>(std::clamp(rounded, 0.0, 65535.0));
}

}  // namespace

std::array<std::int16_t, 3> AccelerometerCounts(const SensorTruth& truth) {
    std::array<std::int16_t, 3> counts{};
    for (std::size_t axis = 0; axis < counts.size(); ++axis) {
        const AxisResponse& response = truth.accelerometer[axis];
        counts[axis] = ToSigned16(response.offsetCounts + response.countsPerG * truth.gravityG[axis]);
    }
    return counts;
}

std::int16_t LevelCounts(const SensorTruth& truth) {
    const auto& g = truth.gravityG;
    const double magnitude = std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
    if (magnitude <= 0.0) return 0;
    return ToSigned16(1024.0 * g[2] / magnitude);
}

LoadCellCounts ReadLoadCell(const SensorTruth& truth) {
    const double ratio = truth.loadCellZeroRatio + truth.loadCellMassGrams / truth.loadCellGramsPerRatio;
    return {ToUnsigned16(truth.loadCellExcitationCounts * ratio),
            ToUnsigned16(truth.loadCellExcitationCounts)};
}

std::optional<std::uint16_t> CellAdcCounts(const SensorTruth& truth, int channel) {
    if (channel < 0 || channel >= kCellChannels) return std::nullopt;
    const CellResponse& response = channel < kChannelsPerFrequency ? truth.cell2MHz : truth.cell5kHz;
    const double level = kFirstReferenceLevel + kReferenceLevelStep * (channel % kChannelsPerFrequency);
    return ToUnsigned16(response.offsetCounts + response.gain * level);
}

std::int16_t TemperatureTenths(const SensorTruth& truth, int sensor) {
    constexpr int kAmbient = 2;
    const int index = sensor >= 0 && sensor < static_cast<int>(truth.temperaturesC.size()) ? sensor : kAmbient;
    return ToSigned16(truth.temperaturesC[static_cast<std::size_t>(index)] * 10.0);
}

std::optional<AnalogReading> ReadAnalogChannel(const SensorTruth& truth, int channel) {
    // The value types name the unit the PC scales by: tenths of a degree,
    // 1/1024 volt, or a plain integer.
    switch (channel) {
    case 0: return AnalogReading{0, TemperatureTenths(truth, 0)};
    case 1: return AnalogReading{1, ToSigned16(truth.batteryVolts * 1024.0)};
    case 2: return AnalogReading{2, ToSigned16(truth.vppVolts * 1024.0)};
    case 3: return AnalogReading{3, ToSigned16(truth.boardRevision)};
    case 4: return AnalogReading{4, TemperatureTenths(truth, 1)};
    default: return std::nullopt;
    }
}

std::array<std::int16_t, 8> MeasuredValues(const SensorTruth& truth) {
    return {truth.cellDifferences[0],
            truth.cellDifferences[1],
            truth.cellDifferences[2],
            truth.cellDifferences[3],
            ToSigned16(truth.sampleMassGrams),
            LevelCounts(truth),
            ToSigned16(truth.moisturePercent * 10.0),
            ToSigned16(truth.testWeight * 10.0)};
}

}  // namespace orvix::sim
