// What the command stack costs per exchange: TestNVM through USBcmds and
// ZrHID against a backend that answers at once, versus the same write and
// read made on that backend directly. A full-speed USB exchange takes at
// least 2 ms, so the difference is what the program adds to each one.

#include "support/ProtocolHarness.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace orvix;
using namespace orvix::test;

constexpr std::uint16_t kReportLength = 64;
constexpr double kUsbExchangeUs = 2000.0;

QByteArray Reply() { return FakeHidBackend::Report({16, 0x42, 1}); }

void BM_ExchangeThroughStack(benchmark::State& state) {
    ProtocolHarness h;
    h.backend.setDefaultReply(Reply());
    h.connect(kReportLength, kReportLength);

    for (auto _ : state) benchmark::DoNotOptimize(h.cmds.TestNVM());
    if (!h.hid.DeviceDetected()) state.SkipWithError("the exchange lost the connection");
}
BENCHMARK(BM_ExchangeThroughStack);

void BM_ExchangeOnBackendDirectly(benchmark::State& state) {
    FakeHidBackend backend;
    backend.setDefaultReply(Reply());
    const HidHandle handle = backend.open(QStringLiteral("bench"));
    std::vector<std::uint8_t> out(kReportLength, 0);
    std::vector<std::uint8_t> in(kReportLength, 0);
    out[0] = 1;
    out[1] = 0x42;
    for (auto _ : state) {
        benchmark::DoNotOptimize(backend.write(handle, out.data(), out.size()));
        benchmark::DoNotOptimize(backend.readTimeout(handle, in.data(), in.size(), 2000));
    }
}
BENCHMARK(BM_ExchangeOnBackendDirectly);

// Keeps the console output and remembers each benchmark's time per iteration.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> nsPerIteration;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            nsPerIteration[run.benchmark_name()] = seconds * 1e9;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto stack = reporter.nsPerIteration.find("BM_ExchangeThroughStack");
    const auto direct = reporter.nsPerIteration.find("BM_ExchangeOnBackendDirectly");
    if (stack == reporter.nsPerIteration.end() || direct == reporter.nsPerIteration.end()) return 0;
    const double overheadUs = (stack->second - direct->second) / 1000.0;
    std::printf("\nper-exchange overhead of the command stack: %.3f us\n", overheadUs);
    std::printf("stack / direct time ratio: %.1f\n", stack->second / direct->second);
    std::printf("share of a %.0f us USB exchange: %.4f %% (target: under 5 us, 0.25 %%)\n",
                kUsbExchangeUs, 100.0 * overheadUs / kUsbExchangeUs);
    return 0;
}
