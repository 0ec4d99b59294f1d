// Feeds arbitrary bytes to the report descriptor parser. Besides the
// sanitizers' findings, a result that breaks the layout's own invariants
// aborts, so a wrong answer counts as a crash too.
#include "hid/ReportDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckKind(const std::map<std::uint8_t, std::uint32_t>& bytesPerId, std::uint16_t length) {
    Check(bytesPerId.empty() == (length == 0));
    for (const auto& [id, bytes] : bytesPerId) {
        Check(bytes + 1 <= length);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Raw data, not a copy: the parser must not read a byte past the input,
    // and only the fuzzer's exactly sized buffer lets the sanitizer see that.
    const QByteArray descriptor = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                          static_cast<qsizetype>(size));
    const orvix::ReportDescriptorResult result = orvix::ParseReportDescriptor(descriptor);
    if (!result.layout) {
        Check(!result.error.isEmpty());
        return 0;
    }
    const orvix::ReportLayout& layout = *result.layout;
    Check(result.error.isEmpty());
    Check(layout.inputReportByteLength + layout.outputReportByteLength + layout.featureReportByteLength > 0);
    CheckKind(layout.inputBytes, layout.inputReportByteLength);
    CheckKind(layout.outputBytes, layout.outputReportByteLength);
    CheckKind(layout.featureBytes, layout.featureReportByteLength);
    return 0;
}
