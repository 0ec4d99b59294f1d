#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

// Module Electrical_Cal: the measuring chain's offset and gain at 2 MHz and
// 5 kHz, and the cell's own admittance at 2 MHz, from the converter levels
// recorded with known reference loads switched in.
namespace orvix {

constexpr int kCellBlocks = 5;
constexpr int kCellLines = 22;
constexpr int kCellPairs = 8;
constexpr int kPairSets = 5;
constexpr int kOffsetRows = kCellBlocks * kPairSets;

// Volts(n, j): line j of block n as volts at the converter input.
using CellVolts = std::array<std::array<double, kCellLines>, kCellBlocks>;
// The raw counts of block 0, the only block the magnitude check looks at.
using CellCounts = std::array<std::int32_t, kCellLines>;

struct Elec2M {
    double EVo2M = 0;  // offset, converter counts
    double Ek2M = 0;   // gain constant
    double Capacitance = 0;  // pF
    double Resistance = 0;   // ohms
};

struct Elec5k {
    double EVo5k = 0;
    double Ek5k = 0;
    double Capacitance = 0;
    double Resistance = 0;
};

// A point of the admittance plane: u susceptance, w conductance (siemens).
struct AdmittancePoint {
    double u = 0;
    double w = 0;
};

struct Circle {
    double u = 0;
    double w = 0;
    double r = 0;
};

// The eight 2 MHz pairs of one block: P the even line, Q the odd one.
struct PairLevels {
    std::array<double, kCellPairs> P{};
    std::array<double, kCellPairs> Q{};
};

struct OffsetRow {
    AdmittancePoint Y;
    double offset = 0;
    double k = 0;
};
using OffsetRows = std::array<OffsetRow, kOffsetRows>;

struct Location {
    AdmittancePoint Y;
    double k = 0;
};

// The value EvalOffsetError gives when the circles do not meet.
constexpr double kNoIntersectionError = 10;

// Counts → volts at the converter input: count · 2.5 / 65535 + 1.25.
double CountsToVolts(double count);
// Volts → converter counts: (v − 1.25) · 65535 / 2.5.
double VoltsToCounts(double volts);

// The application error code of the first magnitude check that fails, or 0
// when every check passes.
int FirstMagnitudeFault(const CellCounts& C);

PairLevels BlockPairs(const CellVolts& Volts, int n);
const std::array<AdmittancePoint, kCellPairs>& RefPoints();
const std::array<std::array<int, 4>, kPairSets>& PairSets();

// (P − o) / (Q − o) of pair x.
double PairRatio(const PairLevels& block, int x, double o);

// (0, 0) when the circles do not meet.
AdmittancePoint IntersectCircles(const Circle& first, const Circle& second);
// Nothing when the circles do not meet.
std::optional<Location> LocateAdmittance(const PairLevels& block, int a, int b, int c, double o);
double EvalOffsetError(const PairLevels& block, int a, int b, int c, int d, double o);
// Golden section over a bracket, always 15 updates.
double GoldenSearchOffset(double ax, double bx, double cx, const std::function<double(double)>& E);
OffsetRows FitOffsets2M(const CellVolts& Volts);

// The analyses write their record field by field in its declared order, so a
// fault part-way leaves the later fields as they were. Floating-point faults
// are run-time errors (11, 6, 5).
void ElecParams2M(const CellVolts& Volts, Elec2M& result);
void ElecParams5k(const CellVolts& Volts, Elec5k& result);

}  // namespace orvix
