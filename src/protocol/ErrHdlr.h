#pragma once

#include "common/VbError.h"

#include <QString>

namespace orvix {

class Platform;
class Prompter;

// Reports every failure the program's procedures catch: a message box (while
// ShowErrorDialogs is on) and one line appended to "Errors.Txt" in the
// program's folder.
class ErrHdlr {
public:
    static inline const QString kApplicationTitle = QStringLiteral("Orvix PC Application");
    static inline const QString kLogFileName = QStringLiteral("Errors.Txt");

    ErrHdlr(Prompter& prompter, const Platform& platform);

    // The message of one of the program's own error codes; codes outside the
    // table give "Unknown User Defined Error".
    static QString ErrorMessage(int code);

    // The application error of a code: number 8, the code's message.
    static AppError MakeAppError(int code);
    [[noreturn]] static void RaiseAppError(int code);

    // Reports the failure being handled; call it from inside a catch block.
    // Never throws: a log file that cannot be written is skipped.
    void LogError(const QString& procName) noexcept;
    void LogError(const VbError& error, const QString& procName) noexcept;

    // "Err 8, Device Not Connected, PingDevice()"
    static QString ErrorText(int number, const QString& description, const QString& procName);

    bool ShowErrorDialogs() const { return m_showErrorDialogs; }
    void SetShowErrorDialogs(bool show) { m_showErrorDialogs = show; }

private:
    void showDialog(const QString& errorText) noexcept;
    void appendToLog(const QString& errorText) noexcept;

    Prompter& m_prompter;
    const Platform& m_platform;
    bool m_showErrorDialogs = false;
};

}  // namespace orvix
