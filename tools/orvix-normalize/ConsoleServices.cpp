#include "ConsoleServices.h"


namespace orvix::cli {

void PrintLines(std::FILE* stream, const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!lines.endsWith(u'\n')) lines += u'\n';
    std::fputs(lines.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

MsgAnswer ConsolePrompter::messageBox(const MessageBoxRequest& request) {
    switch (request.buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        PrintLines(m_out, request.text);
        if (m_force) return MsgAnswer::Yes;
        m_declinedWarnings = true;
        return request.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
        PrintLines(m_err, request.text);
        return MsgAnswer::Ok;
    case MsgButtons::RetryCancel:
        PrintLines(m_err, request.text);
        return MsgAnswer::Cancel;
    case MsgButtons::AbortRetryIgnore:
        PrintLines(m_err, request.text);
        return MsgAnswer::Abort;
    }
    return MsgAnswer::Cancel;
}

std::optional<QString> ConsolePrompter::inputBox(const QString& prompt, const QString&, const QString&) {
    PrintLines(m_err, prompt);
    return std::nullopt;
}

QString ConsolePrompter::openFileName(const QString&, const QString&, const QString&) { return {}; }
QString ConsolePrompter::saveFileName(const QString&, const QString&, const QString&) { return {}; }
QString ConsolePrompter::browseForFolder(const QString&, const QString&) { return {}; }

}  // namespace orvix::cli
