#include "common/gui/TextPane.h"

#include <QTextCursor>

namespace orvix {

namespace {

QString UpToFirstNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

// The widget breaks lines at LF; a CR before it would show as a stray box.
QString ForDisplay(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

TextPane::TextPane(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

void TextPane::SetPaneText(const QString& text, int mode) {
    if (mode == 1) {
        m_text = UpToFirstNul(text);
        setPlainText(ForDisplay(m_text));
        return;
    }
    const qsizetype before = m_text.size();
    m_text = UpToFirstNul(m_text + text);
    // A CR LF split across two appends must still become one line break.
    const qsizetype keep = before > 0 && m_text.at(before - 1) == u'\r' ? before - 1 : before;
    if (keep < before) {
        setPlainText(ForDisplay(m_text));
        return;
    }
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(ForDisplay(m_text.mid(keep)));
    moveCursor(QTextCursor::End);
}

void TextPane::ClearPane() {
    m_text.clear();
    clear();
}

}  // namespace orvix
