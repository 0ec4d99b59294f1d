#pragma once

#include "common/Prompter.h"

#include <cstdio>

namespace orvix {

// For runs with nobody at the screen (screenshots, benchmarks, fuzzing):
// every question takes its default button — Yes where a Yes/No question names
// none, Cancel for Retry/Cancel — and every pick is refused, so nothing can
// hang on a dialog. Messages are echoed to `echo` when one is given.
class UnattendedPrompter : public Prompter {
public:
    explicit UnattendedPrompter(std::FILE* echo = nullptr) : m_echo(echo) {}

    MsgAnswer messageBox(const MessageBoxRequest& request) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    QString openFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& suggestedPath, const QString& filter) override;
    QString browseForFolder(const QString& initialFolder, const QString& prompt) override;

private:
    std::FILE* m_echo;
};

}  // namespace orvix
