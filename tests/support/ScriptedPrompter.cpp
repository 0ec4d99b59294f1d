#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace orvix::test {

ScriptedPrompter::~ScriptedPrompter() {
    for (const ExpectedMessage& m : m_messages)
        ADD_FAILURE() << "expected message box never shown: " << m.text.toStdString();
    EXPECT_TRUE(m_inputs.empty() && m_fileNames.empty() && m_folders.empty())
        << "scripted answers left unused";
}

void ScriptedPrompter::expectMessage(const QString& text, MsgAnswer answer) {
    m_messages.push_back({text, answer, false});
}

void ScriptedPrompter::expectMessageStartingWith(const QString& prefix, MsgAnswer answer) {
    m_messages.push_back({prefix, answer, true});
}
void ScriptedPrompter::expectInput(std::optional<QString> answer) {
    m_inputs.push_back({!answer.has_value(), answer.value_or(QString())});
}
void ScriptedPrompter::expectFileName(const QString& answer) { m_fileNames.push_back(answer); }
void ScriptedPrompter::expectFolder(const QString& answer) { m_folders.push_back(answer); }

bool ScriptedPrompter::allAnswered() const {
    return m_messages.empty() && m_inputs.empty() && m_fileNames.empty() && m_folders.empty();
}

MsgAnswer ScriptedPrompter::DefaultAnswer(const MessageBoxRequest& request) {
    if (request.defaultButton) return *request.defaultButton;
    switch (request.buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel: return MsgAnswer::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgAnswer::Yes;
    case MsgButtons::RetryCancel: return MsgAnswer::Retry;
    case MsgButtons::AbortRetryIgnore: return MsgAnswer::Abort;
    }
    return MsgAnswer::Ok;
}

MsgAnswer ScriptedPrompter::messageBox(const MessageBoxRequest& request) {
    m_shown.push_back(request);
    if (onShown) onShown(request);
    if (m_messages.empty()) {
        ADD_FAILURE() << "unexpected message box: " << request.text.toStdString();
        return DefaultAnswer(request);
    }
    const ExpectedMessage expected = m_messages.front();
    m_messages.pop_front();
    if (expected.prefixOnly)
        EXPECT_TRUE(request.text.startsWith(expected.text)) << request.text.toStdString();
    else
        EXPECT_EQ(expected.text.toStdString(), request.text.toStdString());
    return expected.answer;
}

std::optional<QString> ScriptedPrompter::inputBox(const QString& prompt, const QString&,
                                                  const QString& defaultText) {
    if (m_inputs.empty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return defaultText;
    }
    const ExpectedInput answer = m_inputs.front();
    m_inputs.pop_front();
    if (answer.cancelled) return std::nullopt;
    return answer.text;
}

QString ScriptedPrompter::nextFileName(const QString& what) {
    if (m_fileNames.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << what.toStdString();
        return {};
    }
    QString answer = m_fileNames.front();
    m_fileNames.pop_front();
    return answer;
}

QString ScriptedPrompter::openFileName(const QString& title, const QString&, const QString&) {
    return nextFileName(title);
}

QString ScriptedPrompter::saveFileName(const QString& title, const QString&, const QString&) {
    return nextFileName(title);
}

QString ScriptedPrompter::browseForFolder(const QString&, const QString& prompt) {
    if (m_folders.empty()) {
        ADD_FAILURE() << "unexpected folder picker: " << prompt.toStdString();
        return {};
    }
    QString answer = m_folders.front();
    m_folders.pop_front();
    return answer;
}

}  // namespace orvix::test
