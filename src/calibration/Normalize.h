#pragma once

#include "calibration/AccelCal.h"
#include "calibration/CalibrationFiles.h"
#include "calibration/ElectricalCal.h"

#include <QString>

#include <array>
#include <cstdint>

namespace orvix {

class ErrHdlr;
class FileComIO;
class Platform;
class Prompter;

// Everything the characterisation's reductions produce, read by the limit
// check and the normalisation file. All 0 until first computed.
struct NormResults {
    AccResult acc;
    Elec2M elec2M;
    Elec5k elec5k;
    double Ldk = 0;
    double LdECW = 0;
    double TBias = 0;
    double TuBias = 0;
    std::array<double, 3> T{};  // the temperature readings behind the biases
};

// Module Normalize: reads the four characterisation files, reduces them to
// the instrument's constants, checks those against "NormLims.txt" and writes
// the normalisation file. The program folder (Platform) holds the limits,
// the "NormConst.txt" template and the logs "NormWarn.Txt" and "NormStat.Txt".
class Normalize {
public:
    static inline const QString kLimitsFileName = QStringLiteral("NormLims.txt");
    static inline const QString kTemplateFileName = QStringLiteral("NormConst.txt");
    static inline const QString kWarningLogName = QStringLiteral("NormWarn.Txt");
    static inline const QString kStatisticsLogName = QStringLiteral("NormStat.Txt");

    Normalize(FileComIO& files, ErrHdlr& errors, Prompter& prompter, const Platform& platform);

    // True when the file was read and reduced. A file that cannot be loaded
    // has been reported by OpenFile; any other failure is reported here.
    bool NormAccelerometer(const QString& fileName);
    bool NormLoadCell(const QString& fileName);
    bool NormTemperature(const QString& fileName);
    // 1 read, checked and both analyses ran; 0 a check or an analysis failed
    // (or the file could not be read); 2 the file could not be loaded.
    std::int32_t NormElecricalCell(const QString& fileName);
    bool AllCellMagnitudeCheck(const CellCounts& Counts);

    // 0 all ten limits read; 2 no name, a missing or empty file, or any
    // failure while reading it; 3 a limit without a line.
    std::int32_t FileParseNormLims(const QString& fileName);
    // The warnings, each followed by CR LF; "" when all values pass; or one
    // message when the limits could not be read.
    QString CheckNormLimits();
    QString CheckLimit(std::int16_t k, double value);
    // True when the file was written.
    bool CreateNormFile(const QString& path);

    // "Create Normalization File": the four reductions, the template check,
    // the limit check and its question, then the file
    // charPath/"Norm_SN" + serial + ".txt". Starts from reset results, so
    // nothing of an earlier instrument can reach this one's file. True when
    // the file was written.
    bool CreateNormalizationFile(const QString& charPath, const QString& serial);
    static QString NormFileName(const QString& serial);

    void ResetResults();
    const NormResults& Results() const { return m_results; }
    NormResults& Results() { return m_results; }
    const NormLimitTable& NormLimits() const { return m_limits; }

private:
    QString ProgramFile(const QString& name) const;
    void Tell(const QString& text, bool withCancel);

    FileComIO& m_files;
    ErrHdlr& m_errors;
    Prompter& m_prompter;
    const Platform& m_platform;
    NormResults m_results;
    NormLimitTable m_limits;
};

}  // namespace orvix
