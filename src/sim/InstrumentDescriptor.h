#pragma once

#include <QByteArray>

#include <cstdint>

namespace orvix::sim {

// The HID report descriptor the instrument presents: one vendor-defined
// application collection in which every report, input or output, carries
// reportDataBytes data bytes after its ID.
QByteArray InstrumentReportDescriptor(std::uint16_t reportDataBytes);

}  // namespace orvix::sim
