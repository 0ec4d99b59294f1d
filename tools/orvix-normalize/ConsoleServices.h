#pragma once

#include "common/Panes.h"
#include "common/Platform.h"
#include "common/Prompter.h"

#include <QElapsedTimer>

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

// Nothing to show panes on.
class SilentPanes : public Panes {
public:
    void MessageToDebug(const QString&) override {}
    void MessageToData(const QString&) override {}
    void MessageToResponse(const QString&, int) override {}
    void MessageToFileView(const QString&, int) override {}
    void SetStatusPanel(int, const QString&) override {}
    void SetBusyCursor(bool) override {}
};

class ConsolePlatform : public Platform {
public:
    explicit ConsolePlatform(QString programFolder);

    QString programFolder() const override { return m_programFolder; }
    std::uint32_t milliseconds() const override;
    std::uint32_t timerPeriodMin() const override { return 1; }
    std::uint32_t timerPeriodMax() const override { return 1000000; }
    void sleep(int ms) override;
    QDateTime now() const override;

private:
    QString m_programFolder;
    QElapsedTimer m_clock;
};

// Prints text with its CR LF line ends as the platform's line ends.
void PrintLines(std::FILE* stream, const QString& text);

}  // namespace orvix::cli
