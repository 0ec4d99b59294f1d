#pragma once

#include <QString>

namespace orvix {

class Panes;
class Platform;
struct SessionState;
class Prompter;
class USBcmds;
class ZrHID;

// What the connection needs from the main window.
class ConnectionView {
public:
    virtual ~ConnectionView() = default;
    // Puts the connection-dependent controls into their connected or
    // not-connected state.
    virtual void EnableButtons(bool enable) = 0;
    // Marks the Customer tab's lists for reloading from the instrument.
    virtual void SetUserListMarkers(bool reload) = 0;
    // Runs the tab-selection handler for the current tab.
    virtual void RunTabHandler() = 0;
};

// The one connection to one instrument: making it (with the user's retries),
// refusing instruments whose software is too old, keeping it alive, and
// showing its state.
class Connection {
public:
    static inline const QString kMinimumVersion = QStringLiteral("00.82");
    static constexpr int kStatusPanel = 0;
    static constexpr int kSettleMs = 1000;

    Connection(ZrHID& hid, USBcmds& cmds, Prompter& prompter, Panes& panes, Platform& platform,
               SessionState& session);
    void SetView(ConnectionView* view) { m_view = view; }

    // Searches until the instrument is open or the user gives up.
    void ConnectToPMT();
    // Tools > Connect (also the start-up connect).
    void Connect();
    // Tools > Disconnect.
    void Disconnect();
    // The 200 ms status tick.
    void UpdateConnectionStatus();
    // The 5000 ms keep-alive tick: pings unless other traffic has just shown
    // the instrument alive.
    void KeepAlive();

    // The retry message; when the instrument was there but unusable, one more
    // line says why and what to do about it.
    QString DidNotDetectMessage() const;

private:
    void RefuseOldSoftware();

    ZrHID& m_hid;
    USBcmds& m_cmds;
    Prompter& m_prompter;
    Panes& m_panes;
    Platform& m_platform;
    SessionState& m_session;
    ConnectionView* m_view = nullptr;
};

}  // namespace orvix
