#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace orvix {

// A list of trace lines that never grows without bound: adding a line while it
// already holds kMaxLines or more empties it and starts it with a marker line.
// The debug and data panes and the HID diagnostics list all follow this rule.
class CappedLineList {
public:
    static constexpr int kMaxLines = 501;
    static inline const QString kClearedLine = QStringLiteral("--- List Box Cleared ---");

    // Whether a list holding `count` lines must be emptied before the next
    // line goes in; every capped list on screen follows the same rule.
    static bool MustClearBeforeAdding(qsizetype count) { return count >= kMaxLines; }

    void add(const QString& line);
    void clear();
    const QStringList& lines() const { return m_lines; }

    // Told after every change, so a window showing the list can follow it.
    void setOnChanged(std::function<void()> onChanged) { m_onChanged = std::move(onChanged); }

private:
    void notify();

    QStringList m_lines;
    std::function<void()> m_onChanged;
};

}  // namespace orvix
