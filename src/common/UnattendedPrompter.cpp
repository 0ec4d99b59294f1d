#include "common/UnattendedPrompter.h"

namespace orvix {

MsgAnswer UnattendedPrompter::messageBox(const MessageBoxRequest& request) {
    if (m_echo) {
        std::fprintf(m_echo, "[message] %s\n", request.text.toLocal8Bit().constData());
        std::fflush(m_echo);
    }
    if (request.defaultButton) return *request.defaultButton;
    switch (request.buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgAnswer::Yes;
    case MsgButtons::RetryCancel: return MsgAnswer::Cancel;
    case MsgButtons::AbortRetryIgnore: return MsgAnswer::Abort;
    case MsgButtons::Ok:
    case MsgButtons::OkCancel: break;
    }
    return MsgAnswer::Ok;
}

std::optional<QString> UnattendedPrompter::inputBox(const QString&, const QString&, const QString&) {
    return std::nullopt;
}

QString UnattendedPrompter::openFileName(const QString&, const QString&, const QString&) { return {}; }
QString UnattendedPrompter::saveFileName(const QString&, const QString&, const QString&) { return {}; }
QString UnattendedPrompter::browseForFolder(const QString&, const QString&) { return {}; }

}  // namespace orvix
