#include "app/gui/QtPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <map>

namespace orvix {

namespace {

// A busy pointer must not hide the fact that the program waits for the user.
class ArrowWhileAsking {
public:
    ArrowWhileAsking() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowWhileAsking() { QApplication::restoreOverrideCursor(); }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;
};

QMessageBox::Icon ToQt(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQt(MsgAnswer answer) {
    switch (answer) {
    case MsgAnswer::Ok: return QMessageBox::Ok;
    case MsgAnswer::Cancel: return QMessageBox::Cancel;
    case MsgAnswer::Yes: return QMessageBox::Yes;
    case MsgAnswer::No: return QMessageBox::No;
    case MsgAnswer::Retry: return QMessageBox::Retry;
    case MsgAnswer::Abort: return QMessageBox::Abort;
    case MsgAnswer::Ignore: return QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

std::vector<MsgAnswer> ButtonsOf(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok: return {MsgAnswer::Ok};
    case MsgButtons::OkCancel: return {MsgAnswer::Ok, MsgAnswer::Cancel};
    case MsgButtons::YesNo: return {MsgAnswer::Yes, MsgAnswer::No};
    case MsgButtons::YesNoCancel: return {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
    case MsgButtons::RetryCancel: return {MsgAnswer::Retry, MsgAnswer::Cancel};
    case MsgButtons::AbortRetryIgnore: return {MsgAnswer::Abort, MsgAnswer::Retry, MsgAnswer::Ignore};
    }
    return {MsgAnswer::Ok};
}

// Escape gives the answer that does nothing: Cancel, else No, else the only button.
MsgAnswer EscapeAnswer(const std::vector<MsgAnswer>& answers) {
    for (const MsgAnswer safe : {MsgAnswer::Cancel, MsgAnswer::No, MsgAnswer::Ignore})
        if (std::find(answers.begin(), answers.end(), safe) != answers.end()) return safe;
    return answers.back();
}

}  // namespace

MsgAnswer QtPrompter::messageBox(const MessageBoxRequest& request) {
    ArrowWhileAsking arrow;
    QMessageBox box(ToQt(request.icon), request.title, request.text, QMessageBox::NoButton, m_parent);
    const std::vector<MsgAnswer> answers = ButtonsOf(request.buttons);
    std::map<QAbstractButton*, MsgAnswer> byButton;
    for (const MsgAnswer answer : answers) byButton[box.addButton(ToQt(answer))] = answer;
    box.setDefaultButton(ToQt(request.defaultButton.value_or(answers.front())));
    box.setEscapeButton(box.button(ToQt(EscapeAnswer(answers))));
    box.exec();
    const auto clicked = byButton.find(box.clickedButton());
    return clicked == byButton.end() ? EscapeAnswer(answers) : clicked->second;
}

std::optional<QString> QtPrompter::inputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    ArrowWhileAsking arrow;
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

QString QtPrompter::openFileName(const QString& title, const QString& folder, const QString& filter) {
    ArrowWhileAsking arrow;
    return QFileDialog::getOpenFileName(m_parent, title, folder, filter);
}

QString QtPrompter::saveFileName(const QString& title, const QString& suggestedPath, const QString& filter) {
    ArrowWhileAsking arrow;
    // The program asks its own overwrite question where it matters.
    return QFileDialog::getSaveFileName(m_parent, title, suggestedPath, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtPrompter::browseForFolder(const QString& initialFolder, const QString& prompt) {
    ArrowWhileAsking arrow;
    return QDir::toNativeSeparators(QFileDialog::getExistingDirectory(m_parent, prompt, initialFolder));
}

}  // namespace orvix
