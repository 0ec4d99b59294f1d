#pragma once

#include <QListWidget>

namespace orvix {

// A list pane of trace or data lines that never grows past the capped-list
// limit: the line after the limit empties it and starts it with a marker.
// The newest line is always current, so it stays in view.
class LinePane : public QListWidget {
    Q_OBJECT
public:
    explicit LinePane(QWidget* parent = nullptr);

    void AddLine(const QString& text);
    QStringList Lines() const;
};

}  // namespace orvix
