#pragma once

#include <QPlainTextEdit>

namespace orvix {

// A read-only text pane that keeps the exact text it was given (cut at the
// first NUL, where the instrument's zero fill begins), so saving the pane
// writes what the program put there, CR LF line ends included, not the
// widget's reformatted copy.
class TextPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextPane(QWidget* parent = nullptr);

    // mode 1 replaces the text, any other mode appends with nothing between.
    void SetPaneText(const QString& text, int mode);
    void ClearPane();
    const QString& StoredText() const { return m_text; }

private:
    QString m_text;
};

}  // namespace orvix
