// The instrument's file commands: reads, uploads and deletes of product,
// language, user, normalisation and key files. Each ends at its first failure.

#include "protocol/USBcmds.h"

#include "common/Panes.h"
#include "common/Text.h"
#include "common/TextFields.h"
#include "hid/ZrHID.h"
#include "protocol/ErrorCodes.h"

namespace orvix {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The text of a 1-based position range as the original string routines saw
// it: a start past the text or a negative length is run-time error 5.
QString MidText(const QString& text, qsizetype from1, qsizetype length) {
    if (from1 < 1 || length < 0) RaiseRuntimeError(vb::kInvalidCall);
    return text.mid(from1 - 1, length);
}

}  // namespace

void USBcmds::CheckProductIndex(int prodIdx) {
    if (prodIdx >= kMaxProducts) ErrHdlr::RaiseAppError(error_code::kProductIndex);
}

void USBcmds::CheckLanguageIndex(int langIdx) {
    if (langIdx >= kMaxLanguages) ErrHdlr::RaiseAppError(error_code::kLanguageIndex);
}

QString USBcmds::FileRead(Command command, Parameters parameters, const QString& procName) {
    return LeaveAtOnce(procName, QString(), [&](QString& text) {
        Exchange(command, parameters);
        text = m_codec.CopyInReport2Str(Framing(command).replyStart);
    });
}

QString USBcmds::GetProductFile(int prodIdx, int langIdx) {
    const QString procName = QStringLiteral("GetProductFile()");
    return LeaveAtOnce(procName, QString(), [&](QString& text) {
        CheckProductIndex(prodIdx);
        CheckLanguageIndex(langIdx);
        Exchange(Command::GetProductFile, {prodIdx, langIdx});
        text = m_codec.CopyInReport2Str(Framing(Command::GetProductFile).replyStart);
    });
}

QString USBcmds::GetLanguageFile(int langIdx) {
    return LeaveAtOnce(QStringLiteral("GetLanguageFile()"), QString(), [&](QString& text) {
        CheckLanguageIndex(langIdx);
        Exchange(Command::GetLanguageFile, {langIdx});
        text = m_codec.CopyInReport2Str(Framing(Command::GetLanguageFile).replyStart);
    });
}

QString USBcmds::GetUserFile() {
    return FileRead(Command::GetUserFile, {}, QStringLiteral("GetUserFile()"));
}

QString USBcmds::GetNormalizationFile() {
    return FileRead(Command::GetNormalizationFile, {}, QStringLiteral("GetNormalizationFile()"));
}

// The value of the reply's first key=value line.
QString USBcmds::NamedValueRead(Command command, Parameters parameters, const QString& procName) {
    return LeaveAtOnce(procName, QString(), [&](QString& value) {
        Exchange(command, parameters);
        value = m_codec.CopyInReport2Str(Framing(command).replyStart);
        value = value.mid(value.indexOf(u'=') + 1);
        const qsizetype lineEnd = value.indexOf(kCrLf);
        if (lineEnd < 0) RaiseRuntimeError(vb::kInvalidCall);
        value.truncate(lineEnd);
    });
}

QString USBcmds::GetProductName(int prodIdx, int langIdx) {
    const QString procName = QStringLiteral("GetProductName()");
    return LeaveAtOnce(procName, QString(), [&](QString& name) {
        CheckProductIndex(prodIdx);
        CheckLanguageIndex(langIdx);
        name = NamedValueRead(Command::GetProductName, {prodIdx, langIdx}, procName);
    });
}

QString USBcmds::GetLanguageDescription(int langIdx) {
    const QString procName = QStringLiteral("GetLanguageDescription()");
    return LeaveAtOnce(procName, QString(), [&](QString& description) {
        CheckLanguageIndex(langIdx);
        description = NamedValueRead(Command::GetLanguageDescription, {langIdx}, procName);
    });
}

QString USBcmds::GetKeyFile() {
    return LeaveAtOnce(QStringLiteral("GetKeyFile()"), QString(), [&](QString& text) {
        Exchange(Command::GetKeyFile, {});
        text = m_codec.CopyInReport2Str(Framing(Command::GetKeyFile).replyStart);
        m_panes.MessageToDebug(text);
        m_panes.MessageToDebug(QStringLiteral("File Length = ") + QString::number(text.size()));
        // A reply is always padded with zero bytes; a key file is empty when
        // nothing comes before them.
        if (text.indexOf(QChar(u'\0')) == 0 || text.isEmpty()) ErrHdlr::RaiseAppError(error_code::kNoData);

        ExtractKeyEntry(text, QStringLiteral("AMSN"), m_keyAMSN);
        m_panes.MessageToDebug(QStringLiteral("AMSN = ") + m_keyAMSN);
        ExtractKeyEntry(text, QStringLiteral("Model"), m_keyModel);
        m_panes.MessageToDebug(QStringLiteral("Model = ") + m_keyModel);
    });
}

// The value between the "=" after the key and the line's CR LF. A missing
// entry, or one without "=" or CR LF, is run-time error 5 and leaves the
// earlier value in place.
void USBcmds::ExtractKeyEntry(const QString& text, const QString& key, QString& value) {
    const qsizetype keyAt = text.indexOf(key);
    if (keyAt < 0) RaiseRuntimeError(vb::kInvalidCall);
    const qsizetype p = keyAt + key.size();  // 0-based, just after the key
    const qsizetype lineEnd = text.indexOf(kCrLf, p);
    const qsizetype equals = text.indexOf(u'=', p);
    if (lineEnd < 0 || equals < 0) RaiseRuntimeError(vb::kInvalidCall);
    value = TrimBlanks(MidText(text, equals + 2, lineEnd - (equals + 1)));
}

QString USBcmds::GetSerialNumber() {
    const QStringList fields = SplitFields(m_keyAMSN, QStringLiteral("-"));
    for (const QString& field : fields) m_panes.MessageToDebug(field);
    return fields.size() < 3 ? QString() : fields[2];
}

void USBcmds::SendConstKeyFile(const QString& serial) {
    LeaveAtOnce(QStringLiteral("SendConstKeyFile()"), 0, [&](int&) {
        if (!m_hid.DeviceDetected()) ErrHdlr::RaiseAppError(error_code::kNotConnected);
        const QString text = QStringLiteral("K\r\nAMSN=X10203-3000-") + serial + kCrLf;
        m_hid.SizeReportBuffer(ZrHID::kOutputBuffer);
        m_hid.SetOutByte(0, report_id::kKeyFile);
        for (qsizetype i = 0; i < text.size(); ++i)
            m_hid.SetOutByte(static_cast<int>(i + 1), Cp1252ByteOrRaise(text[i]));
        m_hid.WriteReport();
    });
}

bool USBcmds::SendFileToDevice(const QString& text, int expectedType) {
    return LeaveAtOnce(QStringLiteral("SendFileToDevice()"), false, [&](bool& sent) {
        if (!m_hid.DeviceDetected()) ErrHdlr::RaiseAppError(error_code::kNotConnected);
        if (text.isEmpty()) RaiseRuntimeError(vb::kInvalidCall);
        const QChar type = text.front();
        if (expectedType != kAnyFileType && expectedType != type.unicode())
            ErrHdlr::RaiseAppError(error_code::kUnexpectedFileType);
        if (type == u'K') ErrHdlr::RaiseAppError(error_code::kKeyFileFactoryOnly);

        m_hid.SizeReportBuffer(ZrHID::kOutputBuffer);
        int index = 0;
        switch (type.unicode()) {
        case u'L': m_hid.SetOutByte(0, report_id::kLanguageFile); index = 2; break;
        case u'N': m_hid.SetOutByte(0, report_id::kNormalizationFile); index = 1; break;
        case u'P': m_hid.SetOutByte(0, report_id::kProductFile); index = 3; break;
        case u'U': m_hid.SetOutByte(0, report_id::kUserFile); index = 1; break;
        default: ErrHdlr::RaiseAppError(error_code::kUnknownFileType);
        }
        m_codec.CopyStr2OutReport(text, index);
        // A failed write has closed the connection; the file never left.
        sent = m_hid.WriteReport();
    });
}

// The reply to a delete is not examined: once the command was written the
// instrument may have deleted the file, reply or not.
bool USBcmds::Delete(Command command, Parameters parameters, const QString& procName) {
    return LeaveAtOnce(procName, false, [&](bool& written) {
        if (!m_hid.DeviceDetected()) ErrHdlr::RaiseAppError(error_code::kNotConnected);
        written = SendAndRead(command, parameters);
    });
}

bool USBcmds::DeleteProductFile(int prodIdx, int langIdx) {
    const QString procName = QStringLiteral("DeleteProductFile()");
    return LeaveAtOnce(procName, false, [&](bool& written) {
        CheckProductIndex(prodIdx);
        CheckLanguageIndex(langIdx);
        written = Delete(Command::DeleteProductFile, {prodIdx, langIdx}, procName);
    });
}

bool USBcmds::DeleteLanguageFile(int langIdx) {
    const QString procName = QStringLiteral("DeleteLanguageFile()");
    return LeaveAtOnce(procName, false, [&](bool& written) {
        CheckLanguageIndex(langIdx);
        written = Delete(Command::DeleteLanguageFile, {langIdx}, procName);
    });
}

}  // namespace orvix
