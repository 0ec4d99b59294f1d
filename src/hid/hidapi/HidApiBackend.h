#pragma once

#include "hid/HidBackend.h"

#include <map>

struct hid_device_;

namespace orvix {

// HidBackend on hidapi: the real USB HID devices of this machine.
class HidApiBackend : public HidBackend {
public:
    HidApiBackend();
    ~HidApiBackend() override;
    HidApiBackend(const HidApiBackend&) = delete;
    HidApiBackend& operator=(const HidApiBackend&) = delete;

    std::vector<HidDeviceInfo> enumerate() override;
    HidHandle open(const QString& path) override;
    QByteArray reportDescriptor(HidHandle handle) override;
    int write(HidHandle handle, const std::uint8_t* data, std::size_t length) override;
    int readTimeout(HidHandle handle, std::uint8_t* data, std::size_t length,
                    int timeoutMs) override;
    void close(HidHandle handle) override;
    HidApiResult lastResult() const override { return m_lastResult; }

private:
    struct OpenDevice {
        hid_device_* device = nullptr;
        QByteArray path;
    };
    OpenDevice* find(HidHandle handle);
    void recordResult(int errorCode, hid_device_* device);

    bool m_initialised = false;
    std::map<HidHandle, OpenDevice> m_open;
    HidHandle m_nextHandle = 1;
    HidApiResult m_lastResult;
};

}  // namespace orvix
