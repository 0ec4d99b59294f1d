#pragma once

#include "calibration/AccelCal.h"
#include "calibration/ElectricalCal.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

// Readers of the four characterisation files, the limits file and the
// constants template, working on text already read from disk. Every number
// field must be a number and nothing else (run-time error 13); a missing line
// or field is run-time error 9. Nothing here logs: the caller reports.
namespace orvix {

// Lines of a text whose lines end with CR LF, read the way the
// characterisation files were written.
class LineCursor {
public:
    explicit LineCursor(QStringView text) : m_text(text) {}

    // The next line; "" past the end.
    QString next();
    // The next line, or the one after it when the next is empty: one empty
    // line separates the blocks, and only one is skipped.
    QString nextHeader();
    // True when the line just read ended the text.
    bool atEnd() const { return m_atEnd; }

private:
    QStringView m_text;
    qsizetype m_position = 1;
    bool m_atEnd = false;
};

// Lines of a text written by hand: CR LF, LF or CR end a line; a line end
// after the last line adds no empty line.
QStringList SplitAnyLineEnds(QStringView text);

// A number that must fit a single-precision value (error 6 otherwise).
float ToSingle(double value);

struct AccelerometerFile {
    AccelAngles Angles{};
    AccelReadings Readings{};
};
AccelerometerFile ReadAccelerometerFile(QStringView text);

constexpr int kLoadCellSamples = 30;
struct LoadCellBlock {
    double header = 0;  // the total mass of the block's step
    // Fields 1, 2, 3 of each data line: sample number, output, excitation.
    std::array<std::array<double, 3>, kLoadCellSamples> samples{};
};
using LoadCellFile = std::array<LoadCellBlock, 2>;
LoadCellFile ReadLoadCellFile(QStringView text);

struct LoadCellReduction {
    double Ldk = 0;
    double LdECW = 0;
};
// Exactly one block must be empty (header <= 0) and one loaded (header > 0),
// or the mass step is unknown: run-time error 5.
LoadCellReduction ReduceLoadCell(const LoadCellFile& file);

struct ElectricalCellFile {
    CellVolts Volts{};
    CellCounts Counts{};
};
ElectricalCellFile ReadElectricalCellFile(QStringView text);

struct TemperatureFile {
    std::array<double, 3> T{};
    int count = 0;  // 2 or 3
};
// Fewer than two readings is run-time error 9: a bias needs two of them.
TemperatureFile ReadTemperatureFile(QStringView text);

struct NormLimit {
    bool present = false;
    float minimum = 0;
    float maximum = 0;
    QString name;
};
constexpr int kNormLimitCount = 10;
using NormLimitTable = std::array<NormLimit, kNormLimitCount>;
// "Theta", "Rho", "Psi", "Ldk", "TBias", "TuBias", "Ek2M", "EVo2M", "Ek5k", "EVo5k".
const std::array<QString, kNormLimitCount>& NormLimitNames();
// Clears every present flag, then takes each line of three fields whose
// first field is one of the names; a later line wins.
void ReadNormLimits(QStringView text, NormLimitTable& table);

// The "key=value" lines of the constants template as they go into the
// normalisation file, each ended by CR LF. Blank lines are skipped; a line
// without a value is run-time error 9.
QString TemplateLines(QStringView text);

}  // namespace orvix
