// Feeds arbitrary bytes, decoded as a file on disk would be, to every reader
// of the characterisation: the four data files, the limits file and the
// constants template, and runs each reduction on whatever a reader accepts.
// Failures must be the program's own run-time errors; a result that is not
// a finite number aborts, so a silent inf/NaN counts as a crash too.
#include "calibration/AccelCal.h"
#include "calibration/CalibrationFiles.h"
#include "calibration/ElectricalCal.h"
#include "common/VbError.h"
#include "files/FileComIO.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>

namespace {

using namespace orvix;

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckFinite(std::initializer_list<double> values) {
    for (double v : values) Check(std::isfinite(v));
}

// Runs one reader and its reduction; the program's own errors are expected.
void Attempt(const std::function<void()>& step) {
    try {
        step();
    } catch (const VbError& error) {
        Check(error.number() != 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = FileComIO::DecodeFileBytes(bytes);

    Attempt([&] {
        const AccelerometerFile file = ReadAccelerometerFile(text);
        AccelCal cal;
        AccResult r;
        cal.AccelCalibrate(file.Readings, r, file.Angles);
        CheckFinite({r.Theta, r.Rho, r.Psi, r.AccAa, r.AccAb, r.AccAc, r.AccAd, r.AccBa, r.AccBb, r.AccBc, r.AccBd});
    });
    Attempt([&] {
        const LoadCellReduction r = ReduceLoadCell(ReadLoadCellFile(text));
        CheckFinite({r.Ldk, r.LdECW});
    });
    Attempt([&] {
        const ElectricalCellFile file = ReadElectricalCellFile(text);
        const int fault = FirstMagnitudeFault(file.Counts);
        Check(fault == 0 || (fault >= 18 && fault <= 27));
        // The analyses run even when a check failed: they must cope with any
        // levels, not only plausible ones.
        Attempt([&] {
            Elec2M r;
            ElecParams2M(file.Volts, r);
            CheckFinite({r.EVo2M, r.Ek2M, r.Capacitance, r.Resistance});
        });
        Attempt([&] {
            Elec5k r;
            ElecParams5k(file.Volts, r);
            CheckFinite({r.EVo5k, r.Ek5k});
        });
    });
    Attempt([&] {
        const TemperatureFile file = ReadTemperatureFile(text);
        Check(file.count == 2 || file.count == 3);
        CheckFinite({file.T[0], file.T[1], file.T[2]});
    });
    Attempt([&] {
        NormLimitTable table;
        ReadNormLimits(text, table);
        for (const NormLimit& limit : table)
            if (limit.present) CheckFinite({limit.minimum, limit.maximum});
    });
    Attempt([&] { TemplateLines(text); });
    return 0;
}
