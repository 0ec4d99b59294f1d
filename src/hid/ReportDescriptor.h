#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>

namespace orvix {

// What the transport needs to know from a device's HID report descriptor:
// how long each report is, so buffers are sized as the operating system's HID
// driver would size them, plus the counts shown in the diagnostics.
struct ReportLayout {
    std::uint16_t usagePage = 0;  // of the first top-level collection
    std::uint16_t usage = 0;
    // Bytes of each report ID's data, without the ID byte. Report ID 0 is
    // used when the descriptor declares no report IDs, and also for fields
    // that come before the first Report ID of a descriptor that mixes both (a
    // broken device; counting them apart is enough to size buffers). A field
    // of zero bits makes no report.
    std::map<std::uint8_t, std::uint32_t> inputBytes;
    std::map<std::uint8_t, std::uint32_t> outputBytes;
    std::map<std::uint8_t, std::uint32_t> featureBytes;
    // The largest report of each kind + 1 for the ID byte (0 when the kind has
    // no report), as the lengths the transport sizes its buffers with.
    std::uint16_t inputReportByteLength = 0;
    std::uint16_t outputReportByteLength = 0;
    std::uint16_t featureReportByteLength = 0;
    std::uint16_t linkCollectionNodes = 0;
    std::uint16_t inputButtonCaps = 0, inputValueCaps = 0, inputDataIndices = 0;
    std::uint16_t outputButtonCaps = 0, outputValueCaps = 0, outputDataIndices = 0;
    std::uint16_t featureButtonCaps = 0, featureValueCaps = 0, featureDataIndices = 0;
};

struct ReportDescriptorResult {
    std::optional<ReportLayout> layout;  // nullopt when the descriptor is malformed
    QString error;                       // why it was rejected
};

// Parses a report descriptor. Never reads outside the bytes given and never
// crashes on malformed input: a malformed descriptor gives an error.
// Rejected: an empty descriptor, an item or long item running past the end, a
// reserved item type, unbalanced collections, Push beyond 32 levels or Pop
// without Push, Report ID 0 or above 255, Report Size above 255, Report Count
// above 65535, a report longer than 65534 bytes, and a descriptor without any
// input, output or feature report. Unknown tags are skipped.
ReportDescriptorResult ParseReportDescriptor(const QByteArray& descriptor);

}  // namespace orvix
