#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvix {

// One HID interface present on the machine, as the enumeration reports it.
struct HidDeviceInfo {
    QString path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t releaseNumber = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    int interfaceNumber = -1;
    QString manufacturer;
    QString product;
};

// The outcome of the last call made through a backend: an operating-system
// error code (0 for success) and, where the backend has one, its own text.
struct HidApiResult {
    int code = 0;
    QString message;
};

using HidHandle = int;
constexpr HidHandle kInvalidHidHandle = -1;

// The operating system's HID services, reduced to what the transport needs.
// Implemented on hidapi for real instruments, by the simulator for the demo
// and by scripted fakes in tests.
class HidBackend {
public:
    virtual ~HidBackend() = default;

    virtual std::vector<HidDeviceInfo> enumerate() = 0;
    // kInvalidHidHandle on failure.
    virtual HidHandle open(const QString& path) = 0;
    // The HID report descriptor of an open device; empty when unavailable.
    virtual QByteArray reportDescriptor(HidHandle handle) = 0;
    // Bytes written (data[0] is the report ID), or -1 on failure.
    virtual int write(HidHandle handle, const std::uint8_t* data, std::size_t length) = 0;
    // Bytes read into data (report ID first), 0 when timeoutMs passed without
    // a report, -1 on failure.
    virtual int readTimeout(HidHandle handle, std::uint8_t* data, std::size_t length,
                            int timeoutMs) = 0;
    virtual void close(HidHandle handle) = 0;
    virtual HidApiResult lastResult() const = 0;
};

}  // namespace orvix
