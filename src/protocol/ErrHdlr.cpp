#include "protocol/ErrHdlr.h"

#include "common/Platform.h"
#include "common/Prompter.h"
#include "common/Text.h"

#include <QDir>
#include <QFile>

#include <array>
#include <exception>
#include <new>

namespace orvix {

namespace {

constexpr std::array<const char16_t*, 28> kMessages = {
    u"Unknown File Type",
    u"Device Not Connected",
    u"No Command Line Parameters Found",
    u"Illegal Response from Device",
    u"Cell Board ADC TimeOut",
    u"File contains no Data",
    u"No Input File Specified",
    u"LngIdx Out of Bounds",
    u"PrdIdx Out of Bounds",
    u"MassIdx Out of Bounds",
    u"Path or Filename Not Found",
    u"Unknown Switch Command",
    u"Unexpected File Type",
    u"Charize.txt File Not Found",
    u"Ambient Temperature Not Found",
    u"Error Code Not Found",
    u"Measurement Sequence Error",
    u"Key File can only be changed at Factory",
    u"2MHz Oscillator SW1 Open",
    u"2MHz Oscillator Amplitude too Low",
    u"2MHz Oscillator SW1 Problem",
    u"2MHz Oscillator SW2 Problem",
    u"2MHz Oscillator SW3 Problem",
    u"5kHz Oscillator SW3 Open",
    u"5kHz Oscillator Amplitude too Low",
    u"5kHz Oscillator SW3 Problem",
    u"5kHz LoadCell Power too Low",
    u"5kHz LoadCell Output out of Bounds",
};

// Whatever is in flight becomes a number and a description. Exceptions that
// are not the program's own (a failed allocation, a library fault) still get
// reported rather than escaping into the event loop.
VbError CurrentError() {
    const std::exception_ptr current = std::current_exception();
    if (!current) return VbError(0, QString());
    try {
        std::rethrow_exception(current);
    } catch (const VbError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return RuntimeError(vb::kOutOfMemory);
    } catch (...) {
        return RuntimeError(vb::kInternalError);
    }
}

}  // namespace

ErrHdlr::ErrHdlr(Prompter& prompter, const Platform& platform)
    : m_prompter(prompter), m_platform(platform) {}

QString ErrHdlr::ErrorMessage(int code) {
    if (code < 0 || code >= static_cast<int>(kMessages.size()))
        return QStringLiteral("Unknown User Defined Error");
    return QString::fromUtf16(kMessages[static_cast<std::size_t>(code)]);
}

AppError ErrHdlr::MakeAppError(int code) { return AppError(code, ErrorMessage(code)); }

void ErrHdlr::RaiseAppError(int code) { throw MakeAppError(code); }

QString ErrHdlr::ErrorText(int number, const QString& description, const QString& procName) {
    return QStringLiteral("Err %1, %2, %3").arg(number).arg(description, procName);
}

void ErrHdlr::LogError(const QString& procName) noexcept {
    LogError(CurrentError(), procName);
}

void ErrHdlr::LogError(const VbError& error, const QString& procName) noexcept {
    try {
        const QString text = ErrorText(error.number(), error.description(), procName);
        if (m_showErrorDialogs) showDialog(text);
        appendToLog(text);
    } catch (...) {
        // Reporting an error must never become a second failure.
    }
}

void ErrHdlr::showDialog(const QString& errorText) noexcept {
    try {
        MessageBoxRequest box;
        box.text = errorText;
        box.title = kApplicationTitle;
        box.icon = MsgIcon::Critical;
        box.buttons = MsgButtons::Ok;
        m_prompter.messageBox(box);
    } catch (...) {
    }
}

void ErrHdlr::appendToLog(const QString& errorText) noexcept {
    try {
        QFile log(QDir(m_platform.programFolder()).filePath(kLogFileName));
        if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) return;
        const QString line = errorText + QStringLiteral(", ") + DateTimeStamp(m_platform.now()) +
                             QStringLiteral("\r\n");
        log.write(ToCp1252Lossy(line));
    } catch (...) {
    }
}

}  // namespace orvix
