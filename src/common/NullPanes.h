#pragma once

#include "common/Panes.h"

namespace orvix {

// For programs without a window (the command-line tools, fuzzing): trace
// lines and pane texts go nowhere.
class NullPanes : public Panes {
public:
    void MessageToDebug(const QString&) override {}
    void MessageToData(const QString&) override {}
    void MessageToResponse(const QString&, int) override {}
    void MessageToFileView(const QString&, int) override {}
    void SetStatusPanel(int, const QString&) override {}
    void SetBusyCursor(bool) override {}
};

}  // namespace orvix
