// What the characterisation's reduction costs: each of the four reductions
// on its generated file, all four together, the whole "Create Normalization
// File" (limits, logs, the file written), and the orvix-normalize process
// from start to exit. The reduction of one instrument should stay well below
// 20 ms, so the factory line never waits on it.

#include "calibration/CalibrationHarness.h"
#include "calibration/CharacterisationGenerator.h"
#include "common/UnattendedPrompter.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using namespace orvix;
using namespace orvix::test;

const QString kSerial = QStringLiteral("00042");

// An instrument's four files with measurement noise, the shipped-style
// template and limits, and Normalize wired to them.
struct Bench : BasicCalibrationHarness<UnattendedPrompter> {
    Bench() {
        CharacterisationTruth truth;
        truth.noiseCounts = 2;
        truth.seed = 11;
        WriteCharacterisationFiles(charFolder.path(), kSerial, truth);
        write(programFile(Normalize::kTemplateFileName), QByteArray("NormVer = 2\r\nCalStation = 4\r\n"));
        write(programFile(Normalize::kLimitsFileName),
              QByteArray("Theta, 80, 100\r\nRho, -10, 10\r\nPsi, -10, 10\r\nLdk, 1000, 4000\r\nTBias, -5, 5\r\n"
                         "TuBias, -8, 8\r\nEk2M, 0.8, 3.2\r\nEVo2M, 500, 2500\r\nEk5k, 0.7, 1.3\r\nEVo5k, 500, 2500\r\n"));
    }
    QString dataFile(const char* prefix) const {
        return charFolder.filePath(QLatin1String(prefix) + kSerial + QStringLiteral(".txt"));
    }
    bool allReductions() {
        return normalize.NormAccelerometer(dataFile("Accel_SN")) && normalize.NormLoadCell(dataFile("Lcell_SN")) &&
               normalize.NormElecricalCell(dataFile("Ecell_SN")) == 1 && normalize.NormTemperature(dataFile("Temp_SN"));
    }
};

void BM_NormAccelerometer(benchmark::State& state) {
    Bench b;
    for (auto _ : state)
        if (!b.normalize.NormAccelerometer(b.dataFile("Accel_SN"))) state.SkipWithError("reduction failed");
}
BENCHMARK(BM_NormAccelerometer)->Unit(benchmark::kMillisecond);

void BM_NormLoadCell(benchmark::State& state) {
    Bench b;
    for (auto _ : state)
        if (!b.normalize.NormLoadCell(b.dataFile("Lcell_SN"))) state.SkipWithError("reduction failed");
}
BENCHMARK(BM_NormLoadCell)->Unit(benchmark::kMillisecond);

void BM_NormElecricalCell(benchmark::State& state) {
    Bench b;
    for (auto _ : state)
        if (b.normalize.NormElecricalCell(b.dataFile("Ecell_SN")) != 1) state.SkipWithError("reduction failed");
}
BENCHMARK(BM_NormElecricalCell)->Unit(benchmark::kMillisecond);

void BM_NormTemperature(benchmark::State& state) {
    Bench b;
    for (auto _ : state)
        if (!b.normalize.NormTemperature(b.dataFile("Temp_SN"))) state.SkipWithError("reduction failed");
}
BENCHMARK(BM_NormTemperature)->Unit(benchmark::kMillisecond);

void BM_AllFourReductions(benchmark::State& state) {
    Bench b;
    for (auto _ : state)
        if (!b.allReductions()) state.SkipWithError("reduction failed");
}
BENCHMARK(BM_AllFourReductions)->Unit(benchmark::kMillisecond);

// Reductions, limit check with its two logs, and the normalisation file.
// The logs are removed between runs so each run appends to the same size.
void BM_CreateNormalizationFile(benchmark::State& state) {
    Bench b;
    for (auto _ : state) {
        if (!b.normalize.CreateNormalizationFile(b.charFolder.path(), kSerial)) state.SkipWithError("file not written");
        state.PauseTiming();
        QFile::remove(b.programFile(Normalize::kStatisticsLogName));
        QFile::remove(b.programFile(Normalize::kWarningLogName));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateNormalizationFile)->Unit(benchmark::kMillisecond);

// The executable of the same build: benchmarks live in <build>/bench, the
// tools in <build>/bin. Wall time per run, process start and exit included.
void BM_OrvixNormalizeProcess(benchmark::State& state) {
    const QString binFolder = QDir::cleanPath(
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath() + QStringLiteral("/../bin"));
    const QString tool = binFolder + QStringLiteral("/orvix-normalize");
    if (!QFileInfo(tool).isExecutable()) {
        state.SkipWithError("orvix-normalize not built");
        return;
    }
    Bench b;
    const QStringList arguments{QStringLiteral("--program-dir"), b.platform.programFolder(), b.charFolder.path(), kSerial};
    for (auto _ : state) {
        QProcess process;
        process.start(tool, arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0) state.SkipWithError("orvix-normalize failed");
        state.PauseTiming();
        QFile::remove(b.programFile(Normalize::kStatisticsLogName));
        QFile::remove(b.programFile(Normalize::kWarningLogName));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OrvixNormalizeProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
