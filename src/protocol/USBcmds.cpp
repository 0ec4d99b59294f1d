#include "protocol/USBcmds.h"

#include "common/Numbers.h"
#include "hid/ZrHID.h"
#include "protocol/ErrHdlr.h"

namespace orvix {

namespace {

constexpr int kNotConnected = 1;
constexpr int kUnknownFileType = 0;
constexpr int kIllegalResponse = 3;
constexpr int kUnexpectedFileType = 12;
constexpr int kKeyFileFactoryOnly = 17;

QString ErrorClassText(int code) {
    if (code == 0) return QStringLiteral(", Type: SysOK");
    if (code < 127) return QStringLiteral(", Type: Info");
    if (code == 127) return QStringLiteral(", Type: InfoAck");
    if (code < 255) return QStringLiteral(", Type: Halt");
    return QStringLiteral(", Type: HaltAck");
}

}  // namespace

USBcmds::USBcmds(ZrHID& hid, ErrHdlr& errors)
    : m_hid(hid), m_errors(errors), m_codec(hid, errors) {}

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

void USBcmds::SendAndRead(Command command, Parameters parameters) {
    const CommandSpec& spec = Spec(command);
    std::uint8_t bytes[8] = {};
    int count = 0;
    for (const std::int64_t parameter : parameters) {
        if (count == static_cast<int>(sizeof bytes)) RaiseRuntimeError(vb::kSubscriptOutOfRange);
        bytes[count++] = ToByte(static_cast<double>(parameter));
    }
    m_hid.SizeReportBuffer(ZrHID::kOutputBuffer);
    m_hid.SetOutByte(0, report_id::kCommand);
    m_hid.SetOutByte(1, spec.code());
    for (int i = 0; i < count; ++i) m_hid.SetOutByte(2 + i, bytes[i]);
    m_hid.WriteReport();
    m_hid.SizeReportBuffer(ZrHID::kInputBuffer);
    m_hid.ReadReport(spec.timeoutMs);
}

void USBcmds::Exchange(Command command, Parameters parameters) {
    if (!m_hid.DeviceDetected()) ErrHdlr::RaiseAppError(kNotConnected);
    SendAndRead(command, parameters);
    if (!m_hid.DeviceDetected()) ErrHdlr::RaiseAppError(kNotConnected);
}

bool USBcmds::ExchangeContinuing(Command command, Parameters parameters, const QString& procName) {
    if (!m_hid.DeviceDetected()) {
        ReportAppError(kNotConnected, procName);
    } else if (!ContinueStep(procName, [&] { SendAndRead(command, parameters); })) {
        // Nothing went out (a parameter that is no byte, a report too
        // short): there is no reply to check or decode.
        return false;
    }
    if (!m_hid.DeviceDetected()) {
        ReportAppError(kNotConnected, procName);
        return false;
    }
    return true;
}

void USBcmds::ReportAppError(int code, const QString& procName) {
    m_errors.LogError(ErrHdlr::MakeAppError(code), procName);
}

template <class T, class Body>
T USBcmds::LeaveAtOnce(const QString& procName, T initial, Body&& body) {
    T result = std::move(initial);
    try {
        body(result);
    } catch (...) {
        m_errors.LogError(procName);
    }
    return result;
}

template <class Body>
bool USBcmds::ContinueStep(const QString& procName, Body&& body) {
    try {
        body();
        return true;
    } catch (...) {
        m_errors.LogError(procName);
        return false;
    }
}

void USBcmds::PingDevice() {
    const QString procName = QStringLiteral("PingDevice()");
    if (!m_hid.DeviceDetected()) {
        ReportAppError(kNotConnected, procName);
        return;
    }
    // The reply is not examined: a missing one closes the connection, which
    // is all the keep-alive needs to learn.
    ContinueStep(procName, [&] { SendAndRead(Command::PingDevice, {}); });
}

QString USBcmds::TestNVM() {
    const QString procName = QStringLiteral("TestNVM()");
    QString result;
    if (!ExchangeContinuing(Command::TestNVM, {}, procName)) return result;
    ContinueStep(procName, [&] {
        switch (ReplyByte(2)) {
        case 0: result = QStringLiteral("NVM Test Fail"); break;
        case 1: result = QStringLiteral("NVM Test Pass"); break;
        default: ErrHdlr::RaiseAppError(kIllegalResponse);
        }
    });
    return result;
}

QString USBcmds::GetUserFile() {
    return LeaveAtOnce(QStringLiteral("GetUserFile()"), QString(), [&](QString& result) {
        Exchange(Command::GetUserFile, {});
        result = m_codec.CopyInReport2Str(Spec(Command::GetUserFile).replyStart);
    });
}

}  // namespace orvix

namespace orvix {

bool USBcmds::SendFileToDevice(const QString& text, int expectedType) {
    return LeaveAtOnce(QStringLiteral("SendFileToDevice()"), false, [&](bool& sent) {
        if (!m_hid.DeviceDetected()) ErrHdlr::RaiseAppError(kNotConnected);
        if (text.isEmpty()) RaiseRuntimeError(vb::kInvalidCall);
        const QChar type = text.front();
        if (expectedType != kAnyFileType && expectedType != type.unicode())
            ErrHdlr::RaiseAppError(kUnexpectedFileType);
        if (type == u'K') ErrHdlr::RaiseAppError(kKeyFileFactoryOnly);

        m_hid.SizeReportBuffer(ZrHID::kOutputBuffer);
        int index = 0;
        switch (type.unicode()) {
        case u'L': m_hid.SetOutByte(0, report_id::kLanguageFile); index = 2; break;
        case u'N': m_hid.SetOutByte(0, report_id::kNormalizationFile); index = 1; break;
        case u'P': m_hid.SetOutByte(0, report_id::kProductFile); index = 3; break;
        case u'U': m_hid.SetOutByte(0, report_id::kUserFile); index = 1; break;
        default: ErrHdlr::RaiseAppError(kUnknownFileType);
        }
        m_codec.CopyStr2OutReport(text, index);
        // A failed write has closed the connection; the file never left.
        sent = m_hid.WriteReport();
    });
}

}  // namespace orvix
