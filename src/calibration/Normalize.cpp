#include "calibration/Normalize.h"

#include "common/Numbers.h"
#include "common/Platform.h"
#include "common/Prompter.h"
#include "common/Text.h"
#include "common/VbError.h"
#include "files/FileComIO.h"
#include "protocol/ErrHdlr.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace orvix {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kUnable = QStringLiteral("  Unable to Create Normalization File.");
const QString kNotFound = QStringLiteral(" Not Found.") + kUnable;

// Resistances the reference network puts in parallel with the cell's, and
// capacitances it adds, per frequency and reference.
constexpr double kParallel0At2M = 54156990;
constexpr double kParallel1At2M = 999.99368;
constexpr double kParallel0At5k = 8665043000000;
constexpr double kParallel3At5k = 771.750304;
constexpr double kAdded0 = 0.809267;
constexpr double kAdded1At2M = 0.602597;
constexpr double kAdded3At5k = 21736.88;

QString ConstantLine(const char* key, double value, const char16_t* pattern) {
    return QLatin1String(key) + QStringLiteral(" = ") + FormatNumber(value, pattern) + kCrLf;
}

// P∥R written as (P·R)/(P+R), the form the instrument's constants were made with.
double Parallel(double P, double R) {
    return CheckedDivide(CheckFinite(P * R), CheckFinite(P + R));
}

// A value beyond single precision compares as beyond any limit instead of
// being undefined.
float SaturatedSingle(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (value > kLargest) return std::numeric_limits<float>::infinity();
    if (value < -kLargest) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

}  // namespace

Normalize::Normalize(FileComIO& files, ErrHdlr& errors, Prompter& prompter, const Platform& platform)
    : m_files(files), m_errors(errors), m_prompter(prompter), m_platform(platform) {}

void Normalize::ResetResults() { m_results = NormResults{}; }

QString Normalize::ProgramFile(const QString& name) const {
    return QDir(m_platform.programFolder()).filePath(name);
}

QString Normalize::NormFileName(const QString& serial) {
    return QStringLiteral("Norm_SN") + serial + QStringLiteral(".txt");
}

bool Normalize::NormAccelerometer(const QString& fileName) {
    QString text;
    if (!m_files.OpenFile(fileName, text)) return false;
    try {
        const AccelerometerFile file = ReadAccelerometerFile(text);
        AccelCal cal;
        cal.AccelCalibrate(file.Readings, m_results.acc, file.Angles);
        return true;
    } catch (...) {
        m_errors.LogError(QStringLiteral("NormAccelerometer()"));
        return false;
    }
}

bool Normalize::NormLoadCell(const QString& fileName) {
    QString text;
    if (!m_files.OpenFile(fileName, text)) return false;
    try {
        const LoadCellReduction reduction = ReduceLoadCell(ReadLoadCellFile(text));
        m_results.Ldk = reduction.Ldk;
        m_results.LdECW = reduction.LdECW;
        return true;
    } catch (...) {
        m_errors.LogError(QStringLiteral("NormLoadCell()"));
        return false;
    }
}

bool Normalize::NormTemperature(const QString& fileName) {
    QString text;
    if (!m_files.OpenFile(fileName, text)) return false;
    try {
        const TemperatureFile file = ReadTemperatureFile(text);
        for (int i = 0; i < file.count; ++i)
            m_results.T[static_cast<std::size_t>(i)] = file.T[static_cast<std::size_t>(i)];
        const auto& T = m_results.T;
        m_results.TBias = CheckFinite(T[1] - T[0]);
        m_results.TuBias = file.count == 2 ? 0.0 : CheckFinite(T[1] - T[2]);
        return true;
    } catch (...) {
        m_errors.LogError(QStringLiteral("NormTemperature()"));
        return false;
    }
}

bool Normalize::AllCellMagnitudeCheck(const CellCounts& Counts) {
    try {
        if (const int code = FirstMagnitudeFault(Counts)) ErrHdlr::RaiseAppError(code);
        return true;
    } catch (...) {
        m_errors.LogError(QStringLiteral("AllCellMagnitudeCheck()"));
        return false;
    }
}

std::int32_t Normalize::NormElecricalCell(const QString& fileName) {
    QString text;
    if (!m_files.OpenFile(fileName, text)) return 2;
    ElectricalCellFile file;
    try {
        file = ReadElectricalCellFile(text);
    } catch (...) {
        m_errors.LogError(QStringLiteral("NormElecricalCell()"));
        return 0;
    }
    if (!AllCellMagnitudeCheck(file.Counts)) return 0;

    // Both analyses run even when the first fails, so each fault is reported;
    // either failure makes the whole cell fail, since its constants would
    // otherwise be whatever the record held before.
    bool analysed = true;
    try {
        ElecParams2M(file.Volts, m_results.elec2M);
    } catch (...) {
        m_errors.LogError(QStringLiteral("elparm2()"));
        analysed = false;
    }
    try {
        ElecParams5k(file.Volts, m_results.elec5k);
    } catch (...) {
        m_errors.LogError(QStringLiteral("elparm2()"));
        analysed = false;
    }
    return analysed ? 1 : 0;
}

std::int32_t Normalize::FileParseNormLims(const QString& fileName) {
    if (fileName.isEmpty()) {
        MessageBoxRequest box;
        box.text = QStringLiteral("No File Specified");
        box.title = ErrHdlr::kApplicationTitle;
        box.icon = MsgIcon::Exclamation;
        box.buttons = MsgButtons::Ok;
        m_prompter.messageBox(box);
        return 2;
    }
    try {
        const QString path = ProgramFile(fileName);
        const QFileInfo info(path);
        if (!info.isFile()) {
            if (!info.absoluteDir().exists()) RaiseRuntimeError(vb::kPathNotFound);
            RaiseRuntimeError(info.exists() ? vb::kPathFileAccess : vb::kFileNotFound);
        }
        QString text;
        if (!m_files.OpenFile(path, text)) return 2;  // an empty file is deleted there
        ReadNormLimits(text, m_limits);
        for (const NormLimit& limit : m_limits)
            if (!limit.present) return 3;
        return 0;
    } catch (...) {
        m_errors.LogError(QStringLiteral("FileParseNormLims()"));
        return 2;
    }
}

QString Normalize::CheckLimit(std::int16_t k, double value) {
    if (k < 0 || k >= kNormLimitCount) RaiseRuntimeError(vb::kSubscriptOutOfRange);
    const NormLimit& limit = m_limits[static_cast<std::size_t>(k)];
    const QString pattern = QStringLiteral("#0.000");
    const QString minimumText = FormatNumber(limit.minimum, pattern);
    const QString maximumText = FormatNumber(limit.maximum, pattern);
    const QString valueText = FormatNumber(value, pattern);

    // Compared in single precision, like the limits themselves, so a value
    // that only differs beyond a float's digits counts as on the limit.
    const float single = SaturatedSingle(value);
    QString warning;
    if (single < limit.minimum) {
        warning = QStringLiteral("Warning: ") + limit.name + QStringLiteral("=") + valueText +
                  QStringLiteral(".  Below Minimum Limit of ") + minimumText;
    } else if (single > limit.maximum) {
        warning = QStringLiteral("Warning: ") + limit.name + QStringLiteral("=") + valueText +
                  QStringLiteral(".  Above Maximum Limit of ") + maximumText;
    }
    if (!warning.isEmpty())
        m_files.FileOut(ProgramFile(kWarningLogName),
                        warning + QStringLiteral(", ") + DateTimeStamp(m_platform.now()), 2);
    m_files.FileOut(ProgramFile(kStatisticsLogName),
                    limit.name + QStringLiteral(", ") + minimumText + QStringLiteral(", ") + maximumText +
                        QStringLiteral(", ") + valueText,
                    2);
    return warning;
}

QString Normalize::CheckNormLimits() {
    const std::int32_t status = FileParseNormLims(kLimitsFileName);
    if (status == 3) return QStringLiteral("Limits Missing in File ") + kLimitsFileName;
    if (status != 0) return QStringLiteral("Error Opening File ") + kLimitsFileName;

    const NormResults& r = m_results;
    const std::array<double, kNormLimitCount> values{
        r.acc.Theta, r.acc.Rho,    r.acc.Psi,        r.Ldk,         r.TBias,
        r.TuBias,    r.elec2M.Ek2M, r.elec2M.EVo2M, r.elec5k.Ek5k, r.elec5k.EVo5k,
    };
    QString warnings;
    for (std::int16_t k = 0; k < kNormLimitCount; ++k) {
        const QString warning = CheckLimit(k, values[static_cast<std::size_t>(k)]);
        if (!warning.isEmpty()) warnings += warning + kCrLf;
    }
    return warnings;
}

bool Normalize::CreateNormFile(const QString& path) {
    try {
        const NormResults& r = m_results;
        const char16_t* const kScientific = u"0.000E+00";
        const char16_t* const kFive = u"0.00000";
        const char16_t* const kThree = u"0.000";
        const char16_t* const kOne = u"0.0";
        QString text = QStringLiteral("N") + kCrLf;
        text += ConstantLine("AccAa", r.acc.AccAa, kScientific);
        text += ConstantLine("AccAb", r.acc.AccAb, kScientific);
        text += ConstantLine("AccAc", r.acc.AccAc, kScientific);
        text += ConstantLine("AccAd", r.acc.AccAd, kScientific);
        text += ConstantLine("AccBa", r.acc.AccBa, kScientific);
        text += ConstantLine("AccBb", r.acc.AccBb, kScientific);
        text += ConstantLine("AccBc", r.acc.AccBc, kScientific);
        text += ConstantLine("AccBd", r.acc.AccBd, kScientific);
        text += ConstantLine("Ldk", r.Ldk, kScientific);
        text += ConstantLine("LdECW", r.LdECW, kFive);
        text += ConstantLine("TBias", r.TBias, kOne);
        text += ConstantLine("TuBias", r.TuBias, kOne);
        text += ConstantLine("Ru0_2M", Parallel(kParallel0At2M, r.elec2M.Resistance), kThree);
        text += ConstantLine("Cu0_2M", CheckFinite(r.elec2M.Capacitance + kAdded0), kThree);
        text += ConstantLine("Ru1_2M", Parallel(kParallel1At2M, r.elec2M.Resistance), kThree);
        text += ConstantLine("Cu1_2M", CheckFinite(r.elec2M.Capacitance + kAdded1At2M), kThree);
        text += ConstantLine("Ru0_5k", Parallel(kParallel0At5k, r.elec5k.Resistance), kThree);
        text += ConstantLine("Cu0_5k", CheckFinite(r.elec5k.Capacitance + kAdded0), kThree);
        text += ConstantLine("Ru3_5k", Parallel(kParallel3At5k, r.elec5k.Resistance), kThree);
        text += ConstantLine("Cu3_5k", CheckFinite(r.elec5k.Capacitance + kAdded3At5k), kThree);
        text += ConstantLine("Ek2M", r.elec2M.Ek2M, kFive);
        text += ConstantLine("Ek5k", r.elec5k.Ek5k, kFive);

        // A missing template has been reported by OpenFile; the file then
        // simply has no copied lines.
        QString templateText;
        if (m_files.OpenFile(ProgramFile(kTemplateFileName), templateText)) text += TemplateLines(templateText);

        text += ConstantLine("EVo2M", r.elec2M.EVo2M, u"0");
        text += ConstantLine("EVo5k", r.elec5k.EVo5k, u"0");
        text += QStringLiteral("<EOF>");
        return m_files.FileOut(path, text, 0);
    } catch (...) {
        m_errors.LogError(QStringLiteral("CreateNormFile()"));
        return false;
    }
}

void Normalize::Tell(const QString& text, bool withCancel) {
    MessageBoxRequest box;
    box.text = text;
    box.title = ErrHdlr::kApplicationTitle;
    box.buttons = withCancel ? MsgButtons::OkCancel : MsgButtons::Ok;
    m_prompter.messageBox(box);
}

bool Normalize::CreateNormalizationFile(const QString& charPath, const QString& serial) {
    ResetResults();
    const QDir folder(charPath);
    const auto dataFile = [&serial](const char* prefix) {
        return QLatin1String(prefix) + serial + QStringLiteral(".txt");
    };

    const QString accel = dataFile("Accel_SN");
    if (!NormAccelerometer(folder.filePath(accel))) {
        Tell(accel + kNotFound, false);
        return false;
    }
    const QString lcell = dataFile("Lcell_SN");
    if (!NormLoadCell(folder.filePath(lcell))) {
        Tell(lcell + kNotFound, false);
        return false;
    }
    const QString ecell = dataFile("Ecell_SN");
    switch (NormElecricalCell(folder.filePath(ecell))) {
    case 1: break;
    case 2: Tell(ecell + kNotFound, false); return false;
    default:
        Tell(QStringLiteral("Problems detected with Electrical Cell Measurements.") + kUnable, false);
        return false;
    }
    const QString temp = dataFile("Temp_SN");
    if (!NormTemperature(folder.filePath(temp))) {
        Tell(temp + kNotFound, true);
        return false;
    }
    if (!m_files.FileExists(ProgramFile(kTemplateFileName))) {
        Tell(kTemplateFileName + kNotFound, true);
        return false;
    }

    const QString warnings = CheckNormLimits();
    if (!warnings.isEmpty()) {
        MessageBoxRequest question;
        question.text = warnings + QStringLiteral(" Create File Anyway?");
        question.title = ErrHdlr::kApplicationTitle;
        question.buttons = MsgButtons::YesNo;
        if (m_prompter.messageBox(question) != MsgAnswer::Yes) return false;
    }

    const QString name = NormFileName(serial);
    if (!CreateNormFile(folder.filePath(name))) return false;
    Tell(name + QStringLiteral(" Created."), true);
    return true;
}

}  // namespace orvix
