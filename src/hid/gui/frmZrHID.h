#pragma once

#include <QWidget>

class QListWidget;

namespace orvix {

class CappedLineList;

// "Zr HID Diagnostics": the transport's diagnostics list, kept up to date
// while the window is hidden so it shows the whole story when opened.
class frmZrHID : public QWidget {
    Q_OBJECT
public:
    explicit frmZrHID(CappedLineList& diagnostics, QWidget* parent = nullptr);
    ~frmZrHID() override;

    QListWidget* Results() const { return m_results; }

private:
    void Follow();

    CappedLineList& m_diagnostics;
    QListWidget* m_results;
};

}  // namespace orvix
