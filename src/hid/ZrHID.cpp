#include "hid/ZrHID.h"

#include "common/VbError.h"

#include <algorithm>
#include <system_error>

namespace orvix {

namespace {

constexpr int kMaxSystemErrorTextLength = 128;

QString Decimal(long long value) { return QString::number(value); }

}  // namespace

ZrHID::ZrHID(HidBackend& backend) : m_backend(backend) {}

void ZrHID::AttachDevice(HidHandle deviceHandle, HidHandle readHandle, const HidCaps& caps) {
    m_deviceHandle = deviceHandle;
    m_readHandle = readHandle;
    m_caps = caps;
    m_deviceDetected = true;
}

void ZrHID::SizeReportBuffer(int kind) {
    if (kind == kInputBuffer)
        m_inReport.assign(m_caps.InputReportByteLength, 0);
    else if (kind == kOutputBuffer)
        m_outReport.assign(m_caps.OutputReportByteLength, 0);
}

std::int16_t ZrHID::ReportLastIndex(int kind) const {
    if (kind == kInputBuffer) return static_cast<std::int16_t>(m_caps.InputReportByteLength - 1);
    if (kind == kOutputBuffer) return static_cast<std::int16_t>(m_caps.OutputReportByteLength - 1);
    return 0;
}

std::size_t ZrHID::wireLength() const {
    if (m_outReport.empty()) return 0;
    const auto sized = m_caps.OutputReportSizes.find(m_outReport[0]);
    if (sized == m_caps.OutputReportSizes.end()) return m_outReport.size();
    return std::min<std::size_t>(sized->second, m_outReport.size());
}

bool ZrHID::WriteReport() {
    const std::size_t length = wireLength();
    const int written =
        length == 0 ? -1 : m_backend.write(m_deviceHandle, m_outReport.data(), length);
    LogApiResult(QStringLiteral("hid_write"));

    const QString reportId = QStringLiteral(" Report ID: ") + Decimal(m_outReport.empty() ? 0 : m_outReport[0]);
    const QString reportCmd = QStringLiteral(" Report Cmd: ") + Decimal(m_outReport.size() < 2 ? 0 : m_outReport[1]);
    if (length > 0 && written == static_cast<int>(length)) {
        HidDiagMessage(QStringLiteral(" OutputReportByteLength = ") + Decimal(m_caps.OutputReportByteLength));
        HidDiagMessage(QStringLiteral(" NumberOfBytesWritten = ") + Decimal(written));
        HidDiagMessage(reportId);
        HidDiagMessage(reportCmd);
        m_reportWritten = true;
        return true;
    }
    HidDiagMessage(QStringLiteral(" WriteFile Error "));
    HidDiagMessage(reportId);
    HidDiagMessage(reportCmd);
    CloseDeviceHandles();
    return false;
}

void ZrHID::ReadReport(std::int32_t timeoutMs) {
    // hid_read_timeout waits itself, so the wait is announced before the call.
    HidDiagMessage(QStringLiteral("   Waiting for ReadFile"));
    int read = m_inReport.empty()
                   ? -1
                   : m_backend.readTimeout(m_readHandle, m_inReport.data(), m_inReport.size(),
                                           std::max<std::int32_t>(timeoutMs, 0));
    LogApiResult(QStringLiteral("hid_read_timeout"));
    read = std::min(read, static_cast<int>(m_inReport.size()));

    if (read > 0) {
        HidDiagMessage(QStringLiteral("ReadFile completed successfully."));
    } else if (read == 0) {
        HidDiagMessage(QStringLiteral("ReadFile Timeout"));
        CloseDeviceHandles();
    } else {
        HidDiagMessage(QStringLiteral("Readfile undefined error"));
        CloseDeviceHandles();
    }
    HidDiagMessage(QStringLiteral(" NumberOfBytesRead: ") + Decimal(std::max(read, 0)));
    HidDiagMessage(QStringLiteral(" Report ID: ") + Decimal(m_inReport.empty() ? 0 : m_inReport[0]));
}

void ZrHID::CloseDeviceHandles() {
    if (!m_deviceDetected) return;
    m_deviceDetected = false;
    for (HidHandle* handle : {&m_deviceHandle, &m_readHandle}) {
        if (*handle == kInvalidHidHandle) continue;
        m_backend.close(*handle);
        LogApiResult(QStringLiteral("hid_close"));
        *handle = kInvalidHidHandle;
    }
}

std::uint8_t ZrHID::InByte(int index) const {
    if (index < 0 || index >= static_cast<int>(m_inReport.size()))
        RaiseRuntimeError(vb::kSubscriptOutOfRange);
    return m_inReport[static_cast<std::size_t>(index)];
}

std::uint8_t ZrHID::OutByte(int index) const {
    if (index < 0 || index >= static_cast<int>(m_outReport.size()))
        RaiseRuntimeError(vb::kSubscriptOutOfRange);
    return m_outReport[static_cast<std::size_t>(index)];
}

void ZrHID::SetOutByte(int index, std::uint8_t value) {
    if (index < 0 || index >= static_cast<int>(m_outReport.size()))
        RaiseRuntimeError(vb::kSubscriptOutOfRange);
    m_outReport[static_cast<std::size_t>(index)] = value;
}

void ZrHID::HidDiagMessage(const QString& text) { m_diagnostics.add(text); }

void ZrHID::LogApiResult(const QString& apiName) {
    const HidApiResult result = m_backend.lastResult();
    const QString text = result.message.isEmpty() ? SystemErrorText(result.code) : result.message;
    HidDiagMessage(QString());
    HidDiagMessage(apiName);
    HidDiagMessage(QStringLiteral("  API Result = ") + text + QStringLiteral(",  Err# ") +
                   Decimal(result.code));
}

QString ZrHID::SystemErrorText(int code) {
    QString text = QString::fromStdString(std::system_category().message(code));
    while (text.endsWith(u'\n') || text.endsWith(u'\r')) text.chop(1);
    return text.left(kMaxSystemErrorTextLength);
}

}  // namespace orvix
