#pragma once

#include <QString>

namespace orvix {

// The main window's panes and pointer, as the rest of the program sees them.
class Panes {
public:
    virtual ~Panes() = default;

    virtual void MessageToDebug(const QString& text) = 0;
    virtual void MessageToData(const QString& text) = 0;
    // mode 1 replaces the pane's text, any other mode appends.
    virtual void MessageToResponse(const QString& text, int mode) = 0;
    virtual void MessageToFileView(const QString& text, int mode) = 0;
    // Status bar panels, counted from 0.
    virtual void SetStatusPanel(int panel, const QString& text) = 0;
    // A state, not a stack: one SetBusyCursor(false) always restores the pointer.
    virtual void SetBusyCursor(bool busy) = 0;
};

}  // namespace orvix
