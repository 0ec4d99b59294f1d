#include "sim/InstrumentDescriptor.h"

#include "protocol/CommandTable.h"

#include <initializer_list>

namespace orvix::sim {

namespace {

void Append(QByteArray& descriptor, std::initializer_list<std::uint8_t> bytes) {
    for (const std::uint8_t b : bytes) descriptor.append(static_cast<char>(b));
}

std::uint8_t Low(std::uint16_t value) { return static_cast<std::uint8_t>(value & 0xFF); }
std::uint8_t High(std::uint16_t value) { return static_cast<std::uint8_t>(value >> 8); }

}  // namespace

QByteArray InstrumentReportDescriptor(std::uint16_t reportDataBytes) {
    using namespace report_id;
    QByteArray d;
    Append(d, {0x06, 0x00, 0xFF});  // Usage Page (vendor-defined 0xFF00)
    Append(d, {0x09, 0x01});        // Usage (vendor 1)
    Append(d, {0xA1, 0x01});        // Collection (Application)

    // Global items, set once: every report is a run of plain bytes. Files
    // travel whole in one report, so the count needs the two-byte form.
    Append(d, {0x15, 0x00});                                       //   Logical Minimum (0)
    Append(d, {0x26, 0xFF, 0x00});                                 //   Logical Maximum (255)
    Append(d, {0x75, 0x08});                                       //   Report Size (8 bits)
    Append(d, {0x96, Low(reportDataBytes), High(reportDataBytes)});  //   Report Count (data bytes)

    // Output reports: commands and the five file uploads.
    for (const std::uint8_t id :
         {kCommand, kProductFile, kUserFile, kLanguageFile, kNormalizationFile, kKeyFile}) {
        Append(d, {0x85, id});    //   Report ID
        Append(d, {0x09, id});    //   Usage (vendor, numbered like the report)
        Append(d, {0x91, 0x02});  //   Output (Data, Variable, Absolute)
    }
    // Input reports: the five file replies, data replies and acknowledgements.
    for (const std::uint8_t id :
         {kProductFile, kUserFile, kLanguageFile, kNormalizationFile, kKeyFile, kDataReply, kAckReply}) {
        Append(d, {0x85, id});    //   Report ID
        Append(d, {0x09, id});    //   Usage (vendor, numbered like the report)
        Append(d, {0x81, 0x02});  //   Input (Data, Variable, Absolute)
    }

    Append(d, {0xC0});  // End Collection
    return d;
}

}  // namespace orvix::sim
