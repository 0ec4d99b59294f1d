// The instrument's measurement, status and service commands. Each carries on
// after a failure, so a command found disconnected reports at every
// connection check it passes.

#include "protocol/USBcmds.h"

#include "common/Numbers.h"
#include "common/Panes.h"
#include "hid/ZrHID.h"
#include "protocol/ErrorCodes.h"

#include <functional>

namespace orvix {

namespace {

constexpr int kAdcBusy = 2;
constexpr int kAdcReady = 3;
constexpr int kAdcTimeOut = 4;
constexpr int kMeasSeqBusy = 3;
constexpr int kMeasSeqDone = 4;
constexpr int kMeasSeqError = 5;

QString Dec(long long value) { return QString::number(value); }

// Scaled values are single precision on the instrument's side of things.
QString Scaled(int value, float divisor, const char16_t* pattern) {
    return FormatNumber(static_cast<float>(value) / divisor, QStringView(pattern));
}

}  // namespace

void USBcmds::PingDevice() {
    const QString procName = QStringLiteral("PingDevice()");
    if (!m_hid.DeviceDetected()) {
        ReportAppError(error_code::kNotConnected, procName);
        return;
    }
    // The reply is not examined: a missing one closes the connection, which
    // is all the keep-alive needs to learn.
    ContinueStep(procName, [&] { SendAndRead(Command::PingDevice, {}); });
}

// The cell ADC and the load cell answer alike: busy while converting, then
// ready, or a time-out of the converter.
QString USBcmds::PolledAdcReading(Command command, Parameters start, Parameters poll, const QString& procName,
                                  const std::function<QString()>& decode) {
    const PollOutcome end =
        Poll(command, start, poll, kAdcBusy, QStringLiteral("ADC is Busy"), kAdcBusyBudgetMs, procName);
    QString result;
    if (!end.replied) return result;
    if (end.outOfTime || end.status == kAdcTimeOut)
        ReportAppError(error_code::kAdcTimeOut, procName);
    else if (end.status != kAdcReady)
        ReportAppError(error_code::kIllegalResponse, procName);
    else
        ContinueStep(procName, [&] { result = decode(); });
    return result;
}

QString USBcmds::GetCellADC(int channel) {
    return PolledAdcReading(Command::GetCellADC, {0, channel}, {1, channel}, QStringLiteral("GetCellADC()"), [this] {
        return QStringLiteral("ALL_CELL") + Dec(ReplyByte(3)) + QStringLiteral(", ") + Dec(ReplyUnsigned(4));
    });
}

QString USBcmds::AccessLoadCell() {
    return PolledAdcReading(Command::AccessLoadCell, {0}, {1}, QStringLiteral("AccessLoadCell()"), [this] {
        TraceReplyBytes(3, 6);
        return Dec(ReplyUnsigned(3)) + QStringLiteral(", ") + Dec(ReplyUnsigned(5));
    });
}

QString USBcmds::AccessAccelerometer(int mode) {
    const QString procName = QStringLiteral("AccessAccelerometer()");
    QString result;
    if (!ExchangeContinuing(Command::AccessAccelerometer, {mode}, procName)) return result;
    ContinueStep(procName, [&] {
        const int status = ReplyByte(2);
        if (status != 2 && status != 3) return;
        TraceReplyBytes(3, 8);
        const QString xyz = Dec(ReplySigned(3)) + QStringLiteral(", ") + Dec(ReplySigned(5)) +
                            QStringLiteral(", ") + Dec(ReplySigned(7));
        if (status == 2)
            result = xyz;
        else
            result = QStringLiteral("PosXYZ, ") + xyz + QStringLiteral(", ") + Scaled(ReplySigned(9), 1024.0f, u"0.00000");
    });
    return result;
}

QString USBcmds::GetNrmlTemp(int sensor) {
    const QString procName = QStringLiteral("GetNrmlTemp()");
    QString result;
    if (!ExchangeContinuing(Command::GetNrmlTemp, {sensor}, procName)) return result;
    ContinueStep(procName, [&] {
        TraceReplyBytes(3, 4);
        result = Scaled(ReplySigned(3), 10.0f, u"###0.0");
    });
    return result;
}

QString USBcmds::GetMeasValues() {
    const QString procName = QStringLiteral("GetMeasValues()");
    QString result;
    if (!ExchangeContinuing(Command::GetMeasValues, {0}, procName)) return result;
    ContinueStep(procName, [&] {
        QString text;
        for (int d = 0; d < 4; ++d)
            text += QStringLiteral("D%1 = ").arg(d + 1) +
                    (QStringLiteral("0000") + Dec(ReplySigned(2 + 2 * d))).right(4) + QStringLiteral("\r\n");
        text += QStringLiteral("Mass = ") + Dec(ReplySigned(10)) + QStringLiteral(" gms\r\n");
        text += QStringLiteral("PosXYZ = ") + Scaled(ReplySigned(12), 1024.0f, u"#0.000") + QStringLiteral("\r\n");
        text += QStringLiteral("Moisture = ") + Scaled(ReplySigned(14), 10.0f, u"#0.0") + QStringLiteral("\r\n");
        text += QStringLiteral("TestWeight = ") + Scaled(ReplySigned(16), 10.0f, u"#0.0");
        result = text;
    });
    return result;
}

QString USBcmds::GetSoftwareInfo(int item) {
    QString text = LeaveAtOnce(QStringLiteral("GetSoftwareInfo()"), QString(), [&](QString& info) {
        Exchange(Command::GetSoftwareInfo, {item});
        info = m_codec.CopyInReport2Str(Framing(Command::GetSoftwareInfo).replyStart);
    });
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0) text.truncate(nul);
    return text;
}

QString USBcmds::GetPgmCkSum(int item) {
    const QString procName = QStringLiteral("GetPgmCkSum()");
    QString result;
    if (!ExchangeContinuing(Command::GetPgmCkSum, {item}, procName)) return result;
    ContinueStep(procName, [&] {
        const int status = ReplyByte(2);
        if (status != 0 && status != 1) ErrHdlr::RaiseAppError(error_code::kIllegalResponse);
        result = QStringLiteral("0x") + Hex2(ReplyByte(3));
    });
    return result;
}

QString USBcmds::TwoStateCommand(Command command, Parameters parameters, const QString& procName,
                                 const QString& offText, const QString& onText) {
    QString result;
    if (!ExchangeContinuing(command, parameters, procName)) return result;
    ContinueStep(procName, [&] {
        switch (ReplyByte(2)) {
        case 0: result = offText; break;
        case 1: result = onText; break;
        default: ErrHdlr::RaiseAppError(error_code::kIllegalResponse);
        }
    });
    return result;
}

QString USBcmds::TestNVM() {
    return TwoStateCommand(Command::TestNVM, {}, QStringLiteral("TestNVM()"), QStringLiteral("NVM Test Fail"),
                           QStringLiteral("NVM Test Pass"));
}

QString USBcmds::ControlBacklight(int mode) {
    return TwoStateCommand(Command::ControlBacklight, {mode}, QStringLiteral("ControlBacklight()"),
                           QStringLiteral("BackLight Off"), QStringLiteral("Backlight On"));
}

QString USBcmds::ControlFactoryTest(int mode) {
    return TwoStateCommand(Command::ControlFactoryTest, {mode}, QStringLiteral("ControlFactoryTest()"),
                           QStringLiteral("Factory Test Disabled"), QStringLiteral("Factory Test Enabled"));
}

QString USBcmds::ControlVppGenerator(int mode) {
    return TwoStateCommand(Command::ControlVppGenerator, {mode}, QStringLiteral("ControlVppGenerator()"),
                           QStringLiteral("Vpp Disabled"), QStringLiteral("Vpp Enabled"));
}

QString USBcmds::ControlLCDTest(int mode) {
    return TwoStateCommand(Command::ControlLCDTest, {mode}, QStringLiteral("ControlLCDTest()"),
                           QStringLiteral("LCD Test Disabled"), QStringLiteral("LCD Test Enabled"));
}

QString USBcmds::GetSwitchStatus() {
    const QString procName = QStringLiteral("GetSwitchStatus()");
    QString result;
    if (!ExchangeContinuing(Command::GetSwitchStatus, {}, procName)) return result;
    ContinueStep(procName, [&] {
        const int bits = ReplyByte(2);
        const struct {
            int bit;
            const char16_t* open;
            const char16_t* closed;
        } switches[] = {
            {0x1, u"Home( Open ) ", u"Home(Closed) "},
            {0x2, u"Up( Open ) ", u"Up(Closed) "},
            {0x4, u"Enter( Open ) ", u"Enter(Closed) "},
            {0x8, u"Down( Open ) ", u"Down(Closed) "},
        };
        for (const auto& s : switches) result += QString::fromUtf16((bits & s.bit) ? s.open : s.closed);
    });
    return result;
}

QString USBcmds::GetAnalogValue(int channel) {
    const QString procName = QStringLiteral("GetAnalogValue()");
    QString result;
    if (!ExchangeContinuing(Command::GetAnalogValue, {channel}, procName)) return result;
    ContinueStep(procName, [&] {
        const int type = ReplyByte(2);
        const int value = ReplySigned(3);
        switch (type) {
        case 0:
        case 4: result = Scaled(value, 10.0f, u"###0.0"); break;
        case 1:
        case 2: result = Scaled(value, 1024.0f, u"###0.0"); break;
        case 3: result = Dec(value); break;
        default: ErrHdlr::RaiseAppError(error_code::kIllegalResponse);
        }
    });
    return result;
}

QString USBcmds::AccessErrCode(int mode, int code) {
    const QString procName = QStringLiteral("AccessErrCode()");
    QString result;
    if (!ExchangeContinuing(Command::AccessErrCode, {mode, code}, procName)) return result;
    ContinueStep(procName, [&] {
        QString lines;
        for (int i = 3; i <= 7; ++i) lines += ErrorCodeText(ReplyByte(i)) + QStringLiteral("\r\n");
        result = lines;
    });
    return result;
}

QString USBcmds::AccessMeasSeq(int which) {
    const QString procName = QStringLiteral("AccessMeasSeq()");
    const bool emptyCell = which == 1;
    const PollOutcome end = Poll(Command::AccessMeasSeq, {emptyCell ? 1 : 2}, {0}, kMeasSeqBusy,
                                 QStringLiteral("MeasSeq is Busy"), kMeasSeqBusyBudgetMs, procName);
    if (!end.replied) return {};
    if (end.status == kMeasSeqDone) {
        m_panes.MessageToDebug(QStringLiteral("MeasSeq is Done"));
        return emptyCell ? QStringLiteral("Empty Cell Measurement Complete")
                         : QStringLiteral("Full Cell Measurement Complete");
    }
    if (end.outOfTime || end.status == kMeasSeqError) {
        m_panes.MessageToDebug(QStringLiteral("MeasSeq Error"));
        ReportAppError(error_code::kMeasurementSequence, procName);
        return QStringLiteral("Cell Measurement Error");
    }
    ReportAppError(error_code::kIllegalResponse, procName);
    return {};
}

QString USBcmds::AccessLangIdxProdIdx(bool setMode, int& langIdx, int& prodIdx) {
    const QString procName = QStringLiteral("AccessLangIdxProdIdx()");
    QString result;
    const bool exchanged = setMode ? ExchangeContinuing(Command::AccessLangIdxProdIdx, {1, langIdx, prodIdx}, procName)
                                   : ExchangeContinuing(Command::AccessLangIdxProdIdx, {0, 0, 0}, procName);
    if (!exchanged) return result;
    ContinueStep(procName, [&] {
        const int lang = ReplyByte(2) < kMaxLanguages ? ReplyByte(2) : 0;
        const int prod = ReplyByte(3) < kMaxProducts ? ReplyByte(3) : 0;
        const int check = ReplyByte(4);
        const QString checkText = check == 0   ? QStringLiteral("Fail")
                                  : check == 1 ? QStringLiteral("Pass")
                                               : QStringLiteral("Invalid Response");
        langIdx = lang;
        prodIdx = prod;
        result = QStringLiteral("LangIdx=") + Dec(lang) + QStringLiteral("\r\nProdIdx=") + Dec(prod) +
                 QStringLiteral("\r\nCkSum=") + checkText + QStringLiteral("\r\n");
    });
    return result;
}

// Both table sizes come in one reply; each operation reports under its own
// name and keeps the instrument's default when the exchange fails.
int USBcmds::TableSize(const QString& procName, int replyIndex, int defaultSize) {
    int size = defaultSize;
    if (ExchangeContinuing(Command::GetMaxTableSizes, {}, procName))
        ContinueStep(procName, [&] { size = ReplyByte(replyIndex); });
    return size;
}

int USBcmds::GetMaxProducts() { return TableSize(QStringLiteral("GetMaxProducts()"), 2, kMaxProducts); }

int USBcmds::GetMaxLanguages() { return TableSize(QStringLiteral("GetMaxLanguages()"), 3, kMaxLanguages); }

int USBcmds::IssueUnknownCmd() {
    const QString procName = QStringLiteral("IssueUnknownCmd()");
    int answer = 0;
    if (ExchangeContinuing(Command::IssueUnknownCmd, {}, procName))
        ContinueStep(procName, [&] { answer = ReplyByte(1); });
    return answer;
}

bool USBcmds::SendText2Display(int b1, int b2, int b3, int b4) {
    const QString procName = QStringLiteral("SendText2Display()");
    bool accepted = false;
    if (ExchangeContinuing(Command::SendText2Display, {b1, b2, b3, b4}, procName))
        ContinueStep(procName, [&] { accepted = ReplyByte(1) == 1; });
    return accepted;
}

}  // namespace orvix
