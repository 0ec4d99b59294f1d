#pragma once

#include "common/CappedLineList.h"
#include "hid/HidBackend.h"

#include <QString>

#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace orvix {

// The device's report capabilities; lengths include the report-ID byte.
struct HidCaps {
    std::uint16_t Usage = 0;
    std::uint16_t UsagePage = 0;
    std::uint16_t InputReportByteLength = 0;
    std::uint16_t OutputReportByteLength = 0;
    std::uint16_t FeatureReportByteLength = 0;
    std::uint16_t NumberLinkCollectionNodes = 0;
    std::uint16_t NumberInputButtonCaps = 0;
    std::uint16_t NumberInputValueCaps = 0;
    std::uint16_t NumberInputDataIndices = 0;
    std::uint16_t NumberOutputButtonCaps = 0;
    std::uint16_t NumberOutputValueCaps = 0;
    std::uint16_t NumberOutputDataIndices = 0;
    std::uint16_t NumberFeatureButtonCaps = 0;
    std::uint16_t NumberFeatureValueCaps = 0;
    std::uint16_t NumberFeatureDataIndices = 0;
    // Size on the wire of each output report ID, ID byte included. A report
    // is sent at the size of its own ID, as the operating system's HID driver
    // would; an ID not listed goes out at OutputReportByteLength.
    std::map<std::uint8_t, std::uint16_t> OutputReportSizes;
};

// Why the last search for the instrument failed although it was present, so
// the user can be told how to fix it (typically missing device permissions).
struct DiscoveryProblem {
    bool instrumentPresent = false;
    int errorCode = 0;  // of the failed call
    QString detail;     // what failed, for the user
};

// The transport to one instrument: its handles, report buffers and the
// diagnostics list. Every failure closes the connection; the command layer
// finds out by testing DeviceDetected after each exchange.
class ZrHID {
public:
    static constexpr int kOutputBuffer = 0;
    static constexpr int kInputBuffer = 1;

    explicit ZrHID(HidBackend& backend);

    HidBackend& backend() { return m_backend; }

    bool DeviceDetected() const { return m_deviceDetected; }
    bool ReportWritten() const { return m_reportWritten; }
    void SetReportWritten(bool written) { m_reportWritten = written; }

    static constexpr std::uint16_t kVendorId = 0x3A7E;
    static constexpr std::uint16_t kProductId = 0x0102;

    // Searches the HID devices for the instrument and opens it twice (one
    // handle to write, one to read). Afterwards DeviceDetected tells whether
    // it was found. An open connection is not closed first.
    void FindTheHid();
    void GetDeviceCapabilities();
    void SetupOverlappedRead();
    const DiscoveryProblem& LastDiscoveryProblem() const { return m_discoveryProblem; }

    // Hands over an already opened instrument (discovery and tests).
    void AttachDevice(HidHandle deviceHandle, HidHandle readHandle, const HidCaps& caps);
    HidHandle DeviceHandle() const { return m_deviceHandle; }
    HidHandle ReadHandle() const { return m_readHandle; }
    const HidCaps& Capabilities() const { return m_caps; }

    // The event of an earlier connection is reused by a later one.
    bool EventObjectCreated() const { return m_eventObjectCreated; }
    void SetEventObjectCreated() { m_eventObjectCreated = true; }

    void SizeReportBuffer(int kind);
    std::int16_t ReportLastIndex(int kind) const;
    // True when the whole report was written.
    bool WriteReport();
    void ReadReport(std::int32_t timeoutMs);
    void CloseDeviceHandles();

    // Bounds-checked buffer access: an index outside the buffer is run-time
    // error 9, never a stray read or write.
    std::uint8_t InByte(int index) const;
    std::uint8_t OutByte(int index) const;
    void SetOutByte(int index, std::uint8_t value);
    const std::vector<std::uint8_t>& InReportBfr() const { return m_inReport; }
    const std::vector<std::uint8_t>& OutReportBfr() const { return m_outReport; }
    std::span<std::uint8_t> OutReportSpan() { return m_outReport; }

    void HidDiagMessage(const QString& text);
    void LogApiResult(const QString& apiName);
    static QString SystemErrorText(int code);
    CappedLineList& Diagnostics() { return m_diagnostics; }
    const CappedLineList& Diagnostics() const { return m_diagnostics; }

private:
    std::size_t wireLength() const;
    bool OpenInstrument(const HidDeviceInfo& device);
    void LogDevice(int index, const HidDeviceInfo& device);
    bool CapabilitiesUsable() const;
    void AbandonInstrument(const QString& why);

    HidBackend& m_backend;
    bool m_deviceDetected = false;
    bool m_reportWritten = false;
    bool m_eventObjectCreated = false;
    HidHandle m_deviceHandle = kInvalidHidHandle;
    HidHandle m_readHandle = kInvalidHidHandle;
    HidCaps m_caps;
    std::vector<std::uint8_t> m_inReport;
    std::vector<std::uint8_t> m_outReport;
    CappedLineList m_diagnostics;
    DiscoveryProblem m_discoveryProblem;
    bool m_capabilitiesRead = false;
};

}  // namespace orvix
