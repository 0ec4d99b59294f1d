#pragma once

#include <QString>

#include <optional>

namespace orvix {

enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

struct MessageBoxRequest {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    // The button that Enter presses; none means the first button.
    std::optional<MsgAnswer> defaultButton;
};

// Every question the program asks the user goes through here, so the core
// never touches widgets and tests can script the answers.
class Prompter {
public:
    virtual ~Prompter() = default;

    virtual MsgAnswer messageBox(const MessageBoxRequest& request) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // "" when the user cancels.
    virtual QString openFileName(const QString& title, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(const QString& title, const QString& suggestedPath,
                                 const QString& filter) = 0;
    virtual QString browseForFolder(const QString& initialFolder, const QString& prompt) = 0;
};

}  // namespace orvix
