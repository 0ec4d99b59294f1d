#include "protocol/USBcmds.h"

#include "common/Numbers.h"
#include "common/Panes.h"
#include "common/Platform.h"
#include "hid/ZrHID.h"
#include "protocol/ErrorCodes.h"

namespace orvix {

namespace {

QString ErrorClassText(int code) {
    if (code == 0) return QStringLiteral(", Type: SysOK");
    if (code < 127) return QStringLiteral(", Type: Info");
    if (code == 127) return QStringLiteral(", Type: InfoAck");
    if (code < 255) return QStringLiteral(", Type: Halt");
    return QStringLiteral(", Type: HaltAck");
}

}  // namespace

USBcmds::USBcmds(ZrHID& hid, ErrHdlr& errors, Panes& panes, const Platform& platform)
    : m_hid(hid), m_errors(errors), m_panes(panes), m_platform(platform), m_codec(hid, errors) {}

QString USBcmds::ErrorCodeText(int code) {
    return QStringLiteral("%1").arg(code, 3, 10, QLatin1Char('0')) + ErrorClassText(code);
}

int USBcmds::UnsignedValue(std::uint8_t high, std::uint8_t low) { return high * 256 + low; }

int USBcmds::SignedValue(std::uint8_t high, std::uint8_t low) {
    const int value = UnsignedValue(high, low);
    return value > 0x7FFF ? value - 65536 : value;
}

std::uint8_t USBcmds::ReplyByte(int index) const { return m_hid.InByte(index); }

int USBcmds::ReplyUnsigned(int highIndex) const {
    return UnsignedValue(m_hid.InByte(highIndex), m_hid.InByte(highIndex + 1));
}

int USBcmds::ReplySigned(int highIndex) const {
    return SignedValue(m_hid.InByte(highIndex), m_hid.InByte(highIndex + 1));
}

bool USBcmds::SendAndRead(Command command, Parameters parameters) {
    const CommandFraming& framing = Framing(command);
    std::uint8_t bytes[8] = {};
    int count = 0;
    for (const std::int64_t parameter : parameters) {
        if (count == static_cast<int>(sizeof bytes)) RaiseRuntimeError(vb::kSubscriptOutOfRange);
        bytes[count++] = ToByte(static_cast<double>(parameter));
    }
    m_hid.SizeReportBuffer(ZrHID::kOutputBuffer);
    m_hid.SetOutByte(0, report_id::kCommand);
    m_hid.SetOutByte(1, framing.code());
    for (int i = 0; i < count; ++i) m_hid.SetOutByte(2 + i, bytes[i]);
    // A failed write has closed the connection: waiting for a reply to a
    // command that never left would only add a second failure to the log.
    if (!m_hid.WriteReport()) return false;
    m_hid.SizeReportBuffer(ZrHID::kInputBuffer);
    m_hid.ReadReport(framing.timeoutMs);
    return true;
}

void USBcmds::Exchange(Command command, Parameters parameters) {
    if (!m_hid.DeviceDetected()) ErrHdlr::RaiseAppError(error_code::kNotConnected);
    SendAndRead(command, parameters);
    if (!m_hid.DeviceDetected()) ErrHdlr::RaiseAppError(error_code::kNotConnected);
}

bool USBcmds::ExchangeContinuing(Command command, Parameters parameters, const QString& procName) {
    if (!m_hid.DeviceDetected()) {
        ReportAppError(error_code::kNotConnected, procName);
    } else if (!ContinueStep(procName, [&] { SendAndRead(command, parameters); })) {
        // Nothing went out (a parameter that is no byte, a report too
        // short): there is no reply to check or decode.
        return false;
    }
    if (!m_hid.DeviceDetected()) {
        ReportAppError(error_code::kNotConnected, procName);
        return false;
    }
    return true;
}

USBcmds::PollOutcome USBcmds::Poll(Command command, Parameters start, Parameters poll, int busyStatus,
                                   const QString& busyTrace, int budgetMs, const QString& procName) {
    // The start request's reply is not examined.
    if (!m_hid.DeviceDetected())
        ReportAppError(error_code::kNotConnected, procName);
    else if (!ContinueStep(procName, [&] { SendAndRead(command, start); }))
        return {};

    const std::uint32_t began = m_platform.milliseconds();
    for (;;) {
        if (!m_hid.DeviceDetected()) {
            // Found before the poll and again at the check after it.
            ReportAppError(error_code::kNotConnected, procName);
            ReportAppError(error_code::kNotConnected, procName);
            return {};
        }
        if (!ContinueStep(procName, [&] { SendAndRead(command, poll); })) return {};
        if (!m_hid.DeviceDetected()) {
            ReportAppError(error_code::kNotConnected, procName);
            return {};
        }
        PollOutcome outcome;
        if (!ContinueStep(procName, [&] { outcome.status = ReplyByte(2); })) return {};
        outcome.replied = true;
        if (outcome.status != busyStatus) return outcome;
        m_panes.MessageToDebug(busyTrace);
        if (static_cast<std::uint32_t>(m_platform.milliseconds() - began) >= static_cast<std::uint32_t>(budgetMs)) {
            outcome.outOfTime = true;
            return outcome;
        }
    }
}

void USBcmds::TraceReplyBytes(int first, int last) {
    for (int i = first; i <= last; ++i)
        m_panes.MessageToDebug(QStringLiteral("InReportBfr(%1) = 0x").arg(i) + Hex2(ReplyByte(i)));
}

void USBcmds::ReportAppError(int code, const QString& procName) {
    m_errors.LogError(ErrHdlr::MakeAppError(code), procName);
}

}  // namespace orvix
