#pragma once

#include "common/Panes.h"

#include <QLabel>
#include <QPointer>

#include <array>

namespace orvix {

class EventPump;
class LinePane;
class TextPane;

// The panes of the main window, once it has built them. Lines written before
// that are dropped; nothing of the program writes before the window exists.
class WidgetPanes : public Panes {
public:
    explicit WidgetPanes(EventPump& pump) : m_pump(pump) {}

    void Attach(LinePane* debug, LinePane* data, TextPane* response, TextPane* fileView,
                const std::array<QLabel*, 4>& statusPanels);

    void MessageToDebug(const QString& text) override;
    void MessageToData(const QString& text) override;
    void MessageToResponse(const QString& text, int mode) override;
    void MessageToFileView(const QString& text, int mode) override;
    void SetStatusPanel(int panel, const QString& text) override;
    void SetBusyCursor(bool busy) override;

private:
    EventPump& m_pump;
    QPointer<LinePane> m_debug;
    QPointer<LinePane> m_data;
    QPointer<TextPane> m_response;
    QPointer<TextPane> m_fileView;
    std::array<QPointer<QLabel>, 4> m_panels;
    bool m_busy = false;
};

}  // namespace orvix
