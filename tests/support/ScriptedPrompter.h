#pragma once

#include "common/Prompter.h"

#include <deque>
#include <functional>
#include <vector>

namespace orvix::test {

// Answers prompts from a script, in order. A prompt that was not expected
// fails the test and is answered with its default button; prompts expected
// but never shown fail the test when the prompter is destroyed.
class ScriptedPrompter : public Prompter {
public:
    ~ScriptedPrompter() override;

    void expectMessage(const QString& text, MsgAnswer answer = MsgAnswer::Ok);
    // For messages that carry a system's own wording at their end.
    void expectMessageStartingWith(const QString& prefix, MsgAnswer answer = MsgAnswer::Ok);
    void expectInput(std::optional<QString> answer);
    void expectFileName(const QString& answer);
    void expectFolder(const QString& answer);

    const std::vector<MessageBoxRequest>& shownMessages() const { return m_shown; }
    // Runs while a message box is up, as a user acting meanwhile would.
    std::function<void(const MessageBoxRequest&)> onShown;
    bool allAnswered() const;

    MsgAnswer messageBox(const MessageBoxRequest& request) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    QString openFileName(const QString& title, const QString& folder,
                         const QString& filter) override;
    QString saveFileName(const QString& title, const QString& suggestedPath,
                         const QString& filter) override;
    QString browseForFolder(const QString& initialFolder, const QString& prompt) override;

    static MsgAnswer DefaultAnswer(const MessageBoxRequest& request);

private:
    struct ExpectedMessage {
        QString text;
        MsgAnswer answer;
        bool prefixOnly = false;
    };
    QString nextFileName(const QString& what);

    std::deque<ExpectedMessage> m_messages;
    struct ExpectedInput {
        bool cancelled;
        QString text;
    };
    std::deque<ExpectedInput> m_inputs;
    std::deque<QString> m_fileNames;
    std::deque<QString> m_folders;
    std::vector<MessageBoxRequest> m_shown;
};

}  // namespace orvix::test
