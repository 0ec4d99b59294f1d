#include "app/gui/WidgetPanes.h"

#include "common/EventPump.h"
#include "common/gui/LinePane.h"
#include "common/gui/TextPane.h"

#include <QApplication>

namespace orvix {

void WidgetPanes::Attach(LinePane* debug, LinePane* data, TextPane* response, TextPane* fileView,
                         const std::array<QLabel*, 4>& statusPanels) {
    m_debug = debug;
    m_data = data;
    m_response = response;
    m_fileView = fileView;
    for (std::size_t i = 0; i < statusPanels.size(); ++i) m_panels[i] = statusPanels[i];
}

void WidgetPanes::MessageToDebug(const QString& text) {
    if (m_debug) m_debug->AddLine(text);
}

void WidgetPanes::MessageToData(const QString& text) {
    if (m_data) m_data->AddLine(text);
}

void WidgetPanes::MessageToResponse(const QString& text, int mode) {
    if (m_response) m_response->SetPaneText(text, mode);
}

void WidgetPanes::MessageToFileView(const QString& text, int mode) {
    if (m_fileView) m_fileView->SetPaneText(text, mode);
}

void WidgetPanes::SetStatusPanel(int panel, const QString& text) {
    if (panel < 0 || panel >= static_cast<int>(m_panels.size())) return;
    if (QLabel* label = m_panels[static_cast<std::size_t>(panel)]) label->setText(text);
}

void WidgetPanes::SetBusyCursor(bool busy) {
    if (busy && !m_busy) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!busy) {
        while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
    }
    m_busy = busy;
    // Let the new pointer be drawn before the caller goes on.
    m_pump.processEvents();
}

}  // namespace orvix
