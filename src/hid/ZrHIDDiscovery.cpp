#include "hid/ZrHID.h"

#include "common/Numbers.h"
#include "hid/ReportDescriptor.h"

#include <cerrno>

// Finding the instrument among the HID devices. The operating system's
// enumeration already carries every device's IDs, so devices that are not the
// instrument are logged and skipped without being opened: opening someone's
// keyboard is intrusive and often refused anyway.
namespace orvix {

namespace {

constexpr int kDescriptorBytesLogged = 180;

QString HexBytes(const QByteArray& bytes, int count) {
    QString text;
    for (int i = 0; i < count && i < bytes.size(); ++i)
        text += Hex2(static_cast<std::uint8_t>(bytes[i])) + QLatin1Char(' ');
    return text;
}

QString HandleText(HidHandle handle) { return Hex(static_cast<std::uint32_t>(handle)) + QLatin1Char('H'); }

}  // namespace

void ZrHID::FindTheHid() {
    m_deviceDetected = false;
    m_discoveryProblem = {};
    HidDiagMessage(QStringLiteral("--- Find the HID Start ---"));

    const std::vector<HidDeviceInfo> devices = m_backend.enumerate();
    LogApiResult(QStringLiteral("hid_enumerate"));
    HidDiagMessage(QStringLiteral("  HID interfaces present: ") + QString::number(devices.size()));

    for (std::size_t index = 0; index < devices.size() && !m_deviceDetected; ++index) {
        const HidDeviceInfo& device = devices[index];
        LogDevice(static_cast<int>(index), device);
        if (device.vendorId == kVendorId && device.productId == kProductId) {
            if (!OpenInstrument(device)) break;
        } else {
            HidDiagMessage(QStringLiteral("  Not the instrument: skipped without opening it"));
        }
    }

    if (!m_deviceDetected) HidDiagMessage(QStringLiteral(" Device Not Found."));
    HidDiagMessage(QStringLiteral("--- Find the HID Finish ---"));
}

void ZrHID::LogDevice(int index, const HidDeviceInfo& device) {
    HidDiagMessage(QStringLiteral("  DeviceInfoSet for device #") + QString::number(index) + QStringLiteral(": "));
    HidDiagMessage(QStringLiteral("  Device pathname: "));
    HidDiagMessage(QStringLiteral("    ") + device.path);
    HidDiagMessage(QStringLiteral("    Length = ") + QString::number(device.path.size()));
    HidDiagMessage(QStringLiteral("  Vendor ID: ") + Hex(device.vendorId));
    HidDiagMessage(QStringLiteral("  Product ID: ") + Hex(device.productId));
    HidDiagMessage(QStringLiteral("  Version Number: ") + Hex(device.releaseNumber));
}

bool ZrHID::OpenInstrument(const HidDeviceInfo& device) {
    m_discoveryProblem.instrumentPresent = true;
    m_readHandle = kInvalidHidHandle;
    m_deviceHandle = m_backend.open(device.path);
    LogApiResult(QStringLiteral("hid_open_path"));
    HidDiagMessage(QStringLiteral("  Returned handle: ") + HandleText(m_deviceHandle));
    if (m_deviceHandle == kInvalidHidHandle) {
        const HidApiResult result = m_backend.lastResult();
        m_discoveryProblem.errorCode = result.code;
        m_discoveryProblem.detail = result.code == EACCES || result.code == EPERM
                                        ? QStringLiteral("permission denied")
                                        : SystemErrorText(result.code);
        HidDiagMessage(QStringLiteral("  The instrument could not be opened: ") + m_discoveryProblem.detail);
        return false;
    }
    m_deviceDetected = true;

    GetDeviceCapabilities();
    if (!CapabilitiesUsable()) {
        AbandonInstrument(QStringLiteral("its report descriptor gives no usable report lengths"));
        return false;
    }

    m_readHandle = m_backend.open(device.path);
    LogApiResult(QStringLiteral("hid_open_path, ReadHandle"));
    HidDiagMessage(QStringLiteral("  Returned handle: ") + HandleText(m_readHandle));
    if (m_readHandle == kInvalidHidHandle) {
        m_discoveryProblem.errorCode = m_backend.lastResult().code;
        AbandonInstrument(QStringLiteral("the read handle could not be opened: ") +
                          SystemErrorText(m_discoveryProblem.errorCode));
        return false;
    }

    SetupOverlappedRead();
    HidDiagMessage(QStringLiteral("  My Device Detected"));
    return true;
}

bool ZrHID::CapabilitiesUsable() const {
    return m_capabilitiesRead && m_caps.InputReportByteLength >= 2 && m_caps.OutputReportByteLength >= 2;
}

// Every command would fail on its buffers while the status bar said
// "Connected", so an instrument that cannot be used counts as not found.
void ZrHID::AbandonInstrument(const QString& why) {
    m_discoveryProblem.detail = why;
    HidDiagMessage(QStringLiteral("  The instrument cannot be used: ") + why);
    CloseDeviceHandles();
}

void ZrHID::GetDeviceCapabilities() {
    m_caps = {};
    m_capabilitiesRead = false;
    const QByteArray descriptor = m_backend.reportDescriptor(m_deviceHandle);
    LogApiResult(QStringLiteral("hid_get_report_descriptor"));

    const ReportDescriptorResult parsed = ParseReportDescriptor(descriptor);
    if (!parsed.layout) {
        HidDiagMessage(QStringLiteral("  Report descriptor not usable: ") + parsed.error);
        return;
    }
    const ReportLayout& layout = *parsed.layout;
    m_caps.Usage = layout.usage;
    m_caps.UsagePage = layout.usagePage;
    m_caps.InputReportByteLength = layout.inputReportByteLength;
    m_caps.OutputReportByteLength = layout.outputReportByteLength;
    m_caps.FeatureReportByteLength = layout.featureReportByteLength;
    m_caps.NumberLinkCollectionNodes = layout.linkCollectionNodes;
    m_caps.NumberInputButtonCaps = layout.inputButtonCaps;
    m_caps.NumberInputValueCaps = layout.inputValueCaps;
    m_caps.NumberInputDataIndices = layout.inputDataIndices;
    m_caps.NumberOutputButtonCaps = layout.outputButtonCaps;
    m_caps.NumberOutputValueCaps = layout.outputValueCaps;
    m_caps.NumberOutputDataIndices = layout.outputDataIndices;
    m_caps.NumberFeatureButtonCaps = layout.featureButtonCaps;
    m_caps.NumberFeatureValueCaps = layout.featureValueCaps;
    m_caps.NumberFeatureDataIndices = layout.featureDataIndices;
    for (const auto& [id, bytes] : layout.outputBytes)
        if (bytes + 1 <= 0xFFFF) m_caps.OutputReportSizes[id] = static_cast<std::uint16_t>(bytes + 1);
    m_capabilitiesRead = true;

    const auto line = [this](const char* caption, long long value) {
        HidDiagMessage(QLatin1String(caption) + QString::number(value));
    };
    HidDiagMessage(QStringLiteral("  Usage: ") + Hex(m_caps.Usage));
    HidDiagMessage(QStringLiteral("  Usage Page: ") + Hex(m_caps.UsagePage));
    line("  Input Report Byte Length: ", m_caps.InputReportByteLength);
    line("  Output Report Byte Length: ", m_caps.OutputReportByteLength);
    line("  Feature Report Byte Length: ", m_caps.FeatureReportByteLength);
    line("  Number of Link Collection Nodes: ", m_caps.NumberLinkCollectionNodes);
    line("  Number of Input Button Caps: ", m_caps.NumberInputButtonCaps);
    line("  Number of Input Value Caps: ", m_caps.NumberInputValueCaps);
    line("  Number of Input Data Indices: ", m_caps.NumberInputDataIndices);
    line("  Number of Output Button Caps: ", m_caps.NumberOutputButtonCaps);
    line("  Number of Output Value Caps: ", m_caps.NumberOutputValueCaps);
    line("  Number of Output Data Indices: ", m_caps.NumberOutputDataIndices);
    line("  Number of Feature Button Caps: ", m_caps.NumberFeatureButtonCaps);
    line("  Number of Feature Value Caps: ", m_caps.NumberFeatureValueCaps);
    line("  Number of Feature Data Indices: ", m_caps.NumberFeatureDataIndices);
    HidDiagMessage(QStringLiteral("ReportDescriptor= ") + HexBytes(descriptor, kDescriptorBytesLogged));
}

// hidapi needs no event object; the flag keeps the diagnostics of a second
// connection in one run recognisable to people who know the older logs.
void ZrHID::SetupOverlappedRead() {
    if (m_eventObjectCreated) {
        HidDiagMessage(QStringLiteral("  EventObject NOT Created!!"));
        return;
    }
    m_eventObjectCreated = true;
}

}  // namespace orvix
