#pragma once

#include "common/Prompter.h"

#include <QPointer>
#include <QWidget>

namespace orvix {

// Message boxes, input boxes and file and folder pickers as Qt dialogs.
class QtPrompter : public Prompter {
public:
    void SetParentWindow(QWidget* parent) { m_parent = parent; }

    MsgAnswer messageBox(const MessageBoxRequest& request) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    QString openFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& suggestedPath, const QString& filter) override;
    QString browseForFolder(const QString& initialFolder, const QString& prompt) override;

private:
    QPointer<QWidget> m_parent;
};

}  // namespace orvix
