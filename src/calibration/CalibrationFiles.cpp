#include "calibration/CalibrationFiles.h"

#include "common/Numbers.h"
#include "common/TextFields.h"
#include "common/VbError.h"

#include <cmath>
#include <limits>

namespace orvix {

namespace {

const QString kComma = QStringLiteral(",");
const QString kEquals = QStringLiteral("=");
const QString kCrLf = QStringLiteral("\r\n");

double NumberField(const QStringList& fields, qsizetype number) { return StrictNumber(Field(fields, number)); }

}  // namespace

QString LineCursor::next() {
    const qsizetype start = m_position - 1;
    const bool lastLine = start >= m_text.size() || m_text.indexOf(kCrLf, start) < 0;
    QString line = NextLine(m_text, m_position);
    m_atEnd = lastLine || m_position > m_text.size();
    return line;
}

QString LineCursor::nextHeader() {
    QString line = next();
    if (line.isEmpty()) line = next();
    return line;
}

QStringList SplitAnyLineEnds(QStringView text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.append(text.mid(start).toString());
    return lines;
}

float ToSingle(double value) {
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        RaiseRuntimeError(vb::kOverflow);
    return static_cast<float>(value);
}

AccelerometerFile ReadAccelerometerFile(QStringView text) {
    AccelerometerFile file;
    LineCursor lines(text);
    for (int n = 0; n < kAccelPositions; ++n) {
        // The header is the position's settings line: three angles, then
        // the operator's instruction, which is not needed here.
        const QStringList header = SplitFields(lines.nextHeader(), kComma);
        for (int j = 0; j < 3; ++j) file.Angles[n][j] = NumberField(header, j + 1);
        for (int i = 0; i < kAccelSamples; ++i) {
            const QStringList fields = SplitFields(lines.next(), kComma);
            auto& row = file.Readings[static_cast<std::size_t>(kAccelSamples * n + i)];
            for (int c = 0; c < 4; ++c) row[c] = NumberField(fields, c + 1);
        }
    }
    return file;
}

LoadCellFile ReadLoadCellFile(QStringView text) {
    LoadCellFile file;
    LineCursor lines(text);
    for (LoadCellBlock& block : file) {
        const QStringList header = SplitFields(lines.nextHeader(), kComma);
        block.header = NumberField(header, 1);
        for (auto& sample : block.samples) {
            const QStringList fields = SplitFields(lines.next(), kComma);
            for (int c = 0; c < 3; ++c) sample[static_cast<std::size_t>(c)] = NumberField(fields, c + 1);
        }
    }
    return file;
}

LoadCellReduction ReduceLoadCell(const LoadCellFile& file) {
    // Which block carried the mass is only known when exactly one did.
    const bool firstLoaded = file[0].header > 0;
    const bool secondLoaded = file[1].header > 0;
    if (firstLoaded == secondLoaded) RaiseRuntimeError(vb::kInvalidCall);
    const LoadCellBlock& loaded = firstLoaded ? file[0] : file[1];
    const LoadCellBlock& empty = firstLoaded ? file[1] : file[0];

    // The first four samples of a step are taken while the cell settles.
    constexpr int kFirstUsed = 4;
    constexpr double kUsed = kLoadCellSamples - kFirstUsed;
    const auto ratioSum = [](const LoadCellBlock& block) {
        double sum = 0;
        for (int i = kFirstUsed; i < kLoadCellSamples; ++i) {
            const auto& sample = block.samples[static_cast<std::size_t>(i)];
            sum = CheckFinite(sum + CheckedDivide(sample[1], sample[2]));
        }
        return sum;
    };
    const double sEmpty = ratioSum(empty);
    const double sLoaded = ratioSum(loaded);
    LoadCellReduction result;
    result.Ldk = CheckedDivide(CheckFinite(loaded.header * kUsed), CheckFinite(sLoaded - sEmpty));
    result.LdECW = sEmpty / kUsed;
    return result;
}

ElectricalCellFile ReadElectricalCellFile(QStringView text) {
    ElectricalCellFile file;
    LineCursor lines(text);
    for (int n = 0; n < kCellBlocks; ++n) {
        lines.nextHeader();  // "RunN, ADC": nothing in it is needed
        for (int j = 0; j < kCellLines; ++j) {
            const double count = NumberField(SplitFields(lines.next(), kComma), 2);
            file.Volts[static_cast<std::size_t>(n)][static_cast<std::size_t>(j)] = CountsToVolts(count);
            if (n == 0) file.Counts[static_cast<std::size_t>(j)] = ToInt32(count);
        }
    }
    return file;
}

TemperatureFile ReadTemperatureFile(QStringView text) {
    TemperatureFile file;
    LineCursor lines(text);
    while (file.count < 3) {
        file.T[static_cast<std::size_t>(file.count)] = NumberField(SplitFields(lines.next(), kComma), 2);
        ++file.count;
        if (lines.atEnd()) break;
    }
    if (file.count < 2) RaiseRuntimeError(vb::kSubscriptOutOfRange);
    return file;
}

const std::array<QString, kNormLimitCount>& NormLimitNames() {
    static const std::array<QString, kNormLimitCount> names{
        QStringLiteral("Theta"), QStringLiteral("Rho"),  QStringLiteral("Psi"),   QStringLiteral("Ldk"),
        QStringLiteral("TBias"), QStringLiteral("TuBias"), QStringLiteral("Ek2M"), QStringLiteral("EVo2M"),
        QStringLiteral("Ek5k"),  QStringLiteral("EVo5k"),
    };
    return names;
}

void ReadNormLimits(QStringView text, NormLimitTable& table) {
    for (NormLimit& limit : table) limit.present = false;
    for (const QString& line : SplitAnyLineEnds(text)) {
        const QStringList fields = SplitFields(line, kComma);
        if (fields.size() != 3) continue;
        for (int k = 0; k < kNormLimitCount; ++k) {
            const QString& name = NormLimitNames()[static_cast<std::size_t>(k)];
            if (fields[0] != name) continue;
            NormLimit& limit = table[static_cast<std::size_t>(k)];
            limit.minimum = ToSingle(StrictNumber(fields[1]));
            limit.maximum = ToSingle(StrictNumber(fields[2]));
            limit.name = name;
            limit.present = true;
        }
    }
}

QString TemplateLines(QStringView text) {
    QString out;
    for (const QString& line : SplitAnyLineEnds(text)) {
        if (TrimBlanks(line).isEmpty()) continue;
        const QStringList fields = SplitFields(line, kEquals);
        out += Field(fields, 1) + kEquals + Field(fields, 2) + kCrLf;
    }
    return out;
}

}  // namespace orvix
