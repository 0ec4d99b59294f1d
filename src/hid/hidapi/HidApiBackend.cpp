#include "hid/hidapi/HidApiBackend.h"

#include <hidapi.h>

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#define ORVIX_HIDAPI_HAS_DESCRIPTOR (HID_API_VERSION >= HID_API_MAKE_VERSION(0, 14, 0))

namespace orvix {

namespace {

QString FromWide(const wchar_t* text) { return text ? QString::fromWCharArray(text) : QString(); }

#if !ORVIX_HIDAPI_HAS_DESCRIPTOR
// hidapi before 0.14 has no call for the report descriptor; on Linux the
// hidraw node's sysfs entry holds it.
QByteArray ReadSysfsDescriptor(const QByteArray& devicePath) {
    const QString node = QFileInfo(QString::fromLocal8Bit(devicePath)).fileName();
    QFile file(QStringLiteral("/sys/class/hidraw/") + node + QStringLiteral("/device/report_descriptor"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}
#endif

}  // namespace

HidApiBackend::HidApiBackend() { m_initialised = hid_init() == 0; }

HidApiBackend::~HidApiBackend() {
    for (auto& [handle, open] : m_open) hid_close(open.device);
    if (m_initialised) hid_exit();
}

HidApiBackend::OpenDevice* HidApiBackend::find(HidHandle handle) {
    const auto it = m_open.find(handle);
    return it == m_open.end() ? nullptr : &it->second;
}

void HidApiBackend::recordResult(int errorCode, hid_device_* device) {
    m_lastResult.code = errorCode;
    m_lastResult.message.clear();
    if (errorCode != 0 && device != nullptr) {
        const QString text = FromWide(hid_error(device));
        if (text != QLatin1String("Success")) m_lastResult.message = text;
    }
}

std::vector<HidDeviceInfo> HidApiBackend::enumerate() {
    std::vector<HidDeviceInfo> devices;
    errno = 0;
    hid_device_info* list = m_initialised ? hid_enumerate(0, 0) : nullptr;
    recordResult(m_initialised ? 0 : (errno ? errno : EIO), nullptr);
    for (const hid_device_info* d = list; d != nullptr; d = d->next) {
        HidDeviceInfo info;
        info.path = QString::fromLocal8Bit(d->path);
        info.vendorId = d->vendor_id;
        info.productId = d->product_id;
        info.releaseNumber = d->release_number;
        info.usagePage = d->usage_page;
        info.usage = d->usage;
        info.interfaceNumber = d->interface_number;
        info.manufacturer = FromWide(d->manufacturer_string);
        info.product = FromWide(d->product_string);
        devices.push_back(std::move(info));
    }
    hid_free_enumeration(list);
    return devices;
}

HidHandle HidApiBackend::open(const QString& path) {
    const QByteArray nativePath = path.toLocal8Bit();
    errno = 0;
    hid_device* device = m_initialised ? hid_open_path(nativePath.constData()) : nullptr;
    if (device == nullptr) {
        recordResult(errno ? errno : ENODEV, nullptr);
        return kInvalidHidHandle;
    }
    recordResult(0, nullptr);
    const HidHandle handle = m_nextHandle++;
    m_open[handle] = {device, nativePath};
    return handle;
}

QByteArray HidApiBackend::reportDescriptor(HidHandle handle) {
    OpenDevice* open = find(handle);
    if (open == nullptr) {
        recordResult(EBADF, nullptr);
        return {};
    }
#if ORVIX_HIDAPI_HAS_DESCRIPTOR
    unsigned char buffer[HID_API_MAX_REPORT_DESCRIPTOR_SIZE];
    errno = 0;
    const int n = hid_get_report_descriptor(open->device, buffer, sizeof buffer);
    if (n < 0) {
        recordResult(errno ? errno : EIO, open->device);
        return {};
    }
    recordResult(0, nullptr);
    return QByteArray(reinterpret_cast<const char*>(buffer), n);
#else
    const QByteArray descriptor = ReadSysfsDescriptor(open->path);
    recordResult(descriptor.isEmpty() ? ENOENT : 0, nullptr);
    return descriptor;
#endif
}

int HidApiBackend::write(HidHandle handle, const std::uint8_t* data, std::size_t length) {
    OpenDevice* open = find(handle);
    if (open == nullptr) {
        recordResult(EBADF, nullptr);
        return -1;
    }
    errno = 0;
    const int n = hid_write(open->device, data, length);
    recordResult(n < 0 ? (errno ? errno : EIO) : 0, open->device);
    return n;
}

int HidApiBackend::readTimeout(HidHandle handle, std::uint8_t* data, std::size_t length,
                               int timeoutMs) {
    OpenDevice* open = find(handle);
    if (open == nullptr) {
        recordResult(EBADF, nullptr);
        return -1;
    }
    errno = 0;
    const int n = hid_read_timeout(open->device, data, length, timeoutMs);
    recordResult(n < 0 ? (errno ? errno : EIO) : 0, open->device);
    return n;
}

void HidApiBackend::close(HidHandle handle) {
    const auto it = m_open.find(handle);
    if (it == m_open.end()) {
        recordResult(EBADF, nullptr);
        return;
    }
    hid_close(it->second.device);
    m_open.erase(it);
    recordResult(0, nullptr);
}

}  // namespace orvix
