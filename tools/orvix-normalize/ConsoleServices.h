#pragma once

#include "common/Prompter.h"

#include <cstdio>

namespace orvix::cli {

// Message boxes become lines on stderr. Nobody is there to answer, so every
// question takes the answer that changes nothing, except the one that asks
// whether to write a file despite limit warnings: its text (the warnings)
// goes to stdout and it is answered Yes only when the user said --force.
class ConsolePrompter : public Prompter {
public:
    ConsolePrompter(bool force, std::FILE* out, std::FILE* err) : m_force(force), m_out(out), m_err(err) {}

    bool declinedWarnings() const { return m_declinedWarnings; }

    MsgAnswer messageBox(const MessageBoxRequest& request) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    QString openFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& suggestedPath, const QString& filter) override;
    QString browseForFolder(const QString& initialFolder, const QString& prompt) override;

private:
    bool m_force;
    std::FILE* m_out;
    std::FILE* m_err;
    bool m_declinedWarnings = false;
};

// Prints text with its CR LF line ends as the platform's line ends.
void PrintLines(std::FILE* stream, const QString& text);

}  // namespace orvix::cli
